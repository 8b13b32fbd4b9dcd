#include "audio/Playback.h"

#include "audio/Play.h"
#include "core/DeviceErrors.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "ui/FaceMessages.h"

#include <algorithm>

namespace wavora {

namespace {

void repaintActive(EditorState& s) {
    if (WindowId w = s.active().WindowHandle) s.platform.invalidate(w);
}

// Where the played bytes start in the source, and how many there are: the
// marker plays to the end, a selection alone (also with a marker). Both are
// kept inside the bytes there are.
struct PlayRange {
    std::int32_t offset = 0;
    std::int32_t size = 0;
};
PlayRange playRange(const SoundDoc& d, std::int32_t length) {
    length = std::clamp(length, 0, DATALENMAX);
    if (!d.HasMarker && !d.HasSelection) return {0, length};
    const std::int32_t at = std::clamp(d.SelStart, 0, length);
    if (d.HasSelection) return {at, std::clamp(d.SelLength, 0, length - at)};
    return {at, length - at};
}

} // namespace

WaveFormat waveFormatOf(const SoundDoc& d) {
    WaveFormat f;
    f.FormatTag = 1;
    f.Channels = d.Channels;
    f.BitsPerSample = d.BitsParSample;
    f.BlockAlign = static_cast<std::uint16_t>(static_cast<double>(d.Channels) * d.BitsParSample / 8.0);
    f.SamplesPerSec = static_cast<std::uint32_t>(std::max(d.SRATE, 0));
    f.AvgBytesPerSec = f.SamplesPerSec * f.BlockAlign;
    return f;
}

void StartPlayback(EditorState& s, std::int32_t length) {
    SoundDoc& d = s.active();
    startPlaybackOf(s, d, d.LayerCount > 0 ? s.RenderBuffer.data() : d.Samples.data(), length);
}

void startPlaybackOf(EditorState& s, const SoundDoc& d, std::uint8_t* source, std::int32_t length) {
    stopPlayback(s);
    s.play.Auditioning = 0;
    const PlayRange r = playRange(d, length);
    s.play.PlayPos = r.offset;
    // The cursor's step per tick, in single precision as the timer has always
    // counted it; taken from the sound that plays.
    s.play.PlayStep = static_cast<float>(d.SRATE) * (20.0f / 1000.0f) * static_cast<float>(d.BitsParSample) / 8.0f;
    s.play.DeviceFormat = waveFormatOf(d);

    WaveBuffer& h = s.play.PlayHeader;
    h = WaveBuffer{};
    if (!deviceCall(s, WaveCall::OutOpen, h)) return;
    h.Data = source + r.offset;
    h.Length = static_cast<std::uint32_t>(r.size);
    h.Flags = WaveBeginLoop | WaveEndLoop;
    h.Loops = 1;
    h.User = ++s.play.PlaySerial;
    if (!deviceCall(s, WaveCall::OutPrepareHeader, h)) {
        quietDeviceCall(s, WaveCall::OutClose, h);
        return;
    }
    if (!deviceCall(s, WaveCall::OutWrite, h)) {
        quietDeviceCall(s, WaveCall::OutUnprepareHeader, h);
        quietDeviceCall(s, WaveCall::OutClose, h);
        return;
    }
    s.play.PlayingFlag = 1;
}

void loopPlayCommand(EditorState& s) {
    if (s.BusyFlag) return;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        s.BusyFlag = 0;
        return;
    }
    SoundDoc& d = s.active();
    if (!HasSoundData(s, d.Samples.data(), d.DataLen)) return;
    s.play.LoopPlay = 1;
    PlayCommand(s);
    s.BusyFlag = 0;
}

void stopCommand(EditorState& s) {
    if (s.play.PlayingFlag) {
        closeOutput(s, false);
        s.play.LoopPlay = 0;
    }
    if (s.play.RecordingFlag) {
        deviceCall(s, WaveCall::InReset, s.play.RecordHeader);
        s.play.RecordingFlag = 0;
    }
    s.BusyFlag = 0;
    repaintActive(s);
}

void onWaveOutDone(EditorState& s, std::uint32_t user) {
    // The reset of a stopped playback still reports its buffer; by then the
    // device is closed, or already playing the next sound.
    if (!s.play.PlayingFlag || user != s.play.PlayHeader.User) return;
    if (s.play.LoopPlay == 1) {
        if (!deviceCall(s, WaveCall::OutWrite, s.play.PlayHeader)) closeOutput(s, true);
    } else {
        closeOutput(s, true);
        // An audition may have been started by a dialog's preview while its
        // command still runs: its end must not let another command in.
        if (!s.play.Auditioning) s.BusyFlag = 0;
    }
    s.play.PlayPos = 0;
    repaintActive(s);
}

TimerTick onTimerTick(PlaybackState& p) {
    TimerTick t;
    if (p.PlayingFlag) {
        p.PlayPos = static_cast<std::int32_t>(static_cast<float>(p.PlayPos.load()) + p.PlayStep.load());
        t.moveCursor = true;
    }
    if (p.RecordingFlag) {
        p.RecordMs += 20.0f;
        if (p.RecordMs >= 1000.0f) {
            p.RecordMs = 0.0f;
            t.recordSecond = true;
        }
    }
    return t;
}

void onPlayCursorMoved(EditorState& s) {
    if (s.play.PlayingFlag) repaintActive(s);
}

} // namespace wavora
