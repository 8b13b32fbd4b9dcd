#include "audio/Render.h"

#include "audio/Curves.h"
#include "core/Platform.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wavora {

namespace {

constexpr std::int64_t Capacity = DATALENMAX;

std::int16_t wordAt(const std::vector<std::uint8_t>& b, std::int64_t at) {
    return static_cast<std::int16_t>(b[static_cast<std::size_t>(at)] |
                                     (b[static_cast<std::size_t>(at) + 1] << 8));
}

void putWord(std::vector<std::uint8_t>& b, std::int64_t at, int v) {
    b[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v & 0xFF);
    b[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

// a + trunc((b - a) * f), the product held in single precision.
int lerp(int a, int b, float f) { return a + static_cast<int>(static_cast<float>(b - a) * f); }

void showReadLimit(EditorState& s, std::int32_t start, std::int64_t i1) {
    s.platform.messageBox({"StartX+AtoX>DATALENMAX　StartX=" + intText(start) + " AtoX=" + intText(i1),
                           "WaveStretch2 Sa"});
}

// The resampled range into RenderBuffer (samples) and GraphWork (volume).
// The source may be read one sample past `end`, into the data that follows
// (further when the position, added up in single precision, runs ahead).
// Past the end of the data lies silence under a neutral volume graph, as in a
// new sound, whatever an earlier sound left in the buffer there.
bool stretchInto(EditorState& s, const SoundDoc& d, std::int32_t start, std::int32_t dstLen, float ratio) {
    const bool wide = d.BitsParSample == 16;
    std::int64_t last = std::clamp<std::int64_t>(d.DataLen, 0, Capacity) - (wide ? 2 : 1);
    if (wide && last > 0) last -= last & 1;
    auto sample = [&](std::int64_t i) { return i <= last ? (wide ? wordAt(d.Samples, i) : d.Samples[static_cast<std::size_t>(i)]) : (wide ? 0 : 128); };
    auto gain = [&](std::int64_t i) {
        return i <= last ? (wide ? wordAt(d.VolumeGraph, i) : d.VolumeGraph[static_cast<std::size_t>(i)])
                         : (wide ? static_cast<std::int16_t>(0x8080) : 128);
    };
    float t = 0.0f;
    for (std::int32_t o = 0; o < dstLen; o += wide ? 2 : 1) {
        const std::int64_t whole = static_cast<std::int64_t>(t);
        const std::int64_t i0 = wide ? 2 * whole : whole;
        const std::int64_t i1 = i0 + (wide ? 2 : 1);
        if (start + i1 > Capacity) {
            showReadLimit(s, start, i1);
            return false;
        }
        if (o + (wide ? 1 : 0) >= Capacity) return false; // the output would not fit the buffers
        const std::int64_t a = start + i0, b = start + i1;
        const float f = t - static_cast<float>(whole);
        if (wide) {
            putWord(s.RenderBuffer, o, lerp(sample(a), sample(b), f));
            putWord(s.GraphWork, o, lerp(gain(a), gain(b), f));
        } else {
            s.RenderBuffer[static_cast<std::size_t>(o)] = static_cast<std::uint8_t>(lerp(sample(a), sample(b), f));
            s.GraphWork[static_cast<std::size_t>(o)] = static_cast<std::uint8_t>(lerp(gain(a), gain(b), f));
        }
        t += ratio;
    }
    return true;
}

} // namespace

int WaveStretch2(EditorState& s, std::int32_t start, std::int32_t end, float ratio, std::int32_t& pos) {
    SoundDoc& d = s.active();
    const bool wide = d.BitsParSample == 16;
    if (wide) {
        start += start & 1;
        end += end & 1;
    }
    if (start < 0 || end < start || end > 2 * Capacity || !(ratio > 0.0f) || !std::isfinite(ratio)) return -1;
    std::int32_t srcLen = end - start + 1;
    const float wanted = std::floor(static_cast<float>(srcLen) / ratio);
    if (!(wanted < static_cast<float>(4 * Capacity))) return -1; // also keeps the conversion in range
    auto dstLen = static_cast<std::int32_t>(wanted);
    if (wide) {
        srcLen += srcLen & 1;
        dstLen += dstLen & 1;
    }
    // The unsigned test of the result's length: a sound that would shrink
    // below nothing counts as too long as well.
    const std::int64_t result = std::int64_t{d.DataLen} + dstLen - srcLen;
    if (result < 0 || result > Capacity) return -1;
    if (!stretchInto(s, d, start, dstLen, ratio)) return -1;
    if (std::int64_t{start} + dstLen > Capacity) return -1;
    if (ResizeAt(s, s.activeSlot(), end, dstLen - srcLen) < 0) return -1;
    std::copy_n(s.RenderBuffer.begin(), dstLen, d.Samples.begin() + start);
    std::copy_n(s.GraphWork.begin(), dstLen, d.VolumeGraph.begin() + start);
    pos -= srcLen - dstLen;
    return 0;
}

int ResizeAt(EditorState& s, int slot, std::int32_t at, std::int32_t delta) {
    if (slot < 0 || slot >= SlotTableSize) return -1;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (!d.hasBuffers()) return -1;
    const std::int64_t len = std::clamp<std::int64_t>(d.DataLen, 0, Capacity);
    if (delta > 0 && len + delta >= Capacity) return -1;
    at = std::max(at, 0);
    if (at > len) return 0;
    if (at + std::int64_t{delta} < 0) return -1;
    const auto tail = static_cast<std::size_t>(len - at);
    const auto to = static_cast<std::size_t>(at + delta);
    for (auto* b : {&d.Samples, &d.VolumeGraph, &d.PitchGraph})
        std::memmove(b->data() + to, b->data() + at, tail);
    if (delta > 0) {
        const auto gap = static_cast<std::size_t>(at);
        std::fill_n(d.Samples.begin() + static_cast<std::ptrdiff_t>(gap), delta, d.silenceValue());
        std::fill_n(d.VolumeGraph.begin() + static_cast<std::ptrdiff_t>(gap), delta, std::uint8_t{128});
        std::fill_n(d.PitchGraph.begin() + static_cast<std::ptrdiff_t>(gap), delta, std::uint8_t{128});
    }
    d.DataLen = static_cast<std::int32_t>(len + delta);
    return 0;
}

void applyVolumeTo(std::uint8_t* samples, const std::uint8_t* volume, bool wide, std::int64_t start, std::int64_t end,
                   std::int64_t lo, std::int64_t hi) {
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min<std::int64_t>(hi, wide ? Capacity - 1 : Capacity); // a word must lie inside the buffer
    const int step = wide ? 2 : 1;
    std::int64_t p = start;
    if (p < lo) p += (lo - p + step - 1) / step * step;
    for (; p < end && p < hi; p += step) {
        const auto at = static_cast<std::size_t>(p);
        const float g = volumeGain(volume[at]);
        if (wide) {
            const int x = static_cast<std::int16_t>(samples[at] | (samples[at + 1] << 8));
            const int y = std::clamp(static_cast<int>(static_cast<float>(x) * g), -32768, 32767);
            samples[at] = static_cast<std::uint8_t>(y & 0xFF);
            samples[at + 1] = static_cast<std::uint8_t>((y >> 8) & 0xFF);
        } else {
            const int y = static_cast<int>(static_cast<float>(samples[at] - 128) * g);
            samples[at] = static_cast<std::uint8_t>(std::clamp(y, -127, 127) + 128);
        }
    }
}

void ApplyVolumeGraph(EditorState& s, std::int32_t start, std::int32_t end) {
    SoundDoc& d = s.active();
    if (end > Capacity) {
        s.platform.messageBox({"オーバーした長さ=" + intText(std::int64_t{d.DataLen} - Capacity), "データの長さがオーバー"});
        return;
    }
    std::int64_t lo = 0, hi = d.DataLen;
    if (d.HasSelection) {
        lo = d.SelStart;
        hi = std::int64_t{d.SelStart} + d.SelLength;
    }
    applyVolumeTo(d.Samples.data(), d.VolumeGraph.data(), d.BitsParSample == 16, start, end, lo, hi);
    if (d.WindowHandle) s.platform.invalidate(d.WindowHandle);
}

LayerSpan layerByteSpan(const EditorState& s, int id) {
    if (id < 1 || id > MaxLayerId) return {};
    const auto i = static_cast<std::size_t>(id);
    if (s.layers.LyLen[i] <= 0) return {};
    // The mix follows the layer's byte position, the one its picture is drawn
    // from, whatever the window's zoom and scroll position are.
    const std::int64_t first = s.layers.LyStart[i];
    return {first, first + s.layers.LyLen[i] - 1};
}

namespace {

// One layer over the background bytes it covers. Transparent layers are added
// to the background (not to what an earlier layer wrote there); opaque ones
// replace it. 16-bit sounds add whole samples; a byte of a sample that the
// layer covers only in part is copied.
void mixLayer(EditorState& s, const SoundDoc& d, int id, const LayerSpan& span) {
    const auto i = static_cast<std::size_t>(id);
    const std::vector<std::uint8_t>& ly = s.layers.LySamples[i];
    const std::int64_t last = std::min<std::int64_t>(span.last, span.first + static_cast<std::int64_t>(ly.size()) - 1);
    const bool additive = s.layers.LyAdditive[i] != 0;
    const bool wide = d.BitsParSample == 16;
    const std::int64_t len = d.DataLen;
    auto background = [&](std::int64_t q) { return q < len ? d.Samples[static_cast<std::size_t>(q)] : d.silenceValue(); };
    for (std::int64_t q = std::max<std::int64_t>(span.first, 0); q <= last;) {
        const auto c = static_cast<std::size_t>(q - span.first);
        if (additive && wide && (q & 1) == 0 && q + 1 <= last) {
            const int bg = static_cast<std::int16_t>(background(q) | (background(q + 1) << 8));
            const int lw = static_cast<std::int16_t>(ly[c] | (ly[c + 1] << 8));
            putWord(s.RenderBuffer, q, std::clamp(bg + lw, -32768, 32767));
            q += 2;
            continue;
        }
        std::uint8_t out = ly[c];
        if (additive && !wide) out = static_cast<std::uint8_t>(std::clamp(ly[c] - 128 + background(q) - 128, -127, 127) + 128);
        s.RenderBuffer[static_cast<std::size_t>(q)] = out;
        ++q;
    }
}

} // namespace

void RenderLayers(EditorState& s) {
    SoundDoc& d = s.active();
    s.render.MixRunning = 1;
    const std::int32_t len = std::clamp(d.DataLen, 0, DATALENMAX);
    s.render.OutputLength = len;
    std::copy_n(d.Samples.begin(), len, s.RenderBuffer.begin());
    const int n = std::clamp(d.LayerCount, 0, static_cast<int>(d.LayerIds.size()) - 1);
    bool refused = false;
    for (int p = 1; p <= n && !refused; ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (id < 1 || id > MaxLayerId) continue;
        const auto i = static_cast<std::size_t>(id);
        // The layer's left edge in window pixels, kept with the layer.
        s.layers.LyScreenX[i] = static_cast<std::int32_t>(
            std::clamp(static_cast<double>(static_cast<float>(s.layers.LyPixelX[i]) -
                                           static_cast<float>(d.view.FirstByte) / d.view.XScale),
                       -2147483648.0, 2147483647.0));
        const LayerSpan span = layerByteSpan(s, id);
        if (span.last >= Capacity) {
            s.platform.messageBox({"制限範囲は" + intText(DATALENMAX) + "です。左に移動させるなどしてください。",
                                   "レイヤーが制限範囲を超えています。"});
            refused = true;
            break;
        }
        s.render.OutputLength = static_cast<std::int32_t>(std::max<std::int64_t>(s.render.OutputLength, span.last + 1));
    }
    // Past the background's end the layers lie over silence.
    std::fill(s.RenderBuffer.begin() + len, s.RenderBuffer.begin() + s.render.OutputLength, d.silenceValue());
    if (!refused) {
        for (int p = 1; p <= n; ++p) {
            const int id = d.LayerIds[static_cast<std::size_t>(p)];
            const LayerSpan span = layerByteSpan(s, id);
            if (span.last >= 0 && span.last >= span.first) mixLayer(s, d, id, span);
        }
    }
    s.render.MixRunning = 0;
}

} // namespace wavora
