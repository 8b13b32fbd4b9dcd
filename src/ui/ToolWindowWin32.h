#pragma once
// The tool window (class "TBWindow") on screen: sixteen push-like icon
// buttons with tool tips, beside the frame.
#include <windows.h>

#include <functional>

namespace wavora {

// Starts reading the buttons' icon files on a thread of their own, so that
// the start-up makes the frame meanwhile; the window's creation takes them
// (and reads them itself when nothing was read ahead).
void startLoadingToolIcons();
// Creates and shows the window at (left, top) for the frame; `onDestroy` gets
// the window's left and top when it goes (to remember them).
HWND createToolWindow(HWND frame, int left, int top, std::function<void(int, int)> onDestroy);
// The buttons' tool tips, added once the window is made: they need the
// common controls, which the start-up loads after the frame is up.
void addToolWindowTips();
HWND toolWindow();
// The pattern window disables the tool window while it is open.
void setToolWindowEnabled(bool enabled);
// Shows the chosen tool pressed in and the others raised.
void syncToolButtons();
void destroyToolWindow();

} // namespace wavora
