// Play: the graphs written into the sound and what reaches the device, the
// undo step, fixed curves, layers, selections and the abort.
#include "UndoTestSupport.h"
#include "audio/Curves.h"
#include "audio/Play.h"
#include "core/MenuPositions.h"

namespace wavora::test {
namespace {

struct PlayTest : UndoFixture {
    SoundDoc& d() { return s->active(); }
    // A sound of `length` bytes counting up from `first`, as a generator
    // leaves it (with its undo step).
    SoundDoc& ramp(std::int32_t length, std::uint8_t bits = 8, std::uint8_t first = 0) {
        openSound(length);
        d().BitsParSample = bits;
        for (std::int32_t i = 0; i < length; ++i)
            d().Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first + i);
        snapshot(*s, 20);
        return d();
    }
    std::vector<std::uint8_t> data() const {
        const SoundDoc& x = s->docs[static_cast<std::size_t>(s->activeSlot())];
        return {x.Samples.begin(), x.Samples.begin() + x.DataLen};
    }
    const std::vector<std::uint8_t>& played() const { return fake.written.back(); }
    bool neutral(const std::vector<std::uint8_t>& graph) const {
        return std::all_of(graph.begin(), graph.end(), [](std::uint8_t v) { return v == 128; });
    }
};

TEST_F(PlayTest, FlatCurvesPlayTheSoundAsItIsAndRecordNoStep) {
    ramp(255, 8, 1); // (a byte 0 would come back as 1: the volume clips at -127)
    const auto before = data();
    const std::string history = d().UnDoFlag;
    PlayCommand(*s);
    EXPECT_EQ(data(), before);
    EXPECT_EQ(played(), before);
    EXPECT_EQ(d().UnDoFlag, history);
    EXPECT_EQ(s->BusyFlag, 0);
    EXPECT_EQ(s->play.PlayingFlag, 1);
    EXPECT_FALSE(fake.waitOpen);
}

TEST_F(PlayTest, PitchBlocksStretchFromOneByteAfterAMultipleOfTen) {
    struct Case {
        std::uint8_t pitch;
        std::int32_t length; // of bytes 11..40 (three blocks) after Play
    };
    for (const Case c : {Case{0, 3}, Case{255, 294}}) {
        ramp(100);
        for (int p : {20, 30, 40}) d().PitchGraph[static_cast<std::size_t>(p)] = c.pitch;
        PlayCommand(*s);
        SCOPED_TRACE(int{c.pitch});
        EXPECT_EQ(d().DataLen, 100 - 30 + c.length); // 30 / 10 and about 30 * 9.82
        EXPECT_EQ(d().Samples[10], 10);              // byte 10 and before are left alone
        EXPECT_EQ(d().Samples[11], 11);
        EXPECT_EQ(d().Samples[static_cast<std::size_t>(11 + c.length)], 41); // the rest follows
        EXPECT_EQ(played(), data());
        EXPECT_EQ(d().UnDoFlag.substr(d().UnDoFlag.size() - 2), "05");
        EXPECT_TRUE(neutral(d().PitchGraph));
        EXPECT_EQ(fake.windows[d().WindowHandle].hbar.max, 200 / 1 + d().DataLen - 1); // scroll range follows
        fake.onDestroy = nullptr;
        s->docs[static_cast<std::size_t>(s->activeSlot())].WindowHandle = 0;
    }
}

TEST_F(PlayTest, VolumeGraphScalesAndClipsEvenWithoutBlocks) {
    SoundDoc& x = ramp(10, 8, 100); // no full block: nothing to stretch
    std::fill_n(x.VolumeGraph.begin(), 5, 0);                    // doubled
    std::fill_n(x.VolumeGraph.begin() + 5, 5, std::uint8_t{255}); // almost silent
    x.Samples[0] = 255;
    x.Samples[1] = 1;
    PlayCommand(*s);
    const std::vector<std::uint8_t> expect = {255, 1, 76, 78, 80, 128, 128, 128, 128, 128};
    EXPECT_EQ(data(), expect);
    EXPECT_EQ(d().UnDoFlag.substr(d().UnDoFlag.size() - 2), "05");
    EXPECT_TRUE(neutral(d().VolumeGraph));
}

TEST_F(PlayTest, FixedCurvesSurvivePlayAndApplyAgain) {
    SoundDoc& x = ramp(20, 8, 120);
    std::fill_n(x.VolumeGraph.begin(), 20, 0);
    fixVolumeGraphCommand(*s);
    EXPECT_EQ(fake.menu.at({PlayPopup, FixVolumeGraphPosition}).caption, "音量グラフ固定 解除する(&V)");
    PlayCommand(*s);
    PlayCommand(*s);
    EXPECT_EQ(d().Samples[0], 128 + 4 * (120 - 128)); // doubled twice
    EXPECT_EQ(d().VolumeGraph[0], 0);
    fixVolumeGraphCommand(*s);
    fixPitchGraphCommand(*s);
    EXPECT_EQ(fake.menu.at({PlayPopup, FixVolumeGraphPosition}).caption, "音量グラフ固定する(&V)");
    EXPECT_EQ(fake.menu.at({PlayPopup, FixPitchGraphPosition}).caption, "高さグラフ固定 解除する(&H)");
}

TEST_F(PlayTest, GrowingPast500000BytesAbortsAndRestoresTheSound) {
    SoundDoc& x = ramp(100000);
    std::fill_n(x.PitchGraph.begin(), 100000, 255); // about 9.82 times as long
    const auto before = data();
    PlayCommand(*s);
    EXPECT_EQ(fake.lastBox().caption, "<(;_ _)>");
    EXPECT_EQ(fake.lastBox().text, TooLongText);
    EXPECT_EQ(data(), before);
    EXPECT_TRUE(fake.written.empty());
    EXPECT_EQ(redoItem().caption, "音量、音の高さの変化 のやり直し(&Y)");
    EXPECT_FALSE(fake.waitOpen);
    EXPECT_EQ(s->BusyFlag, 0);
}

TEST_F(PlayTest, ManyChangedBlocksShowTheWaitDialogUntilDone) {
    SoundDoc& x = ramp(50);
    for (int p : {10, 20}) x.PitchGraph[static_cast<std::size_t>(p)] = 0;
    PlayCommand(*s);
    EXPECT_TRUE(fake.modalClasses.empty());
    EXPECT_EQ(fake.waitRange, 0u); // two blocks: no dialog
    SoundDoc& y = ramp(50);
    for (int p : {10, 20, 40}) y.PitchGraph[static_cast<std::size_t>(p)] = 0;
    PlayCommand(*s);
    EXPECT_EQ(fake.waitRange, 3u);
    EXPECT_GE(fake.waitPosition, 2u);
    EXPECT_FALSE(fake.waitOpen);
}

TEST_F(PlayTest, LayersPlayTheirMixAndLeaveTheSound) {
    SoundDoc& x = ramp(100);
    x.VolumeGraph[3] = 0;
    x.LayerCount = 1;
    x.LayerIds[1] = 1;
    s->layers.LyStart[1] = 90;
    s->layers.LyLen[1] = 20; // reaches 10 bytes past the end
    s->layers.LySamples[1].assign(DATALENMAX, 200);
    const auto before = data();
    const std::string history = d().UnDoFlag;
    PlayCommand(*s);
    EXPECT_EQ(data(), before);
    ASSERT_EQ(played().size(), 110u);
    EXPECT_EQ(played()[50], 50);
    EXPECT_EQ(played()[100], 200);
    EXPECT_EQ(d().VolumeGraph[3], 128); // an unfixed curve is still reset
    EXPECT_EQ(d().UnDoFlag, history);
}

TEST_F(PlayTest, ASelectionPlaysAloneAndNothingIsApplied) {
    SoundDoc& x = ramp(100);
    x.VolumeGraph[30] = 0;
    x.HasSelection = 1;
    x.SelStart = 20;
    x.SelLength = 15;
    PlayCommand(*s);
    EXPECT_EQ(played(), std::vector<std::uint8_t>(x.Samples.begin() + 20, x.Samples.begin() + 35));
    EXPECT_EQ(d().Samples[30], 30);
    EXPECT_EQ(d().VolumeGraph[30], 0);
    EXPECT_EQ(s->play.PlayPos, 20);
}

TEST_F(PlayTest, SilenceOrNoWindowIsRefused) {
    PlayCommand(*s);
    EXPECT_EQ(fake.boxes.size(), 1u); // no sound window
    openSound(100, 128);
    PlayCommand(*s);
    EXPECT_EQ(fake.boxes.size(), 2u); // nothing to hear
    EXPECT_TRUE(fake.waveCalls.empty());
    EXPECT_EQ(s->BusyFlag, 0);
}

} // namespace
} // namespace wavora::test
