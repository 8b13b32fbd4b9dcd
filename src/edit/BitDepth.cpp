#include "edit/BitDepth.h"

#include "core/Platform.h"
#include "edit/EditSupport.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <cstring>

namespace wavora {

const char* const BitConversionTooLongText =
    "16bitにするとデータが500000バイトを超えるので変換できません。\r\n250000バイト以下に短くしてから変換してください。";

namespace {

// Each byte b becomes the word (b - 128) x 256: low byte 0, high byte the
// signed value.
void toSixteen(EditorState& s, SoundDoc& d) {
    const auto len = static_cast<std::size_t>(d.DataLen);
    for (std::size_t i = 0; i < len; ++i) {
        s.WorkBuffer1[2 * i] = 0;
        s.WorkBuffer1[2 * i + 1] = static_cast<std::uint8_t>(d.Samples[i] ^ 0x80);
    }
    std::memcpy(d.Samples.data(), s.WorkBuffer1.data(), 2 * len);
    d.DataLen *= 2;
}

// Each word keeps its top 8 bits, moved to the unsigned range.
void toEight(EditorState& s, SoundDoc& d) {
    const auto len = static_cast<std::size_t>(d.DataLen);
    const std::size_t half = len / 2;
    for (std::size_t i = 0; 2 * i < len; ++i) s.WorkBuffer1[i] = static_cast<std::uint8_t>(d.Samples[2 * i + 1] ^ 0x80);
    std::memcpy(d.Samples.data(), s.WorkBuffer1.data(), half);
    d.DataLen = static_cast<std::int32_t>(half);
    // What lay behind the new end was 16-bit data; as 8-bit bytes it would be
    // noise the day the sound is lengthened.
    std::fill(d.Samples.begin() + static_cast<std::ptrdiff_t>(half),
              d.Samples.begin() + static_cast<std::ptrdiff_t>(len), std::uint8_t{128});
}

} // namespace

void bitConversionCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    SoundDoc& d = s.active();
    beginDialog(s.dialog, "ビットを変える", 2);
    addDialogRow(s.dialog, RowRadio, "8bit(あらいけど長い)", d.BitsParSample == 8 ? "1" : "0", 0, 0);
    addDialogRow(s.dialog, RowRadio, "16bit(きれいだけど短い)", d.BitsParSample == 16 ? "1" : "0", 0, 0);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (result == DialogResultCancel) return;
    int bits = d.BitsParSample;
    if (s.dialog.DialogRows[1].Value == "1")
        bits = 8;
    else if (s.dialog.DialogRows[2].Value == "1")
        bits = 16;
    if (bits == d.BitsParSample || (bits != 8 && bits != 16)) return;
    if (bits == 16 && d.DataLen > LongestSixteenBitSource) {
        refuse(s, "<(_ _)>", BitConversionTooLongText);
        return;
    }
    d.DataLen = std::clamp(d.DataLen, 0, DATALENMAX);
    if (bits == 16)
        toSixteen(s, d);
    else
        toEight(s, d);
    d.BitsParSample = static_cast<std::uint8_t>(bits);
    snapshot(s, 39);
    updateScrollRange(s, s.activeSlot());
    repaintSlot(s, s.activeSlot());
}

} // namespace wavora
