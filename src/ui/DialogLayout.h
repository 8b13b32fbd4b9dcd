#pragma once
// The general dialog's geometry, worked out from the row table alone. The
// window adapter measures text with the dialog's device context and places
// the controls exactly where this says.
#include "core/DialogRequest.h"
#include "text/NumberText.h"

#include <array>
#include <functional>
#include <string>

namespace wavora {

struct ControlRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool shown = false;
};

struct IntRange {
    int min = 0, max = 0, pos = 0;
};

// The controls of one row position. Rows past the row count stay hidden.
struct RowLayout {
    ControlRect label, edit, spin, check, radio, trackbar;
    IntRange spinRange;     // meaningful when spin.shown
    IntRange trackbarRange; // meaningful when trackbar.shown
};

struct DialogLayout {
    int width = 0, height = 0;
    std::array<RowLayout, DialogMaxRows + 1> rows{}; // 1..13; entry 0 unused
    ControlRect ok, cancel;
};

// Rows 1..6 own a trackbar; later slider rows have only the edit box and spin.
constexpr int DialogTrackbarRows = 6;

// `measureWidth` gives the pixel width of a text in the dialog's font; it is
// used for the caption and the labels.
DialogLayout computeDialogLayout(const DialogRequest& request,
                                 const std::function<int(const std::string&)>& measureWidth);

} // namespace wavora
