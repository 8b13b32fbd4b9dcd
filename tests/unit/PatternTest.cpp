// The pattern editor: tracing a picture, putting the pattern into a sound,
// the window's tools, pattern files, images and the tool bar's strips.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "app/Commands.h"
#include "bmp/BmpFile.h"
#include "converter/HelperClient.h"
#include "converter/pictra/PictraState.h"
#include "core/SlotTable.h"
#include "pattern/ExtractPattern.h"
#include "pattern/PatternFiles.h"
#include "pattern/PatternImage.h"
#include "pattern/PatternWindow.h"
#include "pattern/ToolStrips.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "ui/FaceMessages.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavora {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
void putFile(const std::filesystem::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::unique_ptr<Surface> blank() {
    auto s = std::make_unique<Surface>(PatternAreaWidth, PatternAreaHeight);
    s->fill(White);
    return s;
}

struct Pattern : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    pictra::PictraState helper;
    std::string chosen;             // the file the user picks in the helper's dialog; empty: Cancel
    std::deque<std::string> radios; // the general dialog's radio row picked, per question

    void SetUp() override {
        fake.onHelperRecord = [this](std::uintptr_t n, const std::string& block) {
            if (pictra::handleRecord(helper, n, block.data(), block.size()) == pictra::RecordAction::None)
                return;
            pictra::storeDialogResult(helper, !chosen.empty(), utf8ToShiftJis(chosen) + '\0');
            onHelperCopyData(s, 1, helper.PathBuffer.data(), helper.PathBuffer.size());
        };
    }
    // The general dialog answered with radio row `row` (1..), or cancelled with 0.
    void answerChoice(int row) {
        fake.dialogs.push_back([row](EditorState& st) {
            for (int i = 1; i <= st.dialog.DialogRowCount; ++i)
                st.dialog.DialogRows[static_cast<std::size_t>(i)].Value = i == row ? "1" : "0";
            return row == 0 ? -1 : 0;
        });
    }
    SoundDoc& soundOf(std::int32_t len, std::uint8_t bits = 8, std::uint8_t fill = 7) {
        createSoundWindow(s, "音", DefaultClientWidth, DefaultClientHeight);
        allocateNewSound(s);
        SoundDoc& d = s.active();
        d.BitsParSample = bits;
        d.DataLen = len;
        std::fill(d.Samples.begin(), d.Samples.end(), fill);
        return d;
    }
    std::string at(const char* name) { return utf8FromPath(root.path / name); }
};

// --- Tracing

