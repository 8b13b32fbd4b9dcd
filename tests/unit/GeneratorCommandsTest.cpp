// The wave menu's generator commands and the musical scale, driven through the
// general dialog as a user would: what each dialog asks, what OK and Cancel
// leave behind, the undo step recorded and the live preview.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "TempFolder.h"
#include "app/Commands.h"
#include "core/SlotTable.h"
#include "core/WindowSurfaces.h"
#include "doc/Slots.h"
#include "synth/GeneratorCommands.h"
#include "synth/SineGenerators.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace wavora {
namespace {

using test::DialogUser;
using test::pressCancel;
using test::pressOk;
using test::watchDialog;

struct Row {
    int kind;
    std::string label, value;
    float max, min;
};

class GeneratorCommands : public ::testing::Test {
  protected:
    test::TempRoot folder;
    test::FakePlatform fake;
    std::unique_ptr<EditorState> s = std::make_unique<EditorState>(fake, folder.path);

    // A new silent sound in its window, recorded as the base state.
    SoundDoc& openSound(std::int32_t rate = 44100, std::uint8_t bits = 8, std::int32_t len = 100000) {
        const int slot = createSoundWindow(*s, "音", 1100, 768);
        SoundDoc& d = s->docs[static_cast<std::size_t>(slot)];
        d.SRATE = rate;
        d.BitsParSample = bits;
        d.DataLen = len;
        allocateNewSound(*s);
        fitViewToLength(*s, slot);
        snapshot(*s, 0);
        return d;
    }
    int invalidations() { return fake.windows[s->active().WindowHandle].invalidations; }
    std::vector<std::uint8_t> picture() {
        const Surface& w = *s->surfaces[static_cast<std::size_t>(s->activeSlot())]->WaveSurface;
        return {reinterpret_cast<const std::uint8_t*>(w.data()),
                reinterpret_cast<const std::uint8_t*>(w.data() + w.width() * w.height())};
    }
    static void expectRows(const DialogRequest& q, const std::vector<Row>& rows) {
        ASSERT_EQ(q.DialogRowCount, static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const DialogRow& got = q.DialogRows[i + 1];
            EXPECT_EQ(got.Kind, rows[i].kind) << "row " << i + 1;
            EXPECT_EQ(got.Label, rows[i].label) << "row " << i + 1;
            EXPECT_EQ(got.Value, rows[i].value) << "row " << i + 1;
            EXPECT_EQ(got.Max, rows[i].max) << "row " << i + 1;
            EXPECT_EQ(got.Min, rows[i].min) << "row " << i + 1;
        }
    }
    static std::vector<Row> targetRows(const char* wave = "1", const char* volume = "0",
                                       const char* pitch = "0") {
        return {{RowHeading, "　　　-----　入力先　-----", "", 0, 0},
                {RowRadio, "波", wave, 0, 0},
                {RowRadio, "音量", volume, 0, 0},
                {RowRadio, "音の高さ", pitch, 0, 0},
                {RowCheck, "リアルタイム変化(波)", "0", 0, 0}};
    }
    static std::vector<Row> join(std::vector<Row> a, const std::vector<Row>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    static bool silent(const std::vector<std::uint8_t>& b) {
        return std::all_of(b.begin(), b.end(), [](std::uint8_t v) { return v == 128; });
    }
    static bool waveTarget(const GenTargetFlags& t) { return t.wave == 1 && t.volume == 0 && t.pitch == 0; }
};

TEST_F(GeneratorCommands, SineAsksAmplitudeFrequencyPhaseAndTargetAndWritesOnOk) {
    SoundDoc& d = openSound();
    const std::vector<std::uint8_t> before = picture();
    s->gen.GenAmp[0] = 20; // the frame's menu path presets 100
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {}, seen));
    dispatchCommand(*s, 1101);

    EXPECT_EQ(fake.modalClasses, std::vector<std::string>{"HanyouDialog"});
    EXPECT_EQ(seen->request.DialogCaption, "Sin波（サイン波）");
    expectRows(seen->request, join({{RowNumber, "振幅（音の大きさ）", "100", 255, 1},
                                    {RowNumber, "周波数（音の高さ）", "440", 4000, 1},
                                    {RowNumber, "位相（波を横にずらす0～99）", "0", 99, 0}},
                                   targetRows()));
    EXPECT_EQ(seen->request.DialogAnswer, 0);
    EXPECT_EQ(s->gen.GeneratorId, 1);

