#include "layers/Layers.h"

#include "audio/Render.h"
#include "layers/Clipboard.h"
#include "layers/LayerPool.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int LabelStrip = 200; // client x of the content's left edge

SoundDoc& docOf(EditorState& s, int slot) { return s.docs[static_cast<std::size_t>(slot)]; }

bool validSlot(const EditorState& s, int slot) {
    return slot >= 0 && slot < SlotCount && s.docs[static_cast<std::size_t>(slot)].WindowHandle != 0;
}

bool needsWindow(EditorState& s) {
    if (s.WindowCount != 0 && s.active().WindowHandle != 0) return true;
    showFaceMessage(s, "");
    return false;
}

bool layerHolds(const EditorState& s, int id, std::int32_t x, std::int32_t y) {
    const auto i = static_cast<std::size_t>(id);
    const LayerPool& p = s.layers;
    return x >= p.LyPixelX[i] && std::int64_t{x} < std::int64_t{p.LyPixelX[i]} + p.LyPixelWidth[i] && y >= 0 &&
           y < p.LyPixelHeight[i];
}

void endDrag(EditorState& s) {
    s.tool.DragLayer = 0;
    s.tool.FreshLayer = 0;
    s.frame.LayerDragging = 0;
}

// The layer goes back to where its drag began.
void putBack(EditorState& s, int id) {
    const auto i = static_cast<std::size_t>(id);
    s.layers.LyPixelX[i] = s.tool.DragFromPixelX;
    s.layers.LyStart[i] = s.tool.DragFromStart;
}

// Moves the layer from one slot's list to another's; refusals come first so
// that nothing changes after one.
bool moveIntoWindow(EditorState& s, int from, int to, int id, Point at) {
    SoundDoc& src = docOf(s, from);
    SoundDoc& dst = docOf(s, to);
    const auto i = static_cast<std::size_t>(id);
    if (s.layers.LyLen[i] > dst.DataLen) {
        s.platform.messageBox({"レイヤーが長すぎて、このウィンドウにはおさまりません。", "<(_ _)>"});
        return false;
    }
    if (src.BitsParSample != dst.BitsParSample) {
        s.platform.messageBox({"ビットが違うのでレイヤーを移動できません。", "<(*_ _)>"});
        return false;
    }
    s.ActWndNum = to;
    s.platform.activateWindow(dst.WindowHandle);
    s.layers.LyFromSlot[i] = from;
    s.layers.LyFromWindow[i] = src.WindowHandle;
    s.layers.LyFromStart[i] = s.tool.DragFromStart;
    s.layers.LyPixelX[i] = at.x - LabelStrip - s.tool.LayerOffsetX;
    s.layers.LyStart[i] = byteAtContentX(dst.view, s.layers.LyPixelX[i]);
    removeLayer(src, id);
    src.ActiveLayer = static_cast<std::uint8_t>(src.TopLayer);
    appendLayer(dst, id);
    return true;
}

} // namespace

int layerUnderPoint(const EditorState& s, int slot, std::int32_t contentX, std::int32_t contentY) {
    if (slot < 0 || slot >= SlotTableSize) return 0;
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    for (int p = listedLayers(d); p >= 1; --p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (validLayerId(id) && layerHolds(s, id, contentX, contentY)) return id;
    }
    return 0;
}

bool makeLayerFromSelection(EditorState& s, int slot, std::int32_t pressX) {
    if (!validSlot(s, slot)) return false;
    const int id = freeLayerId(s);
    if (id == 0) {
        showLayerLimit(s, false);
        return false;
    }
    if (s.BusyFlag) return false;
    s.BusyFlag = 1;
    SoundDoc& d = docOf(s, slot);
    const std::int32_t first = std::clamp(d.SelStart, 0, d.DataLen);
    const std::int32_t length = std::min(d.SelLength, d.DataLen - first);
    // The selection's frame is drawn on its edge; what lies inside it is the layer.
    const int inside = viewTrunc(d.view.XScale * static_cast<float>(d.SelLength)) - 2;
    if (inside <= 0 || length <= 0) {
        s.platform.messageBox({"切り抜く範囲は、線がかかっていない部分です。", "大きさが０です。<(_ _)>"});
        s.BusyFlag = 0;
        return false;
    }
    allocateLayer(s, id, length, d.silenceValue());
    const auto i = static_cast<std::size_t>(id);
    const auto at = static_cast<std::ptrdiff_t>(first);
    std::copy_n(d.Samples.begin() + at, length, s.layers.LySamples[i].begin());
    std::copy_n(d.VolumeGraph.begin() + at, length, s.layers.LyVolume[i].begin());
    std::copy_n(d.PitchGraph.begin() + at, length, s.layers.LyPitch[i].begin());
    s.layers.LyStart[i] = first;
    appendLayer(d, id);
    updateLayerExtents(s, slot);
    beginLayerDrag(s, slot, id, pressX);
    s.tool.FreshLayer = 1;
    repaintSlot(s, slot);
    s.BusyFlag = 0;
    return true;
}

