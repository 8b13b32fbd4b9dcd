#include "edit/RangeEdits.h"

#include "audio/Render.h"
#include "core/Platform.h"
#include "doc/Slots.h"
#include "edit/EditSupport.h"
#include "text/NumberText.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <cstring>

namespace wavora {

namespace {

// A selection reaching past the data is cut back to it; one starting past
// the data (or before byte 0) is brought inside first.
void clipSelection(SoundDoc& d) {
    d.SelStart = std::clamp(d.SelStart, 0, std::max(d.DataLen, 0));
    if (std::int64_t{d.SelStart} + d.SelLength >= d.DataLen || d.SelLength < 0) d.SelLength = d.DataLen - d.SelStart;
}

// Asks for one number; false on Cancel.
bool askNumber(EditorState& s, const std::string& caption, const std::string& label, const std::string& value,
               float max, float min, double& result) {
    beginDialog(s.dialog, caption, 1);
    addDialogRow(s.dialog, RowNumber, label, value, max, min);
    const int answer = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (answer == DialogResultCancel) return false;
    result = textToNumber(s.dialog.DialogRows[1].Value);
    return true;
}

} // namespace

void deleteSelectionCommand(EditorState& s) {
    if (s.BusyFlag) return;
    if (!haveSelection(s)) return;
    BusyGuard busy(s);
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    clipSelection(d);
    ResizeAt(s, slot, d.SelStart + d.SelLength, -d.SelLength);
    updateScrollRange(s, slot);
    d.HasSelection = 0;
    d.SelRect.right = 0;
    d.SelStart = 0;
    d.SelLength = d.DataLen;
    fillSilence(d, d.DataLen, DATALENMAX);
    snapshot(s, 6);
    repaintSlot(s, slot);
}

void silenceSelectionCommand(EditorState& s) {
    if (s.BusyFlag) return;
    if (!haveSelection(s)) return;
    BusyGuard busy(s);
    SoundDoc& d = s.active();
    fillSilence(d, d.SelStart, std::int64_t{d.SelStart} + d.SelLength);
    snapshot(s, 7);
    repaintSlot(s, s.activeSlot());
}

void trimCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    if (!haveSoundWindow(s) || !haveSelection(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    clipSelection(d);
    const std::int32_t start = d.SelStart, length = d.SelLength;
    if (ResizeAt(s, slot, start, -start) < 0) return;
    d.DataLen = length;
    // Everything behind the kept part goes, also the stale bytes at the very
    // end of the buffers that the shift left behind.
    fillSilence(d, length, DATALENMAX);
    resetSelection(d);
    updateScrollRange(s, slot);
    snapshot(s, 33);
    repaintSlot(s, slot);
}

void repeatSelectionCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    if (!haveSoundWindow(s) || !haveSelection(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    // A selection past the end would be copied to where the data does not
    // reach; an empty one has nothing to repeat (and would divide by zero).
    clipSelection(d);
    const std::int32_t start = d.SelStart, length = d.SelLength;
    const std::int32_t end = start + length;
    const std::int32_t maxRep = length > 0 ? (DATALENMAX - d.DataLen) / length : 0;
    if (maxRep <= 0) {
        refuse(s, "<(_ _)>繰り返せません",
               "繰り返すスペースがありません。\r\n（繰り返しメニューは選択範囲より後ろのデータを残すので、それを消して"
               "おくという手もあります。）");
        return;
    }
    double value = 0;
    if (!askNumber(s, "選択範囲の繰り返し", "繰り返し回数", "1", static_cast<float>(maxRep), 0, value)) return;
    const int k = std::clamp(cutToInt(value), 0, maxRep);
    if (k == 0) return;
    if (ResizeAt(s, slot, end, k * length) < 0) return;
    for (auto* b : {&d.Samples, &d.VolumeGraph, &d.PitchGraph})
        for (int j = 0; j < k; ++j)
            std::memcpy(b->data() + end + j * length, b->data() + start, static_cast<std::size_t>(length));
    updateScrollRange(s, slot);
    repaintSlot(s, slot);
    snapshot(s, 35);
}

void insertSilenceCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    if (!haveSoundWindow(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    if (!d.HasMarker) {
        refuse(s, "(o・ェ・)マーカーがありません。",
               "編集メニューの「選択範囲,マーカーを作る（消す）」でマーカーを作ってください。");
        return;
    }
    const float maxSec = static_cast<float>(DATALENMAX - d.DataLen) / static_cast<float>(InsertSilenceSecond);
    double value = 0;
    if (!askNumber(s, "無音領域の長さ(最長" + floatText(maxSec) + "秒まで)", "無音領域の長さ(1=1秒)", "0", maxSec, 0,
                   value))
        return;
    const float secs = static_cast<float>(value);
    std::int32_t bytes = cutToInt(secs * static_cast<float>(InsertSilenceSecond));
    std::int32_t at = d.SelStart;
    // A 16-bit sound takes whole samples only: an odd count, or a marker
    // inside a sample, would shift every later sample by one byte.
    if (d.BitsParSample == 16) {
        bytes &= ~1;
        at &= ~1;
    }
    if (bytes < 0 || ResizeAt(s, slot, at, bytes) < 0) return;
    fillSilence(d, at, std::int64_t{at} + bytes);
    snapshot(s, 31);
    updateScrollRange(s, slot);
    repaintSlot(s, slot);
}

void reverseCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    SoundDoc& d = s.active();
    const auto len = static_cast<std::size_t>(std::clamp(d.DataLen, 0, DATALENMAX));
    if (d.BitsParSample == 16) {
        // Whole samples change places; each keeps its two bytes in order. An
        // odd last byte belongs to no sample and stays where it is.
        const std::size_t samples = len / 2;
        for (std::size_t i = 0; i < samples / 2; ++i) {
            std::swap(d.Samples[2 * i], d.Samples[2 * (samples - 1 - i)]);
            std::swap(d.Samples[2 * i + 1], d.Samples[2 * (samples - 1 - i) + 1]);
        }
    } else {
        std::reverse(d.Samples.begin(), d.Samples.begin() + static_cast<std::ptrdiff_t>(len));
    }
    snapshot(s, 38);
    repaintSlot(s, s.activeSlot());
}

} // namespace wavora
