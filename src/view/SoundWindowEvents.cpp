#include "view/SoundWindowEvents.h"

#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < SlotTableSize;
}

ViewState& viewOf(EditorState& s, int slot) {
    return s.docs[static_cast<std::size_t>(slot)].view;
}

// Every scroll ends the same way: the bar decides whether the wanted position
// stands, and the window shows the result.
void afterHorizontalChange(EditorState& s, int slot) {
    UpdateHorizontalBar(s, slot);
    repaintSlot(s, slot);
}

void afterVerticalChange(EditorState& s, int slot) {
    UpdateVerticalBar(s, slot);
    repaintSlot(s, slot);
}

std::int32_t moved(std::int32_t pos, std::int64_t by) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(pos + by, INT32_MIN, INT32_MAX));
}

} // namespace

void onHorizontalScroll(EditorState& s, int slot, ScrollRequest request, std::int32_t position) {
    if (!validSlot(slot) || request == ScrollRequest::EndScroll) return;
    ViewState& v = viewOf(s, slot);
    if (request == ScrollRequest::LineLeft)
        v.FirstByte = moved(v.FirstByte, -10);
    else if (request == ScrollRequest::LineRight)
        v.FirstByte = moved(v.FirstByte, 10);
    else
        v.FirstByte = position;
    afterHorizontalChange(s, slot);
}

void onVerticalScroll(EditorState& s, int slot, ScrollRequest request, std::int32_t position) {
    if (!validSlot(slot)) return;
    ViewState& v = viewOf(s, slot);
    switch (request) {
    case ScrollRequest::LineUp:
        v.ScrollY = moved(v.ScrollY, -10);
        break;
    case ScrollRequest::LineDown:
        v.ScrollY = moved(v.ScrollY, 1);
        break;
    case ScrollRequest::ThumbPosition:
        v.ScrollY = position;
        break;
    default:
        repaintSlot(s, slot);
        return;
    }
    afterVerticalChange(s, slot);
}

void onMouseWheel(EditorState& s, int slot, int delta) {
    if (!validSlot(slot)) return;
    ViewState& v = viewOf(s, slot);
    const std::int64_t d = delta;
    if (d > 0)
        v.ScrollY = moved(v.ScrollY, -(d / 5));
    else if (d < 0)
        v.ScrollY = moved(v.ScrollY, (-d - 1) / 5);
    afterVerticalChange(s, slot);
}

void onSize(EditorState& s, int slot, int clientWidth, int clientHeight) {
    if (!validSlot(slot)) return;
    ViewState& v = viewOf(s, slot);
    v.ClientWidth = clientWidth;
    v.ClientHeight = clientHeight;
    UpdateHorizontalBar(s, slot);
    UpdateVerticalBar(s, slot);
    repaintSlot(s, slot);
}

bool onPaint(EditorState& s, int slot) {
    if (!validSlot(slot) || s.frame.PaintingFlag) return false;
    // While a dialog or file request is open the command that opened it owns
    // the active slot; a window uncovered meanwhile must not take it over.
    if (!s.frame.DialogBusy) s.ActWndNum = slot;
    if (s.WindowCount == 0 || s.docs[static_cast<std::size_t>(slot)].WindowHandle == 0) return false;
    PaintSoundWindow(s, slot);
    return true;
}

} // namespace wavora
