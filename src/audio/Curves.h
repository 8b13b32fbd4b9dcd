#pragma once
// What one byte of the volume or pitch graph means. 128 is "no change" on both.
#include <cstdint>

namespace wavora {

// Gain of a volume-graph byte: (256 - v) / 128, so 0 doubles, 128 keeps and
// 255 leaves 1/128 of the sound.
float volumeGain(std::uint8_t v);

// Speed ratio of a pitch-graph byte: 10 ^ ((128 - v) / 128), 10 at v = 0 and
// about 0.1018 at v = 255. Above 1 a stretch gets shorter (and higher).
float pitchRatio(std::uint8_t v);

} // namespace wavora
