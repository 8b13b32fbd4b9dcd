#include "doc/Slots.h"

#include "app/Platform.h"
#include "text/NumberText.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

int firstFreeSlot(const EditorState& s) {
    for (int i = 0; i < SlotCount; ++i)
        if (s.docs[static_cast<std::size_t>(i)].WindowHandle == 0) return i;
    return -1;
}

void showWindowLimit(EditorState& s) {
    s.platform.messageBox({"画像は" + intText(SlotCount) + "枚までです。", "<(_ _)>"});
}

} // namespace

int reserveSlot(EditorState& s) {
    int slot = firstFreeSlot(s);
    if (slot < 0) {
        s.platform.messageBox({"ウィンドウは" + intText(SlotCount) + "個までです。", "これ以上ウィンドウ作れません。<(_ _)>"});
        return -1;
    }
    s.ActWndNum = slot;
    return slot;
}

int createSoundWindow(EditorState& s, const std::string& title, int clientWidth, int clientHeight) {
    if (s.WindowCount >= SlotCount) {
        showWindowLimit(s);
        return -1;
    }
    int slot = firstFreeSlot(s);
    if (slot < 0) {
        showWindowLimit(s);
        return -1;
    }
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

void allocateNewSound(EditorState& s) {
    SoundDoc& d = s.active();
    d.Samples.assign(static_cast<std::size_t>(DATALENMAX), d.silenceValue());
    d.VolumeGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
    d.PitchGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
}

void resetSelection(SoundDoc& d) {
    d.HasSelection = 0;
    d.SelRect = Rect{0, 0, 0, 768};
    d.SelStart = 0;
    d.SelLength = d.DataLen;
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

double soundSeconds(const SoundDoc& d) {
    double bytesPerSecond = static_cast<double>(d.SRATE) * d.BitsParSample / 8.0;
    return bytesPerSecond > 0 ? d.DataLen / bytesPerSecond : 0.0;
}

double maxSeconds(int rate, int bits) {
    double bytesPerSecond = static_cast<double>(rate) * bits / 8.0;
    return bytesPerSecond > 0 ? DATALENMAX / bytesPerSecond : 0.0;
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
