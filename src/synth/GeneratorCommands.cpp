#include "synth/GeneratorCommands.h"

#include "core/DialogRequest.h"
#include "core/Platform.h"
#include "synth/PitchNoise.h"
#include "synth/Scale.h"
#include "synth/SineGenerators.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace wavora {

namespace {

using RowTexts = std::array<std::string, DialogMaxRows + 1>;

const char* const TargetHeading = "　　　-----　入力先　-----";
const char* const LiveLabel = "リアルタイム変化(波)";

// How one generator asks for its numbers, reads them back and writes.
// Rows 1..paramRows hold the numbers; the heading, the three target radios and
// the live check follow them.
struct GeneratorForm {
    const char* caption;
    int id;
    int undoCode;
    int paramRows;
    void (*addParams)(EditorState&);
    void (*readParams)(GeneratorParams&, const RowTexts&);
    void (*generate)(EditorState&);

    int rowCount() const { return paramRows + 5; }
    int waveRow() const { return paramRows + 2; }
    int liveRow() const { return paramRows + 5; }
};

std::uint8_t amplitudeOf(const std::string& text) {
    return static_cast<std::uint8_t>(cutToInt(textToNumber(text)));
}
float floatOf(const std::string& text) {
    return static_cast<float>(textToNumber(text));
}
int freqArg(float f) {
    return cutToInt(f);
}
bool isOn(const std::string& value) {
    return value == "1";
}

void numberRow(EditorState& s, const char* label, const std::string& value, float max, float min) {
    addDialogRow(s.dialog, RowNumber, label, value, max, min);
}

// GenFreq[1] is remembered across generators whose rows take different
// ranges (1..4000, 100..28000): a value another one left outside this row's
// range is shown as the nearest bound, or OK would refuse the dialog's own
// default.
std::string sharedFreqText(const EditorState& s, float max, float min) {
    return floatText(std::clamp(s.gen.GenFreq[1], min, max));
}

// --- The seven generators

void addSineRows(EditorState& s) {
    numberRow(s, "振幅（音の大きさ）", intText(s.gen.GenAmp[0]), 255, 1);
    numberRow(s, "周波数（音の高さ）", floatText(s.gen.GenFreq[0]), 4000, 1);
    numberRow(s, "位相（波を横にずらす0～99）", floatText(s.gen.GenPhase), 99, 0);
}
void readSineRows(GeneratorParams& g, const RowTexts& r) {
    g.GenAmp[0] = amplitudeOf(r[1]);
    g.GenFreq[0] = floatOf(r[2]);
    g.GenPhase = floatOf(r[3]);
}
void generateSine(EditorState& s) {
    sineBlock(s, s.gen.GenAmp[0], freqArg(s.gen.GenFreq[0]), s.active().DataLen, s.gen.GenPhase);
}

void addTwoSineRows(EditorState& s) {
    numberRow(s, "振幅（音の大きさ）1", intText(s.gen.GenAmp[0]), 255, 1);
    numberRow(s, "周波数（音の高さ）1", floatText(s.gen.GenFreq[0]), 4000, 1);
    numberRow(s, "振幅（音の大きさ）2", intText(s.gen.GenAmp[1]), 255, 1);
    numberRow(s, "周波数（音の高さ）2", sharedFreqText(s, 4000, 1), 4000, 1);
}
void readTwoSineRows(GeneratorParams& g, const RowTexts& r) {
    g.GenAmp[0] = amplitudeOf(r[1]);
    g.GenFreq[0] = floatOf(r[2]);
    g.GenAmp[1] = amplitudeOf(r[3]);
    g.GenFreq[1] = floatOf(r[4]);
}
void generateSum(EditorState& s) {
    const GeneratorParams& g = s.gen;
    sineSumBlock(s, g.GenAmp[0], freqArg(g.GenFreq[0]), g.GenAmp[1], freqArg(g.GenFreq[1]),
                 s.active().DataLen);
}
void generateProduct(EditorState& s) {
    const GeneratorParams& g = s.gen;
    sineProductBlock(s, g.GenAmp[0], freqArg(g.GenFreq[0]), g.GenAmp[1], freqArg(g.GenFreq[1]),
                     s.active().DataLen);
}

void addPitchRows(EditorState& s, const char* thirdLabel, float thirdMax, float thirdMin) {
    numberRow(s, "振幅（音の大きさ）", intText(s.gen.GenAmp[0]), 255, 1);
    numberRow(s, "周波数（音の高さ）の最大値", floatText(s.gen.GenFreq[0]), 4000, 1);
    numberRow(s, thirdLabel, sharedFreqText(s, thirdMax, thirdMin), thirdMax, thirdMin);
}
void addSwingRows(EditorState& s) {
    addPitchRows(s, "周波数（音の高さ）の周波数", 4000, 1);
}
void addJumpRows(EditorState& s) {
    addPitchRows(s, "周波数を変えるタイミング", 28000, 100);
}
void readPitchRows(GeneratorParams& g, const RowTexts& r) {
    g.GenAmp[0] = amplitudeOf(r[1]);
    g.GenFreq[0] = floatOf(r[2]);
    g.GenFreq[1] = floatOf(r[3]);
}
template <int Type> void generatePitch(EditorState& s) {
    pitchSineFill(s, s.gen.GenAmp[0], freqArg(s.gen.GenFreq[0]), s.gen.GenFreq[1], s.active().DataLen, Type);
}

void addNoiseRows(EditorState& s) {
    numberRow(s, "振幅（音の大きさ）", intText(s.gen.GenAmp[0]), 255, 1);
}
void readNoiseRows(GeneratorParams& g, const RowTexts& r) {
    g.GenAmp[0] = amplitudeOf(r[1]);
}
void generateNoise(EditorState& s) {
    noiseFill(s, s.gen.GenAmp[0], s.active().DataLen);
}

const GeneratorForm SineForm{"Sin波（サイン波）", 1, 20, 3, addSineRows, readSineRows, generateSine};
const GeneratorForm SumForm{"Sin+Sin波", 2, 21, 4, addTwoSineRows, readTwoSineRows, generateSum};
const GeneratorForm ProductForm{"Sin×Sin波", 3, 22, 4, addTwoSineRows, readTwoSineRows, generateProduct};
const GeneratorForm SwingForm{"音の高さがSinの波",           4, 25, 3, addSwingRows, readPitchRows,
                              generatePitch<PitchSwingsSine>};
const GeneratorForm SwingSwingForm{
    "音の高さがSinの周波数がさらにSinの波", 5, 27, 3, addSwingRows, readPitchRows,
    generatePitch<PitchSwingRateSwings>};
const GeneratorForm JumpForm{"音の高さがランダムに変わる波",   6, 28, 3, addJumpRows, readPitchRows,
                             generatePitch<PitchJumpsRandomly>};
const GeneratorForm NoiseForm{"ランダムノイズ", 7, 23, 1, addNoiseRows, readNoiseRows, generateNoise};

// --- What every generator shares

void rebuildPicture(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    RenderGraphs(s, slot, d.Samples.data(), d.VolumeGraph.data(), d.PitchGraph.data(), d.view.FirstByte);
}

void redraw(EditorState& s, int slot) {
    rebuildPicture(s, slot);
    repaintSlot(s, slot);
}

void resetTarget(EditorState& s) {
    s.gen.GenTarget = GenTargetFlags{};
}

bool haveSound(EditorState& s) {
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    s.BusyFlag = 0;
    return false;
}

void addTargetRows(EditorState& s) {
    const GenTargetFlags& t = s.gen.GenTarget;
    addDialogRow(s.dialog, RowHeading, TargetHeading, "", 0, 0);
    addDialogRow(s.dialog, RowRadio, "波", t.wave == 1 ? "1" : "0", 0, 0);
    addDialogRow(s.dialog, RowRadio, "音量", t.volume == 1 ? "1" : "0", 0, 0);
    addDialogRow(s.dialog, RowRadio, "音の高さ", t.pitch == 1 ? "1" : "0", 0, 0);
    addDialogRow(s.dialog, RowCheck, LiveLabel, "0", 0, 0);
}

// Radios only ever set their flag; wave is already set, and the last flag
// that is set decides the target.
void readTargetRows(EditorState& s, const GeneratorForm& f) {
    const auto& rows = s.dialog.DialogRows;
    const auto at = [&](int offset) { return rows[static_cast<std::size_t>(f.waveRow() + offset)].Value; };
    if (isOn(at(0))) s.gen.GenTarget.wave = 1;
    if (isOn(at(1))) s.gen.GenTarget.volume = 1;
    if (isOn(at(2))) s.gen.GenTarget.pitch = 1;
}

// "リアルタイム変化(波)": while it is ticked and the wave is the target, every
// change in the dialog regenerates the wave of the active sound from the
// numbers as they stand, so the user hears and sees them before pressing OK.
// The sound as it was is kept aside: each preview starts from it (a block
// leaves the region's tail alone, and the tail must be the original's), and
// it is put back when the preview is switched off and when the dialog closes.
class LivePreview {
  public:
    LivePreview(EditorState& s, const GeneratorForm& f) : form_(f), slot_(s.activeSlot()), opened_(s.gen) {}

