#pragma once
// Changing how long a stretch of sound is: the length command sets the length
// of the active sound in seconds (cutting or extending, no resampling), and
// WaveStretchForHakei resamples a block of 8-bit bytes in place.
#include "core/EditorState.h"

#include <cstdint>
#include <vector>

namespace wavora {

void lengthCommand(EditorState& s); // 1225

// Resamples the inclusive byte range start..end of `buffer` by `ratio`
// (above 1: shorter) with linear interpolation on 8-bit values, writes the
// result at start and adds the change of length to `blockLength` (the length
// of the block being built in `buffer`). The bytes after the range do not
// move. -1, with a message and nothing changed, when the result would not
// fit; also for a range that is none.
int WaveStretchForHakei(EditorState& s, std::vector<std::uint8_t>& buffer, std::int32_t start, std::int32_t end,
                        float ratio, std::int32_t& blockLength);

} // namespace wavora