void beginLayerDrag(EditorState& s, int slot, int id, std::int32_t pressX) {
    if (!validLayerId(id)) return;
    SoundDoc& d = docOf(s, slot);
    const auto i = static_cast<std::size_t>(id);
    d.ActiveLayer = static_cast<std::uint8_t>(id);
    s.tool.DragLayer = id;
    s.tool.FreshLayer = 0;
    s.tool.DragFromPixelX = s.layers.LyPixelX[i];
    s.tool.DragFromStart = s.layers.LyStart[i];
    s.tool.LayerOffsetX = pressX - s.layers.LyPixelX[i];
    s.frame.LayerDragging = 1;
}

void dragLayerTo(EditorState& s, int slot, std::int32_t contentX) {
    const int id = s.tool.DragLayer;
    if (!validLayerId(id) || !validSlot(s, slot)) return;
    const auto i = static_cast<std::size_t>(id);
    const std::int64_t left = std::int64_t{contentX} - s.tool.LayerOffsetX;
    s.layers.LyPixelX[i] = static_cast<std::int32_t>(std::clamp<std::int64_t>(left, INT32_MIN / 2, INT32_MAX / 2));
    s.layers.LyStart[i] = byteAtContentX(docOf(s, slot).view, s.layers.LyPixelX[i]);
    repaintSlot(s, slot);
}

void dropLayer(EditorState& s, int slot, int clientX, int clientY) {
    const int id = s.tool.DragLayer;
    if (!validLayerId(id) || !validSlot(s, slot)) {
        endDrag(s);
        return;
    }
    const bool fresh = s.tool.FreshLayer != 0;
    Point at;
    const WindowId target = s.platform.soundWindowAt(docOf(s, slot).WindowHandle, clientX, clientY, at);
    const int to = s.slotOfWindow(target);
    if (to < 0 || (to != slot && !moveIntoWindow(s, slot, to, id, at))) {
        putBack(s, id);
        repaintSlot(s, slot);
        endDrag(s);
        return;
    }
    repaintSlot(s, slot);
    repaintSlot(s, to);
    endDrag(s);
    s.ActWndNum = to;
    snapshot(s, fresh ? 4 : 3);
}

void deleteLayerCommand(EditorState& s) {
    if (!needsWindow(s)) return;
    SoundDoc& d = s.active();
    if (listedLayers(d) == 0) {
        showNoLayerMessage(s);
        return;
    }
    // With the background chosen there is no layer the user meant; deleting
    // some other one would throw away work unasked.
    const int id = d.ActiveLayer;
    if (layerPosition(d, id) == 0) {
        showFaceMessage(s, "削除するレイヤーを、右クリックのメニューで選んでから実行してください。");
        return;
    }
    releaseLayer(s, id);
    removeLayer(d, id);
    d.ActiveLayer = 0;
    repaintSlot(s, s.activeSlot());
    snapshot(s, 9);
}

void mergeLayersCommand(EditorState& s) {
    if (!needsWindow(s)) return;
    SoundDoc& d = s.active();
    if (listedLayers(d) == 0) {
        showNoLayerMessage(s);
        return;
    }
    MessageBoxSpec ask{"「背景と全レイヤーを結合」を実行すると、きちんと元に戻せません。\r\n"
                       "結合しないで、そのまま「保存」すれば、結合された画像を作ることができます。\r\n"
                       "「背景と全レイヤーを結合」を実行しますか？",
                       "結合は元に戻せないです。", MsgButtons::YesNo};
    if (s.platform.messageBox(ask) == MsgAnswer::No) return;
    d.HasSelection = 0;
    // The place of every layer as the mix finds it, checked before anything changes.
    std::int64_t end = d.DataLen;
    for (int p = 1; p <= listedLayers(d); ++p) {
        const LayerSpan span = layerByteSpan(s, d.LayerIds[static_cast<std::size_t>(p)]);
        if (span.last >= DATALENMAX) {
            s.platform.messageBox({"制限範囲は" + intText(DATALENMAX) + "です。左に移動させるなどしてください。",
                                   "レイヤーが制限範囲を超えています。"});
            repaintSlot(s, s.activeSlot());
            return;
        }
        end = std::max(end, span.last + 1);
    }
    // What lies between the old end and a layer beyond it is silence.
    const auto from = static_cast<std::ptrdiff_t>(d.DataLen);
    const auto to = static_cast<std::ptrdiff_t>(end);
    std::fill(d.Samples.begin() + from, d.Samples.begin() + to, d.silenceValue());
    std::fill(d.VolumeGraph.begin() + from, d.VolumeGraph.begin() + to, std::uint8_t{128});
    std::fill(d.PitchGraph.begin() + from, d.PitchGraph.begin() + to, std::uint8_t{128});
    d.DataLen = static_cast<std::int32_t>(end);
    for (int p = 1; p <= listedLayers(d); ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        const LayerSpan span = layerByteSpan(s, id);
        const auto& ly = s.layers.LySamples[static_cast<std::size_t>(id)];
        for (std::int64_t q = std::max<std::int64_t>(span.first, 0); q <= span.last; ++q) {
            const auto c = static_cast<std::size_t>(q - span.first);
            if (c < ly.size()) d.Samples[static_cast<std::size_t>(q)] = ly[c];
        }
    }
    while (listedLayers(d) > 0) {
        const int id = d.LayerIds[static_cast<std::size_t>(listedLayers(d))];
        removeLayer(d, id);
        releaseLayer(s, id);
    }
    d.LayerCount = 0;
    d.TopLayer = 0;
    d.ActiveLayer = 0;
    d.view.ExtentX = d.DataLen;
    UpdateHorizontalBar(s, s.activeSlot());
    repaintSlot(s, s.activeSlot());
    // No undo step: the question told the user a merge cannot be taken back.
}

