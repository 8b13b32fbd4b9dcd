#include "view/SoundView.h"

#include "app/Platform.h"
#include "view/WindowSurfaces.h"

#include <cmath>

namespace wavora {

void createSharedSurfaces(EditorState& s) {
    s.SelectionTint = s.platform.createSurface(1000, 768);
    if (s.SelectionTint) s.SelectionTint->fill(Cyan);
    s.PlayLineSurface = s.platform.createSurface(10, 768);
    if (s.PlayLineSurface) s.PlayLineSurface->fill(Black);
}

void createWindowSurfaces(EditorState& s, int slot) {
    auto ws = std::make_unique<WindowSurfaces>();
    ws->WaveSurface = s.platform.createSurface(1000, 768);
    ws->ContentSurface = s.platform.createSurface(1000, 768);
    ws->OverlaySurface = s.platform.createSurface(1000, 768);
    ws->LabelStrip = s.platform.createSurface(200, 1536);
    ws->ComposeSurface = s.platform.createSurface(1000, 768);
    s.surfaces[static_cast<std::size_t>(slot)] = std::move(ws);
}

void releaseWindowSurfaces(EditorState& s, int slot) { s.surfaces[static_cast<std::size_t>(slot)].reset(); }

namespace {

// One bar: range 0..extent-1, a page of `page`; returns the position kept.
std::int32_t setBar(EditorState& s, SoundDoc& d, ScrollBar bar, std::int32_t wanted, std::int32_t accepted,
                    std::int32_t extent, std::int32_t page) {
    std::int32_t pos = wanted;
    if (pos < 0 || static_cast<std::int64_t>(pos) + page > extent) pos = accepted;
    if (d.WindowHandle != 0) s.platform.setScrollBar(d.WindowHandle, bar, 0, extent - 1, page, pos);
    return pos;
}

} // namespace

void UpdateHorizontalBar(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    std::int32_t page = static_cast<std::int32_t>(std::trunc(v.ClientWidth / v.XScale));
    std::int32_t extent = static_cast<std::int32_t>(std::trunc(200.0f / v.XScale)) + v.ExtentX;
    v.FirstByte = setBar(s, d, ScrollBar::Horizontal, v.FirstByte, v.AcceptedFirstByte, extent, page);
    v.AcceptedFirstByte = v.FirstByte;
}

void UpdateVerticalBar(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    std::int32_t page = static_cast<std::int32_t>(std::trunc(v.ClientHeight / v.YScale));
    v.ScrollY = setBar(s, d, ScrollBar::Vertical, v.ScrollY, v.AcceptedScrollY, v.ExtentY, page);
    v.AcceptedScrollY = v.ScrollY;
}

} // namespace wavora

namespace wavora {
void repaintSlot(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    WindowId w = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
    if (w != 0) s.platform.invalidate(w);
}
} // namespace wavora
