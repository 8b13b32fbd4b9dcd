// The three graphs drawn as dots: where each value lands, how many bytes a
// zoomed-out picture skips, and that no picture reads outside its buffers.
#include "FakePlatform.h"
#include "core/WindowSurfaces.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wavora;
using wavora::test::FakePlatform;

namespace {

struct Fixture {
    FakePlatform p;
    EditorState s{p};
    int slot = -1;

    explicit Fixture(std::int32_t dataLen, int bits = 8) {
        createSharedSurfaces(s);
        slot = createSoundWindow(s, "波形", 1100, 768);
        doc().BitsParSample = static_cast<std::uint8_t>(bits);
        doc().DataLen = dataLen;
        fitViewToLength(s, slot);
    }
    SoundDoc& doc() { return s.docs[static_cast<std::size_t>(slot)]; }
    Surface& wave() { return *s.surfaces[static_cast<std::size_t>(slot)]->WaveSurface; }
    void render(std::int32_t first) {
        RenderGraphs(s, slot, doc().Samples.data(), doc().VolumeGraph.data(), doc().PitchGraph.data(), first);
    }
    void put16(std::int32_t at, std::int16_t value) {
        auto u = static_cast<std::uint16_t>(value);
        doc().Samples[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(u & 0xFF);
        doc().Samples[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(u >> 8);
    }
    // Rows of the black pixels in column x.
    std::vector<int> blackRows(int x) {
        std::vector<int> rows;
        for (int y = 0; y < wave().height(); ++y)
            if (wave().get(x, y) == Black) rows.push_back(y);
        return rows;
    }
    bool allWhite() {
        for (int y = 0; y < wave().height(); ++y)
            for (int x = 0; x < wave().width(); ++x)
                if (wave().get(x, y) != White) return false;
        return true;
    }
};

} // namespace

TEST(RenderGraphs, EightBitValuesLandInTheirBandsOneColumnPerByte) {
    Fixture f(5);
    SoundDoc& d = f.doc();
    d.Samples[0] = 0, d.VolumeGraph[0] = 0, d.PitchGraph[0] = 0;
    d.Samples[1] = 255, d.VolumeGraph[1] = 255, d.PitchGraph[1] = 255;
    d.Samples[2] = 128, d.VolumeGraph[2] = 128, d.PitchGraph[2] = 128;
    d.Samples[5] = 0; // past the data: must not be drawn though the buffer holds it
    f.render(0);

    EXPECT_EQ(f.blackRows(0), (std::vector<int>{1, 256, 512}));
    EXPECT_EQ(f.blackRows(1), (std::vector<int>{256, 511, 767}));
    EXPECT_EQ(f.blackRows(2), (std::vector<int>{129, 384, 640}));
    EXPECT_EQ(f.blackRows(4).size(), 3u);
    EXPECT_TRUE(f.blackRows(5).empty());
    EXPECT_EQ(f.wave().get(600, 300), White);

    // Scrolled: byte 1 is now at the left edge.
    f.render(1);
    EXPECT_EQ(f.blackRows(0), (std::vector<int>{256, 511, 767}));
    EXPECT_TRUE(f.blackRows(4).empty());
}

TEST(RenderGraphs, SixteenBitSamplesSpanTheWholeBandAndStartOnASample) {
    Fixture f(8, 16);
    f.put16(0, -32768);
    f.put16(2, 0);
    f.put16(4, 32767);
    f.put16(6, -256); // (−256 + 32768) / 256 = 127
    f.doc().VolumeGraph[2] = 10;
    f.doc().VolumeGraph[3] = 200; // second byte of a sample: never a dot of its own
    f.render(0);

    EXPECT_EQ(f.blackRows(0).front(), 1);
    EXPECT_EQ(f.blackRows(2).front(), 129);
    EXPECT_EQ(f.blackRows(4).front(), 256);
    EXPECT_EQ(f.blackRows(6).front(), 128);
    EXPECT_EQ(f.blackRows(2)[1], 10 + 255 + 1);
    for (int x : {1, 3, 5, 7})
        EXPECT_TRUE(f.blackRows(x).empty()) << x;

    // An odd first byte is moved on to the next sample.
    f.render(1);
    EXPECT_EQ(f.blackRows(0).front(), 129);
    EXPECT_EQ(f.blackRows(2).front(), 256);
}

TEST(RenderGraphs, ZoomedOutPicturesStepOverBytesAndScaleTheRows) {
    Fixture f(1600);
    SoundDoc& d = f.doc();
    d.view.XScale = 1.0f / 16.0f; // step = trunc(16 * 0.25) = 4 bytes
    d.view.YScale = 0.5f;
    // Bytes between the steps hold 100 (row 51), which must never show.
    for (int i = 0; i < 1600; ++i)
        d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 4 ? 100 : (i % 8 ? 255 : 0));
    f.render(0);
    // 16 bytes share one column: bytes 0 and 8 (value 0) and 4 and 12 (value 255,
    // row trunc(127.5) + 1), and the neutral graphs at trunc(0.5 * 383) + 1 and
    // trunc(0.5 * 639) + 1.
    EXPECT_EQ(f.blackRows(0), (std::vector<int>{1, 128, 192, 320}));
    EXPECT_EQ(f.blackRows(99), (std::vector<int>{1, 128, 192, 320}));
    EXPECT_TRUE(f.blackRows(100).empty()); // 1600 bytes end at column 99
}

TEST(RenderGraphs, FirstBytePastTheDataLeavesThePictureWhite) {
    Fixture f(800);
    f.render(0);
    EXPECT_FALSE(f.allWhite());
    f.render(800);
    EXPECT_TRUE(f.allWhite());
    f.render(799); // the last byte alone
    EXPECT_EQ(f.blackRows(0).size(), 3u);
    EXPECT_TRUE(f.blackRows(1).empty());

    Fixture empty(0);
    empty.render(0);
    EXPECT_TRUE(empty.allWhite());
}

TEST(RenderGraphs, NeverReadsPastTheBuffersAtTheirEnd) {
    // Sanitizers guard the reads; the pixels show which bytes were taken.
    Fixture eight(DATALENMAX);
    eight.render(DATALENMAX - 10);
    EXPECT_EQ(eight.blackRows(9).size(), 3u);
    EXPECT_TRUE(eight.blackRows(10).empty());

    Fixture sixteen(DATALENMAX, 16);
    sixteen.put16(DATALENMAX - 2, 32767);
    sixteen.render(DATALENMAX - 1); // odd, moved on to the buffer's end: nothing left
    EXPECT_TRUE(sixteen.allWhite());
    sixteen.render(DATALENMAX - 3); // moved on to the last whole sample
    EXPECT_EQ(sixteen.blackRows(0).front(), 256);
    EXPECT_TRUE(sixteen.blackRows(2).empty());

    // A length larger than the buffers (a damaged state) is held to them.
    Fixture damaged(DATALENMAX + 5000);
    damaged.render(DATALENMAX - 4);
    EXPECT_EQ(damaged.blackRows(3).size(), 3u);
    EXPECT_TRUE(damaged.blackRows(4).empty());

    // A negative first byte draws the data from where it begins.
    Fixture early(10);
    early.render(-3);
    EXPECT_TRUE(early.blackRows(2).empty());
    EXPECT_EQ(early.blackRows(3).size(), 3u);
}

TEST(RenderGraphs, KeepsThePaintingFlagAndSurvivesMissingSurfaces) {
    Fixture f(100);
    f.s.frame.PaintingFlag = 0;
    f.render(0);
    EXPECT_EQ(f.s.frame.PaintingFlag, 0);
    f.s.frame.PaintingFlag = 1; // called from painting: the flag stays set
    f.render(0);
    EXPECT_EQ(f.s.frame.PaintingFlag, 1);

    f.s.surfaces[static_cast<std::size_t>(f.slot)]->WaveSurface.reset();
    f.render(0);
    f.s.surfaces[static_cast<std::size_t>(f.slot)].reset();
    f.render(0);
    RenderGraphs(f.s, 7, nullptr, nullptr, nullptr, 0);
    SUCCEED(); // reaching here without a fault is the point
}

// Positions reach the copies from scaled byte indices, so any int may arrive:
// far outside the surface nothing is touched, and what overlaps is clipped.
TEST(Surfaces, CopiesClipAtAnyPositionWithoutOverflow) {
    Surface dst(8, 4), src(4, 4);
    src.fill(rgb(0, 255, 0));
    for (int far : {INT_MIN, INT_MIN + 1, -1000000, 1000000, INT_MAX - 1, INT_MAX}) {
        dst.fill(rgb(255, 255, 255));
        // Sizes that would reach back onto the surface only from the far right.
        const int size = far > 0 ? INT_MAX : 4;
        copyPixels(dst, far, 0, src, 0, 0, size, 4);
        andPixels(dst, 0, far, src, 0, 0, 4, size);
        copyPixels(dst, 0, 0, src, far, far, size, size);
        stretchPixels(dst, far, 0, size, 4, src, 0, 0, 4, 4);
        dst.fillRect(far, far, size, size, rgb(0, 0, 0));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(dst.get(x, y), rgb(255, 255, 255)) << far << " " << x << "," << y;
    }
    copyPixels(dst, -2, -3, src, 0, 0, 4, 4); // overlaps by 2 x 1
    EXPECT_EQ(dst.get(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(dst.get(2, 0), rgb(255, 255, 255));
    EXPECT_EQ(dst.get(0, 1), rgb(255, 255, 255));
    dst.fillRect(6, 3, INT_MAX, INT_MAX, rgb(0, 0, 0));
    EXPECT_EQ(dst.get(7, 3), rgb(0, 0, 0));
    EXPECT_EQ(dst.get(5, 3), rgb(255, 255, 255));
}