void selectLayer(EditorState& s, int id) {
    SoundDoc& d = s.active();
    d.ActiveLayer = static_cast<std::uint8_t>(layerPosition(d, id) != 0 ? id : 0);
    // A chosen layer can be moved with the mouse right away.
    if (d.ActiveLayer != 0) s.CurrentTool = 22;
    repaintSlot(s, s.activeSlot());
}

void selectionToLayerCommand(EditorState& s) {
    if (!needsWindow(s)) return;
    s.CurrentTool = 23;
    repaintSlot(s, s.activeSlot());
}

void toggleTransparency(EditorState& s) {
    SoundDoc& d = s.active();
    const int id = d.ActiveLayer;
    if (layerPosition(d, id) == 0) return;
    auto& additive = s.layers.LyAdditive[static_cast<std::size_t>(id)];
    additive = additive ? 0 : 1;
    rewriteRecoveryRecord(s, s.activeSlot());
    repaintSlot(s, s.activeSlot());
}

std::vector<PopupItem> layerContextMenu(const EditorState& s, int slot, std::int32_t contentX, std::int32_t contentY) {
    std::vector<PopupItem> items;
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    auto layerItem = [&](int id, bool checked) {
        const auto i = static_cast<std::size_t>(id);
        items.push_back({s.layers.LyName[i] + " (" + s.layers.LyColourName[i] + ")", MenuLayerBase + id, checked});
    };
    const int active = d.ActiveLayer;
    if (layerPosition(d, active) != 0) layerItem(active, true);
    for (int p = listedLayers(d); p >= 1; --p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (id != active && validLayerId(id) && layerHolds(s, id, contentX, contentY)) layerItem(id, false);
    }
    items.push_back({"背景を選択", MenuBackground});
    items.push_back({"", 0});
    items.push_back({"選択範囲をレイヤーにする", MenuSelectionToLayer});
    items.push_back({"切り取り", MenuCut});
    items.push_back({"コピー", MenuCopy});
    items.push_back({"貼り付け", MenuPaste});
    if (layerPosition(d, active) != 0)
        items.push_back({s.layers.LyAdditive[static_cast<std::size_t>(active)] ? "透過をやめる" : "透過にする",
                         MenuTransparency});
    return items;
}

void openLayerContextMenu(EditorState& s, int slot, int clientX, int clientY) {
    if (!validSlot(s, slot)) return;
    s.ActWndNum = slot;
    updateLayerExtents(s, slot);
    const ViewState& v = docOf(s, slot).view;
    const std::int32_t x = clientX - LabelStrip;
    const std::int32_t y = clientY + v.ScrollY - (v.FramedView ? v.YOffset : 0);
    s.clip.menuX = clientX;
    s.clip.menuY = clientY;
    s.clip.menuSlot = slot;
    s.frame.PopupMenuFlag = 1;
    const int chosen = s.platform.popupMenu(docOf(s, slot).WindowHandle, clientX, clientY, layerContextMenu(s, slot, x, y));
    if (chosen != 0) contextMenuCommand(s, chosen);
    s.frame.PopupMenuFlag = 0;
    s.clip.menuSlot = -1;
}

void contextMenuCommand(EditorState& s, int id) {
    s.frame.PopupMenuFlag = 0;
    if (id > MenuLayerBase && id <= MenuLayerBase + MaxLayerId) return selectLayer(s, id - MenuLayerBase);
    switch (id) {
    case MenuBackground: selectLayer(s, 0); break;
    case MenuSelectionToLayer: selectionToLayerCommand(s); break;
    case MenuCut: cutCommand(s); break;
    case MenuCopy: copyCommand(s); break;
    case MenuPaste: pasteCommand(s); break;
    case MenuTransparency: toggleTransparency(s); break;
    default: break;
    }
}

} // namespace wavora
