#include "audio/Play.h"

#include "audio/Audition.h"
#include "audio/PitchStretch.h"
#include "audio/Playback.h"
#include "audio/Render.h"
#include "core/MenuPositions.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "ui/FaceMessages.h"
#include "ui/WaitDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundWindowEvents.h"

#include <algorithm>

namespace wavora {

const char* const TooLongText = "データが長くなり過ぎたので中断しました。";

namespace {

constexpr int PlayCode = 5; // "音量、音の高さの変化"

std::vector<std::uint8_t>& madeOnce(std::vector<std::uint8_t>& b) {
    if (b.size() != static_cast<std::size_t>(DATALENMAX)) b.assign(static_cast<std::size_t>(DATALENMAX), 128);
    return b;
}

bool volumeGraphHoldsAnything(const SoundDoc& d) {
    const auto end = d.VolumeGraph.begin() + std::clamp(d.DataLen, 0, DATALENMAX);
    return std::any_of(d.VolumeGraph.begin(), end, [](std::uint8_t v) { return v != 128; });
}

// The wait dialog's bar follows the blocks stretched. It is moved at most a
// hundred times: a graph that changes at every block would otherwise spend
// more time redrawing the dialog than stretching the sound.
class StretchProgress {
public:
    StretchProgress(EditorState& s, std::uint32_t total) : s_(s), total_(total) {
        if (total_ < 3) return;
        openWaitDialog(s_);
        setWaitTotal(s_, total_);
    }
    void add(std::uint32_t blocks) {
        pending_ += blocks;
        if (pending_ * 100ull >= total_) flush();
    }
    void flush() {
        if (total_ >= 3 && pending_ > 0) advanceWait(s_, pending_);
        pending_ = 0;
    }

private:
    EditorState& s_;
    std::uint32_t total_;
    std::uint32_t pending_ = 0;
};

// Writes the pitch graph and the volume graph into the sound and plays it.
// False when a stretch did not fit: nothing is played then.
bool renderAndPlay(EditorState& s, std::uint32_t& changedBlocks) {
    SoundDoc& d = s.active();
    std::vector<float>& ratios = s.render.PitchRatios;
    const std::int32_t count = buildPitchRatios(d, ratios);
    changedBlocks = static_cast<std::uint32_t>(std::count_if(ratios.begin(), ratios.begin() + count,
                                                             [](float r) { return r != 1.0f; }));
    StretchProgress progress(s, changedBlocks);
    const bool whole =
        stretchPitchRuns(s, ratios.data(), count, [&](std::uint32_t n) { progress.add(n); });
    if (!whole) return false;
    progress.flush();
    ApplyVolumeGraph(s, 0, d.DataLen);
    StartPlayback(s, d.DataLen);
    return true;
}

// Unfixed curves go back to neutral; fixed ones to what they were when Play
// began (`backedUp`: on the layer path they were never touched).
void curvesAfterPlay(EditorState& s, SoundDoc& d, bool backedUp) {
    if (!s.play.VolumeGraphFixed)
        std::fill(d.VolumeGraph.begin(), d.VolumeGraph.end(), std::uint8_t{128});
    else if (backedUp)
        d.VolumeGraph = s.render.VolumeBackup;
    if (!s.play.PitchGraphFixed) {
        std::fill(d.PitchGraph.begin(), d.PitchGraph.end(), std::uint8_t{128});
        std::fill(s.render.PitchRatios.begin(), s.render.PitchRatios.end(), 1.0f);
    } else if (backedUp) {
        d.PitchGraph = s.render.PitchBackup;
    }
}

void repaint(EditorState& s, const SoundDoc& d) {
    if (d.WindowHandle) s.platform.invalidate(d.WindowHandle);
}

// The scroll bar's range follows a new length, as after any change of it.
void lengthChanged(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.view.ExtentX = d.DataLen;
    onSize(s, slot, d.view.ClientWidth, d.view.ClientHeight);
}

void setFixCaption(EditorState& s, int id, int position, bool fixed, const char* on, const char* off) {
    s.platform.setMenuItem(fixed ? on : off, PlayPopup, id, position, true);
}

} // namespace

void PlayCommand(EditorState& s) {
    if (s.BusyFlag) return;
    s.BusyFlag = 1;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        s.BusyFlag = 0;
        return;
    }
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    if (!HasSoundData(s, d.Samples.data(), d.DataLen)) {
        s.BusyFlag = 0;
        return;
    }
    // The device owns the bytes of a playback still running: end it before
    // they change.
    stopPlayback(s);
    s.render.RenderingFlag = 1;
    repaint(s, d);
    const std::int32_t oldLength = d.DataLen;
    std::uint8_t& nonFlat = s.render.VolumeGraphNonFlat[static_cast<std::size_t>(slot)];
    std::uint32_t changedBlocks = 0;
    bool aborted = false;
    if (d.LayerCount > 0) {
        RenderLayers(s);
        StartPlayback(s, s.render.OutputLength);
        curvesAfterPlay(s, d, false);
    } else if (d.HasSelection) {
        // The selection plays as it is painted, from its own bytes: the
        // rectangle's pixels no longer tell where it lies once the window
        // has scrolled or zoomed.
        StartPlayback(s, d.DataLen);
        s.BusyFlag = 0;
        s.render.RenderingFlag = 0;
        return;
    } else {
        nonFlat = volumeGraphHoldsAnything(d) ? 1 : 0;
        if (s.play.VolumeGraphFixed) madeOnce(s.render.VolumeBackup) = d.VolumeGraph;
        if (s.play.PitchGraphFixed) madeOnce(s.render.PitchBackup) = d.PitchGraph;
        aborted = !renderAndPlay(s, changedBlocks);
        curvesAfterPlay(s, d, true);
    }
    s.render.RenderingFlag = 0;
    if (s.platform.waitDialogExists()) s.platform.waitDialogDestroy();
    if (nonFlat || changedBlocks != 0) snapshot(s, PlayCode);
    if (aborted) {
        s.platform.messageBox({TooLongText, "<(;_ _)>"});
        undoStep(s); // back to the sound as it was before Play
    }
    if (d.DataLen != oldLength) lengthChanged(s, slot);
    repaint(s, d);
    nonFlat = 0;
    s.BusyFlag = 0;
    // What Play wrote into the sound is what is playing now.
    markChangesHeard(s);
}

void playCommand(EditorState& s) {
    if (s.BusyFlag) return;
    s.play.LoopPlay = 0;
    PlayCommand(s);
}

void fixVolumeGraphCommand(EditorState& s) {
    s.play.VolumeGraphFixed ^= 1;
    setFixCaption(s, 1258, FixVolumeGraphPosition, s.play.VolumeGraphFixed, "音量グラフ固定 解除する(&V)", "音量グラフ固定する(&V)");
}

void fixPitchGraphCommand(EditorState& s) {
    s.play.PitchGraphFixed ^= 1;
    setFixCaption(s, 1259, FixPitchGraphPosition, s.play.PitchGraphFixed, "高さグラフ固定 解除する(&H)", "高さグラフ固定する(&H)");
}

} // namespace wavora
