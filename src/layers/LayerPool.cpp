#include "layers/LayerPool.h"

#include "core/Platform.h"
#include "core/WindowSurfaces.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wavora {

int freeLayerId(const EditorState& s) {
    for (int id = 1; id <= MaxLayerId; ++id)
        if (!s.layers.LyInUse[static_cast<std::size_t>(id)]) return id;
    return 0;
}

int layersInUse(const EditorState& s) {
    int n = 0;
    for (int id = 1; id <= MaxLayerId; ++id) n += s.layers.LyInUse[static_cast<std::size_t>(id)] ? 1 : 0;
    return n;
}

void syncLayerPoolNext(EditorState& s) { s.layers.LayerPoolNext = 1 + layersInUse(s); }

void allocateLayer(EditorState& s, int id, std::int32_t length, std::uint8_t silence) {
    LayerPool& p = s.layers;
    const auto i = static_cast<std::size_t>(id);
    const auto size = static_cast<std::size_t>(std::max(length, 0)) + 1000;
    p.LySamples[i].assign(size, silence);
    p.LyVolume[i].assign(size, 128);
    p.LyPitch[i].assign(size, 128);
    p.LyLen[i] = std::max(length, 0);
    p.LyName[i] = "レイヤー" + intText(id);
    p.LyAdditive[i] = 0;
    p.LyFromSlot[i] = -1;
    p.LyInUse[i] = 1;
    syncLayerPoolNext(s);
}

void releaseLayer(EditorState& s, int id) {
    if (!validLayerId(id)) return;
    LayerPool& p = s.layers;
    const auto i = static_cast<std::size_t>(id);
    p.LyInUse[i] = 0;
    // The buffers go back to the heap; the undo store makes new ones when a
    // step brings the layer back.
    std::vector<std::uint8_t>().swap(p.LySamples[i]);
    std::vector<std::uint8_t>().swap(p.LyVolume[i]);
    std::vector<std::uint8_t>().swap(p.LyPitch[i]);
    p.LyLen[i] = 0;
    p.LyFromSlot[i] = -1;
    // Its pictures go as well, in whichever window drew it last.
    for (auto& ws : s.surfaces)
        if (ws) ws->LayerPictures[i].reset();
    syncLayerPoolNext(s);
}

int listedLayers(const SoundDoc& d) {
    return std::clamp(d.LayerCount, 0, static_cast<int>(d.LayerIds.size()) - 1);
}

int layerPosition(const SoundDoc& d, int id) {
    if (!validLayerId(id)) return 0;
    for (int p = 1; p <= listedLayers(d); ++p)
        if (d.LayerIds[static_cast<std::size_t>(p)] == id) return p;
    return 0;
}

void appendLayer(SoundDoc& d, int id) {
    const int n = listedLayers(d);
    if (n + 1 >= static_cast<int>(d.LayerIds.size())) return;
    d.LayerCount = n + 1;
    d.LayerIds[static_cast<std::size_t>(n + 1)] = id;
    d.TopLayer = id;
    d.ActiveLayer = static_cast<std::uint8_t>(id);
}

void removeLayer(SoundDoc& d, int id) {
    const int p = layerPosition(d, id);
    if (p == 0) return;
    const int n = listedLayers(d);
    for (int q = p; q < n; ++q) d.LayerIds[static_cast<std::size_t>(q)] = d.LayerIds[static_cast<std::size_t>(q + 1)];
    d.LayerIds[static_cast<std::size_t>(n)] = 0;
    d.LayerCount = n - 1;
    d.TopLayer = d.LayerCount > 0 ? d.LayerIds[static_cast<std::size_t>(d.LayerCount)] : 0;
    if (d.ActiveLayer == id) d.ActiveLayer = static_cast<std::uint8_t>(d.TopLayer);
}

int ownerSlotOf(const EditorState& s, int id) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        if (d.WindowHandle != 0 && layerPosition(d, id) != 0) return slot;
    }
    return -1;
}

std::int32_t byteAtContentX(const ViewState& v, std::int64_t x) {
    const double byte = std::floor(static_cast<double>(x) / static_cast<double>(v.XScale)) + v.FirstByte;
    return static_cast<std::int32_t>(std::clamp(byte, 0.0, static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

void showLayerLimit(EditorState& s, bool whenPasting) {
    const std::string advice = whenPasting ? "結合してください。" : "結合を実行してください。";
    s.platform.messageBox({"レイヤーは" + intText(MaxLayerId) +
                               "個までです。\r\nどうしても作りたいときは、要らないレイヤーを削除するか、結合してもOKな画像の背景と全レイヤーを" +
                               advice,
                           "これ以上レイヤーを作れません。<(_ _)>"});
}

} // namespace wavora
