#include "ui/GeneralDialog.h"

#include "core/Platform.h"
#include "core/WaveOutput.h"
#include "doc/Slots.h"
#include "text/NumberText.h"
#include "ui/DialogLayout.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int LengthRow = 1;
constexpr int RateRow = 3;
constexpr int EightBitRow = 5;
constexpr int SixteenBitRow = 6;

std::size_t at(int row) {
    return static_cast<std::size_t>(row);
}

int rowCount(const DialogRequest& r) {
    return std::clamp(r.DialogRowCount, 0, DialogMaxRows);
}

DialogRow& rowOf(DialogRequest& r, int i) {
    return r.DialogRows[at(i)];
}
const DialogRow& rowOf(const DialogRequest& r, int i) {
    return r.DialogRows[at(i)];
}

bool isRangeChecked(const DialogRow& row) {
    bool numeric =
        row.Kind == RowText || row.Kind == RowNumber || row.Kind == RowSlider || row.Kind == RowLength;
    return numeric && !(row.Min == 0 && row.Max == 0);
}

// ---- OK

bool checkRequiredTicks(EditorState& s, const DialogControls& c) {
    const DialogRequest& d = s.dialog;
    if (d.RequiredChecks == 0) return true;
    bool anyCheckRow = false;
    int ticked = 0;
    for (int i = 1; i <= rowCount(d); ++i) {
        if (rowOf(d, i).Kind != RowCheck) continue;
        anyCheckRow = true;
        ticked += c.checked[at(i)] ? 1 : 0;
    }
    if (!anyCheckRow || ticked == d.RequiredChecks) return true;
    s.platform.messageBox({intText(d.RequiredChecks) + "個を選択してください。", "(o・ェ・)"});
    return false;
}

void copyControlsToRows(DialogRequest& d, const DialogControls& c) {
    for (int i = 1; i <= rowCount(d); ++i) {
        DialogRow& row = rowOf(d, i);
        if (row.Kind == RowCheck || row.Kind == RowRadio)
            row.Value = c.checked[at(i)] ? "1" : "0";
        else
            row.Value = c.text[at(i)];
    }
}

std::string rangeText(const DialogRow& row) {
    return "範囲は" + floatText(row.Min) + "～" + floatText(row.Max) + "のあいだです。";
}

bool checkRanges(EditorState& s) {
    const DialogRequest& d = s.dialog;
    for (int i = 1; i <= rowCount(d); ++i) {
        const DialogRow& row = rowOf(d, i);
        if (!isRangeChecked(row)) continue;
        // Compared as the bound's own float, so typing the bound exactly as it
        // is shown in the message is accepted even when it is not a round number.
        auto v = static_cast<float>(textToNumber(row.Value));
        std::string which = "上から" + intText(i);
        if (v > row.Max) {
            s.platform.messageBox({which + "番目のデータが大きすぎます。\r\n" + rangeText(row), "<(;_ _)>"});
            return false;
        }
        if (v < row.Min) {
            s.platform.messageBox({which + "番目のデータが小さすぎます\r\n" + rangeText(row), "<(;_ _)>"});
            return false;
        }
    }
    return true;
}

// ---- Live preview of the effect dialogs

double rowNumber(const DialogControls& c, int row) {
    return textToNumber(c.text[at(row)]);
}

// Sets the preview parameter the edited row stands for; false when the edit
// changes nothing the effect uses.
bool setPreviewParameter(DialogRequest& d, int row, double v) {
    if (d.PreviewMode.multiEcho) {
        if (row == 1 && v >= 5) return false;
        (row == 1 ? d.preview.multiEchoFirst : d.preview.multiEchoSecond) = v / 100;
        return true;
    }
    if (d.PreviewMode.distortion) {
        if (row != 1) return false;
        d.preview.distortion = cutToInt(v);
        return true;
    }
    if (d.PreviewMode.chorus) {
        if (rowOf(d, row).Kind != RowSlider) return false;
        if (row == 1 && d.ChorusPreviewTarget == 0)
            d.preview.chorusFrequency = v / 1000;
        else
            d.preview.chorusVolume = v / 10;
        return true;
    }
    if (d.PreviewMode.filter) {
        if (row == 1)
            d.preview.filterFrequency = v;
        else
            d.preview.filterPasses = cutToInt(v);
        return true;
    }
    return false;
}

