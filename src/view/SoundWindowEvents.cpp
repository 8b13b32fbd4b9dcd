#include "view/SoundWindowEvents.h"

#include "core/Platform.h"
#include "layers/LayerPool.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int SaveWavCommand = 1002;

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

// The slot's layers go back to the pool, so closing a window never uses up
// layer ids for good.
void releaseSlotLayers(EditorState& s, SoundDoc& d) {
    while (listedLayers(d) > 0) {
        const int id = d.LayerIds[static_cast<std::size_t>(listedLayers(d))];
        removeLayer(d, id);
        if (ownerSlotOf(s, id) < 0) releaseLayer(s, id);
    }
    d.LayerIds = {};
    d.TopLayer = 0;
    syncLayerPoolNext(s);
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

void onMdiActivate(EditorState& s) {
    if (!s.frame.PaintingFlag && !s.frame.DialogBusy) {
        const int slot = s.slotOfWindow(s.platform.activeSoundWindow());
        if (slot >= 0) s.ActWndNum = slot;
    }
    refreshUndoMenu(s);
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

void onClose(EditorState& s, int slot) {
    if (!validSlot(slot)) return;
    const WindowId window = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
    if (window == 0) return;
    MessageBoxSpec ask{s.platform.windowTitle(window) + "を保存しますか？", "閉じる", MsgButtons::YesNo};
    if (s.platform.messageBox(ask) == MsgAnswer::Yes) {
        // Saving works on the active sound, which must be the one being closed.
        s.ActWndNum = slot;
        s.frame.SaveFailed = 0;
        if (s.runCommand) s.runCommand(s, SaveWavCommand);
        // The save has told the user why it failed; closing now would lose
        // the sound, so the window stays.
        if (s.frame.SaveFailed) return;
    }
    s.platform.destroyWindow(window);
}

void onDestroy(EditorState& s, int slot) {
    if (!validSlot(slot)) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle == 0) return;
    s.ActWndNum = slot;
    removeRecoveryRecord(s, slot);
    releaseSlotLayers(s, d);
    releaseSlot(s, slot);
}

} // namespace wavora
