#pragma once
// The kept states of the active sound as a list: what the history window
// shows, and going to one of them by as many undo or redo steps as lie
// between.
#include "core/EditorState.h"

#include <string>
#include <vector>

namespace wavora {

// One kept state: the name of the operation that made it and whether it is
// the state the sound is in now. Row k is the state k steps back from the
// newest kept one, which is also its step number in the undo files.
struct HistoryRow {
    std::string text; // "▶" before the current state's name, a wide blank before the others
    bool current = false;
};

// Newest first; empty when no sound window is open.
std::vector<HistoryRow> historyRows(const EditorState& s);

// Makes row `row`'s state the current one with the undo or redo steps that
// lead there, one after the other, so the captions and the redo branch end
// as they would by hand. Stops where a step cannot be read. Nothing happens
// while another command runs.
void goToHistoryRow(EditorState& s, int row);

} // namespace wavora