void previewEffect(EditorState& s, int row, const DialogControls& c) {
    DialogRequest& d = s.dialog;
    if (!d.effectPreview || row < 1 || row > 2 || row > rowCount(d)) return;
    if (!setPreviewParameter(d, row, rowNumber(c, row))) return;
    d.effectPreview(s);
    notifyPreviewChanged(s);
}

// ---- Length limit of the new-sound dialog

bool hasLengthRow(const DialogRequest& d) {
    return rowCount(d) >= SixteenBitRow && rowOf(d, LengthRow).Kind == RowLength;
}

// The longest sound the buffer holds at the rate and depth now in the
// controls; 0 while they do not name one (no rate yet, or no depth chosen).
double lengthLimit(const DialogControls& c) {
    int rate = cutToInt(rowNumber(c, RateRow));
    int bits = c.checked[at(SixteenBitRow)] ? 16 : c.checked[at(EightBitRow)] ? 8 : 0;
    if (rate <= 0 || bits == 0) return 0;
    return maxSeconds(rate, bits);
}

// Row 1's Max is the limit in force. It is replaced whenever the new limit
// differs from it at all: a bound left a fraction too high would let a length
// through that does not fit the buffer.
EditUpdate applyLengthLimit(DialogRequest& d, const DialogControls& c) {
    EditUpdate u;
    if (!hasLengthRow(d)) return u;
    double limit = lengthLimit(c);
    DialogRow& row = rowOf(d, LengthRow);
    if (limit <= 0 || static_cast<float>(limit) == row.Max) return u;
    row.Max = static_cast<float>(limit);
    d.DialogCaption = lengthLimitCaption(limit);
    u.limitChanged = true;
    u.caption = d.DialogCaption;
    u.spinMin = cutToInt(row.Min);
    u.spinMax = cutToInt(row.Max);
    return u;
}

} // namespace

DialogControls initialControls(const DialogRequest& request) {
    DialogControls c;
    for (int i = 1; i <= DialogMaxRows; ++i) {
        const DialogRow& row = rowOf(request, i);
        c.text[at(i)] = row.Value;
        c.checked[at(i)] = row.Value == "1";
    }
    return c;
}

void dialogCreated(EditorState& s) {
    s.dialog.DialogOpen = 1;
    s.dialog.DialogReady = 0;
}

void dialogLaidOut(EditorState& s) {
    s.dialog.DialogReady = 1;
}

void selectRadioRow(const DialogRequest& request, DialogControls& controls, int row) {
    for (int i = 1; i <= rowCount(request); ++i)
        if (rowOf(request, i).Kind == RowRadio) controls.checked[at(i)] = i == row;
}

bool dialogOk(EditorState& s, const DialogControls& controls) {
    DialogRequest& d = s.dialog;
    if (d.DialogAnswer == 0) d.DialogAnswer = 1;
    if (!checkRequiredTicks(s, controls)) return false;
    copyControlsToRows(d, controls);
    // The depth radios fire no edit event, so the limit may still be the one
    // of the depth chosen before; the check below must use the current one.
    applyLengthLimit(d, controls);
    if (!checkRanges(s)) return false;
    if (d.okAction) d.okAction(s);
    return true;
}

void dialogCancel(EditorState& s) {
    s.play.LoopPlay = 0;
    stopPlayback(s);
    s.BusyFlag = 0;
}

int dialogCloseRequested(EditorState&) {
    return DialogResultOk;
}

EditUpdate dialogEditChanged(EditorState& s, int row, const DialogControls& controls) {
    // Setting the controls' texts during layout fires these events as well.
    if (!s.dialog.DialogReady) return {};
    if (row == 1 || row == 2) previewEffect(s, row, controls);
    if (row >= 1 && row <= 3) return applyLengthLimit(s.dialog, controls);
    return {};
}

EditUpdate dialogControlsChanged(EditorState& s, const DialogControls& controls) {
    if (!s.dialog.DialogReady) return {};
    if (s.dialog.controlsPreview) s.dialog.controlsPreview(s, controls);
    return applyLengthLimit(s.dialog, controls);
}

void dialogDestroyed(EditorState& s, std::optional<DialogPosition> closedAt) {
    if (closedAt) writeDialogPosition(s, *closedAt);
    DialogRequest& d = s.dialog;
    d.DialogReady = 0;
    d.DialogOpen = 0;
    d.PreviewMode = {};
    d.effectPreview = nullptr;
    d.controlsPreview = nullptr;
}

} // namespace wavora
