#pragma once
// The five sound slots: choosing one, opening its window, giving a new sound its
// data, and the length rules every command shares.
#include "app/EditorState.h"

#include <string>

namespace wavora {

// Takes the lowest free slot and makes it active; -1 (after the limit message)
// when all five are in use. The slot stays free until a window is made for it.
int reserveSlot(EditorState& s);

// Opens a sound window in the lowest free slot and makes it active. Returns the
// slot, or -1 after the limit message when five windows are open.
int createSoundWindow(EditorState& s, const std::string& title, int clientWidth, int clientHeight);

// Gives the active slot a fresh sound: silence over the whole buffer and both
// graphs neutral.
void allocateNewSound(EditorState& s);

// Selection back to the whole sound; the marker is left alone.
void resetSelection(SoundDoc& d);

// The view of a freshly made or read sound: scale 1, scrolled home, the scroll
// extent following the length, the whole sound selected.
void fitViewToLength(EditorState& s, int slot);

// DataLen / (SRATE * BitsParSample / 8); 0 for a slot without a rate.
double soundSeconds(const SoundDoc& d);
// 500000 / (SRATE * BitsParSample / 8)
double maxSeconds(int rate, int bits);
inline double maxSeconds(const SoundDoc& d) { return maxSeconds(d.SRATE, d.BitsParSample); }

// Called when a sound window is destroyed: frees its slot.
void releaseSlot(EditorState& s, int slot);

} // namespace wavora
