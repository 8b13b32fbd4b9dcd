#pragma once
// The pattern window on screen ("HakeiPat"): its controls, menu and tool bar,
// the drawing area and the modal loop. Every decision is the portable
// model's (PatternWindow.h).
#include <windows.h>

namespace wavora {

struct EditorState;
struct PatternWindow;

// The window's menu, made once at start-up and kept for the run.
void createPatternMenu();
void destroyPatternMenu();

// Runs the window, owned (and meanwhile disabled) by `owner`, until it
// closes: 0 after an input or the close box, -1 after "きゃんせる".
int runPatternWindow(EditorState& state, HWND owner);

// The open window and its model, for the window's own tests; null when closed.
HWND patternWindow();
PatternWindow* patternWindowModel();

} // namespace wavora
