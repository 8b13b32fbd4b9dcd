#include "view/SoundWindows.h"

#include "core/Platform.h"
#include "core/SlotTable.h"
#include "doc/Slots.h"
#include "text/NumberText.h"
#include "view/SoundView.h"

namespace wavora {

namespace {

void showWindowLimit(EditorState& s) {
    s.platform.messageBox({"画像は" + intText(SlotCount) + "枚までです。", "<(_ _)>"});
}

} // namespace

bool roomForSoundWindow(EditorState& s) {
    if (s.WindowCount < SlotCount && firstFreeSlot(s) >= 0) return true;
    showWindowLimit(s);
    return false;
}

int createSoundWindow(EditorState& s, const std::string& title, int clientWidth, int clientHeight) {
    if (!roomForSoundWindow(s)) return -1;
    int slot = firstFreeSlot(s);
    return createSoundWindowIn(s, slot, title, clientWidth, clientHeight);
}

int createSoundWindowIn(EditorState& s, int slot, const std::string& title, int clientWidth, int clientHeight) {
    if (slot < 0 || slot >= SlotCount || s.docs[static_cast<std::size_t>(slot)].WindowHandle != 0) return -1;
    s.ActWndNum = slot;
    std::string name = title;
    if (name.empty() || name == "名無し") name = "名無し" + intText(s.WindowCount);

    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    // A slot that held an earlier sound must not offer that sound's history.
    // Cleared before the window exists: its activation rewrites the menu's
    // undo and redo items from these strings.
    d.UnDoFlag.clear();
    d.Yarinaoshi.clear();
    d.UndoPos = 0;
    d.UndoLayerFiles = 0;
    WindowId window = s.platform.createSoundWindow(name);
    if (window == 0) return -1;
    // Making the window activates it, and the old active window may have
    // claimed the active slot meanwhile; the new sound is the active one.
    s.ActWndNum = slot;
    d.WindowHandle = window;
    d.Channels = 1;
    d.HasGenOn = 0;
    d.LayerCount = 0;
    d.ActiveLayer = 0;
    d.HasSelection = 0;
    d.HasMarker = 0;
    d.MouseTracking = false;
    s.RandomWaveKind[static_cast<std::size_t>(slot)] = 0; // a new window holds no random wave yet

    d.view = ViewState{};
    d.view.ClientWidth = clientWidth;
    d.view.ClientHeight = clientHeight;
    d.view.CreatedHeight = clientHeight;
    d.view.ExtentY = clientHeight;
    d.view.ExtentX = 1000;
    ++s.WindowCount;
    createWindowSurfaces(s, slot);

    Size client = s.platform.mdiClientSize();
    s.platform.moveWindow(window, 0, 0, client.width - 30, 440);
    return slot;
}

void fitViewToLength(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.view.XScale = 1.0f;
    d.view.YScale = 1.0f;
    d.view.FirstByte = 0;
    d.view.ScrollY = 0;
    d.view.ExtentX = d.DataLen;
    d.view.ExtentY = 768;
    d.view.AcceptedFirstByte = 0;
    d.view.AcceptedScrollY = 0;
    resetSelection(d);
    UpdateHorizontalBar(s, slot);
    UpdateVerticalBar(s, slot);
}

void releaseSlot(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle == 0) return;
    d.Channels = 1;
    releaseWindowSurfaces(s, slot);
    d.WindowHandle = 0;
    if (s.WindowCount > 0) --s.WindowCount;
    d.LayerCount = 0;
    d.ActiveLayer = 0;
    d.HasSelection = 0;
    d.HasMarker = 0;
    d.MouseTracking = false;
}

} // namespace wavora
