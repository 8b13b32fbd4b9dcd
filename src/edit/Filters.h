#pragma once
// Low-pass and high-pass filters: a second-order Butterworth section (a
// biquad from the bilinear transform), run once per pass. Each pass takes
// 12 dB an octave past the cut-off and leaves the pass band flat, so "強さ"
// is simply how many times the section runs. The commands ask through the
// general dialog with a live preview, like the other effects.
#include "core/EditorState.h"

#include <cstdint>
#include <vector>

namespace wavora {

enum class FilterKind { LowPass, HighPass };

// Operation codes of the two commands' undo steps.
constexpr int LowPassCode = 47;
constexpr int HighPassCode = 48;

struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};

// The section for a cut-off (where the response is 3 dB down) at `rate`
// samples per second. The cut-off is held between 1 Hz and 0.49 of the rate,
// where the transform still has a section to give.
Biquad butterworth(FilterKind kind, double cutoff, double rate);

// Filters bytes start .. start+length-1 of `samples` (8- or 16-bit, one or
// two interleaved channels, each channel on its own) `passes` times. The
// range is cut to whole frames inside the buffer. Each pass starts as if the
// sound had held its first value for ever, so the start does not click.
void filterSamples(std::vector<std::uint8_t>& samples, std::int64_t start, std::int64_t length, int bits,
                   int channels, const Biquad& section, int passes);

// The active sound's selection, or the whole sound.
void filterActive(EditorState& s, FilterKind kind, double cutoff, int passes);

void lowPassCommand(EditorState& s);  // 1288
void highPassCommand(EditorState& s); // 1289

} // namespace wavora
