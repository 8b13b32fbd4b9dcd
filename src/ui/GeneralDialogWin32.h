#pragma once
// The general dialog's window: controls, fonts and the nested message loop.
// Every decision is made by the portable dialog procedures.
#include <windows.h>

namespace wavora {

struct EditorState;

// Runs the dialog on state.dialog, owned (and meanwhile disabled) by `owner`.
// 0 = OK or closed, -1 = Cancel.
int runGeneralDialog(EditorState& state, HWND owner);

// Control identifiers of row r (1..13), for the window's own tests.
constexpr int DialogLabelId(int r) { return 100 + r; }
constexpr int DialogEditId(int r) { return 200 + r; }
constexpr int DialogSpinId(int r) { return 300 + r; }
constexpr int DialogCheckId(int r) { return 400 + r; }
constexpr int DialogRadioId(int r) { return 500 + r; }
constexpr int DialogTrackbarId(int r) { return 600 + r; }
// OK is the platform's default-button identity, so Enter presses it; Cancel
// deliberately is not the platform's cancel identity, so Escape does nothing.
constexpr int DialogOkId = IDOK;
constexpr int DialogCancelId = 3000;

} // namespace wavora
