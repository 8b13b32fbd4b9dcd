// Drawing with the mouse: the free-hand curve, the line (also the one that
// changes the pitch evenly in Hz) and the eraser. Strokes are drawn as black
// pixels on the band's picture first; the drawn columns are then read back as
// data, so what the user sees drawn is what the sound gets.
#include "input/MouseTools.h"

#include "core/WindowSurfaces.h"
#include "layers/LayerPool.h"
#include "view/SoundView.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

constexpr int BandRows = 256;

SoundDoc& docOf(EditorState& s, int slot) { return s.docs[static_cast<std::size_t>(slot)]; }

int bandIndex(Band b) { return b == Band::Wave ? 0 : b == Band::Volume ? 1 : 2; }

// The active layer, when drawing goes into it instead of the background.
int drawingLayer(EditorState& s, int slot) {
    const SoundDoc& d = docOf(s, slot);
    const int id = d.ActiveLayer;
    return layerPosition(d, id) != 0 && s.layers.LyInUse[static_cast<std::size_t>(id)] ? id : 0;
}

// Where a band's bytes live: the background's buffers or the active layer's,
// `origin` being the data byte of index 0 and `limit` the bytes there are.
struct Target {
    std::uint8_t* data = nullptr;
    std::int64_t origin = 0;
    std::int64_t limit = 0;
    Surface* surface = nullptr;
};

Target targetOf(EditorState& s, int slot, Band band) {
    SoundDoc& d = docOf(s, slot);
    Target t;
    if (const int id = drawingLayer(s, slot)) {
        const auto i = static_cast<std::size_t>(id);
        auto& b = band == Band::Wave ? s.layers.LySamples[i] : band == Band::Volume ? s.layers.LyVolume[i] : s.layers.LyPitch[i];
        t.data = b.data();
        t.origin = s.layers.LyStart[i];
        t.limit = std::min<std::int64_t>(s.layers.LyLen[i], static_cast<std::int64_t>(b.size()));
        t.surface = s.tool.LayerDrawSurface.get();
        return t;
    }
    auto& b = band == Band::Wave ? d.Samples : band == Band::Volume ? d.VolumeGraph : d.PitchGraph;
    t.data = b.data();
    t.limit = std::min<std::int64_t>(d.DataLen, static_cast<std::int64_t>(b.size()));
    WindowSurfaces* ws = s.surfaces[static_cast<std::size_t>(slot)].get();
    t.surface = ws ? ws->WaveSurface.get() : nullptr;
    return t;
}

std::int64_t byteOfColumn(const ViewState& v, std::int64_t c) {
    return v.FirstByte + viewTrunc(static_cast<float>(c) / v.XScale);
}

int bandTopRow(const ViewState& v, Band b) { return viewTrunc(static_cast<float>(BandRows * bandIndex(b)) * v.YScale); }
int bandHeight(const ViewState& v) { return std::max(1, viewTrunc(static_cast<float>(BandRows) * v.YScale)); }

// Drawing on the background stays inside the selection when there is one.
void clipColumns(EditorState& s, int slot, std::int32_t& c0, std::int32_t& c1) {
    const SoundDoc& d = docOf(s, slot);
    c0 = std::max(c0, 0);
    c1 = std::min(c1, 999);
    if (d.HasSelection && drawingLayer(s, slot) == 0) {
        c0 = std::max(c0, d.SelRect.left);
        c1 = std::min(c1, d.SelRect.right - 1);
    }
}

void whitenBand(EditorState& s, int slot, std::int32_t c0, std::int32_t c1) {
    const ViewState& v = docOf(s, slot).view;
    Target t = targetOf(s, slot, s.tool.band);
    clipColumns(s, slot, c0, c1);
    if (t.surface && c0 <= c1) t.surface->fillRect(c0, bandTopRow(v, s.tool.band), c1 - c0 + 1, bandHeight(v), White);
}

