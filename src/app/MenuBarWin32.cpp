// The frame's menu bar, built from the menu table. Items go in one by one at
// position 0 of their popup, so they are inserted last to first.
#include "app/AppWin32.h"
#include "app/MenuTable.h"
#include "core/WinText.h"

namespace wavora {

HMENU buildMenuBar(std::array<HMENU, MenuPopupCount>& popups) {
    HMENU bar = CreateMenu();
    const auto& table = menuBar();
    for (std::size_t p = 0; p < table.size() && p < popups.size(); ++p) {
        HMENU popup = CreatePopupMenu();
        const auto& items = table[p].items;
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (it->id == 0) InsertMenuW(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            else InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(it->id), widen(menuCaptionWithKey(it->text, it->id)).c_str());
        }
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), widen(table[p].title).c_str());
        popups[p] = popup;
    }
    return bar;
}

} // namespace wavora
