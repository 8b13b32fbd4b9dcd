#pragma once
// The sound window's view: its surfaces, the rendering of the three graphs, the
// composition of the picture, zoom and scrolling.
#include "app/EditorState.h"

namespace wavora {

// Surfaces of a window, made when the window is made and released with it.
void createWindowSurfaces(EditorState& s, int slot);
void releaseWindowSurfaces(EditorState& s, int slot);
// The program-wide SelectionTint and PlayLineSurface, made at start-up.
void createSharedSurfaces(EditorState& s);

// Set the scroll bars from the view state. A wanted position (FirstByte or
// ScrollY as they stand) that is negative or would pass the end of the range is
// refused: the last accepted position comes back, in the bar and in the view.
void UpdateHorizontalBar(EditorState& s, int slot);
void UpdateVerticalBar(EditorState& s, int slot);

// The three graphs of the slot as black dots on white into its WaveSurface.
void RenderGraphs(EditorState& s, int slot, const std::uint8_t* samples, const std::uint8_t* volume,
                  const std::uint8_t* pitch, std::int32_t firstByte);
// Composes the whole picture of the slot's window into its ComposeSurface.
void PaintSoundWindow(EditorState& s, int slot);

void ZoomIn(EditorState& s, int slot);
void ZoomOut(EditorState& s, int slot);

} // namespace wavora

namespace wavora {
// Asks the slot's window (if it has one) to paint again.
void repaintSlot(EditorState& s, int slot);
} // namespace wavora
