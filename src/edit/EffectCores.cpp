#include "edit/EffectCores.h"

#include "audio/Render.h"
#include "core/Platform.h"
#include "edit/EditSupport.h"
#include "edit/SampleMath.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cstring>

namespace wavora {

namespace {

constexpr int MultiEchoMaxPasses = 1001;

void invalidateSlot(EditorState& s, const SoundDoc& d) {
    if (d.WindowHandle) s.platform.invalidate(d.WindowHandle);
}

// The echo source: the data from the selection start to the end of the
// sound, silence after it. (Taking one byte less, as a count from n would,
// leaves the last byte unechoed and echoes a stray byte in its place.)
Bytes echoSource(const SoundDoc& d, std::int64_t origin, std::int64_t end) {
    Bytes src(static_cast<std::size_t>(DATALENMAX), d.silenceValue());
    if (end > origin) std::memcpy(src.data(), d.Samples.data() + origin, static_cast<std::size_t>(end - origin));
    return src;
}

// Where the echoes of the sound start: the selection start, inside the data,
// on a whole sample.
std::int64_t echoOrigin(const SoundDoc& d) {
    std::int64_t origin = std::clamp(d.SelStart, 0, std::max(d.DataLen, 0));
    if (d.BitsParSample == 16) origin &= ~std::int64_t{1};
    return origin;
}

// The last byte index i of the source that an echo copies: i <= n, as the
// echo walks from the selection start to one byte before the end of the data
// (a whole sample further for 16-bit sounds).
std::int64_t echoLastIndex(const SoundDoc& d, std::int64_t origin) {
    std::int64_t n = std::int64_t{d.DataLen} - origin - 1;
    if (d.BitsParSample == 16 && (n & 1)) ++n;
    return n;
}

// One echo pass: the source one factor quieter, placed `at` bytes into an
// otherwise silent buffer, added to the sound. Only the source bytes that
// land inside the data are scaled; the others are never read again, since
// every later pass lands further back.
void echoPass(EditorState& s, Bytes& src, Bytes& buf, std::int64_t at, std::int64_t lastIndex) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    const std::int64_t len = d.DataLen;
    std::memset(buf.data(), d.silenceValue(), static_cast<std::size_t>(len));
    const std::int64_t count = std::min(lastIndex + 1, len - at);
    scaleBy(s, src, 0, static_cast<std::int32_t>(std::max<std::int64_t>(count, 0) + 1), s.effects.EchoDecay);
    if (count > 0) std::memcpy(buf.data() + at, src.data(), static_cast<std::size_t>(count));
    MixInto(s, d.Samples, buf, d.DataLen, slot);
}

} // namespace

std::int32_t echoDelayBytes(const EditorState& s) {
    const float product = s.effects.EchoDelay * 10000.0f;
    const std::int32_t d = cutToInt(product);
    const SoundDoc& doc = s.docs[static_cast<std::size_t>(s.activeSlot())];
    return doc.BitsParSample == 16 ? cutToInt(2.0 * d) : d;
}

EchoResult EchoCore(EditorState& s) {
    SoundDoc& d = s.active();
    const std::int64_t delay = echoDelayBytes(s);
    if (delay <= 0) return EchoResult::NoDelay;
    const std::int64_t origin = echoOrigin(d);
    const std::int64_t lastIndex = echoLastIndex(d, origin);
    const std::int64_t oldEnd = d.DataLen;
    s.effects.EchoStep = static_cast<std::int32_t>(delay);
    d.HasSelection = 0;
    s.render.RenderingFlag = 1;
    invalidateSlot(s, d);

    if (2 * delay > d.DataLen) {
        if (2 * delay > DATALENMAX) {
            refuse(s, "<(_ _)>", "エコーを入れるスペースがをあけられません。ディレイタイムを小さくしてください。");
            s.render.RenderingFlag = 0;
            return EchoResult::TooLong;
        }
        // The added part is silence, whatever an earlier edit left there.
        fillSilence(d, d.DataLen, 2 * delay);
        d.DataLen = static_cast<std::int32_t>(2 * delay);
    }
    Bytes src = echoSource(d, origin, oldEnd);
    Bytes buf(static_cast<std::size_t>(DATALENMAX), 0);
    for (std::int64_t at = delay;; at *= 2) {
        echoPass(s, src, buf, at + origin, lastIndex);
        if (2 * at >= d.DataLen) break;
    }
    s.render.RenderingFlag = 0;
    return EchoResult::Done;
}

