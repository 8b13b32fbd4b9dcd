// Making a silent sound through its dialog, renaming it, the information box
// and the check that refuses to play silence.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "TempFolder.h"
#include "app/NewSound.h"
#include "core/SlotTable.h"
#include "doc/Slots.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavora {
namespace {

using namespace test;

struct NewSound : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    std::shared_ptr<ShownDialog> seen = watchDialog();

    void newSound(DialogUser user) {
        fake.dialogs.push_back(user.script(seen));
        newSoundCommand(s);
    }
    static bool all(const std::vector<std::uint8_t>& v, std::int32_t n, std::uint8_t value) {
        return std::all_of(v.begin(), v.begin() + n, [value](std::uint8_t b) { return b == value; });
    }
};

TEST_F(NewSound, DefaultsMakeOneSecondOfEightBitSilence) {
    newSound(DialogUser().ok());
    const DialogRequest& r = seen->request;
    EXPECT_EQ(r.DialogCaption, "長さは11.3秒まで");
    ASSERT_EQ(r.DialogRowCount, 6);
    EXPECT_EQ(r.DialogRows[1].Kind, RowLength);
    EXPECT_EQ(r.DialogRows[1].Label, "長さ（秒）");
    EXPECT_EQ(r.DialogRows[1].Value, "1");
    EXPECT_FLOAT_EQ(r.DialogRows[1].Max, static_cast<float>(500000.0 / 44100.0));
    EXPECT_EQ(r.DialogRows[2].Label, "名前");
    EXPECT_EQ(r.DialogRows[2].Value, "ウィンドウ0");
    EXPECT_EQ(r.DialogRows[3].Label, "サンプリングレート(8000～44100)");
    EXPECT_EQ(r.DialogRows[3].Value, "44100");
    EXPECT_EQ(r.DialogRows[3].Max, 44100.0f);
    EXPECT_EQ(r.DialogRows[3].Min, 8000.0f);
    EXPECT_EQ(r.DialogRows[4].Kind, RowHeading);
    EXPECT_EQ(r.DialogRows[4].Label, "1サンプル当たりのbit数");
    EXPECT_EQ(r.DialogRows[5].Label, "8bit(あらいけど長い)");
    EXPECT_EQ(r.DialogRows[5].Value, "1");
    EXPECT_EQ(r.DialogRows[6].Label, "16bit(きれいだけど短い)");
    EXPECT_EQ(r.DialogRows[6].Value, "");

    ASSERT_EQ(s.WindowCount, 1);
    const SoundDoc& d = s.docs[0];
    EXPECT_EQ(fake.windows[d.WindowHandle].title, "ウィンドウ0");
    EXPECT_EQ(d.DataLen, 44100);
    EXPECT_EQ(d.SRATE, 44100);
    EXPECT_EQ(d.BitsParSample, 8);
    EXPECT_TRUE(all(d.Samples, DATALENMAX, 128));
    EXPECT_TRUE(all(d.VolumeGraph, DATALENMAX, 128));
    EXPECT_EQ(d.SelLength, 44100);
    EXPECT_EQ(d.view.ExtentX, 44100);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_TRUE(root.stepExists(0, 0));
    EXPECT_EQ(s.frame.DialogBusy, 0);
    EXPECT_GT(fake.windows[d.WindowHandle].invalidations, 0);
}

TEST_F(NewSound, SixteenBitHalfSecondAtEightThousand) {
    newSound(DialogUser().type(3, "8000").type(1, "0.5").tick(6).ok());
    const SoundDoc& d = s.docs[0];
    EXPECT_EQ(d.DataLen, 8000);
    EXPECT_EQ(d.BitsParSample, 16);
    EXPECT_TRUE(all(d.Samples, DATALENMAX, 0));
    // The caption followed the rate and the depth as they were chosen.
    ASSERT_FALSE(seen->updates.empty());
    EXPECT_EQ(seen->updates.front().caption, "長さは62.5秒まで");
    EXPECT_EQ(seen->updates.back().caption, "長さは31.2秒まで");
}

TEST_F(NewSound, LengthLimitsOfTheDialogCaption) {
    EXPECT_EQ(lengthLimitCaption(maxSeconds(8000, 8)), "長さは62.5秒まで");
    EXPECT_EQ(lengthLimitCaption(maxSeconds(44100, 16)), "長さは5.66秒まで");
    EXPECT_EQ(lengthLimitCaption(maxSeconds(44100, 8)), "長さは11.3秒まで");
}

TEST_F(NewSound, TooLongForSixteenBitsIsRefusedNotCut) {
    // 10 s fits at 8 bits; choosing 16 bits afterwards must not let a sound
    // longer than the buffer through.
    newSound(DialogUser().type(1, "10").tick(6).ok());
    ASSERT_EQ(seen->refusalTexts.size(), 1u);
    EXPECT_NE(seen->refusalTexts[0].find("上から1番目のデータが大きすぎます。"), std::string::npos);
    EXPECT_EQ(s.WindowCount, 0);
}

