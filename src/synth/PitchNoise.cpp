#include "synth/PitchNoise.h"

#include "core/Platform.h"
#include "synth/SineGenerators.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wavora {

namespace {

// The frequency of type 0 and type 1 at time t.
double swingingFrequency(int fmax, float rate, float t, int type) {
    if (type == PitchSwingRateSwings) {
        const double g = (rate / 100.0) * std::sin(GenFourPi * t);
        return fmax * std::sin(GenTwoPi * t * g);
    }
    return fmax * std::sin(GenTwoPi * t * rate);
}

} // namespace

int pitchSineValue(double amplitude, float t, double freq) {
    return cutToInt(static_cast<float>(amplitude * std::sin(GenTwoPi * t * freq)));
}

float pitchJoinTime(float t, float step, double amplitude, double freq, int previous, std::int64_t maxSteps) {
    float best = t;
    std::int64_t bestGap = -1;
    for (std::int64_t n = 0;; ++n) {
        const std::int64_t gap =
            std::llabs(static_cast<std::int64_t>(pitchSineValue(amplitude, t, freq)) - previous);
        if (gap <= 10) return t;
        if (bestGap < 0 || gap < bestGap) {
            bestGap = gap;
            best = t;
        }
        if (n >= maxSteps) return best;
        t = t + step;
    }
}

void pitchSineFill(EditorState& s, std::uint8_t amp, int fmax, float rate, std::int32_t length, int type) {
    s.rng.seed(s.platform.tickCount());
    const SoundDoc& d = s.active();
    const bool wide = d.BitsParSample == 16;
    const GenRegion r = generatorRegion(s, length);
    std::vector<std::uint8_t>& buf = *r.buffer;
    const double amplitude = amp * (wide ? 256 : 1);
    const float step = 1.0f / static_cast<float>(d.SRATE);
    // One second of searching is more than any reachable joining point needs.
    const std::int64_t searchLimit = std::max(d.SRATE, 1);
    // The interval counts bytes, so on 16-bit sounds only even multiples hit.
    const std::int64_t interval = std::max(cutToInt(rate), 1);

    float t = 0.0f;
    double jump = 0.0;
    int previous = 0;
    std::int64_t i = 0;
    do {
        double f = swingingFrequency(fmax, rate, t, type);
        if (type == PitchJumpsRandomly) {
            if (i % interval == 0) {
                jump = s.rng.uniform();
                t = pitchJoinTime(t, step, amplitude, fmax * jump + 30, previous, searchLimit);
            }
            f = fmax * jump + 33;
        }
        const int v = static_cast<std::int16_t>(pitchSineValue(amplitude, t, f));
        t = t + step;
        putSampleValue(buf, static_cast<std::int64_t>(r.start) + i, v, wide);
        previous = v;
        i += wide ? 2 : 1;
    } while (i < r.length);
    s.gen.CycleLength = static_cast<std::int32_t>(i - 1);
}

void noiseFill(EditorState& s, std::uint8_t amp, std::int32_t length) {
    s.rng.seed(s.platform.tickCount());
    noiseFillFromSequence(s, amp, length);
}

void noiseFillFromSequence(EditorState& s, std::uint8_t amp, std::int32_t length) {
    const bool wide = s.active().BitsParSample == 16;
    const GenRegion r = generatorRegion(s, length);
    std::vector<std::uint8_t>& buf = *r.buffer;
    std::int64_t i = 0;
    do {
        const double u = s.rng.uniform();
        int v = 0;
        if (wide)
            v = cutToInt(static_cast<float>(512.0 * amp * u)) - 256 * amp;
        else
            v = cutToInt(static_cast<float>(2.0 * amp * u)) - amp;
        putSampleValue(buf, static_cast<std::int64_t>(r.start) + i, v, wide);
        i += wide ? 2 : 1;
    } while (i < r.length);
}

} // namespace wavora
