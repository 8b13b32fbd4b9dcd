#include "audio/Audition.h"

#include "audio/PitchStretch.h"
#include "audio/Play.h"
#include "audio/Playback.h"
#include "audio/Render.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "ui/FaceMessages.h"
#include "undo/UndoRestore.h"

#include <algorithm>

namespace wavora {

namespace {

std::vector<std::uint8_t>& auditionBuffer(EditorState& s) {
    std::vector<std::uint8_t>& b = s.render.AuditionBuffer;
    if (b.size() != static_cast<std::size_t>(DATALENMAX)) b.assign(static_cast<std::size_t>(DATALENMAX), 0);
    return b;
}

std::int32_t lengthOf(const SoundDoc& d) { return std::clamp(d.DataLen, 0, DATALENMAX); }

// Play's own path for a sound without layers or selection: the pitch graph's
// runs stretched in one pass, then the volume graph over the result. The
// stretched volume graph and pitch graph go to the work buffers, which hold
// nothing between commands.
bool renderGraphs(EditorState& s, const SoundDoc& d, std::vector<std::uint8_t>& out, std::int32_t& length) {
    std::vector<float>& ratios = s.render.AuditionRatios;
    const std::int32_t count = buildPitchRatios(d, ratios);
    const std::uint8_t* volume = d.VolumeGraph.data();
    length = lengthOf(d);
    if (pitchGraphMoves(ratios.data(), count)) {
        if (!stretchPitchRunsInto(s, d, ratios.data(), count, nullptr,
                                  {out.data(), s.WorkBuffer2.data(), s.WorkBuffer3.data()}, length)) {
            s.platform.messageBox({TooLongText, "<(;_ _)>"});
            return false;
        }
        volume = s.WorkBuffer2.data();
    } else {
        std::copy_n(d.Samples.begin(), length, out.begin());
    }
    applyVolumeTo(out.data(), volume, d.BitsParSample == 16, 0, length, 0, length);
    return true;
}

} // namespace

bool renderAudition(EditorState& s, const SoundDoc& d, bool withLayers, std::int32_t& length) {
    std::vector<std::uint8_t>& out = auditionBuffer(s);
    if (withLayers && d.LayerCount > 0) {
        // The mix is played as it is: Play applies no graph to it either.
        RenderLayers(s);
        length = std::clamp(s.render.OutputLength, 0, DATALENMAX);
        std::copy_n(s.RenderBuffer.begin(), length, out.begin());
        return true;
    }
    if (d.HasSelection) {
        // The selection plays its own bytes, untouched.
        length = lengthOf(d);
        std::copy_n(d.Samples.begin(), length, out.begin());
        return true;
    }
    return renderGraphs(s, d, out, length);
}

namespace {

bool audition(EditorState& s, const SoundDoc& d, bool withLayers) {
    // The device may still be reading the buffer that is about to be rendered.
    stopPlayback(s);
    s.play.LoopPlay = 0;
    std::int32_t length = 0;
    if (!renderAudition(s, d, withLayers, length)) return false;
    startPlaybackOf(s, d, s.render.AuditionBuffer.data(), length);
    s.play.Auditioning = s.play.PlayingFlag ? 1 : 0;
    return s.play.PlayingFlag != 0;
}

} // namespace

bool auditionActive(EditorState& s, bool tellWhenSilent) {
    const SoundDoc& d = s.active();
    if (s.WindowCount == 0 || !d.hasBuffers() || s.play.RecordingFlag) return false;
    if (!tellWhenSilent) {
        // The automatic audition passes over a silent sound without a word.
        const std::int32_t n = lengthOf(d);
        if (n < 2 || std::all_of(d.Samples.begin(), d.Samples.begin() + n, [&](std::uint8_t b) { return b == d.Samples[1]; }))
            return false;
    } else if (!HasSoundData(s, d.Samples.data(), d.DataLen)) {
        return false;
    }
    return audition(s, d, true);
}

void auditionCommand(EditorState& s) {
    if (s.BusyFlag) return;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return;
    }
    s.BusyFlag = 1;
    auditionActive(s, true);
    s.BusyFlag = 0;
}

void auditionOrStopCommand(EditorState& s) {
    if (s.play.PlayingFlag) stopCommand(s);
    else auditionCommand(s);
}

void auditionIfChanged(EditorState& s) {
    if (s.ChangeSerial == s.HeardSerial) return;
    // A command that is still running (its dialog open, a recording going on)
    // has not finished its change; what it ends with is heard when it records
    // its step.
    if (s.BusyFlag || s.tool.ButtonDown || s.dialog.DialogOpen) return;
    markChangesHeard(s);
    if (s.play.AutoAudition) auditionActive(s, false);
}

void markChangesHeard(EditorState& s) { s.HeardSerial = s.ChangeSerial; }

void auditionPreview(EditorState& s) {
    if (s.play.AutoAudition) auditionActive(s, false);
}

bool auditionStoredState(EditorState& s, int step) {
    if (s.WindowCount == 0 || s.play.RecordingFlag) return false;
    std::unique_ptr<SoundDoc>& stored = s.render.StoredSound;
    if (!stored) stored = std::make_unique<SoundDoc>();
    if (!readStoredSound(s, s.activeSlot(), step, *stored)) return false;
    return audition(s, *stored, false);
}

} // namespace wavora
