#pragma once
// The mouse tools and arrow keys of the sound window. The window adapter
// hands over its button, move and key messages with client coordinates; the
// tools turn them into markers, selections, drawings, zooms and layer drags.
#include "core/EditorState.h"
#include "core/ToolIds.h"

namespace wavora {

enum class ArrowKey { Left, Right, Up, Down, Other };
enum class ToolCursor { Arrow, Drawing, ZoomIn, ZoomOut, Move };

void onLeftPress(EditorState& s, int slot, int clientX, int clientY);
void onMouseMove(EditorState& s, int slot, int clientX, int clientY, bool leftDown);
void onLeftRelease(EditorState& s, int slot, int clientX, int clientY);
void onRightPress(EditorState& s, int slot, int clientX, int clientY);
// The one-touch change of pitch or volume.
void onKeyDown(EditorState& s, int slot, ArrowKey key);
// The cursor the window shows for the current tool.
ToolCursor toolCursor(const EditorState& s);

// Where a press falls: PressX, PressY, the client point, MouseByte, MouseRow.
void recordPress(EditorState& s, int slot, int clientX, int clientY);

// --- The drawing tools, shared with the mouse handling (DrawTools.cpp).
Band bandOfRow(std::int32_t row);
void startStroke(EditorState& s, int slot);
void continueStroke(EditorState& s, int slot);
void startLine(EditorState& s, int slot);
void drawLineTo(EditorState& s, int slot);
void eraseAt(EditorState& s, int slot, bool first);
// Drawn columns c0..c1 (content pixels) of the tool's band into the data.
void convertColumns(EditorState& s, int slot, std::int32_t c0, std::int32_t c1);

} // namespace wavora
