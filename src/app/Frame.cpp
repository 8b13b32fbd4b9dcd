#include "app/Frame.h"

#include "core/Platform.h"

namespace wavora {

void followActiveWindow(EditorState& s, WindowId activeChild) {
    int slot = s.slotOfWindow(activeChild);
    if (slot >= 0) s.ActWndNum = slot;
    else if (s.ActWndNum > SlotTableSize - 1) s.ActWndNum = 0;
}

bool frameCloseRequested(EditorState& s) {
    // Not while start-up is bringing back a run's sounds: closing now would
    // clear the records it is reading.
    if (s.frame.RecoveryRunning) return false;
    MessageBoxSpec box{"本当にWavoraを閉じますか？　はい(y)＝閉じる　いいえ(n)＝閉じない", "(ﾟoﾟ)!　Wavoraを閉じる",
                       MsgButtons::YesNo, MsgIcon::Exclamation};
    box.topmost = true;
    if (s.platform.messageBox(box) != MsgAnswer::Yes) return false;
    bool kept = false;
    for (int slot = 0; slot < SlotCount; ++slot) {
        WindowId w = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
        if (w == 0) continue;
        s.ActWndNum = slot;
        s.frame.SaveFailed = 0;
        s.platform.requestClose(w);
        kept = kept || s.frame.SaveFailed;
    }
    // A sound whose save failed is still in its window: the program stays.
    return !kept;
}

} // namespace wavora
