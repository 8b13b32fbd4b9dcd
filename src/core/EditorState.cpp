#include "core/EditorState.h"

#include "core/WindowSurfaces.h"
#include "text/Paths.h"

namespace wavora {

namespace {
std::vector<std::uint8_t> block(std::uint8_t fill = 0) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(DATALENMAX), fill);
}
} // namespace

EditorState::EditorState(Platform& p, std::filesystem::path rootFolder)
    : platform(p), root(std::move(rootFolder)), ScratchBuffer(block()), CycleBuffer(block()),
      RenderBuffer(block()), GraphWork(block()), WorkBuffer1(block()), WorkBuffer2(block()),
      WorkBuffer3(block()) {
    // Each slot's buffers are made once and reused by every sound that later
    // lives in the slot, so creating sounds again and again never grows the heap.
    for (SoundDoc& d : docs) {
        d.Samples = block(128);
        d.VolumeGraph = block(128);
        d.PitchGraph = block(128);
    }
    static const char* const colourNames[LayerTableSize] = {"", "ピンク", "黄", "緑", "赤", "紫", ""};
    for (int i = 0; i < LayerTableSize; ++i) layers.LyColourName[static_cast<std::size_t>(i)] = colourNames[i];
    layers.LayerPoolNext = 1;
    pattern.PatternBuf = block();
}

EditorState::~EditorState() = default;

int EditorState::activeSlot() const {
    return ActWndNum >= 0 && ActWndNum < SlotTableSize ? ActWndNum : 0;
}

SoundDoc& EditorState::active() { return docs[static_cast<std::size_t>(activeSlot())]; }

int EditorState::slotOfWindow(WindowId window) const {
    if (window == 0) return -1;
    for (int i = 0; i < SlotTableSize; ++i)
        if (docs[static_cast<std::size_t>(i)].WindowHandle == window) return i;
    return -1;
}

std::filesystem::path EditorState::path(const std::string& relativeUtf8) const {
    return root / pathFromUtf8(relativeUtf8);
}

} // namespace wavora
