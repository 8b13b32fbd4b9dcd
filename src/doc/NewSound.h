#pragma once
// Making a silent sound, renaming it, and the information box about it.
#include "app/EditorState.h"

#include <string>

namespace wavora {

void newSoundCommand(EditorState& s);     // 1001
void renameCommand(EditorState& s);       // 1244
void informationCommand(EditorState& s);  // 1210

// "長さは" + the first four characters of the longest length + "秒まで"
std::string lengthLimitCaption(double seconds);

// The OK step of the new-sound dialog: creates the sound from the rows.
void createSoundFromDialog(EditorState& s);

// The information text of the active sound and its layers.
std::string informationText(const EditorState& s);

// False (after telling the user) when the first `count` bytes are all equal to
// the byte at index 1, i.e. there is nothing to hear.
bool HasSoundData(EditorState& s, const std::uint8_t* bytes, std::int32_t count);

} // namespace wavora
