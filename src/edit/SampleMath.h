#pragma once
// Sample arithmetic the effects share: a range multiplied by the gain
// register, two buffers added sample by sample, both with clipping. 8-bit
// samples are worked around 128 and clipped to -127..127; 16-bit samples are
// little-endian words clipped to -32768..32767.
#include "core/EditorState.h"

#include <cstdint>
#include <vector>

namespace wavora {

using Bytes = std::vector<std::uint8_t>;

// Multiplies the samples of `buffer` from start to end - 1 by the gain
// register, the product rounded to single precision and cut toward zero. Only
// positions inside the active sound's selection (or inside its data, without
// one) change; a 16-bit walk starts on an even byte and steps by sample.
void ScaleRange(EditorState& s, Bytes& buffer, std::int32_t start, std::int32_t end);

// ScaleRange with `gain` in the register, which is 1.0 again afterwards.
void scaleBy(EditorState& s, Bytes& buffer, std::int32_t start, std::int32_t end, float gain);

// The slot's Samples[p] = a[p] + b[p] for p below `length`, sample by sample
// at the slot's depth; a and b may be the slot's own Samples. Invalidates the
// slot's window.
void MixInto(EditorState& s, const Bytes& a, const Bytes& b, std::int32_t length, int slot);

// Cut to the sample range of the depth, from a product of any size.
int clip8(float value);
int clip16(float value);

inline int word(const Bytes& b, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)));
}
inline void putWord(Bytes& b, std::size_t at, int v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

} // namespace wavora
