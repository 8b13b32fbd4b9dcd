#include "edit/SampleMath.h"

#include "core/Platform.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

// Clipping happens in float first, so a product far past the int range never
// reaches a conversion that would be undefined; NaN counts as silence.
int clipTo(float value, int lo, int hi) {
    if (!(value == value)) return 0;
    if (value <= static_cast<float>(lo)) return lo;
    if (value >= static_cast<float>(hi)) return hi;
    return static_cast<int>(value);
}

} // namespace

int clip8(float value) { return clipTo(value, -127, 127); }
int clip16(float value) { return clipTo(value, -32768, 32767); }

void ScaleRange(EditorState& s, Bytes& buffer, std::int32_t start, std::int32_t end) {
    const SoundDoc& d = s.active();
    const bool wide = d.BitsParSample == 16;
    std::int64_t lo = 0, hi = d.DataLen;
    if (d.HasSelection) {
        lo = d.SelStart;
        hi = std::int64_t{d.SelStart} + d.SelLength;
    }
    const std::int64_t size = static_cast<std::int64_t>(buffer.size()) - (wide ? 1 : 0);
    lo = std::max<std::int64_t>({lo, start, 0});
    hi = std::min<std::int64_t>({hi, end, size});
    const float gain = std::isfinite(s.effects.GainRegister) ? s.effects.GainRegister : 0.0f;
    if (wide) {
        for (std::int64_t p = lo + (lo & 1); p < hi; p += 2) {
            const auto at = static_cast<std::size_t>(p);
            // Clamped in float, then cut: the same as cutting first, as the
            // limits are whole numbers, and free of branches on loud sounds.
            const float y = std::clamp(static_cast<float>(word(buffer, at)) * gain, -32768.0f, 32767.0f);
            putWord(buffer, at, static_cast<int>(y));
        }
        return;
    }
    // An 8-bit sample has 256 values: each is worked once, the rest is a look-up.
    std::uint8_t table[256];
    for (int b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>(clip8(static_cast<float>(b - 128) * gain) + 128);
    std::uint8_t* bytes = buffer.data();
    for (std::int64_t p = lo; p < hi; ++p) bytes[p] = table[bytes[p]];
}

void scaleBy(EditorState& s, Bytes& buffer, std::int32_t start, std::int32_t end, float gain) {
    s.effects.GainRegister = gain;
    ScaleRange(s, buffer, start, end);
    s.effects.GainRegister = 1.0f;
}

void MixInto(EditorState& s, const Bytes& a, const Bytes& b, std::int32_t length, int slot) {
    if (slot < 0 || slot >= SlotTableSize) return;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    Bytes& out = d.Samples;
    const bool wide = d.BitsParSample == 16;
    const std::size_t size = std::min({out.size(), a.size(), b.size()});
    if (size < 2) return;
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(length, 0)), size - (wide ? 1 : 0));
    if (wide) {
        for (std::size_t p = 0; p < n; p += 2)
            putWord(out, p, std::clamp(word(a, p) + word(b, p), -32768, 32767));
    } else {
        for (std::size_t p = 0; p < n; ++p)
            out[p] = static_cast<std::uint8_t>(std::clamp(a[p] + b[p] - 256, -127, 127) + 128);
    }
    if (d.WindowHandle) s.platform.invalidate(d.WindowHandle);
}

} // namespace wavora
