// Zooming halves or doubles both scales around the point of the last mouse
// press. The new scroll positions go through the window's own scroll handling,
// so a position the scroll bar cannot show is refused there.
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"

namespace wavora {

namespace {

// Below this a whole 500000-byte sound is narrower than one pixel; halving on
// would only run the scale down to zero (a window narrower than the label
// strip never "fits") and every byte position would divide by it.
constexpr float MinXScale = 1.0f / 1048576.0f;

void scrollVerticallyToPress(EditorState& s, int slot, const ViewState& v) {
    const std::int32_t y =
        viewTrunc(static_cast<float>(s.mouse.PressY) - static_cast<float>(s.mouse.PressClientY) / v.YScale);
    onVerticalScroll(s, slot, ScrollRequest::ThumbPosition, y);
}

} // namespace

void ZoomOut(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    if (v.XScale * static_cast<float>(d.DataLen - 1) <= static_cast<float>(v.ClientWidth - 200)) return;
    if (v.XScale * 0.5f < MinXScale) return;
    v.XScale *= 0.5f;
    v.YScale *= 0.5f;

    const std::int32_t x =
        viewTrunc(static_cast<float>(s.mouse.PressX) - static_cast<float>(s.mouse.PressClientX) / v.XScale);
    onHorizontalScroll(s, slot, ScrollRequest::ThumbPosition, x);
    if (v.XScale > 0.5f)
        scrollVerticallyToPress(s, slot, v);
    else
        v.YScale = 0.5f;

    updateLayerExtents(s, slot);
    UpdateHorizontalBar(s, slot);
    UpdateVerticalBar(s, slot);
    repaintSlot(s, slot);
}

void ZoomIn(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    v.XScale *= 2.0f;
    v.YScale *= 2.0f;
    if (v.XScale > 1.0f) {
        v.XScale = 1.0f;
        v.YScale = 1.0f;
        return;
    }

    const std::int64_t visible = viewTrunc(static_cast<float>(v.ClientWidth - 200) / v.XScale);
    std::int64_t first = std::int64_t{v.FirstByte} + viewTrunc(static_cast<float>(s.mouse.PressX) / v.XScale);
    if (first > d.DataLen - visible) first = d.DataLen - visible - 2;
    onHorizontalScroll(s, slot, ScrollRequest::ThumbPosition, viewTrunc(static_cast<double>(first)));
    if (v.XScale > 0.5f)
        scrollVerticallyToPress(s, slot, v);
    else
        v.YScale = 0.5f;

    updateLayerExtents(s, slot);
    repaintSlot(s, slot);
}

} // namespace wavora
