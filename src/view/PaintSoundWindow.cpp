// The picture of one sound window, composed off screen in a fixed order: the
// graphs, the layers, marker, selection and play line into the content; the
// label strip and the content side by side into the composed picture; then the
// band lines and the time scale ANDed over everything. The window adapter only
// copies the finished ComposeSurface to the screen.
#include "view/SoundView.h"

#include "core/Platform.h"
#include "core/WindowSurfaces.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cstdlib>

namespace wavora {

namespace {

constexpr Pixel LabelBackground = rgb(254, 255, 255);

Pixel layerColour(int id) {
    switch (id) {
    case 1:
        return rgb(255, 187, 255); // ピンク
    case 2:
        return rgb(255, 255, 187); // 黄
    case 3:
        return rgb(187, 255, 187); // 緑
    case 4:
        return rgb(255, 204, 204); // 赤
    case 5:
        return rgb(221, 221, 255); // 紫
    default:
        return White;
    }
}

// A logical row of the bands as it appears on the scaled, centred picture.
int screenRow(const ViewState& v, int row) {
    return viewTrunc(static_cast<float>(row) * v.YScale) + v.YOffset;
}

struct PaintContext {
    EditorState& s;
    SoundDoc& d;
    ViewState& v;
    WindowSurfaces& ws;
    int slot;
};

// Is the window larger than the scaled content, and by how much taller.
void measureWindow(ViewState& v) {
    v.FramedView = false;
    v.YOffset = 0;
    const float w = static_cast<float>(v.ClientWidth), h = static_cast<float>(v.ClientHeight);
    if (w >= v.XScale * 1000.0f + 200.0f) v.FramedView = true;
    const float scaledHeight = v.YScale * static_cast<float>(v.CreatedHeight);
    if (h >= scaledHeight) {
        v.YOffset = viewTrunc((h - scaledHeight) * 0.5f);
        v.FramedView = true;
    }
}

// Grey around the content and a black outline just outside it.
void paintFrame(PaintContext& c) {
    if (!c.v.FramedView || !c.ws.ComposeSurface) return;
    Surface& compose = *c.ws.ComposeSurface;
    compose.fillRect(0, 0, c.v.ClientWidth, c.v.ClientHeight, FrameGrey);
    const int right = viewTrunc(c.v.XScale * 1000.0f) + 1;
    const int bottom = viewTrunc(c.v.YScale * static_cast<float>(c.v.CreatedHeight)) + c.v.YOffset + 1;
    compose.frameRect(-1, c.v.YOffset - 1, right, bottom, Black);
}

// While the sound plays only the play line moves, so the graphs drawn
// last time stand.
void renderSoundGraphs(PaintContext& c) {
    if (c.s.play.PlayingFlag) return;
    if (c.d.hasBuffers() && c.d.VolumeGraph.size() == c.d.Samples.size() &&
        c.d.PitchGraph.size() == c.d.Samples.size())
        RenderGraphs(c.s, c.slot, c.d.Samples.data(), c.d.VolumeGraph.data(), c.d.PitchGraph.data(),
                     c.v.FirstByte);
    else
        RenderGraphs(c.s, c.slot, nullptr, nullptr, nullptr, c.v.FirstByte);
}

// The graphs are the ground everything else is laid on.
void startContent(PaintContext& c) {
    if (!c.ws.ContentSurface || !c.ws.WaveSurface) return;
    copyPixels(*c.ws.ContentSurface, 0, 0, *c.ws.WaveSurface, 0, 0, ContentWidth, ContentHeight);
}

bool validLayerId(int id) {
    return id >= 1 && id <= MaxLayerId;
}

// The layer's picture covers only the part of the layer that lies over the
// content. A layer can be far longer than the window (a long selection viewed
// zoomed out and then zoomed in), and a picture of its full width could need
// gigabytes for pixels nobody sees.
struct LayerView {
    int left = 0;          // content x of the picture's first column
    int width = 0;         // columns shown
    std::int64_t skip = 0; // layer bytes hidden left of the content
};

LayerView visiblePart(const LayerPool& pool, const ViewState& v, int id) {
    LayerView lv;
    const auto i = static_cast<std::size_t>(id);
    const int x = pool.LyPixelX[i];
    lv.skip = std::max<std::int64_t>(0, std::int64_t{v.FirstByte} - pool.LyStart[i]);
    lv.left = lv.skip > 0 ? 0 : x;
    const std::int64_t right = std::min<std::int64_t>(ContentWidth, std::int64_t{x} + pool.LyPixelWidth[i]);
    lv.width = static_cast<int>(std::max<std::int64_t>(0, right - std::max(lv.left, 0)));
    lv.left = std::max(lv.left, 0);
    return lv;
}

// A picture of exactly the wanted size, made anew only when the size changed.
Surface* layerPicture(PaintContext& c, int id, int width, int height) {
    auto& picture = c.ws.LayerPictures[static_cast<std::size_t>(id)];
    if (!picture || picture->width() != width || picture->height() != height)
        picture = c.s.platform.createSurface(width, height);
    return picture.get();
}

void paintLayer(PaintContext& c, int id) {
    LayerPool& pool = c.s.layers;
    const auto i = static_cast<std::size_t>(id);
    const LayerView lv = visiblePart(pool, c.v, id);
    const int height = std::min(pool.LyPixelHeight[i], ContentHeight);
    if (lv.width <= 0 || height <= 0) return;
    Surface* picture = layerPicture(c, id, lv.width, height);
    if (!picture) return;

    picture->fill(layerColour(id));
    const std::size_t capacity =
        std::min({pool.LySamples[i].size(), pool.LyVolume[i].size(), pool.LyPitch[i].size()});
    GraphSource src{pool.LySamples[i].data(),
                    pool.LyVolume[i].data(),
                    pool.LyPitch[i].data(),
                    pool.LyLen[i],
                    static_cast<std::int32_t>(std::min<std::size_t>(capacity, DATALENMAX)),
                    c.d.BitsParSample};
    drawGraphDots(*picture, c.v.XScale, c.v.YScale, src, static_cast<std::int32_t>(lv.skip));

    if (pool.LyAdditive[i])
        andPixels(*c.ws.ContentSurface, lv.left, 0, *picture, 0, 0, lv.width, height);
    else
        copyPixels(*c.ws.ContentSurface, lv.left, 0, *picture, 0, 0, lv.width, height);
}

// Layers in list order, so the layer placed last lies on top.
void paintLayers(PaintContext& c) {
    if (!c.ws.ContentSurface) return;
    updateLayerExtents(c.s, c.slot);
    const int n = std::clamp(c.d.LayerCount, 0, static_cast<int>(c.d.LayerIds.size()) - 1);
    for (int p = 1; p <= n; ++p) {
        const int id = c.d.LayerIds[static_cast<std::size_t>(p)];
        if (validLayerId(id)) paintLayer(c, id);
    }
}

int contentX(const ViewState& v, std::int64_t byte) {
    return viewTrunc(v.XScale * static_cast<float>(byte - v.FirstByte));
}

// The cyan tint ANDed over the marker column or the selection.
void paintMarkerAndSelection(PaintContext& c) {
    if (!c.ws.ContentSurface || !c.s.SelectionTint) return;
    const int x = contentX(c.v, c.d.SelStart);
    const int top = c.d.SelRect.top, height = c.d.SelRect.bottom; // the lower edge holds the height
    if (c.d.HasMarker) andPixels(*c.ws.ContentSurface, x, top, *c.s.SelectionTint, 0, 0, 1, height);
    if (c.d.HasSelection) {
        const int width = viewTrunc(c.v.XScale * static_cast<float>(c.d.SelLength));
        andPixels(*c.ws.ContentSurface, x, top, *c.s.SelectionTint, 0, 0, width, height);
    }
}

// The play line, one black column, further right by the channel count.
void paintPlayLine(PaintContext& c) {
    if (!c.s.play.PlayingFlag || !c.ws.ContentSurface || !c.s.PlayLineSurface) return;
    const std::int64_t x = std::int64_t{contentX(c.v, c.s.play.PlayPos)} * c.d.Channels;
    if (x < 0 || x >= ContentWidth) return;
    copyPixels(*c.ws.ContentSurface, static_cast<int>(x), 0, *c.s.PlayLineSurface, 0, 0, 1, ContentHeight);
}

struct StripText {
    int x;
    int row;
    const char* text;
};

const StripText kStripTexts[] = {
    {10, 100, "波形グラフ"},
    {10, 356, "音量変化グラフ  　 変化0"},
    {10, 612, "高さ変化グラフ  　 変化0"},
    {180, 266, "大"},
    {180, 311, "↑"},
    {180, 407, "↓"},
    {180, 442, "小"},
    {180, 522, "高"},
    {180, 567, "↑"},
    {180, 663, "↓"},
    {180, 698, "低"},
};

// Labels and marks of the three bands, scrolled with the content.
void paintLabelStrip(PaintContext& c) {
    if (!c.ws.LabelStrip) return;
    Surface& strip = *c.ws.LabelStrip;
    strip.fill(LabelBackground);
    strip.line(LabelStripWidth - 1, 0, LabelStripWidth - 1, LabelStripHeight, Red);
    for (const StripText& t : kStripTexts)
        c.s.platform.drawText(strip, t.x, screenRow(c.v, t.row), t.text, Black);
    if (c.ws.ComposeSurface)
        copyPixels(*c.ws.ComposeSurface, 0, 0, strip, 0, c.v.ScrollY, LabelStripWidth, LabelStripHeight);
}

// The content to the right of the strip, below the centring offset.
void placeContent(PaintContext& c) {
    if (!c.ws.ComposeSurface || !c.ws.ContentSurface) return;
    stretchPixels(*c.ws.ComposeSurface, LabelStripWidth, c.v.YOffset, ContentWidth, ContentHeight,
                  *c.ws.ContentSurface, 0, c.v.ScrollY, ContentWidth, ContentHeight);
}

// Whole seconds along the waveform band and the exact length at the end.
// A text that would start past the right edge could never be seen.
void paintTimeScale(PaintContext& c, Surface& overlay) {
    const std::int64_t b =
        viewTrunc(static_cast<float>(c.d.SRATE) * static_cast<float>(c.d.BitsParSample) * 0.125f);
    if (b <= 0 || c.d.DataLen < c.v.FirstByte) return;
    const int row = viewTrunc(100.0f * c.v.YScale) + c.v.YOffset;
    auto textX = [&](std::int64_t byte) { return LabelStripWidth + contentX(c.v, byte); };

    const std::int64_t first = c.v.FirstByte;
    std::int64_t v = first <= 0 ? 0 : (first + b - 1) / b * b;
    for (; v < c.d.DataLen && textX(v) < overlay.width(); v += b)
        c.s.platform.drawText(overlay, textX(v), row, intText(v / b), Black);
    if (textX(c.d.DataLen) < overlay.width())
        c.s.platform.drawText(overlay, textX(c.d.DataLen), row,
                              numberText(static_cast<double>(c.d.DataLen) / static_cast<double>(b)), Black);
}

// Centre lines, time scale and band lines, ANDed so that white leaves the
// picture as it is.
void paintOverlay(PaintContext& c) {
    if (!c.ws.OverlaySurface) return;
    Surface& overlay = *c.ws.OverlaySurface;
    overlay.fill(White);
    for (int row : {128, 384, 640})
        overlay.line(LabelStripWidth, screenRow(c.v, row), 999, screenRow(c.v, row), Red);
    paintTimeScale(c, overlay);
    for (int row : {256, 512, 767})
        overlay.line(0, screenRow(c.v, row), 999, screenRow(c.v, row), Red);
    if (c.ws.ComposeSurface)
        andPixels(*c.ws.ComposeSurface, 0, 0, overlay, 0, c.v.ScrollY, ContentWidth, ContentHeight);
}

} // namespace

void updateLayerExtents(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const int n = std::clamp(d.LayerCount, 0, static_cast<int>(d.LayerIds.size()) - 1);
    for (int p = 1; p <= n; ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (!validLayerId(id)) continue;
        const auto i = static_cast<std::size_t>(id);
        s.layers.LyPixelWidth[i] = viewTrunc(d.view.XScale * static_cast<float>(s.layers.LyLen[i]));
        s.layers.LyPixelHeight[i] = viewTrunc(d.view.YScale * 768.0f);
        s.layers.LyPixelX[i] = contentX(d.view, s.layers.LyStart[i]);
    }
}

void PaintSoundWindow(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    if (s.frame.PaintingFlag) return;
    WindowSurfaces* ws = s.surfaces[static_cast<std::size_t>(slot)].get();
    if (!ws) return;
    s.frame.PaintingFlag = 1;

    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    PaintContext c{s, d, d.view, *ws, slot};
    measureWindow(d.view);
    paintFrame(c);
    renderSoundGraphs(c);
    startContent(c);
    paintLayers(c);
    paintMarkerAndSelection(c);
    paintPlayLine(c);
    paintLabelStrip(c);
    placeContent(c);
    paintOverlay(c);

    s.frame.PaintingFlag = 0;
}

} // namespace wavora
