#include "ui/DialogLayout.h"

#include "text/NumberText.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace wavora {

namespace {

constexpr int Margin = 10;
constexpr int RowPitch = 25;
constexpr int ButtonArea = 40;
constexpr int ControlWidth = 100;
constexpr int WideTextWidth = 300;
constexpr int ControlHeight = 22;
constexpr int SpinWidth = 20;
constexpr int SpinHeight = 26;
constexpr int TrackbarWidth = 80;
constexpr int TrackbarHeight = 21;
constexpr int MinDialogWidth = 120;

// The widest label of each group of kinds: the rows of a group line their
// controls up in one column.
struct LabelColumns {
    int g12 = 0, g3 = 0, g4 = 0, g57 = 0;
};

const DialogRow& rowOf(const DialogRequest& r, int i) {
    return r.DialogRows[static_cast<std::size_t>(i)];
}

int rowCount(const DialogRequest& r) {
    return std::clamp(r.DialogRowCount, 0, DialogMaxRows);
}

LabelColumns measureColumns(const DialogRequest& r, const std::vector<int>& labelWidths) {
    LabelColumns c;
    for (int i = 1; i <= rowCount(r); ++i) {
        int w = labelWidths[static_cast<std::size_t>(i)];
        switch (rowOf(r, i).Kind) {
        // The length row sits in the same column as the text and number rows,
        // so its label must widen that column too.
        case RowText:
        case RowNumber:
        case RowLength:
            c.g12 = std::max(c.g12, w);
            break;
        case RowCheck:
            c.g3 = std::max(c.g3, w);
            break;
        case RowRadio:
            c.g4 = std::max(c.g4, w);
            break;
        case RowSlider:
            c.g57 = std::max(c.g57, w);
            break;
        default:
            break;
        }
    }
    return c;
}

int controlWidthOf(const DialogRow& row) {
    return row.Kind == RowText && row.Max == 0 ? WideTextWidth : ControlWidth;
}

// How far right the row's control starts, measured from the margin.
int columnOffset(const DialogRow& row, const LabelColumns& c) {
    switch (row.Kind) {
    case RowText:
    case RowNumber:
    case RowLength:
        return 10 + c.g12;
    case RowCheck:
        return 10 + c.g3;
    case RowRadio:
        return 10 + c.g4;
    case RowSlider:
        return 10 + c.g57;
    default:
        return 0;
    }
}

int rowWidth(const DialogRow& row, int labelWidth, const LabelColumns& c) {
    int cw = controlWidthOf(row);
    switch (row.Kind) {
    case RowHeading:
        return 20 + labelWidth;
    case RowText:
        return 20 + c.g12 + cw;
    case RowNumber:
    case RowLength:
        return 20 + c.g12 + cw + SpinWidth;
    case RowCheck:
        return 20 + c.g3 + 50;
    case RowRadio:
        return 20 + c.g4 + 50;
    case RowSlider:
        return 30 + c.g57 + TrackbarWidth + cw + SpinWidth;
    default:
        return 20 + labelWidth; // an unknown kind shows its label only
    }
}

IntRange rangeOf(const DialogRow& row) {
    return {cutToInt(row.Min), cutToInt(row.Max), cutToInt(textToNumber(row.Value))};
}

RowLayout placeRow(const DialogRow& row, int r, const LabelColumns& c) {
    RowLayout l;
    int y = Margin + RowPitch * (r - 1);
    int x = Margin + columnOffset(row, c);
    int cw = controlWidthOf(row);
    int shift = row.Kind == RowSlider ? TrackbarWidth : 0;
    auto label = static_cast<int>(std::min<std::size_t>(shiftJisLength(row.Label), INT_MAX / 8));

    l.label = {Margin, y + 2, 8 * label, ControlHeight, true};
    l.edit = {x + shift, y, cw, ControlHeight, false};
    l.spin = {x + shift + cw, y - 2, SpinWidth, SpinHeight, false};
    l.check = {x, y, cw, ControlHeight, row.Kind == RowCheck};
    l.radio = {x, y, cw, ControlHeight, row.Kind == RowRadio};
    l.trackbar = {x, y, TrackbarWidth, TrackbarHeight, row.Kind == RowSlider && r <= DialogTrackbarRows};

    bool numeric = row.Kind == RowNumber || row.Kind == RowSlider || row.Kind == RowLength;
    l.edit.shown = numeric || row.Kind == RowText;
    l.spin.shown = numeric;
    if (l.spin.shown) l.spinRange = rangeOf(row);
    if (l.trackbar.shown) l.trackbarRange = rangeOf(row);
    return l;
}

} // namespace

DialogLayout computeDialogLayout(const DialogRequest& request,
                                 const std::function<int(const std::string&)>& measureWidth) {
    int n = rowCount(request);
    std::vector<int> labelWidths(DialogMaxRows + 1, 0);
    for (int i = 1; i <= n; ++i)
        labelWidths[static_cast<std::size_t>(i)] = measureWidth(rowOf(request, i).Label);
    LabelColumns columns = measureColumns(request, labelWidths);

    DialogLayout layout;
    int widest = measureWidth(request.DialogCaption) + 10;
    for (int i = 1; i <= n; ++i) {
        const DialogRow& row = rowOf(request, i);
        widest = std::max(widest, rowWidth(row, labelWidths[static_cast<std::size_t>(i)], columns));
        layout.rows[static_cast<std::size_t>(i)] = placeRow(row, i, columns);
    }
    layout.width = std::max(widest + 20, MinDialogWidth);
    layout.height = Margin + RowPitch * n + ButtonArea + 40;

    int buttonWidth = (layout.width - 10) / 2 - 5;
    int buttonTop = layout.height - 80;
    layout.ok = {9, buttonTop, buttonWidth, ButtonArea, true};
    layout.cancel = {layout.width / 2, buttonTop, buttonWidth, ButtonArea, true};
    return layout;
}

} // namespace wavora
