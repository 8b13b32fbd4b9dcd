#pragma once
// Reading a stored step back, shared by undo, redo and restoreStep.
#include "core/EditorState.h"

namespace wavora {

// `baseState`: undo has reached the state the sound was created in, so the
// layers placed since then are dropped before the layer record is read.
bool restoreStoredStep(EditorState& s, int step, bool baseState);

// The sound of a stored step (its samples, graphs, format, selection and
// marker; not its layers) into a record that is not a slot, which gets
// buffers of DATALENMAX bytes. False, `into` unchanged, when the step cannot
// be read whole.
bool readStoredSound(EditorState& s, int slot, int step, SoundDoc& into);

// Told when a step or the effect source cannot be read back.
extern const char* const UndoUnreadableCaption;
extern const char* const UndoUnreadableText;
extern const char* const UndoUnwritableText; // a step could not be stored
extern const char* const EffectSourceUnreadableText;

} // namespace wavora
