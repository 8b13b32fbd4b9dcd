#include "input/SoundWindowLifetime.h"

#include "core/Platform.h"
#include "layers/LayerPool.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoStore.h"
#include "view/SoundWindows.h"

namespace wavora {

namespace {

constexpr int SaveWavCommand = 1002;

bool validSlot(int slot) {
    return slot >= 0 && slot < SlotTableSize;
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

void onMdiActivate(EditorState& s) {
    if (!s.frame.PaintingFlag && !s.frame.DialogBusy) {
        const int slot = s.slotOfWindow(s.platform.activeSoundWindow());
        if (slot >= 0) s.ActWndNum = slot;
    }
    refreshUndoMenu(s);
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
