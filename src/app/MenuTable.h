#pragma once
// The menu bar: thirteen popups and their items in the order the user sees
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


} // namespace wavora
