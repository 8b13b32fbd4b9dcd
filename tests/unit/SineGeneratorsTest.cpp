// The periodic generators must write the same bytes they always did: these
// sounds are compared against memos and pattern files made long ago, so every
// rounding step (float or double, floor or truncation) is pinned here.
#include "SynthTestSupport.h"
#include "synth/SineGenerators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wavora {
namespace {

using test::Old;

struct Generators : test::SynthFixture {
    SoundDoc& selection(std::int32_t start, std::int32_t len) {
        SoundDoc& d = sound(8000, 8, 24000);
        d.HasSelection = 1;
        d.SelStart = start;
        d.SelLength = len;
        return d;
    }
    static int word(const std::vector<std::uint8_t>& b, std::size_t at) {
        return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
    }
    static std::size_t changedFrom(const std::vector<std::uint8_t>& b, std::size_t from) {
        return static_cast<std::size_t>(std::count_if(b.begin() + static_cast<std::ptrdiff_t>(from), b.end(),
                                                      [](std::uint8_t v) { return v != Old; }));
    }
};

TEST_F(Generators, Sine440At44100RepeatsABlockOfOneSecondPlusOnePeriod) {
    SoundDoc& d = sound(44100, 8, 100000);
    sineBlock(s, 100, 440, d.DataLen, 0.0f);
    const std::vector<std::uint8_t> first(d.Samples.begin(), d.Samples.begin() + 5);
    EXPECT_EQ(first, (std::vector<std::uint8_t>{128, 134, 140, 146, 152}));
    EXPECT_EQ(s.gen.CycleLength, 44200);
    // Rounded down, not cut towards zero: the troughs reach -100 (28), the
    // crests stay below +100 (227).
    auto [lo, hi] = std::minmax_element(d.Samples.begin(), d.Samples.begin() + 88400);
    EXPECT_EQ(*lo, 28);
    EXPECT_EQ(*hi, 227);
    // 100000 / 44200 = 2 copies; the block is repeated byte for byte.
    EXPECT_TRUE(std::equal(d.Samples.begin(), d.Samples.begin() + 44200, d.Samples.begin() + 44200));
    EXPECT_EQ(d.Samples[88399], d.Samples[44199]);
    EXPECT_EQ(changedFrom(d.Samples, 88400), 0u);

    // Phase 25: the sine of a quarter period, held as a float, is exactly 1;
    // a double would give 0.99999999999989 and the byte 227.
    sineBlock(s, 100, 440, d.DataLen, 25.0f);
    EXPECT_EQ(d.Samples[0], 228);
}

TEST_F(Generators, DoubleClockEndsTheBlockOneSampleEarlyAndLeavesTheTail) {
    // 3 s at 8000 Hz: t summed in double passes 1.01 after 8080 steps.
    SoundDoc& d = sound(8000, 8, 24000);
    sineBlock(s, 100, 100, d.DataLen, 0.0f);
    EXPECT_EQ(s.gen.CycleLength, 8079);
    EXPECT_TRUE(std::equal(d.Samples.begin(), d.Samples.begin() + 8079, d.Samples.begin() + 8079));
    EXPECT_NE(d.Samples[16157], Old);
    EXPECT_EQ(changedFrom(d.Samples, 16158), 0u); // the last 7842 bytes of the sound and all beyond
}

TEST_F(Generators, SixteenBitSineIsLittleEndianAndRoundedDown) {
    SoundDoc& d = sound(44100, 16, 200000);
    sineBlock(s, 100, 440, d.DataLen, 0.0f);
    EXPECT_EQ(word(d.Samples, 0), 0);
    // 25600 x sin(2 pi 440 / 44100) = 1603.9..: low byte first.
    EXPECT_EQ(d.Samples[2], 1603 & 0xFF);
    EXPECT_EQ(d.Samples[3], 1603 >> 8);
    // One block is 44201 samples less the last half word: even and whole.
    EXPECT_EQ(s.gen.CycleLength, 88400);
    int lo = 0, hi = 0;
    for (std::size_t i = 0; i < 88400; i += 2) {
        lo = std::min(lo, word(d.Samples, i));
        hi = std::max(hi, word(d.Samples, i));
    }
    EXPECT_EQ(lo, -25600); // floor reaches the full negative amplitude
    EXPECT_EQ(hi, 25599);
    EXPECT_EQ(changedFrom(d.Samples, 176800), 0u);

    // Amplitudes past the range wrap instead of clipping: 65280 reads as -256.
    sineBlock(s, 255, 100, d.DataLen, 25.0f);
    EXPECT_EQ(word(d.Samples, 0), -256);
    SoundDoc& narrow = sound(8000, 8, 8000);
    sineBlock(s, 200, 100, narrow.DataLen, 25.0f);
    EXPECT_EQ(narrow.Samples[0], (200 + 128) & 0xFF);
}

TEST_F(Generators, ASelectionConfinesEveryWrite) {
    SoundDoc& d = selection(1000, 10000);
    sineBlock(s, 100, 100, d.DataLen, 0.0f);
    EXPECT_TRUE(
        std::all_of(d.Samples.begin(), d.Samples.begin() + 1000, [](std::uint8_t v) { return v == Old; }));
    EXPECT_EQ(d.Samples[1000], 128); // the block starts at the selection
    EXPECT_NE(d.Samples[1000 + 8078], Old);
    // 10000 / 8079 = one copy; the rest of the selection keeps its bytes.
    EXPECT_EQ(changedFrom(d.Samples, 1000 + 8079), 0u);

    // A selection reaching past the buffer is cut to it; a negative start
    // begins at byte 0.
    selection(DATALENMAX - 100, 5000);
    sineBlock(s, 100, 100, d.DataLen, 0.0f);
    EXPECT_EQ(s.gen.CycleLength, 99);
    EXPECT_EQ(changedFrom(d.Samples, 0), 99u);
    selection(-50, 150);
    sineSumBlock(s, 50, 440, 50, 50, d.DataLen);
    EXPECT_EQ(d.Samples[0], 128);
    EXPECT_EQ(changedFrom(d.Samples, 100), 0u);
    selection(600000, -5);
    sineProductBlock(s, 10, 440, 10, 50, d.DataLen);
    EXPECT_EQ(changedFrom(d.Samples, 0), 0u);
}

TEST_F(Generators, EmptyAndTinyRegionsWriteNothing) {
    // A region of one sample leaves a block of nothing: no copies, no crash.
    for (std::uint8_t bits : {std::uint8_t{8}, std::uint8_t{16}}) {
        for (std::int32_t len : {0, 1, 2}) {
            SoundDoc& d = sound(44100, bits, len);
            sineBlock(s, 100, 440, len, 25.0f);
            sineSumBlock(s, 100, 440, 100, 50, len);
            sineProductBlock(s, 10, 440, 10, 50, len);
            if (bits == 16 || len < 2) {
                EXPECT_EQ(changedFrom(d.Samples, 0), 0u) << len;
            }
        }
    }
    // Two 8-bit bytes: a block of one, copied twice.
    SoundDoc& d = sound(44100, 8, 2);
    sineBlock(s, 100, 440, 2, 25.0f);
    EXPECT_EQ(d.Samples[0], 228);
    EXPECT_EQ(d.Samples[1], 228);
    EXPECT_EQ(d.Samples[2], Old);
}

TEST_F(Generators, GraphTargetsReceiveTheWaveBytesAndLeaveTheSamples) {
    SoundDoc& d = sound(22050, 8, 60000);
    sineSumBlock(s, 60, 300, 40, 70, d.DataLen);
    const auto written = static_cast<std::ptrdiff_t>((60000 / s.gen.CycleLength) * s.gen.CycleLength);
    const std::vector<std::uint8_t> wave(d.Samples.begin(), d.Samples.begin() + written);
    const auto neutral = [](std::uint8_t v) { return v == 128; };

    sound(22050, 8, 60000);
    s.gen.GenTarget = {1, 1, 0};
    sineSumBlock(s, 60, 300, 40, 70, d.DataLen);
    EXPECT_EQ(changedFrom(d.Samples, 0), 0u);
    EXPECT_TRUE(std::equal(wave.begin(), wave.end(), d.VolumeGraph.begin()));
    EXPECT_TRUE(std::all_of(d.VolumeGraph.begin() + written, d.VolumeGraph.end(), neutral));
    EXPECT_TRUE(std::all_of(d.PitchGraph.begin(), d.PitchGraph.end(), neutral));

    sound(22050, 8, 60000);
    s.gen.GenTarget = {1, 1, 1}; // the last flag wins
    sineSumBlock(s, 60, 300, 40, 70, d.DataLen);
    EXPECT_EQ(changedFrom(d.Samples, 0), 0u);
    EXPECT_TRUE(std::all_of(d.VolumeGraph.begin(), d.VolumeGraph.end(), neutral));
    EXPECT_TRUE(std::equal(wave.begin(), wave.end(), d.PitchGraph.begin()));

    // All flags clear (a generator run for effects only) falls back to the samples.
    sound(22050, 8, 60000);
    s.gen.GenTarget = {0, 0, 0};
    sineSumBlock(s, 60, 300, 40, 70, d.DataLen);
    EXPECT_TRUE(std::equal(wave.begin(), wave.end(), d.Samples.begin()));
}

TEST_F(Generators, SumCutsTowardsZeroAndPlaysLowFirstFrequenciesAs100Hz) {
    // The same sine as sineBlock, but cut towards zero: one step higher
    // wherever the value is negative and not whole.
    SoundDoc& d = sound(44100, 8, 100000);
    sineBlock(s, 100, 440, d.DataLen, 0.0f);
    const std::vector<std::uint8_t> floored(d.Samples.begin(), d.Samples.begin() + 44100);
    sound(44100, 8, 100000);
    sineSumBlock(s, 100, 440, 0, 50, d.DataLen);
    int raised = 0;
    for (std::size_t i = 0; i < floored.size(); ++i) {
        const int diff = d.Samples[i] - floored[i];
        ASSERT_TRUE(diff == 0 || (diff == 1 && floored[i] < 128)) << i;
        raised += diff;
    }
    EXPECT_GT(raised, 20000);
    // Ends after the second period, 1 s + 1/50 s; t summed in double passes
    // 1.02 one sample early, as at 8000 Hz.
    EXPECT_EQ(s.gen.CycleLength, 44981);

    sound(8000, 8, 24000);
    sineSumBlock(s, 100, 1, 30, 50, d.DataLen);
    const std::vector<std::uint8_t> low(d.Samples.begin(), d.Samples.begin() + 24000);
    sound(8000, 8, 24000);
    sineSumBlock(s, 100, 100, 30, 50, d.DataLen);
    EXPECT_TRUE(std::equal(low.begin(), low.end(), d.Samples.begin()));
    sound(8000, 8, 24000);
    sineSumBlock(s, 100, 50, 30, 50, d.DataLen); // exactly 50 Hz stays 50 Hz
    EXPECT_FALSE(std::equal(low.begin(), low.end(), d.Samples.begin()));

    // A zero second frequency: the block runs to the end of the region.
    sound(8000, 8, 24000);
    sineSumBlock(s, 50, 440, 50, 0, d.DataLen);
    EXPECT_EQ(s.gen.CycleLength, 23999);
}

TEST_F(Generators, SixteenBitSumScalesEachAmplitude) {
    SoundDoc& d = sound(8000, 16, 16000);
    sineSumBlock(s, 100, 100, 100, 100, d.DataLen);
    // At a quarter period of 100 Hz (sample 20) both sines are 1 - 1e-13; each
    // term rounds to 25600 in single precision and 51200 wraps.
    const int expected = static_cast<std::int16_t>(51200);
    EXPECT_EQ(word(d.Samples, 40), expected);
}

TEST_F(Generators, ProductStaysInsideTheAmplitudesAndWrapsBeyond127) {
    SoundDoc& d = sound(8000, 8, 24000);
    sineProductBlock(s, 10, 100, 10, 100, d.DataLen);
    EXPECT_EQ(s.gen.CycleLength, 8079);
    auto [lo, hi] = std::minmax_element(d.Samples.begin(), d.Samples.begin() + 16158);
    EXPECT_GE(*lo, 28);
    EXPECT_LE(*hi, 228);
    // sin^2 peaks at a quarter period (sample 20): 99.99999999999 rounds to
    // 100 in single precision before it is cut.
    EXPECT_EQ(d.Samples[20], 128 + 100);

    sound(8000, 8, 24000);
    sineProductBlock(s, 12, 100, 12, 100, d.DataLen);
    EXPECT_EQ(d.Samples[20], (144 + 128) & 0xFF); // 144 wraps to 16

    SoundDoc& w = sound(8000, 16, 16000);
    sineProductBlock(s, 12, 100, 12, 100, w.DataLen);
    EXPECT_EQ(word(w.Samples, 40), static_cast<std::int16_t>(144 * 256));
    sineProductBlock(s, 200, 100, 200, 100, w.DataLen);
    // 40000 as a 16-bit value is -25536; times 256 keeps the low 16 bits.
    EXPECT_EQ(word(w.Samples, 40), static_cast<std::int16_t>(-25536 * 256));
}

TEST_F(Generators, WildParametersDoNotCrash) {
    SoundDoc& d = sound(44100, 8, 5000);
    sineBlock(s, 100, 0, d.DataLen, 0.0f);
    EXPECT_EQ(s.gen.CycleLength, 4999);
    sineBlock(s, 100, -440, d.DataLen, 99.0f);
    sineProductBlock(s, 100, 0, 100, 0, d.DataLen);
    d.SRATE = 0;
    sineBlock(s, 100, 440, d.DataLen, 0.0f);
    EXPECT_EQ(cutToInt(1e300), 2147483647);
    EXPECT_EQ(cutToInt(-1e300), -2147483647 - 1);
    EXPECT_EQ(cutToInt(std::nan("")), 0);
    EXPECT_EQ(cutToInt(-2.7), -2);
    EXPECT_EQ(floorToInt(-2.2), -3);
}

} // namespace
} // namespace wavora