    EXPECT_EQ(std::vector<std::uint8_t>(d.Samples.begin(), d.Samples.begin() + 5),
              (std::vector<std::uint8_t>{128, 134, 140, 146, 152}));
    EXPECT_EQ(s->gen.CycleLength, 44200);
    EXPECT_EQ(d.UnDoFlag, "0020");
    EXPECT_NE(picture(), before);
    EXPECT_GT(invalidations(), 0);
    EXPECT_TRUE(waveTarget(s->gen.GenTarget));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(GeneratorCommands, SineRemembersTypedValuesAndWritesTheChosenGraph) {
    SoundDoc& d = openSound(8000, 8, 24000);
    fake.dialogs.push_back(pressOk({{1, "30"}, {2, "100.5"}, {3, "25"}}, {{6, true}}));
    sinCommand(*s);
    EXPECT_EQ(s->gen.GenAmp[0], 30);
    EXPECT_EQ(s->gen.GenFreq[0], 100.5f);
    EXPECT_EQ(s->gen.GenPhase, 25.0f);
    EXPECT_TRUE(silent(d.Samples));
    EXPECT_EQ(d.VolumeGraph[0], 128 + 30); // a quarter period ahead: the crest
    EXPECT_EQ(s->gen.CycleLength, 8079);   // 100.5 Hz goes in as 100
    EXPECT_EQ(d.UnDoFlag, "0020");
    EXPECT_TRUE(waveTarget(s->gen.GenTarget)); // the next dialog proposes the wave again

    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {{7, true}}, seen));
    sinCommand(*s);
    const auto& rows = seen->request.DialogRows;
    EXPECT_EQ(rows[1].Value + " " + rows[2].Value + " " + rows[3].Value + " " + rows[5].Value + rows[6].Value,
              "30 100.5 25 10");
    EXPECT_EQ(d.PitchGraph[0], 128 + 30);
    EXPECT_EQ(d.UnDoFlag, "002020");
}

TEST_F(GeneratorCommands, CancelAndMissingSoundChangeNothing) {
    sinCommand(*s);
    EXPECT_TRUE(fake.modalClasses.empty());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().text, NoSoundWindowText);
    noiseCommand(*s);
    pitchSinCommand(*s);
    EXPECT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(s->BusyFlag, 0);

    SoundDoc& d = openSound();
    s->gen.GenTarget.volume = 1;
    for (auto command : {sinCommand, sinSumCommand, sinProductCommand, noiseCommand}) {
        fake.dialogs.push_back(pressCancel());
        command(*s);
        EXPECT_TRUE(waveTarget(s->gen.GenTarget));
    }
    EXPECT_TRUE(silent(d.Samples));
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_EQ(s->BusyFlag, 0);
    EXPECT_EQ(s->gen.GenFreq[0], 440.0f);
}

TEST_F(GeneratorCommands, SumAndProductAskTwoSinesAndTheProductGuardsAndTamesItsAmplitudes) {
    SoundDoc& d = openSound(8000, 8, 24000);
    s->gen.GenAmp = {50, 60, 50};
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{2, "1"}, {3, "0"}}, {}, seen));
    sinSumCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "Sin+Sin波");
    const std::vector<Row> twoSines = {{RowNumber, "振幅（音の大きさ）1", "50", 255, 1},
                                       {RowNumber, "周波数（音の高さ）1", "440", 4000, 1},
                                       {RowNumber, "振幅（音の大きさ）2", "60", 255, 1},
                                       {RowNumber, "周波数（音の高さ）2", "50", 4000, 1}};
    expectRows(seen->request, join(twoSines, targetRows()));
    EXPECT_EQ(s->gen.GeneratorId, 2);
    // Amplitude 0 is refused by the dialog; the typed 1 Hz plays as 100 Hz.
    ASSERT_EQ(seen->refusalTexts.size(), 1u);
    EXPECT_EQ(d.UnDoFlag, "00");

    fake.dialogs.push_back(pressOk({{2, "1"}, {3, "1"}}));
    sinSumCommand(*s);
    EXPECT_EQ(d.UnDoFlag, "0021");
    // 1 Hz plays as 100 Hz, whose crest is sample 20: 50 + 1 x sin(pi / 4), cut to 50.
    EXPECT_EQ(d.Samples[20], 128 + 50);

    s->BusyFlag = 1;
    sinProductCommand(*s);
    EXPECT_EQ(fake.modalClasses.size(), 2u); // busy: not even the dialog
    s->BusyFlag = 0;

    s->gen.GenAmp = {50, 7, 50};
    seen = watchDialog();
    fake.dialogs.push_back(pressOk({{2, "100"}, {4, "100"}}, {}, seen));
    sinProductCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "Sin×Sin波");
    EXPECT_EQ(seen->request.DialogRows[1].Value, "10");
    EXPECT_EQ(seen->request.DialogRows[3].Value, "7");
    EXPECT_EQ(s->gen.GeneratorId, 3);
    EXPECT_EQ(d.Samples[20], 128 + (10 * 7)); // sin^2 at its crest, 69.99999.. rounds to 70
    EXPECT_EQ(d.UnDoFlag, "002122");
    EXPECT_EQ(s->BusyFlag, 0);

    fake.dialogs.push_back(pressCancel());
    sinProductCommand(*s);
    EXPECT_EQ(s->BusyFlag, 0);
    EXPECT_EQ(d.UnDoFlag, "002122");
}

