#pragma once
// The sound window's view: its surfaces, the rendering of the three graphs, the
// composition of the picture, zoom and scrolling.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

// Content size of a sound window at scale 1, and the label strip to its left.
constexpr int ContentWidth = 1000;
constexpr int ContentHeight = 768;
constexpr int LabelStripWidth = 200;
constexpr int LabelStripHeight = 1536;

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
// Each buffer holds DATALENMAX bytes (null buffers leave the picture white).
void RenderGraphs(EditorState& s, int slot, const std::uint8_t* samples, const std::uint8_t* volume,
                  const std::uint8_t* pitch, std::int32_t firstByte);
// Composes the whole picture of the slot's window into its ComposeSurface.
void PaintSoundWindow(EditorState& s, int slot);

void ZoomIn(EditorState& s, int slot);
void ZoomOut(EditorState& s, int slot);

// Asks the slot's window (if it has one) to paint again.
void repaintSlot(EditorState& s, int slot);

// --- Pieces shared by the view's own files.

// Truncation toward zero, held inside the int32 range: at a very small scale a
// quotient such as 999 / XScale must not overflow its conversion.
std::int32_t viewTrunc(double value);

// What one picture of graphs is drawn from: `length` bytes of data (a sound's
// DataLen or a layer's LyLen) in buffers that hold `capacity` bytes each.
struct GraphSource {
    const std::uint8_t* samples = nullptr;
    const std::uint8_t* volume = nullptr;
    const std::uint8_t* pitch = nullptr;
    std::int32_t length = 0;
    std::int32_t capacity = 0;
    int bits = 8;
};

// Black dots of the three graphs on `dst` (which is not cleared first), from
// byte `first` of the source at x = 0.
void drawGraphDots(Surface& dst, float xScale, float yScale, const GraphSource& src, std::int32_t first);

// Width, height and left edge of every layer of the slot at the current zoom
// and scroll position.
void updateLayerExtents(EditorState& s, int slot);

} // namespace wavora
