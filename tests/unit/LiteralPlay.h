#pragma once
// The pitch-graph stretch of Play as first written down: the ratios of the
// 10-byte blocks, then every run of equal ratio resampled in place by
// WaveStretch2, which moves the whole tail of the sound each time. Slow, and
// obviously right: the one-pass renderer is checked against it.
#include "audio/Curves.h"
#include "audio/Render.h"
#include "core/EditorState.h"

#include <cstdint>
#include <vector>

namespace wavora::test {

// False when a stretch was refused (the runs before it stay stretched).
// `progress` gets the blocks of each run stretched.
inline bool literalPitchStretch(EditorState& s, std::vector<std::uint32_t>* progress = nullptr) {
    SoundDoc& d = s.active();
    std::vector<float> ratios;
    for (std::int32_t p = 10; p <= d.DataLen - 1; p += 10)
        ratios.push_back(pitchRatio(d.PitchGraph[static_cast<std::size_t>(p)]));
    const auto last = static_cast<std::int32_t>(ratios.size()) - 1;
    if (last < 0) return true;
    std::int32_t k = 0, p = 10, run = 0;
    auto stretch = [&](float r) {
        if (WaveStretch2(s, p - 10 * (run + 1) + 1, p, r, p) == -1) return false;
        if (progress) progress->push_back(static_cast<std::uint32_t>(run + 1));
        return true;
    };
    for (;;) {
        const float r = ratios[static_cast<std::size_t>(k)];
        if (k + 1 > last) {
            if (r != 1.0f && !stretch(r)) return false;
            break;
        }
        const float next = ratios[static_cast<std::size_t>(k) + 1];
        if (r != next && r != 1.0f) {
            if (!stretch(r)) return false;
            run = 0;
        } else if (r == next && r != 1.0f) {
            ++run;
        }
        ++k;
        p += 10;
        if (p == d.DataLen) break;
    }
    return true;
}

} // namespace wavora::test
