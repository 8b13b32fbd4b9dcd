#pragma once
// The generators that write every sample themselves instead of repeating a
// block: sines whose pitch moves while they play, and white noise.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

enum PitchSineType : int {
    PitchSwingsSine = 0,      // the frequency swings along a sine of `rate` Hz
    PitchSwingRateSwings = 1, // ... and the swing rate itself swings
    PitchJumpsRandomly = 2,   // a new random frequency every `rate` bytes, joined without a click
};

// Writes the region of the target (the rules of the periodic generators)
// sample by sample. fmax is the highest frequency; rate is the swing rate in
// Hz for types 0 and 1 and the interval in bytes for type 2.
void pitchSineFill(EditorState& s, std::uint8_t amp, int fmax, float rate, std::int32_t length, int type);

// Uniform noise spread over 128 - amp .. 128 + amp - 1 (8-bit) or
// -256 amp .. 256 amp - 1 (16-bit).
void noiseFill(EditorState& s, std::uint8_t amp, std::int32_t length);
// The same noise from the random numbers as they stand, for a sound that
// must come out the same from the same seed.
void noiseFillFromSequence(EditorState& s, std::uint8_t amp, std::int32_t length);

// Where a random pitch jump starts: from time t on, in steps of `step`, the
// first time at which amplitude x sin(2 pi x t x freq), cut to an integer, lies
// within 10 of `previous`. A jump that never comes that close (a wrapped
// previous value, a stalled float clock) stops looking after `maxSteps` steps
// and starts at the closest time it saw instead.
float pitchJoinTime(float t, float step, double amplitude, double freq, int previous, std::int64_t maxSteps);

// Sample value of a pitch jump search and of the written samples alike.
int pitchSineValue(double amplitude, float t, double freq);

} // namespace wavora
