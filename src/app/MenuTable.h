#pragma once
// The menu bar: thirteen popups and their items in the order the user sees
// them. The Windows frame builds its menu from this table.
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

// Popup positions that handlers address when they rewrite an item.
constexpr int FilePopup = 0;
constexpr int EditPopup = 1;
constexpr int RandomPopup = 3;
constexpr int PlayPopup = 5;

} // namespace wavora
