// The five sound slots: the limit and its messages, which slot a new window
// takes, and the length rules every command shares.
#include "FakePlatform.h"
#include "core/SlotTable.h"
#include "doc/Slots.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

namespace wavora {
namespace {

using test::FakePlatform;

struct Slots : ::testing::Test {
    FakePlatform fake;
    EditorState s{fake};
    int open(const std::string& title = "x") { return createSoundWindow(s, title, 1100, 768); }
};

TEST_F(Slots, SixthWindowIsRefusedWithBothLimitMessages) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(open(), i);
    EXPECT_EQ(s.WindowCount, 5);
    int active = s.ActWndNum;

    EXPECT_EQ(reserveSlot(s), -1);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "これ以上ウィンドウ作れません。<(_ _)>");
    EXPECT_EQ(fake.lastBox().text, "ウィンドウは5個までです。");

    EXPECT_EQ(open(), -1);
    EXPECT_EQ(fake.lastBox().caption, "<(_ _)>");
    EXPECT_EQ(fake.lastBox().text, "画像は5枚までです。");
    EXPECT_EQ(s.WindowCount, 5);
    EXPECT_EQ(s.ActWndNum, active);
    EXPECT_EQ(fake.windows.size(), 5u); // no sixth window was asked for
}

TEST_F(Slots, ClosedSlotIsReusedLowestFirst) {
    for (int i = 0; i < 4; ++i) open();
    releaseSlot(s, 3);
    releaseSlot(s, 1);
    EXPECT_EQ(s.WindowCount, 2);
    EXPECT_EQ(reserveSlot(s), 1);
    EXPECT_EQ(s.ActWndNum, 1);
    EXPECT_EQ(s.docs[1].WindowHandle, 0u); // reserving does not take the slot
    EXPECT_EQ(open(), 1);
    EXPECT_EQ(open(), 3);
    EXPECT_EQ(open(), 4);
    EXPECT_EQ(s.WindowCount, 5);
}

TEST_F(Slots, NewWindowIsActiveEvenWhenTheOldOneClaimedTheSlotMeanwhile) {
    open();
    open();
    // The window losing the activation answers while the new one is made.
    fake.onCreate = [&](WindowId) { s.ActWndNum = 0; };
    EXPECT_EQ(open(), 2);
    EXPECT_EQ(s.ActWndNum, 2);
}

TEST_F(Slots, TitlesOfUnnamedWindowsCountTheOpenOnes) {
    open("a");
    open("b");
    open("");
    EXPECT_EQ(fake.windows[s.docs[2].WindowHandle].title, "名無し2");
    releaseSlot(s, 0);
    open("名無し");
    EXPECT_EQ(fake.windows[s.docs[0].WindowHandle].title, "名無し2");
    open("名無しさん");
    EXPECT_EQ(fake.windows[s.docs[3].WindowHandle].title, "名無しさん");
}

TEST_F(Slots, NewWindowIsPlacedAndStartsCleanEvenInAUsedSlot) {
    fake.mdiClient = {900, 500};
    open();
    SoundDoc& d = s.docs[0];
    EXPECT_EQ(fake.windows[d.WindowHandle].width, 870);
    EXPECT_EQ(fake.windows[d.WindowHandle].height, 440);
    EXPECT_EQ(d.view.ExtentY, 768);
    ASSERT_TRUE(s.surfaces[0]);
    d.UnDoFlag = "0020";
    d.Channels = 2;
    d.LayerCount = 2;
    releaseSlot(s, 0);
    EXPECT_FALSE(s.surfaces[0]);
    open();
    EXPECT_EQ(d.UnDoFlag, "");
    EXPECT_EQ(d.Channels, 1);
    EXPECT_EQ(d.LayerCount, 0);
}

TEST_F(Slots, LengthsInSeconds) {
    SoundDoc& d = s.docs[0];
    d.SRATE = 44100;
    d.BitsParSample = 16;
    EXPECT_NEAR(maxSeconds(d), 5.6689, 1e-4);
    EXPECT_DOUBLE_EQ(maxSeconds(8000, 8), 62.5);
    d.DataLen = 88200;
    EXPECT_DOUBLE_EQ(soundSeconds(d), 1.0);
    // The channel count is no part of the length: a stereo sound shows twice
    // its playing time.
    d.Channels = 2;
    d.BitsParSample = 8;
    EXPECT_DOUBLE_EQ(soundSeconds(d), 2.0);
    d.SRATE = 0;
    EXPECT_DOUBLE_EQ(soundSeconds(d), 0.0);
}

TEST_F(Slots, ResetSelectionCoversTheWholeSoundAndKeepsTheMarker) {
    SoundDoc& d = s.docs[0];
    d.DataLen = 1234;
    d.HasSelection = 1;
    d.HasMarker = 1;
    d.SelStart = 100;
    d.SelLength = 5;
    d.SelRect = {3, 4, 5, 6};
    resetSelection(d);
    EXPECT_EQ(d.HasSelection, 0);
    EXPECT_EQ(d.SelStart, 0);
    EXPECT_EQ(d.SelLength, 1234);
    EXPECT_EQ(d.SelRect.left, 0);
    EXPECT_EQ(d.SelRect.bottom, 768);
    EXPECT_EQ(d.HasMarker, 1);
}

TEST_F(Slots, NewSoundDataIsSilenceOfItsDepth) {
    open();
    s.active().BitsParSample = 16;
    s.active().VolumeGraph[7] = 3;
    allocateNewSound(s);
    EXPECT_EQ(s.active().Samples[0], 0);
    EXPECT_EQ(s.active().Samples[DATALENMAX - 1], 0);
    EXPECT_EQ(s.active().VolumeGraph[7], 128);
    s.active().BitsParSample = 8;
    allocateNewSound(s);
    EXPECT_EQ(s.active().Samples[DATALENMAX / 2], 128);
    EXPECT_EQ(s.active().Samples.size(), static_cast<std::size_t>(DATALENMAX));
}

TEST(LayerPool, ColourNamesAndFirstId) {
    FakePlatform fake;
    EditorState s{fake};
    EXPECT_EQ(s.layers.LyColourName[1], "ピンク");
    EXPECT_EQ(s.layers.LyColourName[2], "黄");
    EXPECT_EQ(s.layers.LyColourName[3], "緑");
    EXPECT_EQ(s.layers.LyColourName[4], "赤");
    EXPECT_EQ(s.layers.LyColourName[5], "紫");
    EXPECT_EQ(s.layers.LyColourName[6], "");
    EXPECT_EQ(s.layers.LayerPoolNext, 1);
}

} // namespace
} // namespace wavora
