// Bit conversion, the length command, the pattern resampler, mixing and the
// stereo commands: exact bytes, the refusals, and the windows they make.
#include "EditTestSupport.h"
#include "edit/BitDepth.h"
#include "edit/Length.h"
#include "edit/MixStereo.h"

namespace wavora {
namespace {

using test::Bytes;
using test::DialogUser;
using test::pressOk;
using test::sample16;
using test::watchDialog;

class MixLengthDepth : public test::EditFixture {
  protected:
    int windows() { return s->WindowCount; }
};

TEST_F(MixLengthDepth, BitConversionBothWaysWithoutRounding) {
    SoundDoc& d = openSound(3);
    d.Samples[0] = 255, d.Samples[1] = 0, d.Samples[2] = 128;
    fake.dialogs.push_back(pressOk({}, {{2, true}}));
    bitConversionCommand(*s);
    ASSERT_EQ(d.DataLen, 6);
    EXPECT_EQ((std::vector<int>{sample16(d, 0), sample16(d, 2), sample16(d, 4)}), (std::vector<int>{32512, -32768, 0}));
    EXPECT_EQ(lastCode(), "39");
    fake.dialogs.push_back(pressOk({}, {{1, true}}));
    bitConversionCommand(*s);
    EXPECT_EQ(head(d), (Bytes{255, 0, 128}));
    EXPECT_EQ(d.BitsParSample, 8);

    SoundDoc& w = openSound(4, 16);
    w.Samples[0] = 0xFF, w.Samples[1] = 0xFF, w.Samples[2] = 0x00, w.Samples[3] = 0x01; // -1, 256
    fake.dialogs.push_back(pressOk({}, {{1, true}}));
    bitConversionCommand(*s);
    EXPECT_EQ(head(w), (Bytes{127, 129}));

    SoundDoc& same = openSound(10);
    fake.dialogs.push_back(pressOk()); // 8 bit stays chosen
    bitConversionCommand(*s);
    EXPECT_EQ(same.UnDoFlag, "00");

    SoundDoc& big = openSound(250001);
    fake.dialogs.push_back(pressOk({}, {{2, true}}));
    bitConversionCommand(*s);
    expectBox("<(_ _)>", BitConversionTooLongText);
    EXPECT_EQ(big.DataLen, 250001);
    EXPECT_EQ(big.BitsParSample, 8);
}

TEST_F(MixLengthDepth, LengthIsSecondsOfTheRateAndFillsWhatItAdds) {
    SoundDoc& d = openSound(30000, 8, 11025);
    d.DataLen = 100; // what lies behind the end is old data
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "2"}}, {}, seen));
    lengthCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "長さは45.3秒まで");
    EXPECT_EQ(d.DataLen, 22050);
    EXPECT_EQ(d.Samples[99], 99);
    EXPECT_EQ(d.Samples[100], 128);
    EXPECT_EQ(lastCode(), "18");

    SoundDoc& w = openSound(10, 16, 44100);
    fake.dialogs.push_back(pressOk({{1, "0.00001"}}, {}, seen)); // 0.882 samples
    lengthCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "長さは5.66秒まで");
    EXPECT_EQ(w.DataLen, 0);
    fake.dialogs.push_back(pressOk({{1, "0.0001"}})); // 8.82 bytes: whole samples only
    lengthCommand(*s);
    EXPECT_EQ(w.DataLen, 8);
}

TEST_F(MixLengthDepth, WaveStretchForHakeiResamplesTheBlock) {
    Bytes block(DATALENMAX, 0);
    for (int i = 0; i < 100; ++i) block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(2 * i);
    std::int32_t len = 100;
    ASSERT_EQ(WaveStretchForHakei(*s, block, 0, 99, 0.5f, len), 0);
    EXPECT_EQ(len, 200);
    EXPECT_EQ((Bytes{block[0], block[1], block[2], block[3]}), (Bytes{0, 1, 2, 3}));
    ASSERT_EQ(WaveStretchForHakei(*s, block, 0, 199, 2.0f, len), 0);
    EXPECT_EQ(len, 100);
    EXPECT_EQ((Bytes{block[0], block[1], block[99]}), (Bytes{0, 2, 198}));

    len = 400000;
    EXPECT_EQ(WaveStretchForHakei(*s, block, 0, 99, 0.0005f, len), -1);
    expectBox("WaveStretchForHakei", "失敗");
    EXPECT_EQ(len, 400000);
}

TEST_F(MixLengthDepth, MixAddsTheCommonLengthIntoTheChosenWindow) {
    openSound(10);
    mixCommand(*s);
    expectBox("(o・ェ・)/", "合成するデータのウィンドウを二つ用意してください。");

    SoundDoc& longer = s->docs[0];
    std::fill_n(longer.Samples.begin(), 10, 130);
    SoundDoc& shorter = openSound(4);
    std::fill_n(shorter.Samples.begin(), 4, 120);
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {{1, true}}, seen));
    mixCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "合成波を表示するウィンドウを指定してください。");
    EXPECT_EQ(seen->request.DialogRows[2].Label, "音");
    EXPECT_EQ(head(longer), (Bytes{122, 122, 122, 122, 130, 130, 130, 130, 130, 130}));
    EXPECT_EQ(s->activeSlot(), 0);
    EXPECT_EQ(lastCode(), "13");

    SoundDoc& other = openSound(4, 8, 8000, "とても長い名前のウィンドウとても長い名前のウィンドウとても長い名前");
    fake.dialogs.push_back(pressOk({}, {{1, true}, {3, true}}, seen));
    mixCommand(*s);
    EXPECT_EQ(seen->request.RequiredChecks, 2);
    EXPECT_EQ(seen->request.DialogRows[3].Label, "とても長い名前のウィンドウとても長い名前のウィンドウとても…");
    expectBox("(;ﾟДﾟ)!", "サンプリングレートが違うので合成できません。");
    EXPECT_EQ(other.UnDoFlag, "00");
}

