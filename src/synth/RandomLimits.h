#pragma once
// How the random waves may choose: the kinds they draw from and the ranges of
// their frequencies.
#include "core/EditorState.h"

namespace wavora {

void limitKindsCommand(EditorState& s);     // 1257 "種類を限定(&T)"
void fixLastKindsCommand(EditorState& s);   // 1256 " 今（最後）の種類で固定(&K)"
void limitFrequencyCommand(EditorState& s); // 1260 "周波数を限定(&F)"

// The captions of 1256 while the kinds are free and while they are fixed.
extern const char* const FixKindsCaption;
extern const char* const UnfixKindsCaption;

} // namespace wavora
