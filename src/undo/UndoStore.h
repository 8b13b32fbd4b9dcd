#pragma once
// File-backed undo: after every change the whole state of the active slot (and
// of its active layer) is written to numbered files in "WavoraUnDo"; undo and
// redo read a stored step back. Each slot keeps the current state and 20 more.
#include "core/EditorState.h"

namespace wavora {

// Records the active slot as the newest step, named by operation `code`.
void snapshot(EditorState& s, int code);
void undoStep(EditorState& s);
void redoStep(EditorState& s);
// Reads step `step` back into the active slot. When a file of the step is
// missing or unreadable the slot is left as it was, the user is told, and the
// result is false.
bool restoreStep(EditorState& s, int step);
// Edit menu captions from the active slot's history (on window activation).
void refreshUndoMenu(EditorState& s);
// The undo and redo items as they stand at start-up.
void initialUndoMenu(EditorState& s);

// Commands 1212 and 1222: nothing while another command runs.
void undoCommand(EditorState& s);
void redoCommand(EditorState& s);

// The sound as it was before an effect, so the effect can be tried again.
void saveEffectSource(EditorState& s);
// False (after telling the user) when the saved source could not be read; the
// sound is then unchanged. True, without doing anything, when none was saved.
bool restoreEffectSource(EditorState& s);

// Shutdown: every file of "WavoraUnDo" deleted and the folder removed.
void clearUndoFolder(EditorState& s);

} // namespace wavora
