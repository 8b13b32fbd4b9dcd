// The arrow keys: one semitone up or down, or a little louder or softer, for
// the selection or the whole sound, in one keystroke.
#include "audio/Render.h"
#include "input/MouseTools.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

// WaveStretch2's ratio is a speed: above 1 the range gets shorter and higher.
constexpr float SemitoneUp = 1.0594631f;   // 2 ^ (1/12)
constexpr float SemitoneDown = 0.9438743f; // 2 ^ (-1/12)
constexpr float Louder = 1.1f;
constexpr float Softer = 0.9f;

bool changePitch(EditorState& s, SoundDoc& d, std::int32_t lo, std::int32_t hi, float ratio) {
    if (hi - lo < 1) return false;
    const std::int32_t before = d.DataLen;
    std::int32_t pos = 0;
    if (WaveStretch2(s, lo, hi - 1, ratio, pos) != 0) return false;
    if (d.HasSelection) {
        d.SelLength = std::max(0, d.SelLength + (d.DataLen - before));
        d.SelRect.right = d.SelRect.left + viewTrunc(d.view.XScale * static_cast<float>(d.SelLength));
    }
    return true;
}

bool changeVolume(EditorState& s, SoundDoc& d, std::int32_t lo, std::int32_t hi, float factor) {
    if (hi - lo < 1) return false;
    std::fill(d.VolumeGraph.begin(), d.VolumeGraph.end(), std::uint8_t{128});
    const auto level = static_cast<std::uint8_t>(static_cast<int>(128.0f / factor));
    std::fill(d.VolumeGraph.begin() + lo, d.VolumeGraph.begin() + hi, level);
    ApplyVolumeGraph(s, lo, hi);
    return true;
}

} // namespace

void onKeyDown(EditorState& s, int slot, ArrowKey key) {
    if (key == ArrowKey::Other || slot < 0 || slot >= SlotCount) return;
    if (s.BusyFlag || s.play.PlayingFlag) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle == 0 || !d.hasBuffers()) return;
    s.ActWndNum = slot;
    s.BusyFlag = 1;
    std::int32_t lo = 0, hi = d.DataLen;
    if (d.HasSelection) {
        lo = std::clamp(d.SelStart, 0, d.DataLen);
        hi = std::clamp(d.SelStart + d.SelLength, lo, d.DataLen);
    }
    bool changed = false;
    switch (key) {
    case ArrowKey::Right: changed = changePitch(s, d, lo, hi, SemitoneUp); break;
    case ArrowKey::Left: changed = changePitch(s, d, lo, hi, SemitoneDown); break;
    case ArrowKey::Up: changed = changeVolume(s, d, lo, hi, Louder); break;
    case ArrowKey::Down: changed = changeVolume(s, d, lo, hi, Softer); break;
    case ArrowKey::Other: break;
    }
    std::fill(d.VolumeGraph.begin(), d.VolumeGraph.end(), std::uint8_t{128});
    std::fill(d.PitchGraph.begin(), d.PitchGraph.end(), std::uint8_t{128});
    if (changed) snapshot(s, 15);
    d.view.ExtentX = d.DataLen;
    UpdateHorizontalBar(s, slot);
    UpdateVerticalBar(s, slot);
    repaintSlot(s, slot);
    s.BusyFlag = 0;
}

} // namespace wavora