// A layer is drawn on a picture of its own, laid where it shows in the content.
void prepareLayerSurface(EditorState& s, int slot) {
    s.tool.LayerDrawSurface.reset();
    const int id = drawingLayer(s, slot);
    if (!id) return;
    const SoundDoc& d = docOf(s, slot);
    const auto i = static_cast<std::size_t>(id);
    auto surface = std::make_unique<Surface>(1000, 768);
    surface->fill(White);
    Surface dots(1000, 768);
    dots.fill(White);
    const std::int32_t skip = std::max(0, d.view.FirstByte - s.layers.LyStart[i]);
    const std::size_t capacity =
        std::min({s.layers.LySamples[i].size(), s.layers.LyVolume[i].size(), s.layers.LyPitch[i].size()});
    GraphSource src{s.layers.LySamples[i].data(), s.layers.LyVolume[i].data(), s.layers.LyPitch[i].data(),
                    s.layers.LyLen[i], static_cast<std::int32_t>(capacity), d.BitsParSample};
    drawGraphDots(dots, d.view.XScale, d.view.YScale, src, skip);
    const int left = skip > 0 ? 0 : s.layers.LyPixelX[i];
    copyPixels(*surface, left, 0, dots, 0, 0, 1000, 768);
    s.tool.LayerDrawSurface = std::move(surface);
}

void beginDrawing(EditorState& s, int slot) {
    s.tool.band = bandOfRow(s.tool.MouseRow);
    s.tool.LastX = s.mouse.PressX;
    s.tool.LastY = s.mouse.PressY;
    s.tool.Drew = 1;
    prepareLayerSurface(s, slot);
}

// The line's bytes as they were at its press, for every move to start from.
void restoreUnderLine(EditorState& s, int slot) {
    Target t = targetOf(s, slot, s.tool.band);
    const auto& backup = s.tool.LineBackup;
    const std::int64_t n = std::min<std::int64_t>(t.limit, static_cast<std::int64_t>(backup.size()));
    if (t.data && n > 0) std::copy_n(backup.begin(), n, t.data);
}

// Re-spaces a converted pitch line so that its levels follow one another in
// steps that are even in Hz rather than in graph units.
void respaceInHz(EditorState& s, int slot, std::int64_t x0, std::int64_t x1) {
    Target t = targetOf(s, slot, Band::Pitch);
    const std::int64_t lo = x0 - t.origin, hi = x1 - t.origin;
    if (!t.data || lo < 0 || hi > t.limit || hi - lo < 1) return;
    const int a = t.data[lo], b = t.data[hi - 1];
    if (a == b) return;
    const int m = static_cast<int>(static_cast<float>(a + b) * 0.5f) + 1;
    const int dir = b > a ? 1 : -1;
    auto weight = [m](int k) { return std::pow(3.0f, static_cast<float>(m - k) / static_cast<float>(m)); };
    float sum = 0.0f;
    for (int k = a; k != b; k += dir) sum += weight(k);
    float end = static_cast<float>(lo);
    std::int64_t from = lo;
    for (int k = a; k != b; k += dir) {
        end += static_cast<float>(hi - lo) * weight(k) / sum;
        const std::int64_t to = std::min<std::int64_t>(static_cast<std::int64_t>(end), hi);
        for (; from < to; ++from) t.data[from] = static_cast<std::uint8_t>(k);
    }
}

} // namespace

Band bandOfRow(std::int32_t row) {
    if (row < BandRows) return Band::Wave;
    return row < 2 * BandRows ? Band::Volume : Band::Pitch;
}

void convertColumns(EditorState& s, int slot, std::int32_t c0, std::int32_t c1) {
    if (s.tool.ConvertRunning) return;
    s.tool.ConvertRunning = 1;
    SoundDoc& d = docOf(s, slot);
    const ViewState& v = d.view;
    const Band band = s.tool.band;
    Target t = targetOf(s, slot, band);
    if (c0 > c1) std::swap(c0, c1);
    clipColumns(s, slot, c0, c1);
    const int top = bandTopRow(v, band);
    const bool wordWave = band == Band::Wave && d.BitsParSample == 16;
    const std::int64_t spread = std::max(0, viewTrunc(1.0f / v.XScale - 1.0f));
    for (std::int32_t c = c0; t.data && t.surface && c <= c1; ++c) {
        // The topmost black pixel of the column, read at logical size.
        int row = -1;
        for (int r = 0; r < BandRows && row < 0; ++r)
            if (t.surface->get(c, top + viewTrunc(static_cast<float>(r) * v.YScale)) == Black) row = r;
        if (row < 0) continue;
        const auto value = static_cast<std::uint8_t>(wordWave ? (row + 128) & 0xFF : row);
        const std::int64_t first = byteOfColumn(v, c) - t.origin;
        for (std::int64_t k = 0; k <= spread; ++k)
            if (first + k >= 0 && first + k < t.limit) t.data[first + k] = value;
    }
    s.tool.ConvertRunning = 0;
}

