#pragma once
// The five sound slots: choosing one for a new sound, giving it its data, and
// the check that a sound holds something to hear.
#include "core/EditorState.h"

namespace wavora {

// Takes the lowest free slot and makes it active; -1 (after the limit message)
// when all five are in use. The slot stays free until a window is made for it.
int reserveSlot(EditorState& s);
// The lowest slot without a window, or -1.
int firstFreeSlot(const EditorState& s);

// Gives the active slot a fresh sound: silence over the whole buffer and both
// graphs neutral.
void allocateNewSound(EditorState& s);

// False (after telling the user) when the first `count` bytes are all equal to
// the byte at index 1, i.e. there is nothing to hear.
bool HasSoundData(EditorState& s, const std::uint8_t* bytes, std::int32_t count);

} // namespace wavora
