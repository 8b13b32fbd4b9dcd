#pragma once
// Reading one period of a wave off a picture, and putting it into a sound.
// The curve is whatever is dark enough: the threshold starts at pure black
// and rises until the curve runs unbroken from its first column to its last,
// so a pencil drawing or a photograph is traced as well as a clean line.
#include "core/EditorState.h"
#include "core/Surface.h"

#include <cstdint>
#include <vector>

namespace wavora {

// The extraction looks at this much of any picture: the pattern window's
// drawing area.
constexpr int PatternAreaWidth = 800;
constexpr int PatternAreaHeight = 256;

enum class PatternInput { Continuous, Once };

struct ExtractedSpan {
    int first = 0; // first and last column holding ink
    int last = 0;
    int threshold = 0; // red + green + blue at or below this counted as ink
    int width() const { return last - first; }
};

// Fills PatternBuf and PatternLen with the curve of the picture: per column
// from the first to the last inked one, the row of its lowest ink, then every
// PatternStep-th value. Pixels outside the picture count as white.
ExtractedSpan extractPatternValues(const Surface& picture, PatternState& pattern);

// Writes the pattern into `target` (a buffer of the active sound) over the
// selection, or the whole sound without one: repeated to the end of the
// range, or once. A copy that would pass the buffers' size stops with the
// "データの長さがオーバー" message; what was written before stays.
void writePattern(EditorState& s, std::vector<std::uint8_t>& target, PatternInput mode);

// Both, then the sound window is asked to repaint. Returns the span width.
int ExtractPattern(EditorState& s, const Surface& picture, std::vector<std::uint8_t>& target,
                   PatternInput mode);

} // namespace wavora
