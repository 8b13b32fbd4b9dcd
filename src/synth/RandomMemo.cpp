#include "synth/RandomMemo.h"

#include "converter/HelperClient.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "doc/Slots.h"
#include "synth/EffectSounds.h"
#include "synth/GeneratorCommands.h"
#include "synth/RandomWaves.h"
#include "text/NumberText.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"
#include "view/SoundWindows.h"

#include <algorithm>
#include <fstream>
#include <type_traits>
#include <vector>

namespace wavora {

namespace {

constexpr int InfoUndoCode = 8;
constexpr int RandomSinCode = 37;
constexpr int EffectWaveCode = 32;
// A memo is a few dozen bytes; this much of a file is more than any memo.
constexpr std::size_t MemoReadMax = 64 * 1024;

const char* const NoSelectionCaption = "(o・ェ・)選択範囲かマーカーがありません。";
const char* const MemoNoSelectionText =
    "超ランダム波などの場合は編集メニューの「選択範囲,マーカーを作る（消す）」でメモしたい音の一部を選択範囲かマーカーで指定してください。";
const char* const InfoNoSelectionText =
    "編集メニューの「選択範囲,マーカーを作る（消す）」で選択範囲かマーカーを作ってください。";

bool isSegmentKind(std::int32_t kind) { return kind == SuperRandomWave || kind == SuperRandomEffectWave; }

// Every field of the memo in the order of the file, for the writer and the
// reader alike. `M` is RandomWaveMemo, const or not.
template <class M, class F> void visitMemoFields(M& m, std::int32_t kind, int segment, F&& field) {
    const auto three = [&](auto& values) {
        for (auto& v : values) field(v);
    };
    if (kind == RandomSinWave || kind == RandomSynthSinWave) {
        for (std::size_t c = 0; c < (kind == RandomSynthSinWave ? 2u : 1u); ++c) {
            field(m.SegKind[c]);
            three(m.SegAmp[c]);
            three(m.SegFreq[c]);
        }
        return;
    }
    if (!isSegmentKind(kind)) return;
    const auto i = static_cast<std::size_t>(segment);
    field(m.SegKind[i]);
    field(m.SegLength[i]);
    three(m.SegAmp[i]);
    three(m.SegFreq[i]);
    if (kind != SuperRandomEffectWave) return;
    field(m.VolKind[i]);
    three(m.VolAmp[i]);
    three(m.VolFreq[i]);
    field(m.FxKind[i]);
    field(m.FxChorusFreq[i]);
    field(m.FxChorusVol[i]);
    field(m.FxDistortion[i]);
}

// The lines of a memo file as numbers, the header first. Lines past the end
// read as 0.
class MemoLines {
public:
    explicit MemoLines(std::string_view bytes) : rest_(bytes.substr(0, std::min(bytes.size(), MemoReadMax))) {}
    double next() {
        if (rest_.empty()) return 0;
        const std::size_t end = rest_.find('\n');
        const std::string_view line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        return textToNumber(line);
    }

private:
    std::string_view rest_;
};

std::string readPrefix(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string bytes(MemoReadMax, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// Which memo entry the marker or the selection points at; -1 after telling
// the user why there is none.
int findSegment(EditorState& s, int slot, const char* noSelectionText) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    if (!d.HasSelection && !d.HasMarker) {
        s.platform.messageBox({noSelectionText, NoSelectionCaption});
        return -1;
    }
    const int first = segmentAt(m, d.DataLen, d.SelStart);
    // The selection's last byte, not the byte after it: a selection of exactly
    // one segment lies in that one segment.
    const int last = d.HasSelection && d.SelLength > 0
                         ? segmentAt(m, d.DataLen, std::int64_t{d.SelStart} + d.SelLength - 1)
                         : first;
    if (first < 0 || last < 0) {
        s.platform.messageBox({"情報を取得できませんでいた。", "<(;_ _)>すみません"});
        return -1;
    }
    if (last != first) {
        s.platform.messageBox(
            {"選択範囲が" + intText(last - first + 1) + "種類の波に掛かっています。", "<(_ _)>１種類に限定してください。"});
        return -1;
    }
    return first;
}

void runGeneratorCommand(EditorState& s, std::int32_t kind) {
    switch (kind) {
    case KindSine: sinCommand(s); break;
    case KindSineSum: sinSumCommand(s); break;
    case KindSineProduct: sinProductCommand(s); break;
    case KindPitchSwing: pitchSinCommand(s); break;
    case KindPitchSwingSwing: pitchSinSinCommand(s); break;
    case KindPitchJump: pitchRandomCommand(s); break;
    case KindNoise: noiseCommand(s); break;
    default: break;
    }
}

std::uint8_t amplitude(std::int32_t v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

void loadGenerator(EditorState& s, const std::array<std::int32_t, 3>& amps, const std::array<std::int32_t, 3>& freqs) {
    for (std::size_t i = 0; i < 3; ++i) {
        s.gen.GenAmp[i] = amplitude(amps[i]);
        s.gen.GenFreq[i] = static_cast<float>(freqs[i]);
    }
    // The random waves' sines start at phase 0.
    s.gen.GenPhase = 0.0f;
}

// Kinds 1 and 2: the segment's wave through its generator's dialog over the
// whole sound; for kind 2 then its volume curve and its effect.
void rebuildSegment(EditorState& s, int slot, std::int32_t kind) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    int seg = 0;
    if (s.random.MemoReadMode == 1)
        s.dialog.DialogAnswer = 1;
    else if ((seg = findSegment(s, slot, InfoNoSelectionText)) < 0)
        return;
    const auto i = static_cast<std::size_t>(seg);
    loadGenerator(s, m.SegAmp[i], m.SegFreq[i]);
    resetSelection(d);
    d.HasMarker = 0;
    snapshot(s, InfoUndoCode);
    s.gen.GenTarget = GenTargetFlags{};
    s.BusyFlag = 0;
    runGeneratorCommand(s, m.SegKind[i]);
    if (kind != SuperRandomEffectWave) return;

    s.ActWndNum = slot;
    loadGenerator(s, m.VolAmp[i], m.VolFreq[i]);
    s.gen.GenTarget = GenTargetFlags{0, 1, 0};
    runGeneratorCommand(s, m.VolKind[i]);
    s.ActWndNum = slot;
    const std::int32_t fx = m.FxKind[i];
    if (fx >= 1 && fx <= 3) {
        s.effects.ChorusRatio = m.FxChorusFreq[i];
        s.effects.ChorusGain = m.FxChorusVol[i];
        s.effects.DistortionLevel = m.FxDistortion[i];
        applyRandomEffect(s, fx);
        // The effect is a change of its own, to be undone like the others.
        snapshot(s, EffectWaveCode);
    }
    d.view.ExtentX = d.DataLen;
    onSize(s, slot, d.view.ClientWidth, d.view.ClientHeight);
    repaintSlot(s, slot);
}

// Kinds 3 and 4: the random Sin routine with the memo's components.
void rebuildComponents(EditorState& s, int slot, std::int32_t kind) {
    const RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    const auto fromMemo = [&m](int c) {
        const auto i = static_cast<std::size_t>(c);
        SinComponent comp;
        comp.kind = m.SegKind[i];
        for (std::size_t j = 0; j < 3; ++j) {
            comp.amp[j] = amplitude(m.SegAmp[i][j]);
            comp.freq[j] = static_cast<float>(m.SegFreq[i][j]);
        }
        return comp;
    };
    if (runSinComponents(s, kind == RandomSynthSinWave ? 2 : 1, fromMemo, false, ""))
        snapshot(s, RandomSinCode);
}

// An effect sound made again from its memo over the whole sound, as
// generated (16-bit at 44100 Hz, whatever the sound became since), graphs
// included.
void rebuildEffectSound(EditorState& s, int slot) {
    const EffectSoundMemo& m = s.EffectSoundMemos[static_cast<std::size_t>(slot)];
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (!effectSoundValid(m)) return;
    d.BitsParSample = 16;
    d.SRATE = 44100;
    buildEffectSound(s, m);
    fitViewToLength(s, slot);
    snapshot(s, EffectSoundFirstCode + m.kind);
    repaintSlot(s, slot);
}

void refuse(EditorState& s, const std::string& text) { s.platform.messageBox({text, "<(_ _)>"}); }

} // namespace

std::string memoText(const EditorState& s, int slot, int segment) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const std::int32_t kind = s.RandomWaveKind[static_cast<std::size_t>(slot)];
    std::string text = intText(d.SRATE) + "\r\n" + intText(d.BitsParSample) + "\r\n" + intText(kind) + "\r\n";
    visitMemoFields(s.RandomWaveMemos[static_cast<std::size_t>(slot)], kind, std::clamp(segment, 0, RandomMemoEntries - 1),
                    [&text](const auto& v) {
                        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, float>)
                            text += floatText(v);
                        else
                            text += intText(v);
                        text += "\r\n";
                    });
    if (kind == EffectSoundWave) {
        const EffectSoundMemo& e = s.EffectSoundMemos[static_cast<std::size_t>(slot)];
        text += intText(e.kind) + "\r\n" + intText(e.seed) + "\r\n";
        for (std::int32_t v : e.params) text += intText(v) + "\r\n";
    }
    return utf8ToShiftJis(text);
}

