#pragma once
// The commands of the wave menu and the musical scale.
#include "core/EditorState.h"

namespace wavora {

void sinCommand(EditorState& s);         // 1101
void sinSumCommand(EditorState& s);      // 1224
void sinProductCommand(EditorState& s);  // 1226
void pitchSinCommand(EditorState& s);    // 1228
void pitchSinSinCommand(EditorState& s); // 1230
void pitchRandomCommand(EditorState& s); // 1231
void noiseCommand(EditorState& s);       // 1223
void scaleCommand(EditorState& s);       // 1249

} // namespace wavora