void startStroke(EditorState& s, int slot) {
    beginDrawing(s, slot);
    Target t = targetOf(s, slot, s.tool.band);
    const std::int32_t x = s.mouse.PressX;
    whitenBand(s, slot, x, x);
    std::int32_t c0 = x, c1 = x;
    clipColumns(s, slot, c0, c1);
    if (t.surface && c0 <= c1) t.surface->set(x, s.mouse.PressY, Black);
    convertColumns(s, slot, x - 1, x + 1);
    repaintSlot(s, slot);
}

void continueStroke(EditorState& s, int slot) {
    Target t = targetOf(s, slot, s.tool.band);
    const std::int32_t x = s.mouse.PressX, y = s.mouse.PressY;
    whitenBand(s, slot, std::min(s.tool.LastX, x), std::max(s.tool.LastX, x));
    if (t.surface) t.surface->line(s.tool.LastX, s.tool.LastY, x, y, Black, 2);
    convertColumns(s, slot, s.tool.LastX, x);
    s.tool.LastX = x;
    s.tool.LastY = y;
    repaintSlot(s, slot);
}

void startLine(EditorState& s, int slot) {
    beginDrawing(s, slot);
    Target t = targetOf(s, slot, s.tool.band);
    s.tool.LineBackup.assign(t.data, t.data + std::max<std::int64_t>(t.limit, 0));
}

void drawLineTo(EditorState& s, int slot) {
    restoreUnderLine(s, slot);
    Target t = targetOf(s, slot, s.tool.band);
    const std::int32_t x = s.mouse.PressX, y = s.mouse.PressY;
    whitenBand(s, slot, std::min(s.tool.LastX, x), std::max(s.tool.LastX, x));
    if (t.surface) t.surface->line(s.tool.LastX, s.tool.LastY, x, y, Black, 2);
    convertColumns(s, slot, s.tool.LastX, x);
    if (s.HzLineMode && s.tool.band == Band::Pitch) {
        const ViewState& v = docOf(s, slot).view;
        const std::int64_t a = byteOfColumn(v, std::min(s.tool.LastX, x)), b = byteOfColumn(v, std::max(s.tool.LastX, x));
        respaceInHz(s, slot, a, b);
    }
    repaintSlot(s, slot);
}

void eraseAt(EditorState& s, int slot, bool first) {
    SoundDoc& d = docOf(s, slot);
    if (first) prepareLayerSurface(s, slot);
    const Band band = bandOfRow(s.tool.MouseRow);
    Target t = targetOf(s, slot, band);
    const std::int64_t c = s.tool.MouseByte - t.origin;
    const std::int64_t p = first ? c : s.tool.LastByte - t.origin;
    const std::int64_t reach = viewTrunc(1.0f / d.view.XScale);
    const std::int64_t from = c >= p ? p - 1 : c + 1 - reach;
    const std::int64_t to = c >= p ? c + 2 : p + reach;
    // The waveform is erased to silence, which for 16-bit samples is 0.
    const std::uint8_t blank = band == Band::Wave ? d.silenceValue() : std::uint8_t{128};
    for (std::int64_t i = std::max<std::int64_t>(from, 0); t.data && i <= to && i < t.limit; ++i) t.data[i] = blank;
    s.tool.LastByte = s.tool.MouseByte;
    s.tool.Drew = 1;
    repaintSlot(s, slot);
}

} // namespace wavora
