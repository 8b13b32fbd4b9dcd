#include "edit/EditSupport.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {
constexpr std::size_t ChoiceLabelChars = 30;
} // namespace

bool haveSoundWindow(EditorState& s) {
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    return false;
}

bool haveSelection(EditorState& s) {
    if (s.active().HasSelection) return true;
    refuse(s, "（‘ v‘）／", "現在アクティブなウィンドウに選択範囲がありません。");
    return false;
}

void fillSilence(SoundDoc& d, std::int64_t from, std::int64_t to) {
    const std::int64_t size = static_cast<std::int64_t>(d.Samples.size());
    from = std::clamp<std::int64_t>(from, 0, size);
    to = std::clamp<std::int64_t>(to, from, size);
    std::fill(d.Samples.begin() + from, d.Samples.begin() + to, d.silenceValue());
    std::fill(d.VolumeGraph.begin() + from, d.VolumeGraph.begin() + to, std::uint8_t{128});
    std::fill(d.PitchGraph.begin() + from, d.PitchGraph.begin() + to, std::uint8_t{128});
}

void updateScrollRange(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    s.docs[static_cast<std::size_t>(slot)].view.ExtentX = s.docs[static_cast<std::size_t>(slot)].DataLen;
    UpdateHorizontalBar(s, slot);
}

void redrawSlot(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle == 0) return;
    RenderGraphs(s, slot, d.Samples.data(), d.VolumeGraph.data(), d.PitchGraph.data(), d.view.FirstByte);
    repaintSlot(s, slot);
}

std::vector<int> windowSlots(const EditorState& s) {
    std::vector<int> slots;
    for (int i = 0; i < SlotTableSize; ++i)
        if (s.docs[static_cast<std::size_t>(i)].WindowHandle != 0) slots.push_back(i);
    return slots;
}

std::string choiceLabel(EditorState& s, int slot) {
    const std::string title = s.platform.windowTitle(s.docs[static_cast<std::size_t>(slot)].WindowHandle);
    const std::string head = firstChars(title, ChoiceLabelChars);
    return head.size() < title.size() ? firstChars(title, ChoiceLabelChars - 1) + "…" : title;
}

void refuse(EditorState& s, const std::string& caption, const std::string& text) {
    s.platform.messageBox({text, caption});
}

} // namespace wavora