TEST_F(GeneratorCommands, PitchSinesAskTheirRowsAndRecordAStepEvenOnCancel) {
    SoundDoc& d = openSound(8000, 8, 8000);
    s->gen.GenAmp[0] = 50;
    auto seen = watchDialog();
    fake.dialogs.push_back(pressCancel(seen));
    pitchSinCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "音の高さがSinの波");
    const std::vector<Row> swing = {{RowNumber, "振幅（音の大きさ）", "50", 255, 1},
                                    {RowNumber, "周波数（音の高さ）の最大値", "440", 4000, 1},
                                    {RowNumber, "周波数（音の高さ）の周波数", "50", 4000, 1}};
    expectRows(seen->request, join(swing, targetRows()));
    EXPECT_EQ(s->gen.GeneratorId, 4);
    EXPECT_TRUE(silent(d.Samples));
    EXPECT_EQ(d.UnDoFlag, "0025");
    EXPECT_EQ(s->BusyFlag, 0);

    seen = watchDialog();
    fake.dialogs.push_back(pressOk({{3, "2"}}, {}, seen));
    pitchSinSinCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "音の高さがSinの周波数がさらにSinの波");
    expectRows(seen->request, join(swing, targetRows()));
    EXPECT_EQ(s->gen.GeneratorId, 5);
    EXPECT_EQ(s->gen.GenFreq[1], 2.0f);
    EXPECT_FALSE(silent(d.Samples));
    EXPECT_EQ(d.UnDoFlag, "002527");
    EXPECT_EQ(s->gen.CycleLength, 7999);

    seen = watchDialog();
    fake.dialogs.push_back(pressOk({{3, "100"}}, {}, seen));
    const int swingPaints = invalidations();
    pitchRandomCommand(*s);
    const int randomPaints = invalidations() - swingPaints;
    EXPECT_EQ(seen->request.DialogCaption, "音の高さがランダムに変わる波");
    expectRows(
        seen->request,
        // The 2 another generator left is outside this row's range: the row
        // offers its nearest bound, so OK accepts the dialog as it opens.
        join({swing[0], swing[1], {RowNumber, "周波数を変えるタイミング", "100", 28000, 100}}, targetRows()));
    ASSERT_EQ(seen->refusalTexts.size(), 0u);
    EXPECT_EQ(s->gen.GeneratorId, 6);
    EXPECT_EQ(d.UnDoFlag, "00252728");

    fake.dialogs.push_back(pressOk());
    const int before = invalidations();
    pitchSinCommand(*s);
    EXPECT_EQ(randomPaints, invalidations() - before + 1); // the random one repaints once more

    s->BusyFlag = 1;
    pitchRandomCommand(*s);
    EXPECT_EQ(d.UnDoFlag, "0025272825");
    EXPECT_EQ(s->BusyFlag, 1);
}

TEST_F(GeneratorCommands, NoiseAsksOnlyItsAmplitudeAndRunsEvenWhileBusy) {
    SoundDoc& d = openSound(8000, 8, 8000);
    s->gen.GenAmp[0] = 9;
    s->BusyFlag = 1;
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "1"}}, {}, seen));
    noiseCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "ランダムノイズ");
    expectRows(seen->request, join({{RowNumber, "振幅（音の大きさ）", "9", 255, 1}}, targetRows()));
    EXPECT_EQ(s->gen.GeneratorId, 7);
    EXPECT_EQ(std::set<int>(d.Samples.begin(), d.Samples.begin() + 8000), (std::set<int>{127, 128}));
    EXPECT_EQ(d.UnDoFlag, "0023");

    fake.dialogs.push_back(pressOk({}, {{4, true}}));
    noiseCommand(*s); // the amplitude stays 1: the volume graph gets 127 and 128 too
    EXPECT_EQ(std::set<int>(d.VolumeGraph.begin(), d.VolumeGraph.begin() + 8000), (std::set<int>{127, 128}));
    EXPECT_EQ(d.UnDoFlag, "002323");
}

