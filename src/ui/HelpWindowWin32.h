#pragma once
// The help window ("NORMAL6"): made hidden at start-up, shown by command 1250.
// Every decision is the portable HelpViewer's; this is its window.
#include <windows.h>

namespace wavora {

class HelpViewer;

LRESULT CALLBACK helpWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam);
// Command 1250: the page that was open last, or the index.
void openHelpWindow();
// The viewer behind the window, for the window's own tests; null before the
// window exists.
HelpViewer* helpViewer();

} // namespace wavora
