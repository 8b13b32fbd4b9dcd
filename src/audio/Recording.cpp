#include "audio/Recording.h"

#include "audio/Audition.h"
#include "audio/Playback.h"
#include "core/DeviceErrors.h"
#include "core/Platform.h"
#include "ui/FaceMessages.h"
#include "ui/WaitDialog.h"
#include "undo/UndoStore.h"

#include <algorithm>

namespace wavora {

const char* const RecordingEndCaption = "録音終了";

namespace {

constexpr int RecordCode = 17; // "録音"

SoundDoc& recordedDoc(EditorState& s) { return s.docs[static_cast<std::size_t>(s.play.RecordSlot)]; }

// Stop, release and close, each failure shown: the device is done with the
// buffer once it has returned it.
void closeInput(EditorState& s) {
    WaveBuffer& h = s.play.RecordHeader;
    deviceCall(s, WaveCall::InStop, h);
    deviceCall(s, WaveCall::InUnprepareHeader, h);
    deviceCall(s, WaveCall::InClose, h);
    s.play.RecordDevice = RecordDeviceClosing;
}

} // namespace

void recordCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        s.BusyFlag = 0;
        return;
    }
    SoundDoc& d = s.active();
    s.play.RecordSlot = s.activeSlot();
    WaveBuffer& h = s.play.RecordHeader;
    h = WaveBuffer{};
    h.Data = d.Samples.data();
    h.Length = static_cast<std::uint32_t>(std::clamp(d.DataLen, 0, DATALENMAX));
    h.Loops = 1;
    s.play.DeviceFormat = waveFormatOf(d);
    // Without a device that opens there is nothing to wait for: the command
    // ends here instead of leaving every other command locked out.
    if (!deviceCall(s, WaveCall::InOpen, h)) {
        s.BusyFlag = 0;
        return;
    }
    if (!deviceCall(s, WaveCall::InPrepareHeader, h)) {
        deviceCall(s, WaveCall::InClose, h);
        s.BusyFlag = 0;
        return;
    }
    const std::int32_t seconds = d.SRATE > 0 ? d.DataLen / d.SRATE : 0;
    if (seconds > 1) {
        openWaitDialog(s);
        setWaitTotal(s, static_cast<std::uint32_t>(seconds));
    }
    s.play.RecordDevice = RecordDeviceOpen;
    s.play.RecordMs = 0.0f;
    s.play.RecordingFlag = 1;
    s.frame.SkipFlag = 0;
    s.frame.DialogBusy = 0;
}

void onWaveInOpen(EditorState& s) {
    if (s.play.RecordDevice != RecordDeviceOpen) return;
    deviceCall(s, WaveCall::InAddBuffer, s.play.RecordHeader);
    deviceCall(s, WaveCall::InStart, s.play.RecordHeader);
}

void onWaveInData(EditorState& s) {
    if (s.play.RecordDevice != RecordDeviceOpen) return;
    if (s.platform.waitDialogExists()) s.platform.waitDialogDestroy();
    closeInput(s);
    s.play.RecordingFlag = 0;
    if (WindowId w = recordedDoc(s).WindowHandle) s.platform.invalidate(w);
    s.BusyFlag = 0;
    s.platform.messageBox({"", RecordingEndCaption});
}

void onWaveInClose(EditorState& s) {
    // The undo step belongs to the sound recorded into, whichever window is
    // active now; a window closed meanwhile has no history left to add to.
    if (s.play.RecordDevice != RecordDeviceClosing) return;
    s.play.RecordDevice = RecordDeviceClosed;
    if (recordedDoc(s).WindowHandle == 0) return;
    const std::int32_t active = s.ActWndNum;
    s.ActWndNum = s.play.RecordSlot;
    snapshot(s, RecordCode);
    s.ActWndNum = active;
    markChangesHeard(s); // a recording is not auditioned: it was just heard live
}

void onRecordSecond(EditorState& s) {
    if (s.play.RecordingFlag) advanceWait(s, 1);
}

void releaseRecording(EditorState& s) {
    WaveBuffer& h = s.play.RecordHeader;
    const bool open = s.play.RecordDevice == RecordDeviceOpen;
    if (open) quietDeviceCall(s, WaveCall::InReset, h);
    deviceCall(s, WaveCall::InUnprepareHeader, h);
    if (open) quietDeviceCall(s, WaveCall::InClose, h);
    s.play.RecordDevice = RecordDeviceClosed;
    s.play.RecordingFlag = 0;
}

} // namespace wavora