TEST_F(GeneratorCommands, LivePreviewShowsTheWaveAndCancelPutsEverythingBack) {
    SoundDoc& d = openSound(44100, 8, 100000);
    s->gen.GenAmp[0] = 100;
    const float phase = s->gen.GenPhase;
    std::vector<std::uint8_t> afterTyping, afterNonsense, afterUntick;
    int paintsBefore = 0, paintsAfter = 0;
    fake.dialogs.push_back(DialogUser()
                               .type(2, "220")
                               .then([&](EditorState& st) { EXPECT_TRUE(silent(st.active().Samples)); })
                               .then([&](EditorState&) { paintsBefore = invalidations(); })
                               .tick(8)
                               .then([&](EditorState&) { paintsAfter = invalidations(); })
                               .then([&](EditorState& st) { afterTyping = st.active().Samples; })
                               .type(2, "")
                               .type(2, "4001")
                               .type(3, "abc") // reads as phase 0: a valid value
                               .then([&](EditorState& st) { afterNonsense = st.active().Samples; })
                               .tick(8, false)
                               .then([&](EditorState& st) { afterUntick = st.active().Samples; })
                               .tick(8)
                               .type(2, "300")
                               .type(1, "50")
                               .then([&](EditorState& st) { EXPECT_FALSE(silent(st.active().Samples)); })
                               .cancel()
                               .script());
    sinCommand(*s);
    // 220 Hz at amplitude 100: 100 sin(2 pi 220 / 44100) = 3.13.
    EXPECT_EQ(afterTyping[1], 131);
    EXPECT_EQ(afterTyping[0], 128);
    EXPECT_GT(paintsAfter, paintsBefore);
    EXPECT_EQ(afterNonsense, afterTyping); // out-of-range and empty rows are skipped
    EXPECT_TRUE(silent(afterUntick));      // switched off: the sound as it was
    EXPECT_TRUE(silent(d.Samples));
    EXPECT_EQ(s->gen.GenAmp[0], 100);
    EXPECT_EQ(s->gen.GenFreq[0], 440.0f);
    EXPECT_EQ(s->gen.GenPhase, phase);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_FALSE(s->dialog.controlsPreview);
}

TEST_F(GeneratorCommands, LivePreviewFollowsOnlyTheWaveAndOkStartsFromTheOriginal) {
    SoundDoc& d = openSound(8000, 8, 24000);
    std::vector<std::uint8_t> onVolume;
    fake.dialogs.push_back(DialogUser()
                               .tick(9)
                               .type(4, "100")
                               .then([&](EditorState& st) { EXPECT_FALSE(silent(st.active().Samples)); })
                               .tick(7) // the volume radio: no more previews, and the wave goes back
                               .type(2, "300")
                               .then([&](EditorState& st) { onVolume = st.active().Samples; })
                               .ok()
                               .script());
    s->gen.GenAmp = {20, 20, 50};
    sinSumCommand(*s);
    EXPECT_TRUE(silent(onVolume));
    EXPECT_TRUE(silent(d.Samples));
    EXPECT_FALSE(silent(d.VolumeGraph));
    EXPECT_EQ(s->gen.GenFreq[0], 300.0f);
    EXPECT_EQ(s->gen.GenFreq[1], 100.0f);
    EXPECT_EQ(d.UnDoFlag, "0021");

    // Previewed and then OK on the wave: the same bytes as without a preview.
    SoundDoc& e = openSound(8000, 8, 24000);
    fake.dialogs.push_back(pressOk({{2, "250"}, {4, "70"}}));
    sinProductCommand(*s);
    const std::vector<std::uint8_t> plain = e.Samples;
    std::fill(e.Samples.begin(), e.Samples.end(), 128);
    fake.dialogs.push_back(DialogUser().tick(9).type(2, "1000").type(2, "250").type(4, "70").ok().script());
    sinProductCommand(*s);
    EXPECT_EQ(e.Samples, plain);

    // The pitch sines and noise preview too, and Cancel puts them back.
    fake.dialogs.push_back(DialogUser()
                               .tick(8)
                               .type(3, "3")
                               .then([&](EditorState& st) { EXPECT_NE(st.active().Samples, plain); })
                               .cancel()
                               .script());
    pitchSinCommand(*s);
    EXPECT_EQ(e.Samples, plain);
    fake.dialogs.push_back(DialogUser()
                               .tick(6)
                               .type(1, "5")
                               .then([&](EditorState& st) { EXPECT_NE(st.active().Samples, plain); })
                               .cancel()
                               .script());
    noiseCommand(*s);
    EXPECT_EQ(e.Samples, plain);
}

