// The "超ランダム(&R)" menu with a fixed tick count: the super random waves,
// the random Sins, their limits, and the memo written, read and run again.
#include "DialogDriver.h"
#include "EditTestSupport.h"
#include "app/Commands.h"
#include "core/MenuPositions.h"
#include "converter/HelperClient.h"
#include "converter/pictra/PictraState.h"
#include "synth/PitchNoise.h"
#include "synth/RandomLimits.h"
#include "synth/RandomMemo.h"
#include "synth/RandomWaves.h"
#include "synth/SineGenerators.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "view/SoundWindowEvents.h"

#include <fstream>
#include <set>

namespace wavora {
namespace {

using namespace test;

struct RandomWaves : EditFixture {
    pictra::PictraState helper;
    std::string chosen; // the path the user picks in the helper's dialog

    void SetUp() override {
        s->runCommand = dispatchCommand;
        fake.onHelperRecord = [this](std::uintptr_t n, const std::string& block) {
            if (pictra::handleRecord(helper, n, block.data(), block.size()) == pictra::RecordAction::None) return;
            pictra::storeDialogResult(helper, !chosen.empty(), utf8ToShiftJis(chosen) + '\0');
            onHelperCopyData(*s, 1, helper.PathBuffer.data(), helper.PathBuffer.size());
        };
    }
    RandomWaveMemo& memo(int slot = -1) { return s->RandomWaveMemos[static_cast<std::size_t>(slot < 0 ? s->activeSlot() : slot)]; }
    // Recorded segments of the last super random wave: the lengths that fit.
    int segments() {
        int n = 0;
        std::int64_t end = 0;
        while (n < RandomMemoEntries && memo().SegLength[n] > 0 && (end += memo().SegLength[n]) <= s->active().DataLen) ++n;
        return n;
    }
    void filterTo(int a, int b) {
        s->random.KindFilter = 1;
        memo().SegKind[0] = a;
        memo().SegKind[1] = b;
    }
    std::string at(const char* name) { return utf8FromPath(folder.path / name); }
};

TEST_F(RandomWaves, SuperRandomFillsOneSecondWithEvenSegmentsAndPlaysIt) {
    openSound(30000, 8, 8000);
    superRandomWaveCommand(*s);
    const SoundDoc& d = s->active();
    EXPECT_EQ(d.DataLen, 8000);
    EXPECT_EQ(lastCode(), "30");
    EXPECT_EQ(s->RandomWaveKind[0], SuperRandomWave);
    EXPECT_EQ(d.HasSelection, 0);
    ASSERT_EQ(fake.written.size(), 1u);
    EXPECT_EQ(fake.written[0].size(), 8000u);
    const int n = segments();
    ASSERT_GT(n, 3);
    std::set<std::int32_t> lengths;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(memo().SegLength[i] % 2, 0);
        EXPECT_GE(memo().SegLength[i], 150);
        EXPECT_LE(memo().SegLength[i], 1750);
        lengths.insert(memo().SegLength[i]);
    }
    EXPECT_EQ(fake.waitCursor, (std::vector<bool>{true, false}));

    // The same tick count gives the same wave.
    const Bytes first = head(d);
    superRandomWaveCommand(*s);
    EXPECT_EQ(head(d), first);

