#include "layers/Clipboard.h"

#include "audio/Render.h"
#include "core/Platform.h"
#include "layers/LayerPool.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int DeleteSelectionCommand = 1208;
constexpr int PasteCode = 19;
constexpr int LabelStrip = 200;

void showBitsDiffer(EditorState& s) {
    s.platform.messageBox({"ビット数が違うので貼り付けできません。", "(ﾟДﾟ)!"});
}

// The selected bytes of the background, as far as they are data.
bool fillClipboard(EditorState& s) {
    SoundDoc& d = s.active();
    const std::int32_t first = std::clamp(d.SelStart, 0, d.DataLen);
    const std::int32_t length = std::clamp(d.SelLength, 0, d.DataLen - first);
    LayerClipboardState& c = s.clip;
    for (auto* b : {&c.samples, &c.volume, &c.pitch}) b->assign(static_cast<std::size_t>(DATALENMAX), 0);
    const auto at = static_cast<std::ptrdiff_t>(first);
    std::copy_n(d.Samples.begin() + at, length, c.samples.begin());
    std::copy_n(d.VolumeGraph.begin() + at, length, c.volume.begin());
    std::copy_n(d.PitchGraph.begin() + at, length, c.pitch.begin());
    c.length = length;
    c.full = 1;
    // Bytes were copied, so the next paste pastes them, not an earlier layer.
    c.LayerCopyPending = 0;
    return true;
}

bool backgroundSelected(EditorState& s) {
    const SoundDoc& d = s.active();
    return d.ActiveLayer == 0 && d.HasSelection != 0;
}

void afterLengthChange(EditorState& s) {
    SoundDoc& d = s.active();
    d.view.ExtentX = d.DataLen;
    UpdateHorizontalBar(s, s.activeSlot());
    repaintSlot(s, s.activeSlot());
}

// Lengthens the sound with silence up to `at`; a no-op when it reaches there.
void lengthenTo(SoundDoc& d, std::int32_t at) {
    if (at <= d.DataLen) return;
    const auto from = static_cast<std::ptrdiff_t>(d.DataLen), to = static_cast<std::ptrdiff_t>(at);
    std::fill(d.Samples.begin() + from, d.Samples.begin() + to, d.silenceValue());
    std::fill(d.VolumeGraph.begin() + from, d.VolumeGraph.begin() + to, std::uint8_t{128});
    std::fill(d.PitchGraph.begin() + from, d.PitchGraph.begin() + to, std::uint8_t{128});
    d.DataLen = at;
}

void copyClipboardTo(EditorState& s, SoundDoc& d, std::int32_t at) {
    const auto to = static_cast<std::ptrdiff_t>(at);
    const std::int32_t k = s.clip.length;
    std::copy_n(s.clip.samples.begin(), k, d.Samples.begin() + to);
    std::copy_n(s.clip.volume.begin(), k, d.VolumeGraph.begin() + to);
    std::copy_n(s.clip.pitch.begin(), k, d.PitchGraph.begin() + to);
}

void duplicateLayer(EditorState& s) {
    const int id = freeLayerId(s);
    if (id == 0) return showLayerLimit(s, true);
    const int from = std::clamp(s.clip.ClipSourceSlot, 0, SlotCount - 1);
    const SoundDoc& src = s.docs[static_cast<std::size_t>(from)];
    const int source = src.ActiveLayer;
    const int to = s.clip.menuSlot;
    if (to < 0 || to >= SlotCount || s.docs[static_cast<std::size_t>(to)].WindowHandle == 0) return;
    if (src.WindowHandle == 0 || layerPosition(src, source) == 0) return showNoLayerMessage(s);
    SoundDoc& dst = s.docs[static_cast<std::size_t>(to)];
    if (dst.BitsParSample != src.BitsParSample) return showBitsDiffer(s);

    s.ActWndNum = to;
    LayerPool& p = s.layers;
    const auto i = static_cast<std::size_t>(id), k = static_cast<std::size_t>(source);
    allocateLayer(s, id, p.LyLen[k], dst.silenceValue());
    const auto n = static_cast<std::ptrdiff_t>(p.LyLen[k]);
    std::copy_n(p.LySamples[k].begin(), n, p.LySamples[i].begin());
    std::copy_n(p.LyVolume[k].begin(), n, p.LyVolume[i].begin());
    std::copy_n(p.LyPitch[k].begin(), n, p.LyPitch[i].begin());
    p.LyAdditive[i] = p.LyAdditive[k];
    p.LyPixelX[i] = s.clip.menuX - LabelStrip;
    p.LyStart[i] = byteAtContentX(dst.view, p.LyPixelX[i]);
    appendLayer(dst, id);
    updateLayerExtents(s, to);
    s.clip.LayerCopyPending = 0;
    repaintSlot(s, to);
}

