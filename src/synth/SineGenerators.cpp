#include "synth/SineGenerators.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace wavora {

int floorToInt(double value) {
    return cutToInt(std::floor(value));
}

void putSampleValue(std::vector<std::uint8_t>& buf, std::int64_t at, int v, bool wide) {
    const auto n = static_cast<std::int64_t>(buf.size());
    if (wide) {
        const auto w = static_cast<std::uint16_t>(v);
        if (at >= 0 && at < n) buf[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(w & 0xFF);
        if (at + 1 >= 0 && at + 1 < n)
            buf[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>(w >> 8);
    } else if (at >= 0 && at < n) {
        buf[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v + 128);
    }
}

std::vector<std::uint8_t>& generatorTarget(EditorState& s) {
    SoundDoc& d = s.active();
    const GenTargetFlags& t = s.gen.GenTarget;
    if (t.pitch == 1) return d.PitchGraph;
    if (t.volume == 1) return d.VolumeGraph;
    return d.Samples;
}

GenRegion generatorRegion(EditorState& s, std::int32_t length) {
    SoundDoc& d = s.active();
    GenRegion r;
    r.buffer = &generatorTarget(s);
    const std::int64_t size = std::min<std::int64_t>(static_cast<std::int64_t>(r.buffer->size()), DATALENMAX);
    std::int64_t start = 0;
    std::int64_t count = length;
    if (d.HasSelection == 1) {
        start = d.SelStart;
        count = d.SelLength;
    }
    std::int64_t end = start + std::max<std::int64_t>(count, 0);
    start = std::clamp<std::int64_t>(start, 0, size);
    end = std::clamp<std::int64_t>(end, start, size);
    r.start = static_cast<std::int32_t>(start);
    r.length = static_cast<std::int32_t>(end - start);
    return r;
}

namespace {

// Builds the block into CycleBuffer and returns its usable length. The block
// stops at the region's length or once t has passed one second plus one
// period; the sample that crossed that line is computed but not used.
template <class Value>
std::int32_t buildBlock(EditorState& s, std::int32_t regionLength, double periodEnd, Value value) {
    const SoundDoc& d = s.active();
    const bool wide = d.BitsParSample == 16;
    if (s.CycleBuffer.size() < static_cast<std::size_t>(DATALENMAX))
        s.CycleBuffer.resize(static_cast<std::size_t>(DATALENMAX), 0);
    const double step = 1.0 / static_cast<double>(d.SRATE);
    const double stopAfter = periodEnd + 1.0;
    double t = 0.0;
    std::int64_t i = 0;
    do {
        const int v = value(t);
        t += step;
        putSampleValue(s.CycleBuffer, i, v, wide);
        i += wide ? 2 : 1;
    } while (!(i >= regionLength || t > stopAfter));
    std::int64_t cycle = i - 1;
    if (wide && cycle % 2 != 0) --cycle; // a half sample at the end would shift every copy by a byte
    return static_cast<std::int32_t>(std::max<std::int64_t>(cycle, 0));
}

// Repeats the block over the region, whole copies only. A block of nothing
// (an empty or one-sample region) writes nothing rather than dividing by zero.
void repeatBlock(EditorState& s, const GenRegion& r, std::int32_t cycle) {
    if (cycle <= 0 || r.length <= 0) return;
    const std::int32_t copies = std::max(r.length / cycle, 1);
    const std::int64_t end = static_cast<std::int64_t>(r.start) + r.length;
    for (std::int32_t k = 0; k < copies; ++k) {
        const std::int64_t at = r.start + static_cast<std::int64_t>(k) * cycle;
        const std::int64_t n = std::min<std::int64_t>(cycle, end - at);
        if (n <= 0) break;
        std::memcpy(r.buffer->data() + at, s.CycleBuffer.data(), static_cast<std::size_t>(n));
    }
}

template <class Value> void periodicFill(EditorState& s, std::int32_t length, double periodEnd, Value value) {
    const GenRegion r = generatorRegion(s, length);
    const std::int32_t cycle = buildBlock(s, r.length, periodEnd, value);
    s.gen.CycleLength = cycle;
    repeatBlock(s, r, cycle);
}

double period(int freq) {
    return 1.0 / static_cast<double>(freq);
}

int sampleScale(EditorState& s) {
    return s.active().BitsParSample == 16 ? 256 : 1;
}

} // namespace

void sineBlock(EditorState& s, std::uint8_t amp, int freq, std::int32_t length, float phase) {
    const double p = period(freq);
    const float offset = static_cast<float>((phase / 100.0) * p);
    // The amplitude and the sine meet in single precision: with phase 25 the
    // sine rounds to exactly 1 and the peak reaches the full amplitude.
    const float a = static_cast<float>(amp * sampleScale(s));
    periodicFill(s, length, p, [=](double t) {
        const float sine = static_cast<float>(std::sin(GenTwoPi * (t + offset) / p));
        return floorToInt(a * sine);
    });
}

void sineSumBlock(EditorState& s, std::uint8_t amp1, int freq1, std::uint8_t amp2, int freq2,
                  std::int32_t length) {
    double p1 = period(freq1);
    double p2 = period(freq2);
    if (p1 > 0.02) p1 = 0.01;      // below 50 Hz the first sine is hardly a tone; 100 Hz is
    if (p2 > 500000.0) p2 = 10000; // only a zero frequency: keeps the block's end finite
    const int scale = sampleScale(s);
    const double a1 = amp1 * scale;
    const double a2 = amp2 * scale;
    periodicFill(s, length, p2, [=](double t) {
        const float first = static_cast<float>(a1 * std::sin(GenTwoPi * t / p1));
        const float second = static_cast<float>(a2 * std::sin(GenTwoPi * t / p2));
        return cutToInt(first + second);
    });
}

void sineProductBlock(EditorState& s, std::uint8_t amp1, int freq1, std::uint8_t amp2, int freq2,
                      std::int32_t length) {
    const double p1 = period(freq1);
    const double p2 = period(freq2);
    const int scale = sampleScale(s);
    periodicFill(s, length, p2, [=](double t) {
        const float product =
            static_cast<float>(amp1 * std::sin(GenTwoPi * t / p1) * amp2 * std::sin(GenTwoPi * t / p2));
        const auto w = static_cast<std::int16_t>(cutToInt(product));
        return static_cast<std::int16_t>(w * scale);
    });
}

} // namespace wavora