    void update(EditorState& s, const DialogControls& c) {
        if (!enabled(c)) {
            if (putBackSound(s)) redraw(s, slot_);
            return;
        }
        if (!inRange(s, c)) return; // half-typed or out-of-range numbers: keep the last preview
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
        if (saved_.empty())
            saved_ = d.Samples;
        else
            std::copy(saved_.begin(), saved_.end(), d.Samples.begin());
        form_.readParams(s.gen, c.text);
        const GenTargetFlags target = s.gen.GenTarget;
        s.gen.GenTarget = GenTargetFlags{};
        form_.generate(s);
        s.gen.GenTarget = target;
        redraw(s, slot_);
        notifyPreviewChanged(s);
    }

    // True when a preview had changed the sound.
    bool putBackSound(EditorState& s) {
        if (saved_.empty()) return false;
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
        std::copy(saved_.begin(), saved_.end(), d.Samples.begin());
        saved_.clear();
        return true;
    }

    void putBackParams(EditorState& s) const { s.gen = opened_; }

  private:
    bool enabled(const DialogControls& c) const {
        return c.checked[static_cast<std::size_t>(form_.liveRow())] &&
               c.checked[static_cast<std::size_t>(form_.waveRow())];
    }
    bool inRange(const EditorState& s, const DialogControls& c) const {
        for (int r = 1; r <= form_.paramRows; ++r) {
            const DialogRow& row = s.dialog.DialogRows[static_cast<std::size_t>(r)];
            const double v = textToNumber(c.text[static_cast<std::size_t>(r)]);
            if (v < row.Min || v > row.Max) return false;
        }
        return true;
    }