void pasteBytes(EditorState& s) {
    if (s.clip.menuSlot >= 0 && s.clip.menuSlot < SlotCount &&
        s.docs[static_cast<std::size_t>(s.clip.menuSlot)].WindowHandle != 0)
        s.ActWndNum = s.clip.menuSlot;
    SoundDoc& d = s.active();
    if (!d.HasMarker && !d.HasSelection) {
        s.platform.messageBox({"マーカーか選択範囲を作ってください。", "貼り付ける場所が指定されていません<(_ _)>"});
        return;
    }
    const SoundDoc& src = s.docs[static_cast<std::size_t>(std::clamp(s.clip.ClipSourceSlot, 0, SlotCount - 1))];
    if (src.BitsParSample != d.BitsParSample) return showBitsDiffer(s);
    if (!s.clip.full) return; // nothing was ever cut or copied
    if (d.HasMarker) pasteAtMarker(s);
    if (d.HasSelection) pasteOverSelection(s);
}

} // namespace

void cutCommand(EditorState& s) {
    if (backgroundSelected(s)) {
        fillClipboard(s);
        s.clip.ClipSourceSlot = s.activeSlot();
        if (s.runCommand) s.runCommand(s, DeleteSelectionCommand);
    }
    s.clip.ClipSourceSlot = s.activeSlot();
}

void copyCommand(EditorState& s) {
    if (backgroundSelected(s)) fillClipboard(s);
    else s.clip.LayerCopyPending = 1;
    s.clip.ClipSourceSlot = s.activeSlot();
}

void pasteCommand(EditorState& s) {
    if (s.WindowCount == 0) return showFaceMessage(s, "");
    if (s.clip.LayerCopyPending) duplicateLayer(s);
    else pasteBytes(s);
}

void pasteAtMarker(EditorState& s) {
    SoundDoc& d = s.active();
    const std::int32_t before = d.DataLen;
    const std::int32_t m = std::clamp(d.SelStart, 0, DATALENMAX - 1);
    lengthenTo(d, m);
    if (ResizeAt(s, s.activeSlot(), m, s.clip.length) < 0) {
        d.DataLen = before; // the sound keeps its length when the paste does not fit
        return;
    }
    copyClipboardTo(s, d, m);
    d.HasMarker = 0;
    snapshot(s, PasteCode);
    afterLengthChange(s);
}

void pasteOverSelection(EditorState& s) {
    SoundDoc& d = s.active();
    const std::int32_t before = d.DataLen;
    const std::int32_t first = std::clamp(d.SelStart, 0, DATALENMAX - 1);
    lengthenTo(d, first);
    const std::int32_t n = std::clamp(d.SelLength, 0, d.DataLen - first);
    const std::int32_t k = s.clip.length;
    if (ResizeAt(s, s.activeSlot(), first + n, k - n) < 0) {
        d.DataLen = before;
        return;
    }
    copyClipboardTo(s, d, first);
    d.SelLength = k;
    d.SelRect.right = d.SelRect.left + viewTrunc(d.view.XScale * static_cast<float>(k));
    snapshot(s, PasteCode);
    afterLengthChange(s);
}

bool replaceSelectionWithData(EditorState& s, const std::uint8_t* data, std::int32_t length) {
    SoundDoc& d = s.active();
    const std::int32_t first = std::clamp(d.SelStart, 0, d.DataLen);
    const std::int32_t n = std::clamp(d.SelLength, 0, d.DataLen - first);
    const std::int64_t newLength = std::int64_t{d.DataLen} - n + length;
    if (newLength >= DATALENMAX) {
        s.platform.messageBox({"オーバーした長さ=" + intText(newLength - DATALENMAX), "データの長さがオーバー"});
        return false;
    }
    // The curves move with the data; the new bytes lie under neutral curves.
    if (ResizeAt(s, s.activeSlot(), first + n, length - n) < 0) return false;
    std::copy_n(data, length, d.Samples.begin() + first);
    d.SelLength = length;
    d.SelRect.right = d.SelRect.left + viewTrunc(d.view.XScale * static_cast<float>(length));
    afterLengthChange(s);
    return true;
}

} // namespace wavora
