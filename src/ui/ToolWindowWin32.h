#pragma once
// The tool window (class "TBWindow") on screen: sixteen push-like icon
// buttons with tool tips, beside the frame.
#include <windows.h>

#include <functional>

namespace wavora {

// Creates and shows the window at (left, top) for the frame; `onDestroy` gets
// the window's left and top when it goes (to remember them).
HWND createToolWindow(HWND frame, int left, int top, std::function<void(int, int)> onDestroy);
HWND toolWindow();
// The pattern window disables the tool window while it is open.
void setToolWindowEnabled(bool enabled);
// Shows the chosen tool pressed in and the others raised.
void syncToolButtons();
void destroyToolWindow();

} // namespace wavora