    // A pitch sine seeds the numbers from the same tick; the segments after it
    // still differ.
    filterTo(KindPitchSwing, KindPitchSwing);
    superRandomWaveCommand(*s);
    lengths.clear();
    for (int i = 0; i < segments(); ++i) lengths.insert(memo().SegLength[i]);
    EXPECT_GT(lengths.size(), 2u);
}

TEST_F(RandomWaves, SuperRandomKeepsToTheKindFilterAndTheFrequencyLimits) {
    openSound(8000, 8, 8000);
    s->random.RandFreqUpper[0] = s->random.RandFreqLower[0] = 3000;
    std::set<int> seen;
    for (std::uint32_t tick : {1u, 77u, 5000u, 123457u}) {
        fake.ticks = tick;
        filterTo(0, 6);
        superRandomWaveCommand(*s);
        for (int i = 0; i < segments(); ++i) {
            seen.insert(memo().SegKind[i]);
            EXPECT_GE(memo().SegFreq[i][0], 3000);
            EXPECT_LE(memo().SegFreq[i][0], 3030);
        }
    }
    EXPECT_EQ(seen, (std::set<int>{0, 6}));
}

TEST_F(RandomWaves, SuperRandomEffectWaveLeavesTheUsersEffectSettings) {
    openSound(8000, 16, 11025);
    s->effects.ChorusRatio = 0.917f;
    s->effects.ChorusGain = 1.3f;
    s->effects.DistortionLevel = 142;
    superRandomEffectWaveCommand(*s);
    EXPECT_EQ(s->effects.ChorusRatio, 0.917f);
    EXPECT_EQ(s->effects.ChorusGain, 1.3f);
    EXPECT_EQ(s->effects.DistortionLevel, 142);
    EXPECT_EQ(s->active().DataLen, 22050);
    EXPECT_EQ(s->RandomWaveKind[0], SuperRandomEffectWave);
    EXPECT_NE(s->active().UnDoFlag.find("32"), std::string::npos);
    std::set<int> effects;
    for (int i = 0; i < segments(); ++i) {
        effects.insert(memo().FxKind[i]);
        EXPECT_GE(memo().VolAmp[i][2], 10);
        EXPECT_LE(memo().VolAmp[i][2], 89);
    }
    EXPECT_GT(effects.size(), 1u);
    EXPECT_LE(*effects.rbegin(), 3);
    EXPECT_EQ(fake.written.size(), 1u);
}

TEST_F(RandomWaves, RandomSinKeepsTheLengthAndTheSynthesizedOneIsOneSecond) {
    openSound(3 * 8000, 8, 8000);
    randomSinCommand(*s);
    EXPECT_EQ(s->active().DataLen, 24000);
    EXPECT_EQ(lastCode(), "37");
    EXPECT_EQ(s->RandomWaveKind[0], RandomSinWave);
    randomSynthSinCommand(*s);
    EXPECT_EQ(s->active().DataLen, 8000);
    EXPECT_EQ(s->activeSlot(), 0);
    EXPECT_EQ(s->WindowCount, 1); // the work slot never got a window
    EXPECT_EQ(s->docs[1].DataLen, 0);
    EXPECT_EQ(fake.written.size(), 2u);
    EXPECT_EQ(memoText(*s, 0, 0).substr(0, 12), "8000\r\n8\r\n4\r\n");
}

TEST_F(RandomWaves, SynthesizedSinWithFiveWindowsOnlyTellsTheLimit) {
    for (int i = 0; i < 5; ++i) openSound(8000, 8, 8000);
    const Bytes before = head(s->active());
    randomSynthSinCommand(*s);
    expectBox("<(_ _)>", "画像は5枚までです。");
    EXPECT_EQ(head(s->active()), before);
    EXPECT_EQ(lastCode(), "37");
    EXPECT_TRUE(fake.written.empty());
}

TEST_F(RandomWaves, KindFourDividesBothFrequenciesAndTheMemoShowsThem) {
    openSound(8000, 8, 8000);
    s->random.RandFreqUpper[0] = s->random.RandFreqLower[0] = 3000;
    filterTo(KindPitchSwingSwing, KindPitchSwingSwing);
    randomSinCommand(*s);
    EXPECT_GE(memo().SegFreq[0][0], 300);
    EXPECT_LE(memo().SegFreq[0][0], 303);
    EXPECT_LE(memo().SegFreq[0][1], 300);
    const std::string expected = "8000\r\n8\r\n3\r\n4\r\n" + intText(memo().SegAmp[0][0]) + "\r\n" +
                                 intText(memo().SegAmp[0][1]) + "\r\n" + intText(memo().SegAmp[0][2]) + "\r\n" +
                                 intText(memo().SegFreq[0][0]) + "\r\n" + intText(memo().SegFreq[0][1]) + "\r\n";
    EXPECT_EQ(memoText(*s, 0, 0).substr(0, expected.size()), expected);
}

TEST_F(RandomWaves, MemoLinesForEachKind) {
    const auto lines = [](const std::string& t) { return std::count(t.begin(), t.end(), '\n'); };
    openSound(8000, 8, 8000);
    randomSynthSinCommand(*s);
    EXPECT_EQ(lines(memoText(*s, 0, 0)), 17);
    superRandomWaveCommand(*s);
    EXPECT_EQ(lines(memoText(*s, 0, 2)), 11);
    superRandomEffectWaveCommand(*s);
    // The eight segment lines, then the volume pass's seven and the effect's four.
    const std::string t = memoText(*s, 0, 1);
    EXPECT_EQ(lines(t), 22);
    EXPECT_NE(t.find("\r\n" + floatText(memo().FxChorusFreq[1]) + "\r\n"), std::string::npos);
}

TEST_F(RandomWaves, TheMarkedSegmentIsFoundOrTheUserIsToldWhy) {
    openSound(8000, 8, 8000);
    superRandomWaveCommand(*s);
    const auto start = [&](int seg) {
        std::int32_t p = 0;
        for (int i = 0; i < seg; ++i) p += memo().SegLength[i];
        return p;
    };
    const std::string path = at("m.txt");
    chosen = path;
    struct Case {
        std::int32_t from, length;
        std::string caption, text;
    } cases[] = {
        {start(3) + 5, start(5) + 3 - start(3) - 5, "<(_ _)>１種類に限定してください。", "選択範囲が3種類の波に掛かっています。"},
        {start(segments()), 10, "<(;_ _)>すみません", "情報を取得できませんでいた。"},
    };
    for (const Case& c : cases) {
        select(c.from, c.length);
        fake.boxes.clear();
        randomMemoCommand(*s);
        expectBox(c.caption, c.text);
        EXPECT_FALSE(std::filesystem::exists(path)); // no file was asked for
    }
    // Exactly one segment selected: its lines.
    select(start(2), memo().SegLength[2]);
    randomMemoCommand(*s);
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, memoText(*s, 0, 2));
    s->active().HasSelection = 0;
    randomInfoCommand(*s);
    expectBox("(o・ェ・)選択範囲かマーカーがありません。", "編集メニューの「選択範囲,マーカーを作る（消す）」で選択範囲かマーカーを作ってください。");
}