TEST(ExtractPattern, FindsTheCurveAtTheLowestThresholdThatLeavesAtMostOneGap) {
    struct Case {
        const char* what;
        int step;
        Pixel ink;
        int gapFrom, gapTo; // columns of the line left out
        Pixel gapInk;       // drawn at row 200 in the gap
        int len, threshold;
    } cases[] = {
        {"black line, step 1", 1, Black, 0, -1, Black, 199, 0},
        {"black line, step 4", 4, Black, 0, -1, Black, 49, 0},
        {"pale grey found at 120", 1, rgb(40, 40, 40), 0, -1, Black, 199, 120},
        {"one missing column is allowed", 1, Black, 150, 150, White, 198, 0},
        {"two missing columns raise it", 1, Black, 150, 151, rgb(50, 50, 50), 199, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto pic = blank();
        pic->line(100, 64, 299, 64, c.ink);
        for (int x = c.gapFrom; x <= c.gapTo; ++x) {
            pic->set(x, 64, White);
            pic->set(x, 200, c.gapInk);
        }
        pic->set(600, 10, rgb(60, 60, 60)); // darker than the pale line, paler than the threshold
        PatternState p;
        p.PatternBuf.assign(DATALENMAX, 9);
        p.PatternStep = c.step;
        const ExtractedSpan span = extractPatternValues(*pic, p);
        EXPECT_EQ(span.threshold, c.threshold);
        EXPECT_EQ(span.width(), 199);
        ASSERT_EQ(p.PatternLen, c.len);
        for (int i = 0; i < c.len; ++i)
            EXPECT_EQ(p.PatternBuf[static_cast<std::size_t>(i)],
                      c.gapTo == 151 && (i == 50 || i == 51) ? 200 : 64)
                << i;
    }
}

TEST(ExtractPattern, ABlankPictureGivesAFlatLineAtTheLowestRowAndNeverCountsRowZero) {
    PatternState p;
    p.PatternBuf.assign(DATALENMAX, 0);
    auto pic = blank();
    pic->line(0, 0, 799, 0, Black); // the top row is never ink
    const ExtractedSpan span = extractPatternValues(*pic, p);
    EXPECT_EQ(span.threshold, 780); // white counts once the threshold passes 765
    ASSERT_EQ(p.PatternLen, 799);
    EXPECT_TRUE(std::all_of(p.PatternBuf.begin(), p.PatternBuf.begin() + 799,
                            [](std::uint8_t v) { return v == 255; }));
    // A picture smaller than the area reads as white beyond its edge.
    Surface small(100, 50);
    small.fill(Black);
    extractPatternValues(small, p);
    EXPECT_EQ(p.PatternLen, 99);
    EXPECT_EQ(p.PatternBuf[0], 49);
}

TEST_F(Pattern, OnceWritesOneCopyAndContinuousRepeatsToTheEndOfTheSelection) {
    SoundDoc& d = soundOf(1000);
    for (int i = 0; i < 300; ++i)
        s.pattern.PatternBuf[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 250 + 1);
    s.pattern.PatternLen = 300;
    writePattern(s, d.Samples, PatternInput::Once);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(d.Samples[static_cast<std::size_t>(i)], i < 300 ? i % 250 + 1 : 7) << i;

    std::fill(d.Samples.begin(), d.Samples.end(), 7);
    d.DataLen = 3000;
    d.HasSelection = 1;
    d.SelStart = 1000;
    d.SelLength = 1000;
    writePattern(s, d.VolumeGraph, PatternInput::Continuous);
    for (int i = 0; i < 3000; ++i) {
        const bool in = i >= 1000 && i < 2000;
        ASSERT_EQ(d.VolumeGraph[static_cast<std::size_t>(i)], in ? (i - 1000) % 300 % 250 + 1 : 128) << i;
    }
    // A range reaching the buffers' end is filled without an overflow message.
    d.HasSelection = 0;
    d.DataLen = DATALENMAX;
    writePattern(s, d.PitchGraph, PatternInput::Continuous);
    EXPECT_EQ(d.PitchGraph[DATALENMAX - 1], (DATALENMAX - 1) % 300 % 250 + 1);
    EXPECT_TRUE(fake.boxes.empty());
    // A single inked column leaves no pattern: nothing is written.
    s.pattern.PatternLen = 0;
    writePattern(s, d.Samples, PatternInput::Continuous);
    EXPECT_EQ(d.Samples[0], 7);
}

// --- The window

TEST_F(Pattern, TheWindowShowsThePatternUnderTheGuideAndGivesTheToolWindowBackOnEveryWayOut) {
    s.pattern.PatternLen = 3;
    s.pattern.PatternBuf[0] = s.pattern.PatternBuf[1] = s.pattern.PatternBuf[2] = 200;
    for (int way : {PatternCancelId, InputOnceId}) {
        PatternWindow w;
        ASSERT_TRUE(openPatternWindow(s, w));
        EXPECT_FALSE(fake.toolWindowEnabled);
        EXPECT_EQ(w.WorkSurface->get(1, 200), Black);
        EXPECT_EQ(w.WorkSurface->get(1, GuideRow), Red);
        EXPECT_EQ(w.WorkSurface->get(5, 200), White);
        if (way == InputOnceId) soundOf(10);
        EXPECT_EQ(patternCommand(s, w, way), PatternAfter::Close);
        EXPECT_TRUE(fake.toolWindowEnabled);
        EXPECT_EQ(s.pattern.PatternWindowOpen, 0);
    }
    // The input traced the three dots plus the guide: a step was recorded.
    EXPECT_EQ(s.active().UnDoFlag.substr(s.active().UnDoFlag.size() - 2), "16");
}

TEST_F(Pattern, DrawingToolsAndShiftsWorkOnThePictureWhereTheUserSeesIt) {
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    patternPress(w, 10, 20);
    patternDrag(w, 30, 20);
    patternRelease(w, 30, 20);
    EXPECT_EQ(w.PictureSurface->get(20, 20), Black);

    patternCommand(s, w, EraserToolId);
    patternPress(w, 15, 21);
    patternDrag(w, 25, 21);
    EXPECT_EQ(w.PictureSurface->get(20, 20), White); // three pixels wide
    EXPECT_EQ(w.PictureSurface->get(15, 21), White); // the eraser leaves no dot where it starts
    EXPECT_EQ(w.PictureSurface->get(12, 20), Black);

    patternCommand(s, w, LineToolId);
    patternCommand(s, w, ShiftDownTenId);
    EXPECT_EQ(w.PictureShift, 10);
    patternPress(w, 100, 110);
    patternDrag(w, 200, 150); // rubber band: this line goes again
    patternRelease(w, 200, 110);
    EXPECT_EQ(w.PictureSurface->get(150, 100), Black);
    EXPECT_EQ(w.PictureSurface->get(150, 120), White);
    composePatternWork(w);
    EXPECT_EQ(w.WorkSurface->get(150, 110), Black); // shown under the mouse
    EXPECT_EQ(w.WorkSurface->get(12, 30), Black);

    patternPress(w, 900, 10); // outside the drawing area: nothing
    EXPECT_FALSE(w.drawing);
}

TEST_F(Pattern, InputGoesIntoTheChosenTargetAndWithoutASoundTheWindowStays) {
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    w.PictureSurface->line(100, 40, 299, 40, Black);
    EXPECT_EQ(patternCommand(s, w, InputContinuousId), PatternAfter::Stay);
    EXPECT_EQ(fake.lastBox().text, NoSoundWindowText);

    SoundDoc& d = soundOf(500);
    patternCommand(s, w, TargetPitchId);
    patternCommand(s, w, StepHalfId);
    EXPECT_EQ(patternCommand(s, w, InputContinuousId), PatternAfter::Close);
    EXPECT_EQ(s.pattern.PatternLen, 99);
    EXPECT_TRUE(std::all_of(d.PitchGraph.begin(), d.PitchGraph.begin() + 500,
                            [](std::uint8_t v) { return v == 40; }));
    EXPECT_EQ(d.PitchGraph[500], 128);
    EXPECT_EQ(d.Samples[0], 7);
}

TEST_F(Pattern, ClearAllAsksToSaveFirstAndCancelKeepsEverything) {
    soundOf(100);
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    w.PictureSurface->line(10, 50, 209, 50, Black);
    fake.answers = {MsgAnswer::Cancel};
    patternCommand(s, w, ClearAllId);
    EXPECT_EQ(fake.lastBox().caption, "このパターンを保存しますか？");
    EXPECT_EQ(fake.lastBox().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(w.PictureSurface->get(20, 50), Black);

    fake.answers = {MsgAnswer::Yes};
    answerChoice(1);
    chosen = at("saved.wpat");
    patternCommand(s, w, ClearAllId);
    EXPECT_EQ(fileBytes(root.path / "saved.wpat"), Bytes(199, 50));
    EXPECT_EQ(w.PictureSurface->get(20, 50), White);
    EXPECT_EQ(s.pattern.PatternLen, 0);
    EXPECT_EQ(s.pattern.PatternBuf[0], 0);
}

TEST_F(Pattern, AFrequencyChangeResamplesThePatternToTheNewPeriodAndLeavesTheSound) {
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    w.PictureSurface->line(100, 64, 299, 64, Black);
    patternCommand(s, w, ChangeFrequencyId); // no sound, no rate
    EXPECT_EQ(fake.lastBox().text, NoSoundWindowText);

    SoundDoc& d = soundOf(100);
    d.SRATE = 11025;
    std::string shown;
    const auto answer = [&](const char* hz) {
        fake.dialogs.push_back([&shown, hz](EditorState& st) {
            const DialogRow& r = st.dialog.DialogRows[1];
            shown = r.Label + "=" + r.Value + " " + std::to_string(r.Min) + ".." + std::to_string(r.Max);
            if (!hz) return -1;
            st.dialog.DialogRows[1].Value = hz;
            return 0;
        });
    };
    answer(nullptr); // Cancel: the picture stays as drawn
    patternCommand(s, w, ChangeFrequencyId);
    EXPECT_EQ(shown, "高さ（周波数Hz）=55 1.000000..20000.000000"); // 11025 / 199 samples
    EXPECT_EQ(w.PictureSurface->get(100, 64), Black);
    EXPECT_EQ(w.PictureSurface->get(0, 64), White);

    answer("27.7"); // a period of 398: twice as long
    patternCommand(s, w, ChangeFrequencyId);
    EXPECT_EQ(s.pattern.PatternLen, 398);
    EXPECT_EQ(w.PictureSurface->get(0, 64), Black);
    EXPECT_EQ(w.PictureSurface->get(397, 64), Black);
    EXPECT_EQ(w.PictureSurface->get(398, 64), White);
    EXPECT_EQ(d.Samples[0], 7);

    answer("20000"); // above the rate: no sample per period, the pattern stays
    patternCommand(s, w, ChangeFrequencyId);
    EXPECT_EQ(fake.lastBox().caption, "WaveStretchForHakei");
    EXPECT_EQ(s.pattern.PatternLen, 397); // traced anew, the last column dropped

    drawPatternIntoPicture(w, PatternState{Bytes(DATALENMAX, 0), 0, 1, 0, 0});
    w.PictureSurface->set(10, 10, Black); // one column: no period at all
    const std::size_t dialogsAsked = fake.modalClasses.size();
    patternCommand(s, w, ChangeFrequencyId);
    EXPECT_EQ(fake.lastBox().caption, "<(_ _)>");
    EXPECT_EQ(fake.lastBox().text, "波形データが無いか、何かがおかしいです。");
    EXPECT_EQ(fake.modalClasses.size(), dialogsAsked);
}

TEST_F(Pattern, TheFrameMenuOpensTheWindowThroughTheModalRunnerOnlyWhenIdle) {
    dispatchCommand(s, 1102);
    s.BusyFlag = 1;
    dispatchCommand(s, 1102);
    EXPECT_EQ(fake.modalClasses, std::vector<std::string>{"HakeiPat"});
}

// --- Pattern files

TEST_F(Pattern, SaveWritesThePatternOrTheRawWaveform) {
    SoundDoc& d = soundOf(2000, 16);
    for (int i = 0; i < 2000; ++i)
        d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    chosen = at("wave.wpat"); // no pattern yet: the waveform without asking
    SavePatternFile(s);
    EXPECT_TRUE(fake.modalClasses.empty());
    EXPECT_EQ(fileBytes(root.path / "wave.wpat"), Bytes(d.Samples.begin(), d.Samples.begin() + 2000));
    EXPECT_EQ(utf8ToShiftJis("保存先(フォルダ)と名前を決めてください") + std::string(2, '\0'),
              fake.helperRecords[3].block);

    s.pattern.PatternLen = 199;
    std::fill_n(s.pattern.PatternBuf.begin(), 199, std::uint8_t{64});
    answerChoice(1);
    chosen = at("pattern.wpat");
    SavePatternFile(s);
    EXPECT_EQ(s.dialog.DialogCaption, "保存するデータを選んでください。");
    EXPECT_EQ(fileBytes(root.path / "pattern.wpat"), Bytes(199, 64));

    d.HasSelection = 1;
    d.SelStart = 10;
    d.SelLength = 3;
    answerChoice(2);
    SavePatternFile(s);
    EXPECT_EQ(fileBytes(root.path / "pattern.wpat"), Bytes(d.Samples.begin() + 10, d.Samples.begin() + 13));
    answerChoice(0); // Cancel in the question: no file dialog
    const std::size_t records = fake.helperRecords.size();
    SavePatternFile(s);
    EXPECT_EQ(fake.helperRecords.size(), records);
}

TEST_F(Pattern, LoadFillsAtMostThePlaceAndSetsThePatternLength) {
    SoundDoc& d = soundOf(1000);
    Bytes fifty(50);
    for (int i = 0; i < 50; ++i)
        fifty[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(200 + i);
    putFile(root.path / "fifty.wpat", fifty);
    chosen = at("fifty.wpat");
    answerChoice(3); // the volume graph
    LoadPatternInto(s);
    EXPECT_TRUE(std::equal(fifty.begin(), fifty.end(), d.VolumeGraph.begin()));
    EXPECT_EQ(d.VolumeGraph[50], 128);
    EXPECT_EQ(s.pattern.PatternLen, 50);
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "36");
    EXPECT_EQ(s.BusyFlag, 0);

    s.pattern.PatternLen = 0;
    answerChoice(1); // the pattern place holds nothing
    LoadPatternInto(s);
    EXPECT_EQ(s.pattern.PatternLen, 0);
    EXPECT_EQ(s.pattern.PatternBuf[0], 0);

    d.HasSelection = 1;
    d.SelStart = 990;
    d.SelLength = 5;
    answerChoice(2);
    LoadPatternInto(s);
    EXPECT_TRUE(std::equal(fifty.begin(), fifty.begin() + 5, d.Samples.begin() + 990));
    EXPECT_EQ(d.Samples[995], 7);
    EXPECT_EQ(s.pattern.PatternLen, 5);

    chosen = at("missing.wpat");
    answerChoice(2);
    LoadPatternInto(s);
    EXPECT_EQ(fake.lastBox().caption, "(;ﾟ0ﾟ) 読み込めません");
    EXPECT_EQ(s.pattern.PatternLen, 5);
}

TEST_F(Pattern, OpeningAFileInTheWindowDrawsItAndStopsAtTheBufferSize) {
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    OpenPatternInWindow(s, w);
    EXPECT_EQ(fake.lastBox().text, "新規作成などで読み込み先を作ってください。");
    soundOf(10);
    Bytes big(DATALENMAX + 10, 128);
    putFile(root.path / "big.wpat", big);
    chosen = at("big.wpat");
    OpenPatternInWindow(s, w);
    EXPECT_EQ(s.pattern.PatternLen, DATALENMAX);
    for (int x : {0, 400, 799})
        EXPECT_EQ(w.PictureSurface->get(x, 128), Black);
    EXPECT_EQ(w.PictureSurface->get(5, 127), White);
}

// --- Images

TEST_F(Pattern, ImagesBecomeThePictureAndAFailedConversionKeepsThePreviousOne) {
    EXPECT_TRUE(isBmpPath("C:\\絵\\a.BMP"));
    EXPECT_FALSE(isBmpPath("a.bmp.png"));
    PatternWindow w;
    ASSERT_TRUE(openPatternWindow(s, w));
    Surface img(900, 300);
    img.fill(White);
    img.set(850, 290, Black);
    putFile(root.path / "pic.BMP", stripBmpBytes(img, 0, 0, 900, 300));
    chosen = at("pic.BMP");
    OpenImageAsPicture(s, w);
    EXPECT_TRUE(fake.helperImages.empty());
    EXPECT_EQ(w.PictureSize.width, 900);
    EXPECT_EQ(w.PictureSurface->get(850, 290), Black);

    // The helper writes nothing for this image; an older converted file must
    // not be taken for it.
    putFile(root.path / pathFromUtf8(ConvertedImageName), stripBmpBytes(*blank(), 0, 0, 10, 10));
    putFile(root.path / "photo.png", Bytes(10, 1));
    chosen = at("photo.png");
    OpenImageAsPicture(s, w);
    ASSERT_EQ(fake.helperImages.size(), 1u);
    EXPECT_EQ(fake.helperImages[0], chosen);
    EXPECT_EQ(fake.lastBox().caption, "(;ﾟ0ﾟ) 画像を開けません");
    EXPECT_EQ(w.PictureSize.width, 900);

    // A PNG with transparency comes as 32 bits with alpha: clear parts are
    // white paper, not black ink. Alpha bytes all 0 mean no alpha at all.
    for (auto [alpha, clear] : {std::pair{0x00, Black}, std::pair{0xFF, White}}) {
        bmp::BitmapImage argb{2, 1, 32, false, {}, {0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(alpha)}};
        putFile(root.path / "alpha.bmp", bmp::bmpFileBytes(argb));
        chosen = at("alpha.bmp");
        OpenImageAsPicture(s, w);
        EXPECT_EQ(w.PictureSurface->get(0, 0), clear);
        EXPECT_EQ(w.PictureSurface->get(1, 0), Black);
    }
}

// --- Tool bar strips

TEST_F(Pattern, StripsAreWrittenByteExactAndMissingImagesAreReported) {
    Surface strip(66, 22);
    strip.fill(rgb(1, 2, 3));
    strip.set(0, 21, rgb(10, 20, 30)); // lowest row, first pixel: stored first
    const Bytes b = stripBmpBytes(strip, 0, 0, 66, 22);
    ASSERT_EQ(b.size(), 4454u);
    auto u32 = [&](std::size_t i) { return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | b[i + 3] << 24; };
    EXPECT_EQ(u32(2), 4454);
    EXPECT_EQ(u32(10), 54);
    EXPECT_EQ(u32(18), 66);
    EXPECT_EQ(u32(22), 22);
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(u32(34), 0);
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 60), (Bytes{30, 20, 10, 3, 2, 1}));
    EXPECT_EQ(Bytes(b.begin() + 252, b.begin() + 254), (Bytes{0, 0})); // the row's padding

    // The real parts, one of them missing, and a separator.
    std::filesystem::create_directories(root.path / pathFromUtf8("Wavora部品"));
    for (const ToolButtonEntry& e : patternToolButtons())
        for (const char* f : {e.normal, e.hot, e.disabled})
            if (*f && std::string(f) != "Clear Hot.bmp")
                std::filesystem::copy_file(std::filesystem::path(WAVORA_ASSETS_DIR) / "parts" / f,
                                           root.path / pathFromUtf8("Wavora部品") / f);
    std::vector<ToolButtonEntry> entries(patternToolButtons().begin(), patternToolButtons().end());
    entries.insert(entries.begin() + 1, {8, "", "", "", ""});
    const auto strips = makeToolStrips(s, entries);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, "BmpToPrompt");
    EXPECT_EQ(fake.boxes[0].text, "画像ファイルの読み込みに失敗");
    EXPECT_EQ(strips->get(22 + 11, 11), ToolMaskColour); // the separator's place stays empty
    for (const char* f : StripFiles)
        EXPECT_EQ(fileBytes(root.path / pathFromUtf8(f)).size(), 54u + 22 * 264);
    const Bytes normal = fileBytes(root.path / pathFromUtf8(StripFiles[0]));
    EXPECT_EQ(normal, stripBmpBytes(*strips, 0, 0, 88, 22));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path), {}), 6); // nothing half-written
}

} // namespace
} // namespace wavora
