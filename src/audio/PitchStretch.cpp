#include "audio/PitchStretch.h"

#include "audio/Curves.h"
#include "audio/Render.h"
#include "core/Platform.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wavora {

namespace {

constexpr std::int64_t Capacity = DATALENMAX;
constexpr std::int32_t BlockSize = 10;

// a + trunc((b - a) * f), the product held in single precision.
inline int lerp(int a, int b, float f) { return a + static_cast<int>(static_cast<float>(b - a) * f); }

inline int wordAt(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }
// Two neutral volume-graph bytes read as one signed 16-bit word.
constexpr int NeutralGraphWord = static_cast<std::int16_t>(0x8080);

inline void putWord(std::uint8_t* p, int v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

// One run resampled from the unstretched data. `start` is where the run
// begins in the sound as it stands (what the read limit is measured from),
// `src` the same byte in the unstretched data, `lastRead` the last sample of
// that data; reads past it find silence. With `out` null nothing is written: the run will
// not fit, but its read limit is still checked (and reported) first, as the
// resampler does before it finds that out.
template <bool Wide>
bool resampleRun(EditorState& s, std::int64_t start, const std::uint8_t* samples, const std::uint8_t* volume,
                 std::int64_t src, std::int64_t lastRead, std::int32_t dstLen, float ratio, std::uint8_t* outSamples,
                 std::uint8_t* outVolume) {
    constexpr int step = Wide ? 2 : 1;
    float t = 0.0f;
    for (std::int32_t o = 0; o < dstLen; o += step) {
        const std::int64_t whole = static_cast<std::int64_t>(t);
        const std::int64_t i0 = Wide ? 2 * whole : whole;
        const std::int64_t i1 = i0 + step;
        if (start + i1 > Capacity) {
            s.platform.messageBox({"StartX+AtoX>DATALENMAX　StartX=" + intText(start) + " AtoX=" + intText(i1),
                                   "WaveStretch2 Sa"});
            return false;
        }
        if (o + (Wide ? 1 : 0) >= Capacity) return false;
        if (outSamples) {
            const std::int64_t a = src + i0, b = src + i1;
            const float f = t - static_cast<float>(whole);
            // Past the data lies silence under a neutral volume graph.
            if constexpr (Wide) {
                auto sample = [&](std::int64_t i) { return i <= lastRead ? wordAt(samples + i) : 0; };
                auto gain = [&](std::int64_t i) { return i <= lastRead ? wordAt(volume + i) : NeutralGraphWord; };
                putWord(outSamples + o, lerp(sample(a), sample(b), f));
                putWord(outVolume + o, lerp(gain(a), gain(b), f));
            } else {
                auto sample = [&](std::int64_t i) { return i <= lastRead ? samples[i] : 128; };
                auto gain = [&](std::int64_t i) { return i <= lastRead ? volume[i] : 128; };
                outSamples[o] = static_cast<std::uint8_t>(lerp(sample(a), sample(b), f));
                outVolume[o] = static_cast<std::uint8_t>(lerp(gain(a), gain(b), f));
            }
        }
        t += ratio;
    }
    return true;
}

// How far past its first byte a run of `srcLen` bytes can read: the
// position is added up in single precision, and each addition can put it
// ahead by 2^-24 of itself, which over any run that fits the buffers stays
// below 3%; twice that (and two samples) is kept in hand.
std::int64_t readReach(std::int64_t srcLen, int step) { return srcLen + srcLen / 16 + 2 * step; }

// The same resampling where no read can reach the end of the data or the
// read limit: nothing to check, nothing to clamp. `samples` and `volume`
// point at the run's first byte.
template <bool Wide>
void resampleInside(const std::uint8_t* samples, const std::uint8_t* volume, std::int32_t dstLen, float ratio,
                    std::uint8_t* outSamples, std::uint8_t* outVolume) {
    constexpr int step = Wide ? 2 : 1;
    float t = 0.0f;
    for (std::int32_t o = 0; o < dstLen; o += step) {
        const auto whole = static_cast<std::int32_t>(t);
        const std::int32_t i0 = Wide ? 2 * whole : whole;
        const float f = t - static_cast<float>(whole);
        if constexpr (Wide) {
            putWord(outSamples + o, lerp(wordAt(samples + i0), wordAt(samples + i0 + 2), f));
            putWord(outVolume + o, lerp(wordAt(volume + i0), wordAt(volume + i0 + 2), f));
        } else {
            outSamples[o] = static_cast<std::uint8_t>(lerp(samples[i0], samples[i0 + 1], f));
            outVolume[o] = static_cast<std::uint8_t>(lerp(volume[i0], volume[i0 + 1], f));
        }
        t += ratio;
    }
}

// The unstretched data, the three output buffers, and how far both have got.
struct Pass {
    const std::uint8_t* in[3];
    std::uint8_t* out[3];
    std::int64_t read = 0;  // bytes of the unstretched data taken so far
    std::int64_t shift = 0; // the output's length change so far
    std::int64_t length = 0;
    std::int64_t lastRead = 0; // the last sample of the data; past it lies silence

    // A 16-bit run ending on the last byte of an odd length reaches one byte
    // past the data: there is no tail to copy after it then.
    void copy(std::int64_t from, std::int64_t n) {
        if (n <= 0) return;
        for (int b = 0; b < 3; ++b) std::memcpy(out[b] + from + shift, in[b] + from, static_cast<std::size_t>(n));
    }
};

// The pitch graph is not resampled but moved with the data: the gap a run
// opens or closes sits just before its last sample.
void movePitch(Pass& p, std::int64_t src, std::int64_t srcLen, std::int64_t dstLen, int step) {
    std::uint8_t* out = p.out[2] + src + p.shift;
    const std::uint8_t* in = p.in[2] + src;
    const std::int64_t head = std::min(srcLen, dstLen) - step;
    if (head <= 16) // most runs are a block or two: no call for a few bytes
        for (std::int64_t i = 0; i < head; ++i) out[i] = in[i];
    else
        std::memcpy(out, in, static_cast<std::size_t>(head));
    if (dstLen > srcLen) std::memset(out + head, 128, static_cast<std::size_t>(dstLen - srcLen));
    for (int i = 0; i < step; ++i) out[dstLen - step + i] = in[srcLen - step + i];
}

// One run, with the same checks in the same order as WaveStretch2 and the
// gap it makes. False when the run is refused; nothing of it is written then.
bool stretchRun(EditorState& s, Pass& p, const PitchRun& run, bool wide) {
    const int step = wide ? 2 : 1;
    std::int64_t start = BlockSize * std::int64_t{run.first} + 1 + p.shift;
    std::int64_t end = BlockSize * (std::int64_t{run.last} + 1) + p.shift;
    if (wide) {
        start += start & 1;
        end += end & 1;
    }
    const std::int64_t srcLen0 = end - start + 1;
    // The quotient is positive, so truncating it is taking its floor.
    const float quotient = static_cast<float>(srcLen0) / run.ratio;
    if (!(quotient < static_cast<float>(4 * Capacity))) return false;
    std::int64_t srcLen = srcLen0, dstLen = static_cast<std::int64_t>(quotient);
    if (wide) {
        srcLen += srcLen & 1;
        dstLen += dstLen & 1;
    }
    const std::int64_t current = p.length + p.shift;
    const std::int64_t delta = dstLen - srcLen;
    if (current + delta < 0 || current + delta > Capacity) return false;
    const std::int64_t src = start - p.shift;
    if (dstLen == 0) {
        // A single 16-bit block at a ratio near 10 comes out empty: nothing is
        // written and the gap closed just before the run's last sample takes
        // the sample before the run with it, while that last one stays.
        if (start < step) return false;
        p.copy(p.read, src - p.read);
        p.read = src + srcLen - step;
        p.shift += delta;
        return true;
    }
    // The gap primitive takes no growth to DATALENMAX; a run that needs it is
    // refused only after its reads have been checked.
    const bool fits = start + dstLen <= Capacity && !(delta > 0 && current + delta >= Capacity) &&
                      dstLen >= step && srcLen >= step;
    const std::int64_t lastRead = p.lastRead;
    if (fits) p.copy(p.read, src - p.read);
    std::uint8_t* outSamples = fits ? p.out[0] + start : nullptr;
    std::uint8_t* outVolume = fits ? p.out[1] + start : nullptr;
    const auto n = static_cast<std::int32_t>(dstLen);
    const std::int64_t reach = readReach(srcLen, step);
    if (fits && src + reach <= lastRead && start + reach <= Capacity) {
        // The usual case, away from both ends: the same bytes without the checks.
        wide ? resampleInside<true>(p.in[0] + src, p.in[1] + src, n, run.ratio, outSamples, outVolume)
             : resampleInside<false>(p.in[0] + src, p.in[1] + src, n, run.ratio, outSamples, outVolume);
        movePitch(p, src, srcLen, dstLen, step);
        p.read = src + srcLen;
        p.shift += delta;
        return true;
    }
    const bool read = wide ? resampleRun<true>(s, start, p.in[0], p.in[1], src, lastRead, n, run.ratio, outSamples,
                                               outVolume)
                           : resampleRun<false>(s, start, p.in[0], p.in[1], src, lastRead, n, run.ratio, outSamples,
                                                outVolume);
    if (!read || !fits) return false;
    movePitch(p, src, srcLen, dstLen, step);
    p.read = src + srcLen;
    p.shift += delta;
    return true;
}

} // namespace

std::int32_t buildPitchRatios(const SoundDoc& d, std::vector<float>& ratios) {
    if (ratios.size() < static_cast<std::size_t>(DATALENMAX)) ratios.resize(static_cast<std::size_t>(DATALENMAX), 1.0f);
    const std::int32_t len = std::clamp(d.DataLen, 0, DATALENMAX);
    std::int32_t count = 0;
    for (std::int32_t p = BlockSize; p <= len - 1; p += BlockSize)
        ratios[static_cast<std::size_t>(count++)] = pitchRatio(d.PitchGraph[static_cast<std::size_t>(p)]);
    return count;
}

bool stretchPitchRunsInto(EditorState& s, const SoundDoc& d, const float* ratios, std::int32_t count,
                          const std::function<void(std::uint32_t)>& progress, const StretchOutput& out,
                          std::int32_t& length) {
    const bool wide = d.BitsParSample == 16;
    Pass p{{d.Samples.data(), d.VolumeGraph.data(), d.PitchGraph.data()}, {out[0], out[1], out[2]}};
    p.length = std::clamp(d.DataLen, 0, DATALENMAX);
    p.lastRead = std::max<std::int64_t>(p.length - (wide ? 2 : 1), 0);
    if (wide) p.lastRead -= p.lastRead & 1;
    bool whole = true;
    forEachPitchRun(ratios, count, [&](const PitchRun& run) {
        whole = stretchRun(s, p, run, wide);
        if (whole && progress) progress(static_cast<std::uint32_t>(run.last - run.first + 1));
        return whole;
    });
    p.copy(p.read, p.length - p.read);
    length = static_cast<std::int32_t>(p.length + p.shift);
    return whole;
}

bool pitchGraphMoves(const float* ratios, std::int32_t count) {
    return !std::all_of(ratios, ratios + std::max(count, 0), [](float r) { return r == 1.0f; });
}

bool stretchPitchRuns(EditorState& s, const float* ratios, std::int32_t count,
                      const std::function<void(std::uint32_t)>& progress) {
    SoundDoc& d = s.active();
    if (!d.hasBuffers() || !pitchGraphMoves(ratios, count)) return true;
    const bool whole = stretchPitchRunsInto(s, d, ratios, count, progress,
                                            {s.WorkBuffer1.data(), s.WorkBuffer2.data(), s.WorkBuffer3.data()},
                                            d.DataLen);
    // The finished sound is in the work buffers: they change places with the
    // slot's, which become the next pass's work buffers.
    d.Samples.swap(s.WorkBuffer1);
    d.VolumeGraph.swap(s.WorkBuffer2);
    d.PitchGraph.swap(s.WorkBuffer3);
    return whole;
}

} // namespace wavora
