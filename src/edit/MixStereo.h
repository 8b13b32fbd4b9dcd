#pragma once
// Commands that combine sound windows: mix two sounds into a window the user
// picks, interleave a left and a right sound into a new stereo window, and
// split a stereo sound into two new mono windows.
#include "core/EditorState.h"

namespace wavora {

void mixCommand(EditorState& s);         // 1217
void stereoMixCommand(EditorState& s);   // 1251
void stereoSplitCommand(EditorState& s); // 1253

} // namespace wavora
