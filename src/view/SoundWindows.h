#pragma once
// Opening a sound window for a slot, fitting its view to a new sound, and
// freeing the slot when the window goes.
#include "core/EditorState.h"

#include <string>

namespace wavora {

// Opens a sound window in the lowest free slot and makes it active. Returns the
// slot, or -1 after the limit message when five windows are open.
int createSoundWindow(EditorState& s, const std::string& title, int clientWidth, int clientHeight);
// True when createSoundWindow would find a slot; otherwise false after the
// same limit message.
bool roomForSoundWindow(EditorState& s);
// The same in a given free slot (a sound that comes back after a crash takes
// the slot it had); -1, without a message, when the slot is not free.
int createSoundWindowIn(EditorState& s, int slot, const std::string& title, int clientWidth, int clientHeight);

// The view of a freshly made or read sound: scale 1, scrolled home, the scroll
// extent following the length, the whole sound selected.
void fitViewToLength(EditorState& s, int slot);

// Called when a sound window is destroyed: frees its slot.
void releaseSlot(EditorState& s, int slot);

} // namespace wavora
