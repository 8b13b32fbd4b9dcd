// The sample-by-sample generators: pitch that swings or jumps, and noise.
#include "SynthTestSupport.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>

namespace wavora {
namespace {

using test::Old;

struct SampleFills : test::SynthFixture {
    std::size_t changed(std::size_t from = 0, std::size_t to = DATALENMAX) const {
        const auto& b = s.docs[0].Samples;
        return static_cast<std::size_t>(std::count_if(b.begin() + static_cast<std::ptrdiff_t>(from),
                                                      b.begin() + static_cast<std::ptrdiff_t>(to),
                                                      [](std::uint8_t v) { return v != Old; }));
    }
    // How many random numbers the fill drew since it seeded from the clock.
    int drawsSinceSeed() const {
        Lcg replica;
        replica.seed(platform.ticks);
        for (int n = 0; n < 100000; ++n) {
            if (replica.state() == s.rng.state()) return n;
            replica.next();
        }
        return -1;
    }
};

// Type 0 as a plain model, with the clock kept in float or in double: the
// values of samples `from` .. `to` - 1.
template <class Clock>
std::vector<int> swingModel(int from, int to, double amp, int fmax, float rate, int srate) {
    Clock t = 0;
    const Clock step = Clock(1) / static_cast<Clock>(srate);
    std::vector<int> values;
    for (int k = 0; k < to; ++k) {
        if (k >= from) {
            const double f = fmax * std::sin(GenTwoPi * t * rate);
            values.push_back(
                static_cast<std::int16_t>(cutToInt(static_cast<float>(amp * std::sin(GenTwoPi * t * f)))));
        }
        t = t + step;
    }
    return values;
}

TEST_F(SampleFills, SwingingPitchStartsSilentAndKeepsItsClockInFloat) {
    SoundDoc& d = sound(44100, 8, 44100);
    pitchSineFill(s, 50, 440, 1.0f, d.DataLen, PitchSwingsSine);
    // F(t) x t is tiny at first: the first samples are silence.
    EXPECT_TRUE(
        std::all_of(d.Samples.begin(), d.Samples.begin() + 10, [](std::uint8_t v) { return v == 128; }));
    EXPECT_EQ(changed(0, 44100), 44100u);
    EXPECT_EQ(changed(44100), 0u);
    EXPECT_EQ(s.gen.CycleLength, 44099);
    auto [lo, hi] = std::minmax_element(d.Samples.begin(), d.Samples.begin() + 44100);
    // Near the crests 49.9999999 rounds to 50 in single precision before it
    // is cut, so the full amplitude is reached both ways.
    EXPECT_EQ(*lo, 128 - 50);
    EXPECT_EQ(*hi, 128 + 50);

    // Late in a long sound a float clock and a double clock disagree; the
    // bytes follow the float clock.
    SoundDoc& w = sound(44100, 16, 500000);
    pitchSineFill(s, 100, 3000, 3.0f, w.DataLen, PitchSwingsSine);
    const auto floatClock = swingModel<float>(249900, 249950, 25600, 3000, 3.0f, 44100);
    const auto doubleClock = swingModel<double>(249900, 249950, 25600, 3000, 3.0f, 44100);
    int floatMismatches = 0, doubleMismatches = 0;
    for (std::size_t k = 0; k < floatClock.size(); ++k) {
        const std::size_t at = 2 * (249900 + k);
        const int got = static_cast<std::int16_t>(w.Samples[at] | (w.Samples[at + 1] << 8));
        floatMismatches += got != floatClock[k];
        doubleMismatches += got != doubleClock[k];
    }
    EXPECT_EQ(floatMismatches, 0);
    EXPECT_GT(doubleMismatches, 40);
}

TEST_F(SampleFills, SwingingRateIsADifferentSound) {
    SoundDoc& d = sound(22050, 8, 22050);
    pitchSineFill(s, 80, 1000, 300.0f, d.DataLen, PitchSwingsSine);
    const std::vector<std::uint8_t> plain(d.Samples.begin(), d.Samples.begin() + 22050);
    pitchSineFill(s, 80, 1000, 300.0f, d.DataLen, PitchSwingRateSwings);
    EXPECT_EQ(d.Samples[0], 128);
    EXPECT_FALSE(std::equal(plain.begin(), plain.end(), d.Samples.begin()));
    EXPECT_EQ(changed(22050), 0u);
}

TEST_F(SampleFills, JoinSearchFindsTheFirstCloseTimeAndGivesUpAtItsBound) {
    const float step = 1.0f / 8000.0f;
    // From silence towards a previous value of 40 on a sine of amplitude 50.
    const float join = pitchJoinTime(0.0f, step, 50, 30, 40, 8000);
    EXPECT_LE(std::abs(pitchSineValue(50, join, 30) - 40), 10);
    int skipped = 0;
    for (float t = 0.0f; t < join; t = t + step, ++skipped) {
        EXPECT_GT(std::abs(pitchSineValue(50, t, 30) - 40), 10) << t;
    }
    EXPECT_GT(skipped, 10);
    // Already close: no step at all.
    EXPECT_EQ(pitchJoinTime(0.25f, step, 50, 30, pitchSineValue(50, 0.25f, 30) + 10, 8000), 0.25f);
    // A previous value no sine can reach: the search stops and starts at the crest.
    const float crest = pitchJoinTime(0.0f, step, 50, 30, 1000, 8000);
    EXPECT_EQ(pitchSineValue(50, crest, 30), 50);
    // A clock that no longer moves (a step below the float's resolution).
    EXPECT_EQ(pitchJoinTime(100000.0f, step, 50, 30, 1000, 1000), 100000.0f);
}

TEST_F(SampleFills, RandomPitchJumpsEveryIntervalCountedInBytes) {
    SoundDoc& d = sound(8000, 8, 24000);
    pitchSineFill(s, 50, 500, 100.0f, d.DataLen, PitchJumpsRandomly);
    EXPECT_EQ(drawsSinceSeed(), 240); // byte 0, 100, 200, .. 23900
    EXPECT_EQ(changed(0, 24000), 24000u);
    EXPECT_EQ(changed(24000), 0u);

    // 16 bit: only even byte indices are looked at, so an even interval hits
    // every 50 samples and an odd one only at its even multiples.
    SoundDoc& w = sound(8000, 16, 24000);
    pitchSineFill(s, 50, 500, 100.0f, w.DataLen, PitchJumpsRandomly);
    EXPECT_EQ(drawsSinceSeed(), 240);
    pitchSineFill(s, 50, 500, 101.0f, w.DataLen, PitchJumpsRandomly);
    EXPECT_EQ(drawsSinceSeed(), 119); // 0, 202, .. 23836
    EXPECT_EQ(s.gen.CycleLength, 23999);

    // An interval below one byte (possible from a memo) jumps at every sample
    // instead of dividing by zero.
    sound(8000, 8, 300);
    pitchSineFill(s, 50, 500, 0.0f, 300, PitchJumpsRandomly);
    EXPECT_EQ(drawsSinceSeed(), 300);
}

TEST_F(SampleFills, RandomPitchJoinsNearThePreviousSample) {
    // With fmax 0 the search runs on 30 Hz and the written sine on 33 Hz: at
    // each jump the searched value is within 10 of the sample before, and the
    // written one differs from it only by the 3 Hz the two frequencies part.
    SoundDoc& d = sound(8000, 8, 8000);
    pitchSineFill(s, 100, 0, 100.0f, d.DataLen, PitchJumpsRandomly);
    const float step = 1.0f / 8000.0f;
    float t = 0.0f;
    int previous = 0;
    for (int i = 0; i < 8000; ++i) {
        if (i % 100 == 0) t = pitchJoinTime(t, step, 100, 30, previous, 8000);
        const int v = static_cast<std::int16_t>(pitchSineValue(100, t, 33));
        ASSERT_EQ(d.Samples[static_cast<std::size_t>(i)], static_cast<std::uint8_t>(v + 128)) << i;
        if (i % 100 == 0 && i > 0) {
            EXPECT_LE(std::abs(pitchSineValue(100, t, 30) - previous), 10);
        }
        t = t + step;
        previous = v;
    }
}

TEST_F(SampleFills, PitchFillsWriteTheFirstSampleEvenIntoAnEmptyRegionButNeverPastTheBuffer) {
    SoundDoc& d = sound(8000, 8, 24000);
    d.HasSelection = 1;
    d.SelStart = 5000;
    d.SelLength = 0;
    pitchSineFill(s, 50, 440, 2.0f, d.DataLen, PitchSwingsSine);
    EXPECT_EQ(d.Samples[5000], 128);
    EXPECT_EQ(changed(), 1u);
    EXPECT_EQ(s.gen.CycleLength, 0);

    SoundDoc& w = sound(8000, 16, 24000);
    w.HasSelection = 1;
    w.SelStart = DATALENMAX - 1;
    w.SelLength = 10;
    noiseFill(s, 100, w.DataLen); // half a sample fits; the other half would be past the end
    pitchSineFill(s, 100, 440, 2.0f, w.DataLen, PitchJumpsRandomly);
    EXPECT_EQ(changed(), 1u);
    w.SelStart = DATALENMAX;
    noiseFill(s, 100, w.DataLen);
    EXPECT_EQ(changed(), 1u);

    SoundDoc& g = sound(8000, 8, 24000);
    g.HasSelection = 1;
    g.SelStart = 100;
    g.SelLength = 50;
    s.gen.GenTarget = {1, 1, 0};
    noiseFill(s, 1, g.DataLen);
    EXPECT_EQ(changed(), 0u);
    const auto inside = [&](std::uint8_t v) { return v == 127 || v == 128; };
    EXPECT_TRUE(std::all_of(g.VolumeGraph.begin() + 100, g.VolumeGraph.begin() + 150, inside));
    EXPECT_GT(std::count(g.VolumeGraph.begin() + 100, g.VolumeGraph.begin() + 150, 127), 0);
    EXPECT_EQ(std::count(g.VolumeGraph.begin(), g.VolumeGraph.end(), 128) +
                  std::count(g.VolumeGraph.begin(), g.VolumeGraph.end(), 127),
              DATALENMAX);
}

TEST_F(SampleFills, NoiseSpreadsEvenlyAroundSilenceFromAFreshSeed) {
    SoundDoc& d = sound(8000, 8, 20000);
    noiseFill(s, 1, d.DataLen);
    std::set<int> values(d.Samples.begin(), d.Samples.begin() + 20000);
    EXPECT_EQ(values, (std::set<int>{127, 128}));
    EXPECT_EQ(changed(20000), 0u);
    EXPECT_EQ(drawsSinceSeed(), 20000);

    noiseFill(s, 100, d.DataLen);
    auto [lo, hi] = std::minmax_element(d.Samples.begin(), d.Samples.begin() + 20000);
    EXPECT_EQ(*lo, 28);
    EXPECT_EQ(*hi, 227);
    // The seed is the clock: the same tick count gives the same noise.
    const std::vector<std::uint8_t> first(d.Samples.begin(), d.Samples.begin() + 20000);
    noiseFill(s, 100, d.DataLen);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), d.Samples.begin()));
    platform.ticks += 1;
    noiseFill(s, 100, d.DataLen);
    EXPECT_FALSE(std::equal(first.begin(), first.end(), d.Samples.begin()));

    SoundDoc& w = sound(8000, 16, 20000);
    noiseFill(s, 1, w.DataLen);
    int lo16 = 0, hi16 = 0;
    for (std::size_t i = 0; i < 20000; i += 2) {
        const int v = static_cast<std::int16_t>(w.Samples[i] | (w.Samples[i + 1] << 8));
        lo16 = std::min(lo16, v);
        hi16 = std::max(hi16, v);
    }
    EXPECT_EQ(lo16, -256);
    EXPECT_EQ(hi16, 255);
    EXPECT_EQ(drawsSinceSeed(), 10000);
}

} // namespace
} // namespace wavora
