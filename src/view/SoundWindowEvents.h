#pragma once
// The sound window's own messages, as the window adapter hands them over:
// scrolling, the wheel, size and paint. Activation, close and destroy, which
// reach the undo menu and the layers, are the window's lifetime; mouse
// buttons and keys belong to the mouse tools.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

// What a scroll bar message asks for. Page and track requests are `Other`;
// the adapter passes the 32-bit position of the bar with every request.
enum class ScrollRequest { LineLeft, LineRight, LineUp, LineDown, ThumbPosition, EndScroll, Other };

void onHorizontalScroll(EditorState& s, int slot, ScrollRequest request, std::int32_t position);
void onVerticalScroll(EditorState& s, int slot, ScrollRequest request, std::int32_t position);
// `delta` as the wheel reports it: positive when turned away from the user.
void onMouseWheel(EditorState& s, int slot, int delta);
void onSize(EditorState& s, int slot, int clientWidth, int clientHeight);
// True when the picture in the slot's ComposeSurface was composed anew.
bool onPaint(EditorState& s, int slot);

} // namespace wavora