MemoFile parseMemo(std::string_view bytes) {
    MemoLines lines(bytes);
    MemoFile f;
    f.rate = cutToInt(lines.next());
    f.bits = cutToInt(lines.next());
    f.kind = cutToInt(lines.next());
    visitMemoFields(f.memo, f.kind, 0, [&lines](auto& v) {
        const double x = lines.next();
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, float>)
            v = static_cast<float>(std::clamp(x, -1.0e6, 1.0e6));
        else
            v = cutToInt(x);
    });
    if (f.kind == EffectSoundWave) {
        f.effect.kind = cutToInt(lines.next());
        f.effect.seed = static_cast<std::uint32_t>(std::clamp(lines.next(), 0.0, 4294967295.0));
        for (std::int32_t& v : f.effect.params) v = cutToInt(lines.next());
    }
    return f;
}

std::string memoProblem(const MemoFile& memo) {
    if (memo.bits != 8 && memo.bits != 16)
        return "ビット数が" + intText(memo.bits) + "です。8か16の音しか作れません。";
    const std::int64_t second = std::int64_t{memo.rate} * memo.bits / 8;
    if (memo.rate < 1 || second > DATALENMAX)
        return "サンプリング周波数が" + intText(memo.rate) + "です。この周波数の音は作れません。";
    if (memo.kind < SuperRandomWave || memo.kind > EffectSoundWave)
        return "ランダム波の種類が" + intText(memo.kind) + "です。1～5のメモしか読めません。";
    if (memo.kind == EffectSoundWave && !effectSoundValid(memo.effect))
        return "効果音の種類か値が、このプログラムの作れる範囲にありません。";
    return {};
}

