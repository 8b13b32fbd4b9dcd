#pragma once
// Message boxes whose captions are small faces, picked at random each time.
#include "core/EditorState.h"

#include <string>

namespace wavora {

// The general face message; an empty text means the standard "no sound window"
// message that every command needing a sound shows.
void showFaceMessage(EditorState& s, const std::string& text);
void showNoLayerMessage(EditorState& s);

extern const char* const NoSoundWindowText;

} // namespace wavora