TEST_F(RandomWaves, AShortMemoOverALongerFileReadsBackTheNewValues) {
    const auto path = folder.path / "memo.txt";
    std::ofstream(path, std::ios::binary) << std::string(300, '9');
    ASSERT_TRUE(writeMemoFile(path, "8000\r\n8\r\n3\r\n0\r\n20\r\n21\r\n22\r\n440\r\n50\r\n60\r\n"));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.size(), 300u); // the old tail stays
    const MemoFile m = parseMemo(bytes);
    EXPECT_EQ(m.memo.SegAmp[0], (std::array<std::int32_t, 3>{20, 21, 22}));
    EXPECT_EQ(m.memo.SegFreq[0], (std::array<std::int32_t, 3>{440, 50, 60}));
    EXPECT_EQ(memoProblem(m), "");
}

TEST_F(RandomWaves, BrokenMemosReadSafely) {
    struct Case {
        std::string bytes;
        bool usable;
        std::int32_t freq2;
    } cases[] = {
        {"", false, 0},
        {"44100\r\n16\r\n4\r\n  \t1\r\n", true, 0},                       // short: the rest is 0
        {"8000\r\n8\r\n2\r\n1\r\n99999999999999999999\r\n", true, 0},    // huge: held at the int range
        {"8000\r\nabc\r\n1\r\n", false, 0},                              // garbled depth
        {"300000\r\n16\r\n3\r\n", false, 0},                             // one second does not fit
        {"8000\r\n8\r\n9\r\n", false, 0},                                // no such random wave
        {"8000\r\n8\r\n3\r\n0\r\n1\r\n1\r\n1\r\n1\r\n1\r\n7x\r\n", true, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const MemoFile m = parseMemo(c.bytes);
        EXPECT_EQ(memoProblem(m).empty(), c.usable);
        EXPECT_EQ(m.memo.SegFreq[0][2], c.freq2);
    }
    EXPECT_EQ(parseMemo("8000\r\n8\r\n2\r\n1\r\n99999999999999999999\r\n").memo.SegLength[0], INT32_MAX);
}

// The memo is a true recipe: each deterministic kind's recorded numbers, run
// through the generators over the segment again, give the same bytes.
TEST_F(RandomWaves, TheRecordedSegmentsAreTheRecipeOfTheirBytes) {
    for (int kind : {KindSine, KindSineSum, KindSineProduct, KindPitchSwing, KindPitchSwingSwing}) {
        SCOPED_TRACE(kind);
        SoundDoc& d = openSound(8000, 16, 8000);
        filterTo(kind, kind);
        const std::vector<std::uint8_t> before = d.Samples;
        superRandomWaveCommand(*s);
        const Bytes made = head(d);
        // Over the sound as it was: a block leaves the last sample of its
        // region alone.
        d.Samples = before;
        d.HasSelection = 1;
        std::int32_t p = 0;
        for (int i = 0; i < segments(); ++i) {
            select(p, memo().SegLength[i]);
            const auto& a = memo().SegAmp[i];
            const auto& f = memo().SegFreq[i];
            const auto amp = [&](int j) { return static_cast<std::uint8_t>(a[j]); };
            switch (memo().SegKind[i]) {
            case KindSine: sineBlock(*s, amp(0), f[0], d.DataLen, 0.0f); break;
            case KindSineSum: sineSumBlock(*s, amp(0), f[0], amp(1), f[1], d.DataLen); break;
            case KindSineProduct: sineProductBlock(*s, amp(0), f[0], amp(1), f[1], d.DataLen); break;
            default: pitchSineFill(*s, amp(0), f[0], static_cast<float>(f[1]), d.DataLen, memo().SegKind[i] - 3);
            }
            p += memo().SegLength[i];
        }
        EXPECT_TRUE(std::equal(made.begin(), made.begin() + p, d.Samples.begin()));
        s->random.KindFilter = 0;
    }
}

TEST_F(RandomWaves, AMemoWrittenAndReadBackRebuildsTheSameSound) {
    openSound(11025, 16, 11025);
    randomSynthSinCommand(*s);
    const Bytes made = head(s->active());
    chosen = at("合成.txt");
    randomMemoCommand(*s);
    readRandomMemoCommand(*s);
    ASSERT_EQ(s->WindowCount, 2);
    EXPECT_EQ(s->activeSlot(), 1);
    EXPECT_EQ(s->active().BitsParSample, 16);
    EXPECT_EQ(head(s->active()), made);

    // A super random segment comes back through its generator's dialog.
    superRandomWaveCommand(*s);
    select(0, 10);
    chosen = at("超.txt");
    randomMemoCommand(*s);
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {}, seen));
    readRandomMemoCommand(*s);
    ASSERT_TRUE(seen->shown);
    EXPECT_EQ(seen->request.DialogRows[1].Value, intText(memo(1).SegAmp[0][0]));
    EXPECT_EQ(s->active().DataLen, 22050);

    chosen = at("壊れた.txt");
    std::ofstream(folder.path / "壊れた.txt", std::ios::binary) << "300000\r\n16\r\n3\r\n";
    readRandomMemoCommand(*s);
    EXPECT_EQ(s->WindowCount, 3);
    EXPECT_NE(fake.lastBox().text.find("この周波数の音は作れません"), std::string::npos);
}