    const GeneratorForm& form_;
    int slot_;
    GeneratorParams opened_;
    std::vector<std::uint8_t> saved_;
};

// Shows the generator's dialog; on OK the numbers and the target are stored.
// Returns whether OK (or the close box) ended it.
bool askGenerator(EditorState& s, const GeneratorForm& f) {
    s.gen.GeneratorId = f.id;
    beginDialog(s.dialog, f.caption, f.rowCount());
    f.addParams(s);
    addTargetRows(s);

    LivePreview preview(s, f);
    s.dialog.controlsPreview = [&preview](EditorState& st, const DialogControls& c) {
        preview.update(st, c);
    };
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.controlsPreview = nullptr;
    s.dialog.DialogOpen = 0;

    // The run after OK starts from the sound as it was before any preview:
    // the part of the region a block leaves alone, and the samples when a
    // graph is the target, must keep the original bytes.
    const bool previewed = preview.putBackSound(s);
    if (result == DialogResultCancel) {
        preview.putBackParams(s);
        if (previewed) redraw(s, s.activeSlot());
        return false;
    }
    RowTexts rows;
    for (int r = 1; r <= f.paramRows; ++r)
        rows[static_cast<std::size_t>(r)] = s.dialog.DialogRows[static_cast<std::size_t>(r)].Value;
    f.readParams(s.gen, rows);
    readTargetRows(s, f);
    return true;
}

// Sin, Sin+Sin, Sin×Sin and noise: write, picture, undo step, repaint.
void runBlockGenerator(EditorState& s, const GeneratorForm& f) {
    if (haveSound(s) && askGenerator(s, f)) {
        f.generate(s);
        rebuildPicture(s, s.activeSlot());
        snapshot(s, f.undoCode);
        repaintSlot(s, s.activeSlot());
    }
    resetTarget(s);
}

// The pitch sines keep a step in the history even after Cancel.
void runPitchGenerator(EditorState& s, const GeneratorForm& f, bool repaintTwice) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    s.gen.GeneratorId = f.id;
    if (!haveSound(s)) {
        resetTarget(s);
        return;
    }
    if (askGenerator(s, f)) {
        f.generate(s);
        redraw(s, s.activeSlot());
    }
    snapshot(s, f.undoCode);
    if (repaintTwice) repaintSlot(s, s.activeSlot());
    resetTarget(s);
    s.BusyFlag = 0;
}

} // namespace

