// The one-pass pitch stretch against the literal one, byte for byte: random
// graphs of every shape, both depths, runs up to the length and read limits.
#include "FakePlatform.h"
#include "LiteralPlay.h"
#include "audio/PitchStretch.h"

#include <gtest/gtest.h>

#include <random>

namespace wavora::test {
namespace {

struct Side {
    FakePlatform platform;
    EditorState s{platform};
    std::vector<std::uint32_t> progress;
};

struct Sound {
    std::uint8_t bits = 8;
    std::int32_t length = 0;
    std::vector<std::uint8_t> samples, volume, pitch; // `length` bytes and a little past it
};

void load(Side& side, const Sound& in) {
    SoundDoc& d = side.s.active();
    d.BitsParSample = in.bits;
    d.DataLen = in.length;
    const auto n = static_cast<std::ptrdiff_t>(std::min<std::size_t>(in.samples.size(), DATALENMAX));
    std::copy_n(in.samples.begin(), n, d.Samples.begin());
    std::copy_n(in.volume.begin(), n, d.VolumeGraph.begin());
    std::copy_n(in.pitch.begin(), n, d.PitchGraph.begin());
    side.platform.boxes.clear();
    side.progress.clear();
}

bool fast(Side& side) {
    std::vector<float>& ratios = side.s.render.PitchRatios;
    const std::int32_t n = buildPitchRatios(side.s.active(), ratios);
    return stretchPitchRuns(side.s, ratios.data(), n,
                            [&](std::uint32_t blocks) { side.progress.push_back(blocks); });
}

// Both renderers on the same sound; every observable result must agree.
void expectSame(Side& literal, Side& onePass, const Sound& in, const std::string& what) {
    load(literal, in);
    load(onePass, in);
    const bool a = literalPitchStretch(literal.s, &literal.progress);
    const bool b = fast(onePass);
    SCOPED_TRACE(what);
    ASSERT_EQ(a, b);
    const SoundDoc& x = literal.s.active();
    const SoundDoc& y = onePass.s.active();
    ASSERT_EQ(x.DataLen, y.DataLen);
    const auto n = static_cast<std::ptrdiff_t>(x.DataLen);
    ASSERT_TRUE(std::equal(x.Samples.begin(), x.Samples.begin() + n, y.Samples.begin()));
    ASSERT_TRUE(std::equal(x.VolumeGraph.begin(), x.VolumeGraph.begin() + n, y.VolumeGraph.begin()));
    ASSERT_TRUE(std::equal(x.PitchGraph.begin(), x.PitchGraph.begin() + n, y.PitchGraph.begin()));
    ASSERT_EQ(literal.progress, onePass.progress);
    ASSERT_EQ(literal.platform.boxes.size(), onePass.platform.boxes.size());
    for (std::size_t i = 0; i < literal.platform.boxes.size(); ++i) {
        EXPECT_EQ(literal.platform.boxes[i].caption, onePass.platform.boxes[i].caption);
        EXPECT_EQ(literal.platform.boxes[i].text, onePass.platform.boxes[i].text);
    }
}

// A pitch graph of steps: runs of every length, from one block to the whole
// sound, over values that include neutral and both ends.
Sound randomSound(std::mt19937& rng, std::int32_t maxLength) {
    Sound in;
    in.bits = rng() % 2 ? 16 : 8;
    in.length = static_cast<std::int32_t>(rng() % static_cast<unsigned>(maxLength + 1));
    const std::size_t n = static_cast<std::size_t>(in.length) + 16;
    in.samples.resize(n);
    in.volume.resize(n);
    in.pitch.resize(n);
    for (auto& b : in.samples) b = static_cast<std::uint8_t>(rng());
    for (auto& b : in.volume) b = rng() % 4 ? 128 : static_cast<std::uint8_t>(rng());
    const std::uint8_t palette[] = {128, 128, 0, 255, 127, 129, 100, 180};
    std::size_t at = 0;
    while (at < n) {
        const std::size_t len = 1 + rng() % (rng() % 8 ? 40 : n);
        const std::uint8_t v = rng() % 3 ? palette[rng() % 8] : static_cast<std::uint8_t>(rng());
        for (std::size_t i = at; i < std::min(n, at + len); ++i) in.pitch[i] = v;
        at += len;
    }
    return in;
}

Sound flatSound(std::uint8_t bits, std::int32_t length, std::uint32_t seed) {
    Sound in;
    in.bits = bits;
    in.length = length;
    const auto n = static_cast<std::size_t>(length) + 16;
    std::mt19937 rng(seed);
    in.samples.resize(n);
    for (auto& b : in.samples) b = static_cast<std::uint8_t>(rng());
    in.volume.assign(n, 128);
    in.pitch.assign(n, 128);
    return in;
}

// Pitch byte v over the blocks first..last (data bytes 10 * first + 1 .. 10 * (last + 1)).
void drawRun(Sound& in, std::int32_t first, std::int32_t last, std::uint8_t v) {
    for (std::int32_t k = first; k <= last; ++k) in.pitch[static_cast<std::size_t>(10 * (k + 1))] = v;
}

struct PitchStretchTest : ::testing::Test {
    std::unique_ptr<Side> literal = std::make_unique<Side>();
    std::unique_ptr<Side> onePass = std::make_unique<Side>();
};

TEST_F(PitchStretchTest, RandomGraphsGiveTheSameBytesAsTheLiteralStretch) {
    std::mt19937 rng(20261208);
    for (int i = 0; i < 3000; ++i) {
        const Sound in = randomSound(rng, i % 10 == 0 ? 20000 : 1500);
        expectSame(*literal, *onePass, in, "graph " + std::to_string(i));
        if (HasFatalFailure()) return;
    }
}

TEST_F(PitchStretchTest, RunsAtTheLengthLimitAbortAlike) {
    for (std::uint8_t bits : {8, 16}) {
        // A lengthening run that brings the sound to exactly 500000 bytes:
        // the resampler accepts it, the gap primitive does not.
        // (A 16-bit run starts one byte later, and its length is counted
        // before it is made even.)
        const float r = pitchRatio(200);
        std::int64_t delta = static_cast<std::int64_t>(std::floor((bits == 16 ? 39.0f : 40.0f) / r)) - 40;
        if (bits == 16) delta += delta & 1;
        Sound exact = flatSound(bits, static_cast<std::int32_t>(500000 - delta), 7);
        drawRun(exact, 100, 103, 200);
        expectSame(*literal, *onePass, exact, "exactly full");
        EXPECT_EQ(literal->s.active().DataLen, exact.length); // refused at the first run
        // One byte shorter fits; a second run then does not, and the first stays.
        Sound halfway = flatSound(bits, exact.length - 2, 8);
        drawRun(halfway, 100, 103, 200);
        drawRun(halfway, 200, 209, 255);
        expectSame(*literal, *onePass, halfway, "second run refused");
        EXPECT_EQ(literal->platform.boxes.size(), 0u);
        EXPECT_EQ(literal->progress, std::vector<std::uint32_t>{4});
    }
}

TEST_F(PitchStretchTest, RunsPastTheReadLimitShowItsMessageAlike) {
    for (std::uint8_t bits : {8, 16}) {
        // Over a long run the position, added up in single precision, runs
        // ahead of the data and past the end of the buffer.
        Sound in = flatSound(bits, 500000, 9);
        drawRun(in, 0, 49998, bits == 16 ? 125 : 127);
        expectSame(*literal, *onePass, in, "whole sound");
        ASSERT_EQ(onePass->platform.boxes.size(), 1u);
        EXPECT_EQ(onePass->platform.lastBox().caption, "WaveStretch2 Sa");
        // A short run first is kept when the long one after it is refused.
        drawRun(in, 0, 0, 0);
        expectSame(*literal, *onePass, in, "after a short run");
        EXPECT_LT(onePass->s.active().DataLen, 500000);
    }
}

} // namespace
} // namespace wavora::test
