#include "edit/Length.h"

#include "core/Platform.h"
#include "doc/Slots.h"
#include "edit/EditSupport.h"
#include "text/NumberText.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"

#include <algorithm>
#include <cmath>

namespace wavora {

void lengthCommand(EditorState& s) {
    // Without a window there is no sound whose length could be set.
    if (!haveSoundWindow(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    const float maxSec = static_cast<float>(DATALENMAX) /
                         (static_cast<float>(d.SRATE) * static_cast<float>(d.BitsParSample) / 8.0f);
    beginDialog(s.dialog, lengthLimitCaption(maxSec), 1);
    addDialogRow(s.dialog, RowNumber, "長さ（秒）", "1", maxSec, 0);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (result == DialogResultCancel) return;

    const double seconds = textToNumber(s.dialog.DialogRows[1].Value);
    const double bytes = std::trunc(seconds * d.SRATE * d.BitsParSample / 8.0);
    std::int32_t len = static_cast<std::int32_t>(std::clamp(bytes, 0.0, static_cast<double>(DATALENMAX)));
    if (d.BitsParSample == 16) len &= ~1; // whole samples only
    // A lengthened sound shows silence, not what earlier edits left behind
    // its end.
    if (len > d.DataLen) fillSilence(d, d.DataLen, len);
    d.DataLen = len;
    updateScrollRange(s, slot);
    onSize(s, slot, d.view.ClientWidth, d.view.ClientHeight);
    snapshot(s, 18);
    repaintSlot(s, slot);
}

int WaveStretchForHakei(EditorState& s, std::vector<std::uint8_t>& buffer, std::int32_t start, std::int32_t end,
                        float ratio, std::int32_t& blockLength) {
    const auto fail = [&s] {
        s.platform.messageBox({"失敗", "WaveStretchForHakei"});
        return -1;
    };
    const std::int64_t size = std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), DATALENMAX);
    if (start < 0 || end < start || end >= size || !(ratio > 0.0f) || !std::isfinite(ratio)) return fail();
    const std::int64_t srcLen = std::int64_t{end} - start + 1;
    const float wanted = std::floor(static_cast<float>(srcLen) / ratio);
    if (!(wanted <= static_cast<float>(DATALENMAX))) return fail();
    const auto dstLen = static_cast<std::int64_t>(wanted);
    if (std::int64_t{blockLength} + dstLen - srcLen > DATALENMAX || start + dstLen > size) return fail();

    float t = 0.0f;
    for (std::int64_t o = 0; o < dstLen; ++o) {
        const auto i0 = static_cast<std::int64_t>(t);
        const std::int64_t i1 = i0 + 1;
        if (start + i1 > DATALENMAX) {
            s.platform.messageBox({"StartX+AtoX>DATALENMAX　StartX=" + intText(start) + " AtoX=" + intText(i1),
                                   "WaveStretch2 Sa"});
            return -1;
        }
        // The sample after the last one of the buffer is the last one itself.
        const int b0 = buffer[static_cast<std::size_t>(std::min(start + i0, size - 1))];
        const int b1 = buffer[static_cast<std::size_t>(std::min(start + i1, size - 1))];
        const float f = t - static_cast<float>(i0);
        s.RenderBuffer[static_cast<std::size_t>(o)] =
            static_cast<std::uint8_t>(b0 + static_cast<int>(static_cast<float>(b1 - b0) * f));
        t += ratio;
    }
    std::copy_n(s.RenderBuffer.begin(), dstLen, buffer.begin() + start);
    blockLength = static_cast<std::int32_t>(blockLength + dstLen - srcLen);
    return 0;
}

} // namespace wavora
