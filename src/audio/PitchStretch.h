#pragma once
// The pitch graph written into the sound: every run of 10-byte blocks that
// share one speed ratio is resampled (with its volume graph) by that ratio,
// left to right, the data after each run moving with the change of length.
#include "core/EditorState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace wavora {

// Fills `ratios` from the active sound's pitch graph: entry k is the ratio of
// the byte at 10 * (k + 1), for every such byte before the last one of the
// data. Returns the number of entries; they stand for the data bytes
// 10k + 1 .. 10k + 10, while byte 0 and the bytes after the last full block
// are never stretched.
std::int32_t buildPitchRatios(const SoundDoc& d, std::vector<float>& ratios);

// One run of equal ratio, blocks first..last, as Play stretches it.
struct PitchRun {
    std::int32_t first = 0;
    std::int32_t last = 0;
    float ratio = 1.0f;
};
// Calls `each` for the runs of `count` ratios that Play stretches, in order:
// every maximal stretch of equal ratios other than 1. Stops early when
// `each` returns false.
template <typename Each>
void forEachPitchRun(const float* ratios, std::int32_t count, Each&& each) {
    std::int32_t first = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        const float r = ratios[k];
        if (k + 1 < count && r == ratios[k + 1]) continue;
        if (r != 1.0f && !each(PitchRun{first, k, r})) return;
        first = k + 1;
    }
}

// Stretches every run of the active sound in one pass over its data, with the
// same bytes as stretching them one after the other with WaveStretch2. After
// each run `progress` (when given) gets the run's number of blocks. False
// when a run would not fit (or reads past the buffer, which shows its
// message): the runs before it stay stretched and the rest of the sound is as
// it was.
bool stretchPitchRuns(EditorState& s, const float* ratios, std::int32_t count,
                      const std::function<void(std::uint32_t)>& progress);

// The same stretch of any sound into three other buffers of DATALENMAX bytes
// (samples, volume graph, pitch graph); `d` itself stays as it is. `length`
// gets the stretched length, also of a stretch refused part way (false).
using StretchOutput = std::array<std::uint8_t*, 3>;
bool stretchPitchRunsInto(EditorState& s, const SoundDoc& d, const float* ratios, std::int32_t count,
                          const std::function<void(std::uint32_t)>& progress, const StretchOutput& out,
                          std::int32_t& length);
// True when any of the ratios stretches its block.
bool pitchGraphMoves(const float* ratios, std::int32_t count);

} // namespace wavora
