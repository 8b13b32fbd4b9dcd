#include "view/SoundView.h"

#include "core/Platform.h"
#include "core/WindowSurfaces.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wavora {

std::int32_t viewTrunc(double value) { return cutToInt(std::trunc(value)); }

void createSharedSurfaces(EditorState& s) {
    s.SelectionTint = s.platform.createSurface(ContentWidth, ContentHeight);
    if (s.SelectionTint) s.SelectionTint->fill(Cyan);
    s.PlayLineSurface = s.platform.createSurface(10, ContentHeight);
    if (s.PlayLineSurface) s.PlayLineSurface->fill(Black);
}

void createWindowSurfaces(EditorState& s, int slot) {
    auto ws = std::make_unique<WindowSurfaces>();
    ws->WaveSurface = s.platform.createSurface(ContentWidth, ContentHeight);
    ws->ContentSurface = s.platform.createSurface(ContentWidth, ContentHeight);
    ws->OverlaySurface = s.platform.createSurface(ContentWidth, ContentHeight);
    ws->LabelStrip = s.platform.createSurface(LabelStripWidth, LabelStripHeight);
    ws->ComposeSurface = s.platform.createSurface(ContentWidth, ContentHeight);
    s.surfaces[static_cast<std::size_t>(slot)] = std::move(ws);
}

void releaseWindowSurfaces(EditorState& s, int slot) {
    s.surfaces[static_cast<std::size_t>(slot)].reset();
}

namespace {

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

bool showsFullPage(std::int32_t pos, std::int32_t extent, std::int32_t page) {
    return pos >= 0 && static_cast<std::int64_t>(pos) + page <= extent;
}

// One bar: range 0..extent-1, a page of `page`; returns the position kept.
std::int32_t setBar(EditorState& s, SoundDoc& d, ScrollBar bar, std::int32_t wanted, std::int32_t accepted,
                    std::int32_t extent, std::int32_t page) {
    std::int32_t pos = showsFullPage(wanted, extent, page) ? wanted : accepted;
    // The kept position itself falls out of range when the page or the extent
    // has changed since (a zoom, a larger window, a shorter sound). Keeping it
    // would leave the view stuck where no scroll request is ever accepted, so
    // the nearest position that is still in range is taken instead.
    if (!showsFullPage(pos, extent, page))
        pos = clampToInt32(
            std::clamp<std::int64_t>(pos, 0, std::max<std::int64_t>(0, std::int64_t{extent} - page)));
    if (d.WindowHandle != 0) s.platform.setScrollBar(d.WindowHandle, bar, 0, extent - 1, page, pos);
    return pos;
}

} // namespace

void UpdateHorizontalBar(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    std::int32_t page = viewTrunc(static_cast<float>(v.ClientWidth) / v.XScale);
    std::int32_t extent = clampToInt32(std::int64_t{viewTrunc(200.0f / v.XScale)} + v.ExtentX);
    v.FirstByte = setBar(s, d, ScrollBar::Horizontal, v.FirstByte, v.AcceptedFirstByte, extent, page);
    v.AcceptedFirstByte = v.FirstByte;
}

void UpdateVerticalBar(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ViewState& v = d.view;
    std::int32_t page = viewTrunc(static_cast<float>(v.ClientHeight) / v.YScale);
    v.ScrollY = setBar(s, d, ScrollBar::Vertical, v.ScrollY, v.AcceptedScrollY, v.ExtentY, page);
    v.AcceptedScrollY = v.ScrollY;
}

void repaintSlot(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    WindowId w = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
    if (w != 0) s.platform.invalidate(w);
}

} // namespace wavora
