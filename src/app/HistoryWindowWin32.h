#pragma once
// The history window "作業の履歴": the active sound's kept states in a list,
// newest first. Picking a row auditions that state; "この状態にする", a
// double click or Enter makes it the current one.
#include "core/Win32App.h"

namespace wavora {

// Shows the window (made on first use, owned by the frame) where it was.
void showHistoryWindow();
// After every message: the list follows the active sound and its history.
void refreshHistoryWindow();
// Enter and Tab in the window, as in a dialog; true when the message was its.
bool historyWindowMessage(MSG& msg);
// At shutdown, before the frame goes.
void destroyHistoryWindow();

} // namespace wavora