int segmentAt(const RandomWaveMemo& m, std::int32_t dataLen, std::int64_t pos) {
    std::int64_t end = 0;
    for (int i = 0; i < RandomMemoEntries; ++i) {
        const std::int32_t len = m.SegLength[static_cast<std::size_t>(i)];
        if (len <= 0) return -1;
        end += len;
        if (end > dataLen) return -1;
        if (end > pos) return i;
    }
    return -1;
}

bool writeMemoFile(const std::filesystem::path& file, const std::string& text) {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    if (!out) {
        std::ofstream create(file, std::ios::binary);
        if (!create) return false;
        create.close();
        out.open(file, std::ios::in | std::ios::out | std::ios::binary);
        if (!out) return false;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return static_cast<bool>(out);
}

void randomMemoCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return;
    }
    const int slot = s.activeSlot();
    const std::int32_t kind = s.RandomWaveKind[static_cast<std::size_t>(slot)];
    if (kind == NoRandomWave) {
        s.platform.messageBox({"メモは　ランダムSin,ランダム合成Sin,超ランダム波,超ランダムエフェクト波　の波情報をメモする機能です。"
                               "\r\n現在アクティブな音声データウィンドウはそれらを実行していません。",
                               "(・ェ・)/お知らせ"});
        return;
    }
    s.BusyFlag = 1;
    // The segment is found before the file is asked for: a memo without its
    // segment would read back as a silent wave.
    const int segment = isSegmentKind(kind) ? findSegment(s, slot, MemoNoSelectionText) : 0;
    if (segment >= 0) {
        const std::string text = memoText(s, slot, segment);
        if (AskHelperForFile(s, SaveDialog, "txt", "メモ", s.frame.FileOpenPath, "Wavoraメモ_.txt", 0) >= 1 &&
            chosenNameUsable(s)) {
            const std::string path = helperReplyPath(s);
            if (!writeMemoFile(pathFromUtf8(path), text))
                refuse(s, "次のファイルにメモを書けませんでした。\r\n" + path);
        }
    }
    s.BusyFlag = 0;
}

void readRandomMemoCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    if (firstFreeSlot(s) < 0) {
        refuse(s, "音声データウィンドウを新規に作れません。" + intText(SlotCount) + "個までです。");
        s.BusyFlag = 0;
        return;
    }
    if (AskHelperForFile(s, OpenDialog, "txt", "読み込むメモを選んでください", s.frame.FileOpenPath, "", 0) < 1 ||
        !chosenNameUsable(s)) {
        s.BusyFlag = 0;
        return;
    }
    // Read and checked before the window is made: a memo that cannot become a
    // sound leaves no half-made window behind.
    const std::string path = helperReplyPath(s);
    const MemoFile memo = parseMemo(readPrefix(pathFromUtf8(path)));
    if (const std::string why = memoProblem(memo); !why.empty()) {
        refuse(s, "このメモは読み込めません。\r\n" + path + "\r\n" + why);
        s.BusyFlag = 0;
        return;
    }
    if (memo.kind == EffectSoundWave) {
        // An effect sound makes its own window, titled with its kind.
        makeEffectSoundWindow(s, memo.effect);
        s.BusyFlag = 0;
        return;
    }
    const int slot = createSoundWindow(s, "", DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) {
        s.BusyFlag = 0;
        return;
    }
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.SRATE = memo.rate;
    d.BitsParSample = static_cast<std::uint8_t>(memo.bits);
    allocateNewSound(s);
    s.RandomWaveKind[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(memo.kind);
    d.DataLen = oneSecondBytes(d);
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    m = memo.memo;
    fitViewToLength(s, slot);
    s.random.MemoReadMode = 1;
    s.BusyFlag = 0;
    randomInfoCommand(s);
    s.random.MemoReadMode = 0;
    s.BusyFlag = 0;
}

void randomInfoCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        s.BusyFlag = 0;
        return;
    }
    const int slot = s.activeSlot();
    const std::int32_t kind = s.RandomWaveKind[static_cast<std::size_t>(slot)];
    if (kind == NoRandomWave) {
        s.platform.messageBox({"このメニューは　超ランダム波　または　超ランダムエフェクト波　を実行したウィンドウで使う機能です。",
                               "(o・ェ・)/実行できません。"});
        s.BusyFlag = 0;
        return;
    }
    if (s.random.MemoReadMode != 1)
        s.platform.messageBox({"これから表示するのは、今回の起動後に、このWindowで最後に作られたランダム波のデータです。\r\n"
                               "その後に書き換えたなどの場合は現在と違うデータですのでご注意ください。",
                               "<(_ _)>お知らせ"});
    const EffectParams saved = s.effects;
    if (isSegmentKind(kind))
        rebuildSegment(s, slot, kind);
    else if (kind == RandomSinWave || kind == RandomSynthSinWave)
        rebuildComponents(s, slot, kind);
    else if (kind == EffectSoundWave)
        rebuildEffectSound(s, slot);
    s.effects = saved;
    s.gen.GenTarget = GenTargetFlags{};
    s.BusyFlag = 0;
}

} // namespace wavora
