#pragma once
// The tool window: one column of sixteen icon buttons beside the frame for
// playing, recording and stopping, the mouse tools of the sound window, and
// the random-wave commands. What each button does and which one shows itself
// pressed in is decided here; the window adapter only shows them.
#include "core/EditorState.h"
#include "core/Platform.h"

#include <array>

namespace wavora {

struct ToolButton {
    int id;           // control id 5001..5016, top to bottom
    const char* tip;  // the tool tip
    const char* icon; // the icon file in the parts folder
    int command;      // the frame command the button runs, 0 for a tool button
};

const std::array<ToolButton, 16>& toolButtons();

constexpr int ToolButtonSize = 32;
constexpr int FirstToolButton = 5001;

// The position the window takes when none is remembered: beside the frame.
Point defaultToolWindowPosition(int frameLeft, int frameTop, int frameWidth);
// The window's outer size for the platform's frame border and caption height.
Size toolWindowSize(int frameBorder, int captionHeight);

// A button was pressed (the adapter has already given the focus back to the
// frame): a tool button chooses its tool, the others run their command as
// the menu would.
void toolButtonPressed(EditorState& s, int id);
// The tool button that shows itself pressed in for the current tool, 0 for none.
int pressedToolButton(const EditorState& s);

} // namespace wavora