void sinCommand(EditorState& s) {
    runBlockGenerator(s, SineForm);
}

void sinSumCommand(EditorState& s) {
    runBlockGenerator(s, SumForm);
}

void sinProductCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    // Two full amplitudes multiplied are far past the sample range.
    s.gen.GenAmp[0] = std::min<std::uint8_t>(s.gen.GenAmp[0], 10);
    s.gen.GenAmp[1] = std::min<std::uint8_t>(s.gen.GenAmp[1], 10);
    runBlockGenerator(s, ProductForm);
    s.BusyFlag = 0;
}

void pitchSinCommand(EditorState& s) {
    runPitchGenerator(s, SwingForm, false);
}

void pitchSinSinCommand(EditorState& s) {
    runPitchGenerator(s, SwingSwingForm, false);
}

void pitchRandomCommand(EditorState& s) {
    runPitchGenerator(s, JumpForm, true);
}

void noiseCommand(EditorState& s) {
    runBlockGenerator(s, NoiseForm);
}

void scaleCommand(EditorState& s) {
    static const std::array<const char*, 12> notes = {"ド(C)",   "ド#(C#)", "レ(D)",     "レ#(D#)",
                                                      "ミ(E)",   "ファ(F)", "ファ#(F#)", "ソ(G)",
                                                      "ソ#(G#)", "ラ(A)",   "ラ#(A#)",   "シ(B)"};
    beginDialog(s.dialog, "音階（ピアノの真ん中＝オクターブ４）", 13);
    addDialogRow(s.dialog, RowNumber, "オクターブ", intText(s.gen.ScaleOctave), 7, 0);
    for (const char* note : notes)
        addDialogRow(s.dialog, RowRadio, note, "", 0, 0);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (result == DialogResultCancel) return;

    const auto& rows = s.dialog.DialogRows;
    s.gen.ScaleOctave = cutToInt(textToNumber(rows[1].Value));
    s.gen.ScaleNote = 0; // no note chosen: the C of the octave
    for (int r = 2; r <= 13; ++r) {
        if (isOn(rows[static_cast<std::size_t>(r)].Value)) {
            s.gen.ScaleNote = r - 2;
            break;
        }
    }
    s.gen.GenFreq[0] = static_cast<float>(scaleFrequency(s.gen.ScaleOctave, s.gen.ScaleNote));
}

} // namespace wavora
