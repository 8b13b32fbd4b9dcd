#pragma once
// Bit conversion (command 1262): an 8-bit sound becomes a 16-bit one or back,
// sample by sample, without rounding.
#include "core/EditorState.h"

namespace wavora {

void bitConversionCommand(EditorState& s); // 1262

// The longest 8-bit sound that still fits the buffer as 16 bits.
constexpr std::int32_t LongestSixteenBitSource = DATALENMAX / 2;
// Why a longer one is refused.
extern const char* const BitConversionTooLongText;

} // namespace wavora
