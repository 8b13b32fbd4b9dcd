// The sound as it was before an effect ("GenOn"), kept apart from the undo
// steps so that an effect can be tried again with other settings.
#include "core/Platform.h"
#include "undo/UndoFiles.h"
#include "undo/UndoRestore.h"
#include "undo/UndoStore.h"

#include <algorithm>

namespace wavora {

namespace {
constexpr std::size_t GenOnSlotOffset = 1;
constexpr std::size_t GenOnLengthOffset = 5;
} // namespace

void saveEffectSource(EditorState& s) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    const auto count = std::min(static_cast<std::size_t>(std::max(d.DataLen, 0)), d.Samples.size());
    // Byte 0 is left as the buffer has it. Only the header is assembled in the
    // buffer: header and sound together would not fit into its 500000 bytes.
    putInt32(s.ScratchBuffer.data() + GenOnSlotOffset, slot);
    putInt32(s.ScratchBuffer.data() + GenOnLengthOffset, static_cast<std::int32_t>(count));
    const bool written = writeFilePieces(
        s.path(genOnFileName(slot)), {{s.ScratchBuffer.data(), GenOnHeaderSize}, {d.Samples.data(), count}});
    // An older source must not come back when this one could not be kept.
    d.HasGenOn = written ? 1 : 0;
}

bool restoreEffectSource(EditorState& s) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    if (!d.HasGenOn) return true;
    const std::filesystem::path file = s.path(genOnFileName(slot));
    std::vector<std::uint8_t> samples;
    bool ok = readFileBytes(file, 0, {s.ScratchBuffer.data(), GenOnHeaderSize});
    const std::int32_t length = ok ? getInt32(s.ScratchBuffer.data() + GenOnLengthOffset) : -1;
    ok = ok && getInt32(s.ScratchBuffer.data() + GenOnSlotOffset) == slot && length >= 0 &&
         length <= DATALENMAX;
    if (ok) {
        samples.assign(static_cast<std::size_t>(length), 0);
        ok = readFileBytes(file, GenOnHeaderSize, samples);
    }
    if (!ok) {
        s.platform.messageBox({EffectSourceUnreadableText, UndoUnreadableCaption});
        return false;
    }
    s.ActWndNum = slot;
    d.DataLen = length;
    if (d.Samples.size() < static_cast<std::size_t>(DATALENMAX))
        d.Samples.resize(DATALENMAX, d.silenceValue());
    std::copy(samples.begin(), samples.end(), d.Samples.begin());
    if (d.WindowHandle != 0) s.platform.invalidate(d.WindowHandle);
    return true;
}

} // namespace wavora
