#pragma once
// What the frame window decides, apart from the Windows messages that carry it.
#include "core/EditorState.h"

namespace wavora {

// The active slot follows the active sound window; a window that is no sound
// window leaves it where it is.
void followActiveWindow(EditorState& s, WindowId activeChild);

// The frame's close request: asks the user; on Yes every sound window is asked
// to close (each runs its own close handling) and true is returned, after
// which the frame is destroyed. On No nothing changes and false is returned;
// so it is when a window stayed open because its save failed.
bool frameCloseRequested(EditorState& s);

constexpr int FrameMinWidth = 950;
constexpr int FrameMinHeight = 534;

} // namespace wavora
