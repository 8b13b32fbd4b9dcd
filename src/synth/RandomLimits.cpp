#include "synth/RandomLimits.h"

#include "core/MenuPositions.h"
#include "core/Platform.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "ui/GeneralDialog.h"

#include <array>
#include <vector>

namespace wavora {

const char* const FixKindsCaption = "今（最後）の種類で固定(&K)";
const char* const UnfixKindsCaption = "今（最後）の種類で固定を 解除する(&K)";

namespace {

constexpr int FixKindsId = 1256;
constexpr int FixKindsPosition = 4; // in the "超ランダム(&R)" menu

bool enter(EditorState& s) {
    if (s.BusyFlag == 1) return false;
    s.BusyFlag = 1;
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    s.BusyFlag = 0;
    return false;
}

bool runDialog(EditorState& s) {
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    return result != DialogResultCancel;
}

std::string rowValue(const EditorState& s, int row) { return s.dialog.DialogRows[static_cast<std::size_t>(row)].Value; }

void setFixCaption(EditorState& s) {
    s.platform.setMenuItem(s.random.KindFilter ? UnfixKindsCaption : FixKindsCaption, RandomPopup, FixKindsId,
                           FixKindsPosition, true);
}

std::string range(int entry) {
    const auto e = static_cast<std::size_t>(entry);
    return "(" + intText(FreqHardMin[e]) + "～" + intText(FreqHardMax[e]) + ")";
}

void frequencyRow(EditorState& s, const std::string& label, int entry, std::int32_t value) {
    const auto e = static_cast<std::size_t>(entry);
    addDialogRow(s.dialog, RowNumber, label + range(entry), intText(value), static_cast<float>(FreqHardMax[e]),
                 static_cast<float>(FreqHardMin[e]));
}

} // namespace

void limitKindsCommand(EditorState& s) {
    if (!enter(s)) return;
    static const std::array<const char*, 6> labels = {"Sin波",           "Sin+Sin波",
                                                      "Sin×Sin波",       "音の高さがSin波",
                                                      "音の高さがSinの周波数がさらにSin波", "音の高さがランダムに変化するSin波"};
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(s.activeSlot())];
    beginDialog(s.dialog, "種類を選んでください。合成なら２つ（同じ種類なら１つ)", 6);
    for (int k = 0; k < 6; ++k) {
        const bool ticked = k == m.SegKind[0] || k == m.SegKind[1];
        addDialogRow(s.dialog, RowCheck, labels[static_cast<std::size_t>(k)], ticked ? "1" : "0", 0, 0);
    }
    s.dialog.RequiredChecks = 0;
    if (runDialog(s)) {
        std::vector<int> kinds;
        for (int row = 1; row <= 6 && kinds.size() < 2; ++row)
            if (rowValue(s, row) == "1") kinds.push_back(row - 1);
        if (!kinds.empty()) {
            m.SegKind[0] = kinds.front();
            m.SegKind[1] = kinds.back();
            s.random.KindFilter = 1;
            // The fix command now releases the limit: its caption says so.
            setFixCaption(s);
        }
    }
    s.BusyFlag = 0;
}

void fixLastKindsCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    if (s.RandomWaveKind[static_cast<std::size_t>(s.activeSlot())] == NoRandomWave) {
        s.platform.messageBox({"ランダム合成Sinを実行してから、そのウィンドウをアクティブにして再度実行してください。",
                               "(゜o゜)＼(-_-)ランダム合成Sinのデータがありません。"});
    } else if (s.random.KindFilter == 1) {
        s.random.KindFilter = 0;
        s.platform.messageBox({"(・・)/　種類の固定を解除しました。", "ランダム合成Sin種類固定"});
        setFixCaption(s);
    } else {
        s.random.KindFilter = 1;
        s.platform.messageBox({"(＾＾)/　指定された（範囲の最後の）音の種類に固定しました。\r\n"
                               "解除するまではその種類の音のランダムになります。\r\n"
                               "解除したいときはもう一度、このメニューを実行してくだい。",
                               "ランダム合成Sin種類固定"});
        setFixCaption(s);
    }
    s.BusyFlag = 0;
}

void limitFrequencyCommand(EditorState& s) {
    if (!enter(s)) return;
    RandomWaveParams& p = s.random;
    beginDialog(s.dialog, "単位はHz", 4);
    frequencyRow(s, "周波数の上限", 0, p.RandFreqUpper[0]);
    frequencyRow(s, "周波数の下限", 0, p.RandFreqLower[0]);
    frequencyRow(s, "周波数の周波数の上限", 1, p.RandFreqUpper[1]);
    frequencyRow(s, "周波数の周波数の下限", 1, p.RandFreqLower[1]);
    if (runDialog(s)) {
        std::array<double, 5> v{};
        for (int row = 1; row <= 4; ++row) v[static_cast<std::size_t>(row)] = textToNumber(rowValue(s, row));
        if (v[1] >= v[2] && v[3] >= v[4]) {
            p.RandFreqUpper = {cutToInt(v[1]), cutToInt(v[3])};
            p.RandFreqLower = {cutToInt(v[2]), cutToInt(v[4])};
        } else {
            s.platform.messageBox({"上限は下限よりも大きくないといけませぬ。（同じならOK）", "(゜o゜)＼(-_-;)"});
        }
    }
    s.BusyFlag = 0;
}

} // namespace wavora