void MultiEchoCore(EditorState& s, std::int32_t offset) {
    SoundDoc& d = s.active();
    const bool wide = d.BitsParSample == 16;
    const std::int64_t origin = echoOrigin(d);
    const std::int64_t lastIndex = echoLastIndex(d, origin);
    if (wide) s.effects.EchoStep = cutToInt(2.0 * s.effects.EchoStep);
    const float quarter = static_cast<float>(s.effects.EchoStep) / 4.0f;
    d.HasSelection = 0;
    s.platform.setWaitCursor(true);

    Bytes src = echoSource(d, origin, d.DataLen);
    Bytes buf(static_cast<std::size_t>(DATALENMAX), 0);
    std::int64_t at = std::max(offset, 0);
    for (int k = 1;; ++k) {
        echoPass(s, src, buf, at + origin, lastIndex);
        at = cutToInt(static_cast<float>(at) + quarter);
        // Echoes of a 16-bit sound start on whole samples, or they would add
        // the high byte of one sample to the low byte of the next.
        if (wide) at &= ~std::int64_t{1};
        if (at >= d.DataLen || k >= MultiEchoMaxPasses) break;
    }
    s.render.RenderingFlag = 0;
    s.platform.setWaitCursor(false);
    invalidateSlot(s, d);
}

int ChorusCore(EditorState& s) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    const std::int32_t unit = d.BitsParSample == 16 ? 2 : 1;
    const std::int32_t old = std::clamp(d.DataLen, 0, DATALENMAX);
    std::memcpy(s.WorkBuffer1.data(), d.Samples.data(), static_cast<std::size_t>(old));
    std::int32_t selStart = std::clamp(d.SelStart, 0, old);
    std::int32_t selLength = std::clamp(d.SelLength, 0, old - selStart);

    if (s.effects.ChorusRatio != 1.0f) {
        // The range handed to the resampler is inclusive: it ends on the last
        // sample of the sound (or of the selection), not one past it.
        const std::int32_t first = d.HasSelection ? selStart : 0;
        const std::int32_t last = d.HasSelection ? selStart + selLength - unit : old - unit;
        std::int32_t pos = 0;
        if (WaveStretch2(s, first, last, s.effects.ChorusRatio, pos) < 0) {
            s.render.RenderingFlag = 0;
            return -1;
        }
        if (d.HasSelection) {
            // Only the stretched selection stays as the wet sound, no longer
            // than the selection was: a shortened copy must not leave part of
            // the moved-up tail in it.
            const std::int64_t wetEnd =
                std::min<std::int64_t>(selStart + selLength, std::int64_t{selStart} + selLength + d.DataLen - old);
            std::fill_n(d.Samples.begin(), selStart, d.silenceValue());
            const std::int64_t from = std::max<std::int64_t>(wetEnd, selStart);
            const std::int64_t to = std::max<std::int64_t>(d.DataLen, from);
            std::fill(d.Samples.begin() + from, d.Samples.begin() + to, d.silenceValue());
        }
    }
    if (d.DataLen > old) d.DataLen = old;
    // Neutral, so that a 16-bit sound's next Play does not double it (its
    // silence value 0 would read as the loudest volume).
    std::fill_n(d.VolumeGraph.begin(), d.DataLen, std::uint8_t{128});
    if (d.HasSelection)
        scaleBy(s, d.Samples, d.SelStart, d.SelStart + d.SelLength, s.effects.ChorusGain);
    else
        scaleBy(s, d.Samples, 0, d.DataLen, s.effects.ChorusGain);
    MixInto(s, d.Samples, s.WorkBuffer1, d.DataLen, slot);
    std::fill(d.Samples.begin() + d.DataLen, d.Samples.end(), d.silenceValue());
    s.render.RenderingFlag = 0;
    return 0;
}

void DistortionCore(EditorState& s) {
    SoundDoc& d = s.active();
    const float g = static_cast<float>(s.effects.DistortionLevel) * 0.1f + 1.0f;
    const std::int32_t start = d.HasSelection ? d.SelStart : 0;
    const std::int32_t end = d.HasSelection ? d.SelStart + d.SelLength : d.DataLen;
    s.effects.GainRegister = g;
    ScaleRange(s, d.Samples, start, end);
    // The register keeps the second gain afterwards, as every user of it sets
    // it before a call.
    s.effects.GainRegister = 2.0f / g;
    ScaleRange(s, d.Samples, start, end);
    invalidateSlot(s, d);
}

} // namespace wavora
