#pragma once
// The Edit menu's range edits on the active sound: they work through its
// selection (or its marker, whose position is SelStart), record one undo step
// each and repaint.
#include "core/EditorState.h"

namespace wavora {

void deleteSelectionCommand(EditorState& s);  // 1208
void silenceSelectionCommand(EditorState& s); // 1214
void trimCommand(EditorState& s);             // 1248
void repeatSelectionCommand(EditorState& s);  // 1252
void insertSilenceCommand(EditorState& s);    // 1241
void reverseCommand(EditorState& s);          // 1263

// One "second" of the insert-silence command, whatever the rate and depth.
constexpr std::int32_t InsertSilenceSecond = 9990;

} // namespace wavora
