#pragma once
// The menu bar: fourteen popups and their items in the order the user sees
// them. The Windows frame builds its menu from this table.
#include "core/MenuPositions.h"

#include <string>
#include <vector>

namespace wavora {

struct MenuItem {
    std::string text; // empty for a separator
    int id = 0;       // 0 for a separator
};

struct MenuPopup {
    std::string title;
    std::vector<MenuItem> items; // top to bottom
};

const std::vector<MenuPopup>& menuBar();

// The keys of the frame and the sound windows. A key sends its command as
// the menu item would (a grayed item's key does nothing); the space bar's
// command auditions, or stops what plays.
enum class Key { Space, Escape, Delete, F1, I, N, O, S, Y, Z };
struct Accelerator {
    Key key;
    bool ctrl = false;
    bool shift = false;
    int command = 0;
    const char* keyText = ""; // as the menu shows it, right-aligned after a tab
};
constexpr int AuditionOrStopId = 1274;
constexpr int AutoAuditionId = 1272;
const std::vector<Accelerator>& accelerators();

// A menu caption with its key after a tab, when the item has one. The items
// whose captions change as the program runs keep their key too.
std::string menuCaptionWithKey(const std::string& caption, int id);

} // namespace wavora