TEST_F(RandomWaves, KindAndFrequencyLimitCommands) {
    openSound(8000, 8, 8000);
    fake.dialogs.push_back(pressOk({}, {{1, false}, {2, true}, {5, true}, {6, true}}));
    limitKindsCommand(*s);
    EXPECT_EQ(s->random.KindFilter, 1);
    EXPECT_EQ(memo().SegKind[0], 1);
    EXPECT_EQ(memo().SegKind[1], 4);
    EXPECT_EQ((fake.menu[{RandomPopup, 4}].caption), UnfixKindsCaption);

    fixLastKindsCommand(*s); // no random wave in this window yet
    expectBox("(゜o゜)＼(-_-)ランダム合成Sinのデータがありません。",
              "ランダム合成Sinを実行してから、そのウィンドウをアクティブにして再度実行してください。");
    randomSinCommand(*s);
    EXPECT_EQ(memo().SegKind[0], 1);
    fixLastKindsCommand(*s);
    expectBox("ランダム合成Sin種類固定", "(・・)/　種類の固定を解除しました。");
    EXPECT_EQ(s->random.KindFilter, 0);
    EXPECT_EQ((fake.menu[{RandomPopup, 4}].caption), FixKindsCaption);

    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "100"}, {2, "200"}}, {}, seen));
    limitFrequencyCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[3].Label, "周波数の周波数の上限(1～3000)");
    expectBox("(゜o゜)＼(-_-;)", "上限は下限よりも大きくないといけませぬ。（同じならOK）");
    EXPECT_EQ(s->random.RandFreqUpper[0], 500);
    fake.dialogs.push_back(pressOk({{1, "700.9"}, {2, "700"}, {3, "5"}, {4, "5"}}));
    limitFrequencyCommand(*s);
    EXPECT_EQ(s->random.RandFreqUpper, (std::array<std::int32_t, 2>{700, 5}));
    EXPECT_EQ(s->random.RandFreqLower, (std::array<std::int32_t, 2>{700, 5}));
}

} // namespace
} // namespace wavora
