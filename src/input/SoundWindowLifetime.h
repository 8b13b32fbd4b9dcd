#pragma once
// The sound window's lifetime as the window adapter hands it over: activation
// (the undo menu follows the active sound), close and destroy (the slot's
// layers and recovery record go with it).
#include "core/EditorState.h"

namespace wavora {

void onMdiActivate(EditorState& s);
// The user closes the window: offer to save, then destroy it. A save that
// could not write its file keeps the window open (s.frame.SaveFailed is set).
void onClose(EditorState& s, int slot);
// The window is gone: its slot becomes free.
void onDestroy(EditorState& s, int slot);

} // namespace wavora