TEST_F(GeneratorCommands, LivePreviewWritesTheWaveEvenWhenTheCommandCameWithAnotherTarget) {
    // A memo re-run opens the dialog with the volume graph proposed; the user
    // picks the wave and previews.
    SoundDoc& d = openSound(8000, 8, 8000);
    s->gen.GenTarget.volume = 1;
    auto seen = watchDialog();
    fake.dialogs.push_back(DialogUser()
                               .tick(5)
                               .tick(8)
                               .then([&](EditorState& st) {
                                   EXPECT_FALSE(silent(st.active().Samples));
                                   EXPECT_TRUE(silent(st.active().VolumeGraph));
                                   EXPECT_EQ(st.gen.GenTarget.volume, 1);
                               })
                               .cancel()
                               .script(seen));
    sinCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[6].Value, "1");
    EXPECT_TRUE(silent(d.Samples));
}

TEST_F(GeneratorCommands, ScaleSetsTheSineFrequencyWithoutASoundWindow) {
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {{11, true}}, seen));
    scaleCommand(*s);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(seen->request.DialogCaption, "音階（ピアノの真ん中＝オクターブ４）");
    expectRows(seen->request, {{RowNumber, "オクターブ", "4", 7, 0},
                               {RowRadio, "ド(C)", "", 0, 0},
                               {RowRadio, "ド#(C#)", "", 0, 0},
                               {RowRadio, "レ(D)", "", 0, 0},
                               {RowRadio, "レ#(D#)", "", 0, 0},
                               {RowRadio, "ミ(E)", "", 0, 0},
                               {RowRadio, "ファ(F)", "", 0, 0},
                               {RowRadio, "ファ#(F#)", "", 0, 0},
                               {RowRadio, "ソ(G)", "", 0, 0},
                               {RowRadio, "ソ#(G#)", "", 0, 0},
                               {RowRadio, "ラ(A)", "", 0, 0},
                               {RowRadio, "ラ#(A#)", "", 0, 0},
                               {RowRadio, "シ(B)", "", 0, 0}});
    EXPECT_EQ(s->gen.GenFreq[0], 440.0f);
    EXPECT_EQ(s->gen.ScaleNote, 9);

    const auto scale = [&](const char* octave, int row) {
        std::map<int, bool> ticks;
        if (row) ticks[row] = true;
        fake.dialogs.push_back(pressOk({{1, octave}}, ticks));
        scaleCommand(*s);
        return s->gen.GenFreq[0];
    };
    EXPECT_EQ(scale("4", 2), 261.0f); // 261.63 rounded down
    EXPECT_EQ(scale("0", 2), 16.0f);
    EXPECT_EQ(scale("7", 13), 3951.0f);
    EXPECT_EQ(s->gen.ScaleOctave, 7);
    EXPECT_EQ(s->gen.ScaleNote, 11);
    EXPECT_EQ(scale("5", 0), 523.0f); // no note chosen: C
    EXPECT_EQ(s->gen.ScaleNote, 0);
    EXPECT_EQ(scale("8", 2), 523.0f); // beyond the range: refused, then cancelled

    seen = watchDialog();
    fake.dialogs.push_back(pressCancel(seen));
    scaleCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[1].Value, "5");
    EXPECT_EQ(s->gen.GenFreq[0], 523.0f);

    // The next sine proposes the note.
    openSound();
    seen = watchDialog();
    fake.dialogs.push_back(pressCancel(seen));
    sinCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[2].Value, "523");
}

TEST_F(GeneratorCommands, ASharedFrequencyOutsideARowsRangeOpensAtItsNearestBound) {
    openSound(8000, 8, 8000);
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({}, {}, seen)); // the dialog as it opens
    pitchRandomCommand(*s);
    EXPECT_TRUE(seen->refusalTexts.empty());
    EXPECT_FALSE(seen->gaveUp);
    EXPECT_EQ(s->gen.GenFreq[1], 100.0f);

    fake.dialogs.push_back(pressOk({{3, "20000"}}));
    pitchRandomCommand(*s);
    seen = watchDialog();
    fake.dialogs.push_back(pressCancel(seen));
    pitchSinCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[3].Value, "4000");
}

} // namespace
} // namespace wavora
