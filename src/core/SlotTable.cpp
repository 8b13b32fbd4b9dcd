#include "core/SlotTable.h"

#include "core/Platform.h"
#include "text/NumberText.h"

namespace wavora {

int firstFreeSlot(const EditorState& s) {
    for (int i = 0; i < SlotCount; ++i)
        if (s.docs[static_cast<std::size_t>(i)].WindowHandle == 0) return i;
    return -1;
}

int reserveSlot(EditorState& s) {
    int slot = firstFreeSlot(s);
    if (slot < 0) {
        s.platform.messageBox({"ウィンドウは" + intText(SlotCount) + "個までです。", "これ以上ウィンドウ作れません。<(_ _)>"});
        return -1;
    }
    s.ActWndNum = slot;
    return slot;
}

void allocateNewSound(EditorState& s) {
    SoundDoc& d = s.active();
    d.Samples.assign(static_cast<std::size_t>(DATALENMAX), d.silenceValue());
    d.VolumeGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
    d.PitchGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
}

bool HasSoundData(EditorState& s, const std::uint8_t* bytes, std::int32_t count) {
    // A sound of fewer than two bytes has nothing to hear either; this also
    // keeps the comparison with byte 1 inside the data.
    if (bytes != nullptr && count >= 2) {
        for (std::int32_t i = 0; i < count; ++i)
            if (bytes[i] != bytes[1]) return true;
    }
    s.platform.messageBox({"音声データがありません。波形メニューやツールバーの超、エ、ラ、合などで音声データを作るか、録音してから実行してください。", ""});
    return false;
}

} // namespace wavora
