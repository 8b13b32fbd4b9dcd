#pragma once
// Making a silent sound, renaming it, and the information box about it.
#include "core/EditorState.h"

#include <string>

namespace wavora {

void newSoundCommand(EditorState& s);     // 1001
void renameCommand(EditorState& s);       // 1244
void informationCommand(EditorState& s);  // 1210

// The OK step of the new-sound dialog: creates the sound from the rows.
void createSoundFromDialog(EditorState& s);

// The information text of the active sound and its layers.
std::string informationText(const EditorState& s);

} // namespace wavora
