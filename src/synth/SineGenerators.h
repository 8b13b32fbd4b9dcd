#pragma once
// The periodic generators: one sine, the sum and the product of two sines. Each
// builds one block of one second plus one period in CycleBuffer and repeats it
// over the region, so long sounds cost little more than a copy.
#include "core/EditorState.h"
#include "text/NumberText.h"

#include <cstdint>
#include <vector>

namespace wavora {

// 2 pi and 4 pi as the generators have always used them: 2 x 3.141592 and
// 4 x 3.141592, not the exact values, so the bytes stay what they always were.
constexpr double GenTwoPi = 2.0 * 3.141592;
constexpr double GenFourPi = 4.0 * 3.141592;

// The same, rounded towards minus infinity.
int floorToInt(double value);

// Stores one sample value at byte `at`: 8-bit as the low 8 bits of v + 128,
// 16-bit as the low 16 bits of v, little-endian. Values are never clipped: an
// amplitude beyond the range wraps around. Bytes outside the buffer are skipped.
void putSampleValue(std::vector<std::uint8_t>& buf, std::int64_t at, int v, bool wide);

// The bytes a generator may write: the target buffer (chosen by GenTarget) and
// the region inside it, already cut to the buffer.
struct GenRegion {
    std::vector<std::uint8_t>* buffer = nullptr;
    std::int32_t start = 0;
    std::int32_t length = 0;
};

// The pitch graph when its flag is set, else the volume graph when its flag is
// set, else the samples of the active sound.
std::vector<std::uint8_t>& generatorTarget(EditorState& s);
// The selection when there is one, else the first `length` bytes. A selection
// that reaches outside the buffer (or has a negative start or length) is cut
// to the part that lies inside it.
GenRegion generatorRegion(EditorState& s, std::int32_t length);

// A single sine; phase in hundredths of a period (0..99).
void sineBlock(EditorState& s, std::uint8_t amp, int freq, std::int32_t length, float phase);
// Two sines added; a first frequency below 50 Hz is played as 100 Hz.
void sineSumBlock(EditorState& s, std::uint8_t amp1, int freq1, std::uint8_t amp2, int freq2,
                  std::int32_t length);
// Two sines multiplied (ring modulation).
void sineProductBlock(EditorState& s, std::uint8_t amp1, int freq1, std::uint8_t amp2, int freq2,
                      std::int32_t length);

} // namespace wavora
