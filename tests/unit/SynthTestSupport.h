#pragma once
// The sound the sample-routine tests write into: every byte holds a value no
// routine writes at its start, so the bytes left alone can be told apart.
#include "FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace wavora::test {

constexpr std::uint8_t Old = 7;

struct SynthFixture : ::testing::Test {
    FakePlatform platform;
    EditorState s{platform};

    // The active slot as a sound of `len` bytes, whole sound selected, samples
    // all Old, both graphs neutral.
    SoundDoc& sound(std::int32_t rate, std::uint8_t bits, std::int32_t len) {
        SoundDoc& d = s.active();
        d.SRATE = rate;
        d.BitsParSample = bits;
        d.DataLen = len;
        d.HasSelection = 0;
        d.SelStart = 0;
        d.SelLength = len;
        std::fill(d.Samples.begin(), d.Samples.end(), Old);
        std::fill(d.VolumeGraph.begin(), d.VolumeGraph.end(), 128);
        std::fill(d.PitchGraph.begin(), d.PitchGraph.end(), 128);
        return d;
    }
};

} // namespace wavora::test
