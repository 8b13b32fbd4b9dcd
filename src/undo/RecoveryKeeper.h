#pragma once
// Keeping each open sound's recovery record in step with its history, so that
// the sounds can come back when the program dies.
#include "core/EditorState.h"

#include <cstdint>
#include <optional>

namespace wavora {

// The active slot has just stored a new step (the end of snapshot).
void recordNewStep(EditorState& s);
// The active slot has moved in its history (the end of undo and redo).
void recordHistoryMove(EditorState& s);
// Something only the record holds changed: the title, a layer's transparency.
void rewriteRecoveryRecord(EditorState& s, int slot);
// The window is gone; its sound is no longer work to bring back.
void removeRecoveryRecord(EditorState& s, int slot);

// Writes the slot's record from its state as it stands (to a temporary file,
// then renamed over the old one). False when it could not be written.
bool writeRecoveryRecord(EditorState& s, int slot);

// The fingerprint of the slot's step `step` as its files hold it; nothing
// when a file is missing, too short or its state record unusable.
std::optional<std::uint64_t> storedStepTag(EditorState& s, int slot, int step);

} // namespace wavora
