// The signal primitives under the renderer: resampling with its volume graph,
// the gap primitive, the volume graph and the layer mix.
#include "SynthTestSupport.h"
#include "audio/Curves.h"
#include "audio/Render.h"

#include <cmath>

namespace wavora::test {
namespace {

using RenderTest = SynthFixture;

void ramp(SoundDoc& d, std::int32_t len) {
    for (std::int32_t i = 0; i < len; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
}

TEST(CurvesTest, EndsAndMiddleOfBothGraphs) {
    EXPECT_EQ(volumeGain(0), 2.0f);
    EXPECT_EQ(volumeGain(128), 1.0f);
    EXPECT_EQ(volumeGain(255), 1.0f / 128.0f);
    EXPECT_EQ(pitchRatio(0), 10.0f);
    EXPECT_EQ(pitchRatio(128), 1.0f);
    EXPECT_EQ(pitchRatio(255), static_cast<float>(std::pow(10.0, -127.0 / 128.0)));
}

TEST_F(RenderTest, HalvingTakesEveryOtherByteAndPullsTheTailIn) {
    SoundDoc& d = sound(8000, 8, 100);
    ramp(d, 100);
    d.PitchGraph[40] = 9; // shifted with the data, not resampled
    std::int32_t pos = 50;
    ASSERT_EQ(WaveStretch2(s, 10, 29, 2.0f, pos), 0);
    EXPECT_EQ(d.DataLen, 90);
    EXPECT_EQ(pos, 40);
    for (int o = 0; o < 10; ++o) EXPECT_EQ(d.Samples[static_cast<std::size_t>(10 + o)], 10 + 2 * o);
    EXPECT_EQ(d.Samples[20], 30); // the byte after the range follows the output
    EXPECT_EQ(d.PitchGraph[30], 9);
}

TEST_F(RenderTest, StretchingInterpolatesSamplesAndVolumeTruncatingTowardZero) {
    SoundDoc& d = sound(8000, 8, 20);
    d.Samples[0] = 10, d.Samples[1] = 13, d.Samples[2] = 10; // up 3, then down 3
    d.VolumeGraph[0] = 0, d.VolumeGraph[1] = 5;
    std::int32_t pos = 0;
    ASSERT_EQ(WaveStretch2(s, 0, 1, 0.5f, pos), 0); // 2 bytes become 4, reading one past the range
    EXPECT_EQ(d.DataLen, 22);
    const std::uint8_t expect[] = {10, 11, 13, 12}; // 10 + trunc(1.5), 13 + trunc(-1.5)
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Samples[static_cast<std::size_t>(i)], expect[i]);
    EXPECT_EQ(d.VolumeGraph[1], 2); // 0 + trunc(5 * 0.5)
    EXPECT_EQ(d.Samples[4], 10);    // old byte 2
}

TEST_F(RenderTest, SixteenBitRangesAreWholeSamples) {
    SoundDoc& d = sound(8000, 16, 40);
    for (int i = 0; i < 20; ++i) {
        d.Samples[static_cast<std::size_t>(2 * i)] = static_cast<std::uint8_t>(i);
        d.Samples[static_cast<std::size_t>(2 * i + 1)] = 0x80; // negative samples
    }
    std::int32_t pos = 0;
    // Odd start and end move on to 10 and 20: samples 5..10 (12 bytes) become 6 bytes.
    ASSERT_EQ(WaveStretch2(s, 9, 19, 2.0f, pos), 0);
    EXPECT_EQ(d.DataLen, 34);
    EXPECT_EQ(pos, -6);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(d.Samples[static_cast<std::size_t>(10 + 2 * k)], 5 + 2 * k);
        EXPECT_EQ(d.Samples[static_cast<std::size_t>(11 + 2 * k)], 0x80);
    }
    EXPECT_EQ(d.Samples[16], 11); // sample 11 follows
}

TEST_F(RenderTest, ReadsPastTheDataFindSilenceNotWhatWasLeftThere) {
    for (std::uint8_t leftover : {0, 255}) {
        SoundDoc& d = sound(8000, 8, 4);
        d.Samples[2] = 100, d.Samples[3] = 120;
        d.Samples[4] = leftover; // past the data: an earlier sound's byte
        std::int32_t pos = 0;
        ASSERT_EQ(WaveStretch2(s, 2, 3, 0.5f, pos), 0); // the last output reads one sample past the end
        const std::uint8_t expect[] = {100, 110, 120, 124}; // 120 + trunc(8 * 0.5)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Samples[static_cast<std::size_t>(2 + i)], expect[i]) << i;
    }
}

TEST_F(RenderTest, StretchesThatDoNotFitChangeNothing) {
    SoundDoc& d = sound(44100, 8, 499990);
    ramp(d, 499990);
    std::int32_t pos = 7;
    EXPECT_EQ(WaveStretch2(s, 0, 99, 0.5f, pos), -1); // would grow past the buffer
    d.DataLen = 499999;
    EXPECT_EQ(WaveStretch2(s, 0, 99, 0.99f, pos), -1); // exactly 500000: the gap refuses it
    EXPECT_EQ(d.DataLen, 499999);
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(d.Samples[100], 100);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(RenderTest, ReadingPastTheBufferStopsWithTheReadLimitMessage) {
    SoundDoc& d = sound(44100, 8, DATALENMAX);
    std::int32_t pos = 0;
    EXPECT_EQ(WaveStretch2(s, 0, DATALENMAX, 1.0f, pos), -1);
    EXPECT_EQ(platform.lastBox().caption, "WaveStretch2 Sa");
    EXPECT_EQ(platform.lastBox().text, "StartX+AtoX>DATALENMAX　StartX=0 AtoX=500001");
    EXPECT_EQ(d.DataLen, DATALENMAX);
}

TEST_F(RenderTest, ResizeOpensAndClosesGapsWithinItsLimits) {
    SoundDoc& d = sound(8000, 8, 10);
    ramp(d, 10);
    ASSERT_EQ(ResizeAt(s, 0, 4, 3), 0);
    EXPECT_EQ(d.DataLen, 13);
    EXPECT_EQ(d.Samples[7], 4);
    ASSERT_EQ(ResizeAt(s, 0, 7, -3), 0); // removes the three bytes before 7
    EXPECT_EQ(d.DataLen, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(d.Samples[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(ResizeAt(s, 0, 11, 5), 0); // past the data: nothing
    EXPECT_EQ(ResizeAt(s, 0, 2, -3), -1); // before byte 0
    d.DataLen = DATALENMAX - 5;
    EXPECT_EQ(ResizeAt(s, 0, 0, 5), -1); // would reach 500000 bytes
    EXPECT_EQ(d.DataLen, DATALENMAX - 5);
}

TEST_F(RenderTest, VolumeGraphDoublesClipsAndStaysInsideTheSelection) {
    SoundDoc& d = sound(8000, 8, 6);
    const std::uint8_t in[] = {1, 100, 200, 255, 150, 150};
    std::copy(std::begin(in), std::end(in), d.Samples.begin());
    std::fill_n(d.VolumeGraph.begin(), 4, 0);
    d.VolumeGraph[4] = 255;
    ApplyVolumeGraph(s, 0, d.DataLen);
    const std::uint8_t out[] = {1, 72, 255, 255, 128, 150}; // -127 not -128; 22 / 128 -> 0
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.Samples[static_cast<std::size_t>(i)], out[i]) << i;

    sound(8000, 16, 8);
    d.Samples[2] = 0x00, d.Samples[3] = 0x50; // 20480 doubled clips at 32767
    d.Samples[6] = 0x10;
    std::fill_n(d.VolumeGraph.begin(), 8, 0);
    d.HasSelection = 1, d.SelStart = 2, d.SelLength = 2;
    ApplyVolumeGraph(s, 0, 8);
    EXPECT_EQ(d.Samples[2], 0xFF);
    EXPECT_EQ(d.Samples[3], 0x7F);
    EXPECT_EQ(d.Samples[6], 0x10); // outside the selection

    ApplyVolumeGraph(s, 0, DATALENMAX + 1);
    EXPECT_EQ(platform.lastBox().caption, "データの長さがオーバー");
    EXPECT_EQ(platform.lastBox().text, "オーバーした長さ=-499992");
}

struct LayerMixTest : RenderTest {
    void layer(SoundDoc& d, int id, std::int32_t start, std::vector<std::uint8_t> bytes, bool additive) {
        const auto i = static_cast<std::size_t>(id);
        s.layers.LyStart[i] = start;
        s.layers.LyLen[i] = static_cast<std::int32_t>(bytes.size());
        bytes.resize(bytes.size() + 1000, 0);
        s.layers.LySamples[i] = bytes;
        s.layers.LyAdditive[i] = additive;
        d.LayerIds[static_cast<std::size_t>(++d.LayerCount)] = id;
    }
};

TEST_F(LayerMixTest, LaterLayersWinAdditiveOnesAddToTheBackgroundAndTheOutputGrows) {
    SoundDoc& d = sound(8000, 8, 6);
    std::fill_n(d.Samples.begin(), 6, 200);
    layer(d, 1, 1, {250, 250, 250}, true); // 200 + 250 clips at 255
    layer(d, 2, 2, {10}, false);
    layer(d, 3, 5, {100, 90, 80}, true); // over the end: added to silence
    RenderLayers(s);
    EXPECT_EQ(s.render.OutputLength, 8);
    const std::uint8_t out[] = {200, 255, 10, 255, 200, 172, 90, 80};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s.RenderBuffer[static_cast<std::size_t>(i)], out[i]) << i;
    EXPECT_EQ(d.Samples[1], 200); // the sound keeps its samples

    sound(8000, 16, 4);
    d.Samples[0] = 0x00, d.Samples[1] = 0x70; // 28672
    d.Samples[2] = d.Samples[3] = 0;
    d.LayerCount = 0;
    layer(d, 1, 0, {0x00, 0x20, 0x01, 0x00}, true); // + 8192 clips; + 1
    RenderLayers(s);
    const std::uint8_t wide[] = {0xFF, 0x7F, 0x01, 0x00};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.RenderBuffer[static_cast<std::size_t>(i)], wide[i]) << i;
}

TEST_F(LayerMixTest, ALayerReachingTheLimitIsRefusedAndTheBackgroundKept) {
    SoundDoc& d = sound(8000, 8, 4);
    std::fill_n(d.Samples.begin(), 4, 140);
    layer(d, 1, 2, {1, 1, 1, 1}, false);
    layer(d, 2, DATALENMAX - 1, {1, 1}, false);
    RenderLayers(s);
    EXPECT_EQ(platform.lastBox().caption, "レイヤーが制限範囲を超えています。");
    EXPECT_EQ(platform.lastBox().text, "制限範囲は500000です。左に移動させるなどしてください。");
    EXPECT_EQ(s.render.OutputLength, 6); // what the first layer reached, over silence
    const std::uint8_t out[] = {140, 140, 140, 140, 128, 128};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.RenderBuffer[static_cast<std::size_t>(i)], out[i]) << i;
}

} // namespace
} // namespace wavora::test
