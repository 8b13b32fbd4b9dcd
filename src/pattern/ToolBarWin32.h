#pragma once
// The tool bar built from the strip files (BmpToPrompt).
#include "pattern/ToolStrips.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <array>
#include <span>

namespace wavora {

constexpr int ToolBarControlId = 787;

struct ToolBar {
    HWND window = nullptr;
    std::array<HIMAGELIST, 3> images{}; // normal, highlighted, disabled: the bar does not own them
};

// Writes the strips, loads them back as image lists and makes a flat tool
// bar with tool tips at (x, y) of the parent. `vertical` stacks the buttons.
ToolBar BmpToPrompt(EditorState& s, std::span<const ToolButtonEntry> buttons, HWND parent, bool vertical,
                    int x, int y);
void destroyToolBar(ToolBar& bar);

} // namespace wavora
