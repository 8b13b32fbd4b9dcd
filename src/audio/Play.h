#pragma once
// Play: the sound's graphs written into it (or its layers mixed over it) and
// the result handed to the output device.
#include "core/EditorState.h"

namespace wavora {

// Plays the active sound. Without layers or a selection the pitch graph and
// the volume graph are first written into the samples (one undo step when
// either held anything) and then set back to neutral unless fixed; with
// layers their mix is played and the sound kept; a selection plays alone.
void PlayCommand(EditorState& s);

// Command 1201: Play once (a loop still running ends with it).
void playCommand(EditorState& s);
// Commands 1258 and 1259: keep the volume or the pitch graph through Play.
void fixVolumeGraphCommand(EditorState& s);
void fixPitchGraphCommand(EditorState& s);

extern const char* const TooLongText; // "データが長くなり過ぎたので中断しました。"

} // namespace wavora
