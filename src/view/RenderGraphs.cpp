// The three graphs of a sound as dots: the waveform in rows 0..255, the volume
// graph in 256..511 and the pitch graph in 512..767, a larger value lower in
// its band. One dot per step; at small scales most bytes are skipped, so the
// picture costs the same however long the sound is.
#include "view/SoundView.h"

#include "core/WindowSurfaces.h"

#include <algorithm>

namespace wavora {

namespace {

// 0..255 for both depths: a 16-bit word is shifted up from signed and keeps
// its high byte.
int waveValue(const std::uint8_t* samples, std::int64_t at, int bits) {
    if (bits != 16) return samples[at];
    auto word = static_cast<std::int16_t>(samples[at] | (samples[at + 1] << 8));
    return (word + 32768) / 256;
}

int bandRow(float yScale, int value) {
    return viewTrunc(yScale * static_cast<float>(value)) + 1;
}

} // namespace

void drawGraphDots(Surface& dst, float xScale, float yScale, const GraphSource& src, std::int32_t first) {
    if (!src.samples || !src.volume || !src.pitch) return;
    // Only bytes that are data and lie inside the buffers are ever read.
    const std::int64_t end = std::min(src.length, src.capacity);
    if (end - 1 < first) return;
    std::int64_t count = viewTrunc(999.0f / xScale);
    if (first + count > end - 1) count = end - 1 - first;

    std::int64_t step = std::max(1, viewTrunc(static_cast<float>(viewTrunc(1.0f / xScale)) * 0.25f));
    std::int64_t start = first;
    int width = 1;
    if (src.bits == 16) {
        // Every step has to begin on a whole sample.
        step *= 2;
        if (start % 2 != 0) ++start;
        width = 2;
    }
    const int limit = std::min(dst.width(), ContentWidth);
    for (std::int64_t i = 0; i <= count; i += step) {
        std::int64_t at = start + i;
        if (at < 0) continue;
        if (at + width > end) break;
        int x = viewTrunc(xScale * static_cast<float>(i));
        if (x >= limit) break;
        dst.set(x, bandRow(yScale, waveValue(src.samples, at, src.bits)), Black);
        dst.set(x, bandRow(yScale, src.volume[at] + 255), Black);
        dst.set(x, bandRow(yScale, src.pitch[at] + 511), Black);
    }
}

void RenderGraphs(EditorState& s, int slot, const std::uint8_t* samples, const std::uint8_t* volume,
                  const std::uint8_t* pitch, std::int32_t firstByte) {
    if (slot < 0 || slot >= SlotTableSize) return;
    WindowSurfaces* ws = s.surfaces[static_cast<std::size_t>(slot)].get();
    if (!ws || !ws->WaveSurface) return;
    // Repaints that arrive while the graphs are drawn are dropped; a caller that
    // is itself painting keeps its flag afterwards.
    const std::uint8_t wasPainting = s.frame.PaintingFlag;
    s.frame.PaintingFlag = 1;

    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    ws->WaveSurface->fill(White);
    GraphSource src{samples, volume, pitch, d.DataLen, DATALENMAX, d.BitsParSample};
    drawGraphDots(*ws->WaveSurface, d.view.XScale, d.view.YScale, src, firstByte);

    s.frame.PaintingFlag = wasPainting;
}

} // namespace wavora