TEST_F(MixLengthDepth, FormatRefusalsOfMixAndStereoChangeNothing) {
    openSound(10, 8, 11025, "A");
    openSound(10, 8, 11025, "B");
    openSound(10, 16, 11025, "C");
    openSound(10, 8, 8000, "D");
    struct Case {
        void (*command)(EditorState&);
        int first, second; // ticked rows (mix) or the left and right radio rows (stereo)
        int target;        // the mix's target row
        const char* text;
    };
    const Case cases[] = {
        {mixCommand, 1, 3, 0, "ビット数が違うので合成できません。"},
        {mixCommand, 1, 2, 3, "ビット数が違うので合成データが壊れます。"},
        {mixCommand, 1, 2, 4, "合成先のサンプリングレートが違うので合成データが壊れます。"},
        {stereoMixCommand, 1, 3, 0, "ビット数が違うのでステレオ合成できません。"},
        {stereoMixCommand, 1, 4, 0, "サンプリングレートが違うのでステレオ合成できません。"},
        {stereoMixCommand, 1, 1, 0, "左と右の音が同じです。このままでいいですか？"},
    };
    for (const Case& c : cases) {
        if (c.command == mixCommand) {
            fake.dialogs.push_back(pressOk({}, {{c.first, true}, {c.second, true}}));
            fake.dialogs.push_back(pressOk({}, {{c.target, true}}));
        } else {
            fake.dialogs.push_back(pressOk({}, {{c.first, true}}));
            fake.dialogs.push_back(pressOk({}, {{c.second, true}}));
        }
        fake.answers.push_back(MsgAnswer::No);
        c.command(*s);
        EXPECT_EQ(fake.lastBox().text, c.text);
        EXPECT_EQ(fake.lastBox().caption, c.first == c.second ? "(o・ェ・)" : "(;ﾟДﾟ)!");
        fake.answers.clear();
        fake.dialogs.clear();
    }
    EXPECT_EQ(windows(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s->docs[static_cast<std::size_t>(i)].UnDoFlag, "00");
}

TEST_F(MixLengthDepth, StereoMixInterleavesIntoANewWindowOrRefusesBeforeMakingIt) {
    openSound(200000);
    openSound(300000);
    fake.dialogs.push_back(pressOk({}, {{1, true}}));
    fake.dialogs.push_back(pressOk({}, {{2, true}}));
    stereoMixCommand(*s);
    expectBox("<(_ _)>長すぎてステレオ合成できません。", "合成する元の長さの限界は25秒です。モノラルの半分です。");
    EXPECT_EQ(windows(), 2);

    openSound(250000, 8, 11025, "L");
    openSound(250000, 8, 11025, "R");
    fake.dialogs.push_back(pressOk({}, {{3, true}}));
    fake.dialogs.push_back(pressOk({}, {{4, true}}));
    stereoMixCommand(*s);
    SoundDoc& n = s->active();
    EXPECT_EQ(fake.windows[n.WindowHandle].title, "ステレオ合成 左L 右 R");
    EXPECT_EQ(n.DataLen, 500000);
    EXPECT_EQ(n.Channels, 2);
    EXPECT_EQ((Bytes{n.Samples[6], n.Samples[7]}), (Bytes{3, 3}));
    EXPECT_EQ(n.UnDoFlag, "34");
    stereoMixCommand(*s);
    EXPECT_EQ(fake.lastBox().caption, "(o・ェ・)/音声データウィンドウは5個までです。");
}

TEST_F(MixLengthDepth, SixteenBitStereoGoesWordByWordBothWays) {
    SoundDoc& l = openSound(4, 16, 8000, "L");
    SoundDoc& r = openSound(2, 16, 8000, "R");
    (void)l, (void)r;
    fake.dialogs.push_back(pressOk({}, {{1, true}}));
    fake.dialogs.push_back(pressOk({}, {{2, true}}));
    stereoMixCommand(*s);
    SoundDoc& n = s->active();
    EXPECT_EQ(head(n), (Bytes{0, 1, 0, 1, 2, 3, 0, 0})); // R is silent after its end
    const int stereo = s->activeSlot();

    stereoSplitCommand(*s);
    EXPECT_EQ(head(s->active()), (Bytes{0, 1, 0, 0}));
    EXPECT_EQ(fake.windows[s->active().WindowHandle].title, "ステレオ合成 左L 右 R 右チャンネル");
    EXPECT_EQ(s->active().UnDoFlag, "00");
    EXPECT_EQ(head(s->docs[3]), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(s->docs[3].Channels, 1);
    EXPECT_EQ(s->docs[3].UnDoFlag, "00");

    s->ActWndNum = stereo;
    stereoSplitCommand(*s);
    expectBox("(o・ェ・)/音声データウィンドウは5個までです。",
              "モノ分割したデータを入れる場所を2つ作れません。消しても良い音声データウィンドウを2個減らしてください。");
}

TEST_F(MixLengthDepth, SplitOfAnOddLengthDropsTheLastByte) {
    SoundDoc& d = openSound(7);
    d.Channels = 2;
    stereoSplitCommand(*s);
    EXPECT_EQ(head(s->docs[1]), (Bytes{0, 2, 4}));
    EXPECT_EQ(head(s->docs[2]), (Bytes{1, 3, 5}));
}

} // namespace
} // namespace wavora