TEST_F(NewSound, CancelCreatesNothingAndKeepsTheActiveSound) {
    newSound(DialogUser().ok());
    newSound(DialogUser().ok());
    ASSERT_EQ(s.ActWndNum, 1);
    s.ActWndNum = 0;
    newSound(DialogUser().cancel());
    EXPECT_EQ(s.WindowCount, 2);
    EXPECT_EQ(s.ActWndNum, 0);
    EXPECT_EQ(seen->request.DialogRows[2].Value, "ウィンドウ2");
}

TEST_F(NewSound, SixthSoundIsRefusedTwice) {
    for (int i = 0; i < 5; ++i)
        newSound(DialogUser().ok());
    fake.boxes.clear();
    newSound(DialogUser().ok());
    EXPECT_EQ(s.WindowCount, 5);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, "ウィンドウは5個までです。");
    EXPECT_EQ(fake.boxes[1].text, "画像は5枚までです。");
    EXPECT_EQ(seen->request.DialogRows[2].Value, "ウィンドウ-1");
}

TEST_F(NewSound, ReusedSlotProposesItsLastRateAndDepth) {
    newSound(DialogUser().type(3, "22050").tick(6).ok());
    releaseSlot(s, 0);
    newSound(DialogUser().cancel());
    EXPECT_EQ(seen->request.DialogRows[3].Value, "22050");
    EXPECT_EQ(seen->request.DialogRows[5].Value, "");
    EXPECT_EQ(seen->request.DialogRows[6].Value, "1");
    EXPECT_EQ(seen->request.DialogCaption, "長さは11.3秒まで");
}

TEST_F(NewSound, RenameChangesOnlyTheTitle) {
    newSound(DialogUser().ok());
    fake.dialogs.push_back(DialogUser().type(1, "ドラム").ok().script(seen));
    renameCommand(s);
    EXPECT_EQ(seen->request.DialogCaption, "名前を変える");
    EXPECT_EQ(seen->request.DialogRows[1].Value, "ウィンドウ0");
    EXPECT_EQ(seen->request.DialogRows[1].Kind, RowText);
    EXPECT_EQ(fake.windows[s.docs[0].WindowHandle].title, "ドラム");
    fake.dialogs.push_back(DialogUser().type(1, "x").cancel().script());
    renameCommand(s);
    EXPECT_EQ(fake.windows[s.docs[0].WindowHandle].title, "ドラム");
}

TEST_F(NewSound, InformationTextAndBox) {
    informationCommand(s);
    EXPECT_EQ(fake.lastBox().caption, "('-'*)音声データウィンドウ、レイヤー情報");
    EXPECT_EQ(fake.lastBox().text, "音声データウィンドウがありませぬ。");

    newSound(DialogUser().type(1, "1.5").ok());
    s.active().MouseTracking = true;
    informationCommand(s);
    EXPECT_EQ(fake.lastBox().caption, "ウィンドウ0　の情報 ");
    EXPECT_EQ(fake.lastBox().text,
              "------------　音声データウィンドウ　------------\r\n"
              "長さ=1.5秒\t\r\n"
              "\r\n"
              "------------　レイヤー　------------\r\n"
              "レイヤーはありません。\r\n"
              "\r\n"
              "(別の音声データウィンドウ情報を見るときは、そのウィンドウをクリックしてから実行してください)");
    EXPECT_FALSE(s.active().MouseTracking);

    SoundDoc& d = s.active();
    d.LayerCount = 2;
    d.LayerIds[1] = 3;
    d.LayerIds[2] = 1;
    s.layers.LyName[3] = "ハイハット";
    s.layers.LyStart[3] = 22050;
    s.layers.LyName[1] = "キック";
    s.layers.LyStart[1] = 0;
    EXPECT_EQ(informationText(s),
              "------------　音声データウィンドウ　------------\r\n"
              "長さ=1.5秒\t\r\n"
              "\r\n"
              "------------　レイヤー　------------\r\n"
              "\r\n"
              "レイヤー名(色)\t\t位置(秒)\t\r\n"
              "ハイハット (緑)\t\t0.5\r\n"
              "キック (ピンク)\t\t0\r\n"
              "\r\n"
              "\r\n"
              "(別の音声データウィンドウ情報を見るときは、そのウィンドウをクリックしてから実行してください)");
}

TEST_F(NewSound, SilenceCannotBePlayed) {
    std::vector<std::uint8_t> bytes(100, 128);
    EXPECT_FALSE(HasSoundData(s, bytes.data(), 100));
    EXPECT_EQ(fake.lastBox().text, "音声データがありません。波形メニューやツールバーの超、エ、ラ、合などで音"
                                   "声データを作るか、録音してから実行してください。");
    EXPECT_EQ(fake.lastBox().caption, "");
    bytes[99] = 129;
    EXPECT_TRUE(HasSoundData(s, bytes.data(), 100));
    bytes[99] = 128;
    bytes[0] = 0; // only byte 0 differs from byte 1
    EXPECT_TRUE(HasSoundData(s, bytes.data(), 100));
    std::size_t boxes = fake.boxes.size();
    EXPECT_FALSE(HasSoundData(s, bytes.data(), 1));
    EXPECT_FALSE(HasSoundData(s, bytes.data(), 0));
    EXPECT_EQ(fake.boxes.size(), boxes + 2);
}

} // namespace
} // namespace wavora
