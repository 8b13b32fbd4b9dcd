#pragma once
// Where the general dialog was last closed, so that it opens there again.
#include "core/EditorState.h"

namespace wavora {

struct DialogPosition {
    int left = 13;
    int top = 50;
};

// Relative to the program folder; the file name begins with a full-width space.
extern const char* const DialogPositionFile;

// The remembered position, or the defaults when there is no file.
DialogPosition readDialogPosition(EditorState& s);
// Two lines "left\r\ntop\r\n" and a NUL, replacing the file. False when the
// file could not be written; the dialog then simply opens at the old place.
bool writeDialogPosition(EditorState& s, DialogPosition position);

} // namespace wavora
