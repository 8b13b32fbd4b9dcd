#include "synth/RandomWaves.h"

#include "audio/Play.h"
#include "doc/Slots.h"
#include "edit/EditSupport.h"
#include "edit/EffectCores.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace wavora {

namespace {

constexpr int SuperRandomCode = 30;
constexpr int SuperRandomEffectCode = 32;
constexpr int RandomSinCode = 37;
constexpr int SegmentWarningCount = 500;
// A frequency is drawn again until it reaches its lower limit. The limits
// always leave room (upper >= lower), so this bound is only a guard against
// a generator that never comes close enough.
constexpr int FrequencyDrawLimit = 1000000;

const GenTargetFlags WaveTarget{1, 0, 0};
const GenTargetFlags VolumeTarget{0, 1, 0};
const GenTargetFlags NoTarget{0, 0, 0};

double r(EditorState& s) { return s.rng.uniform(); }

bool haveSound(EditorState& s) {
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    s.BusyFlag = 0;
    return false;
}

// The kinds the filter lets through, taken once when a command starts: the
// segments it records overwrite the memo entries the filter reads, and a
// filter that narrowed itself halfway would leave most of the wave to the
// kind that happened to come first.
struct KindChoice {
    bool on = false;
    std::array<std::int32_t, 2> kinds{};
    bool allows(int k) const { return !on || k == kinds[0] || k == kinds[1]; }
};

KindChoice kindChoiceOf(const EditorState& s, int slot) {
    const RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    KindChoice c{s.random.KindFilter == 1, {m.SegKind[0], m.SegKind[1]}};
    // Kinds no draw can give (a memo from a file may hold any number) would
    // keep the draw going for ever: such a filter lets everything through.
    const auto drawable = [](std::int32_t k) { return k >= 0 && k <= KindNoise; };
    if (!drawable(c.kinds[0]) && !drawable(c.kinds[1])) c.on = false;
    return c;
}

int drawSegmentKind(EditorState& s, const KindChoice& filter) {
    int k = cutToInt(7.0 * r(s));
    while (!filter.allows(k)) k = cutToInt(7.0 * r(s));
    return k;
}

void drawAmplitudes(EditorState& s, double spread, double base) {
    for (std::uint8_t& a : s.gen.GenAmp) a = static_cast<std::uint8_t>(cutToInt(spread * r(s) + base));
}

float drawFrequency(EditorState& s, std::int32_t upper, double offset, std::int32_t lower) {
    for (int i = 0; i < FrequencyDrawLimit; ++i) {
        const float f = static_cast<float>(r(s) * upper + offset);
        if (f >= static_cast<float>(lower)) return f;
    }
    return static_cast<float>(lower);
}

void drawLimitedFrequencies(EditorState& s) {
    const RandomWaveParams& p = s.random;
    s.gen.GenFreq[0] = drawFrequency(s, p.RandFreqUpper[0], 30, p.RandFreqLower[0]);
    s.gen.GenFreq[1] = drawFrequency(s, p.RandFreqUpper[1], 3, p.RandFreqLower[1]);
}

// An even length from 150 to about a fifth of the rate in bytes.
std::int32_t drawSegmentLength(EditorState& s, std::int32_t rate) {
    std::int32_t len = cutToInt(static_cast<float>(r(s) * rate / 5.0 + 150.0));
    if (len % 2 != 0) ++len;
    return len;
}

// Two sines multiplied are far past the sample range at full amplitude.
void fifthAmplitudes(EditorState& s, bool zeroBecomesThree) {
    for (int i = 0; i < 2; ++i) {
        std::uint8_t& a = s.gen.GenAmp[static_cast<std::size_t>(i)];
        a = static_cast<std::uint8_t>(a / 5);
        if (zeroBecomesThree && a == 0) a = 3;
    }
}

// The pitch sines take their rate as the whole number the memo keeps, so that
// the memo is the recipe of what was heard.
void wholeRate(EditorState& s, int kind) {
    if (kind >= KindPitchSwing && kind <= KindPitchJump) s.gen.GenFreq[1] = static_cast<float>(cutToInt(s.gen.GenFreq[1]));
}

void selectBytes(SoundDoc& d, std::int32_t start, std::int32_t length) {
    d.SelStart = start;
    d.SelLength = length;
}

std::array<std::int32_t, 3> ampsNow(const EditorState& s) {
    return {s.gen.GenAmp[0], s.gen.GenAmp[1], s.gen.GenAmp[2]};
}
std::array<std::int32_t, 3> freqsNow(const EditorState& s) {
    return {cutToInt(s.gen.GenFreq[0]), cutToInt(s.gen.GenFreq[1]), cutToInt(s.gen.GenFreq[2])};
}

void recordSegment(EditorState& s, RandomWaveMemo& m, int n, std::int32_t length, int kind) {
    const auto i = static_cast<std::size_t>(n);
    m.SegLength[i] = length;
    m.SegKind[i] = kind;
    m.SegAmp[i] = ampsNow(s);
    m.SegFreq[i] = freqsNow(s);
}

// The scroll range and the view follow the new length.
void lengthChanged(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.view.ExtentX = d.DataLen;
    onSize(s, slot, d.view.ClientWidth, d.view.ClientHeight);
}

void invalidateSlot(EditorState& s, int slot) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle) s.platform.invalidate(d.WindowHandle);
}

// --- The super random effect wave's passes over the recorded segments

void volumePass(EditorState& s, RandomWaveMemo& m, int segments) {
    SoundDoc& d = s.active();
    resetSelection(d);
    d.HasSelection = 1;
    s.gen.GenTarget = VolumeTarget;
    std::int32_t p = 0;
    for (int j = 0; j < segments; ++j) {
        const auto i = static_cast<std::size_t>(j);
        selectBytes(d, p, m.SegLength[i]);
        const int k = cutToInt(7.0 * r(s));
        drawAmplitudes(s, 80, 10);
        s.gen.GenFreq[0] = static_cast<float>(10.0 * r(s) + 30);
        s.gen.GenFreq[1] = static_cast<float>(5.0 * r(s) + 30);
        s.gen.GenFreq[2] = static_cast<float>(5.0 * r(s) + 30);
        if (k == KindSineProduct) fifthAmplitudes(s, false);
        wholeRate(s, k);
        runRandomKind(s, k);
        m.VolKind[i] = k;
        m.VolAmp[i] = ampsNow(s);
        m.VolFreq[i] = freqsNow(s);
        p += m.SegLength[i];
    }
}

// The chorus leaves the volume curve neutral, as after the chorus command; here
// the curve was just drawn for the whole second by the volume pass and stays.
void chorusKeepingVolume(EditorState& s) {
    SoundDoc& d = s.active();
    const auto len = static_cast<std::size_t>(std::clamp(d.DataLen, 0, DATALENMAX));
    std::vector<std::uint8_t> curve(d.VolumeGraph.begin(), d.VolumeGraph.begin() + static_cast<std::ptrdiff_t>(len));
    ChorusCore(s);
    std::memcpy(d.VolumeGraph.data(), curve.data(), std::min(curve.size(), d.VolumeGraph.size()));
}

void effectPass(EditorState& s, RandomWaveMemo& m, int segments) {
    SoundDoc& d = s.active();
    resetSelection(d);
    d.HasSelection = 1;
    s.gen.GenTarget = NoTarget;
    const EffectParams saved = s.effects;
    std::int32_t p = 0;
    for (int j = 0; j < segments; ++j) {
        const auto i = static_cast<std::size_t>(j);
        selectBytes(d, p, m.SegLength[i]);
        const int e = cutToInt(4.0 * r(s));
        if (e == 1 || e == 3) {
            s.effects.ChorusRatio = static_cast<float>(1.0 - 0.2 * r(s));
            s.effects.ChorusGain = static_cast<float>(1.0 - 0.5 * r(s));
        }
        if (e == 2 || e == 3) s.effects.DistortionLevel = cutToInt(100.0 * r(s));
        applyRandomEffect(s, e);
        m.FxKind[i] = e;
        m.FxChorusFreq[i] = s.effects.ChorusRatio;
        m.FxChorusVol[i] = s.effects.ChorusGain;
        m.FxDistortion[i] = s.effects.DistortionLevel;
        p += m.SegLength[i];
    }
    // The user's settings come back exactly, the gain register included.
    s.effects = saved;
}

// --- The random Sin commands

SinComponent drawSinComponent(EditorState& s, int c) {
    SinComponent comp;
    comp.kind = cutToInt(6.0 * r(s));
    if (s.random.KindFilter == 1)
        comp.kind = s.RandomWaveMemos[static_cast<std::size_t>(s.activeSlot())].SegKind[static_cast<std::size_t>(c)];
    drawAmplitudes(s, 20, 10);
    drawLimitedFrequencies(s);
    s.gen.GenFreq[2] = static_cast<float>(100.0 * r(s) + 30);
    if (comp.kind == KindSineProduct) fifthAmplitudes(s, true);
    if (comp.kind == KindPitchSwingSwing) {
        s.gen.GenFreq[0] /= 10;
        s.gen.GenFreq[1] /= 10;
    }
    wholeRate(s, comp.kind);
    comp.amp = s.gen.GenAmp;
    comp.freq = s.gen.GenFreq;
    return comp;
}

void mixInto(SoundDoc& a, const SoundDoc& b) {
    const std::int32_t len = std::clamp(std::min(a.DataLen, b.DataLen), 0, DATALENMAX);
    if (a.BitsParSample == 16) {
        for (std::int32_t i = 0; i + 1 < len; i += 2) {
            const int x = static_cast<std::int16_t>(a.Samples[i] | (a.Samples[i + 1] << 8));
            const int y = static_cast<std::int16_t>(b.Samples[i] | (b.Samples[i + 1] << 8));
            const int v = std::clamp(x + y, -32768, 32767);
            a.Samples[i] = static_cast<std::uint8_t>(v & 0xFF);
            a.Samples[i + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
        }
        return;
    }
    for (std::int32_t i = 0; i < len; ++i) {
        const int v = std::clamp((a.Samples[i] - 128) + (b.Samples[i] - 128), -127, 127);
        a.Samples[i] = static_cast<std::uint8_t>(v + 128);
    }
}

// The work slot: no window, a fresh silent sound of the same format as `from`.
void prepareWorkSlot(SoundDoc& work, const SoundDoc& from) {
    work.SRATE = from.SRATE;
    work.BitsParSample = from.BitsParSample;
    work.DataLen = oneSecondBytes(from);
    resetSelection(work);
    work.HasMarker = 0;
    work.Samples.assign(static_cast<std::size_t>(DATALENMAX), work.silenceValue());
    work.VolumeGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
    work.PitchGraph.assign(static_cast<std::size_t>(DATALENMAX), 128);
}

// The slot's buffers stay with it for the next sound (every slot keeps its
// own for the whole run); what the work left in them goes.
void releaseWorkSlot(SoundDoc& work) {
    work.DataLen = 0;
    resetSelection(work);
    std::fill(work.Samples.begin(), work.Samples.end(), work.silenceValue());
}

void runRandomSin(EditorState& s, int components, std::uint8_t kind) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    if (!haveSound(s)) return;
    s.random.ComponentCount = components;
    s.RandomWaveKind[static_cast<std::size_t>(s.activeSlot())] = kind;
    s.play.PlayPos = 0;
    runSinComponents(s, components, [&s](int c) { return drawSinComponent(s, c); }, true, nullptr);
    snapshot(s, RandomSinCode);
    s.BusyFlag = 0;
}

} // namespace

std::int32_t oneSecondBytes(const SoundDoc& d) {
    const double bytes = static_cast<double>(d.SRATE) * d.BitsParSample / 8.0;
    return std::clamp(cutToInt(bytes), 0, DATALENMAX);
}

void applyRandomEffect(EditorState& s, int fxKind) {
    if (fxKind == 1 || fxKind == 3) chorusKeepingVolume(s);
    if (fxKind == 2 || fxKind == 3) DistortionCore(s);
}

void runRandomKind(EditorState& s, int kind) {
    // The pitch sines and the noise seed the one generator from the tick
    // count. Within one tick that would start the command's draws over, and
    // every segment after the first of those kinds would repeat the ones
    // before it; the command's own sequence goes on instead.
    const std::uint32_t sequence = s.rng.state();
    const GeneratorParams& g = s.gen;
    const std::int32_t len = s.active().DataLen;
    const int f0 = cutToInt(g.GenFreq[0]), f1 = cutToInt(g.GenFreq[1]);
    switch (kind) {
    case KindSine: sineBlock(s, g.GenAmp[0], f0, len, 0.0f); break;
    case KindSineSum: sineSumBlock(s, g.GenAmp[0], f0, g.GenAmp[1], f1, len); break;
    case KindSineProduct: sineProductBlock(s, g.GenAmp[0], f0, g.GenAmp[1], f1, len); break;
    case KindPitchSwing:
    case KindPitchSwingSwing:
    case KindPitchJump: pitchSineFill(s, g.GenAmp[0], f0, g.GenFreq[1], len, kind - KindPitchSwing); break;
    case KindNoise: noiseFill(s, g.GenAmp[0], len); break;
    default: break;
    }
    s.rng.seed(sequence);
}

bool runSinComponents(EditorState& s, int count, const std::function<SinComponent(int)>& choose, bool record,
                      const char* noSlotText) {
    const int a = s.activeSlot();
    SoundDoc& A = s.docs[static_cast<std::size_t>(a)];
    int b = -1;
    if (count == 2) {
        for (int i = 0; i < SlotCount && b < 0; ++i)
            if (s.docs[static_cast<std::size_t>(i)].WindowHandle == 0) b = i;
        if (b < 0) {
            s.platform.messageBox({noSlotText ? noSlotText : "画像は" + intText(SlotCount) + "枚までです。", "<(_ _)>"});
            return false;
        }
        A.HasMarker = 0;
        prepareWorkSlot(s.docs[static_cast<std::size_t>(b)], A);
        A.DataLen = oneSecondBytes(A);
    }
    s.gen.GenTarget = WaveTarget;
    s.rng.seed(s.platform.tickCount());
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(a)];
    for (int c = 0; c < count; ++c) {
        s.ActWndNum = a; // the kind filter reads the window's own memo
        const SinComponent comp = choose(c);
        s.gen.GenAmp = comp.amp;
        s.gen.GenFreq = comp.freq;
        s.ActWndNum = c == 0 ? a : b;
        runRandomKind(s, comp.kind);
        if (!record) continue;
        const auto i = static_cast<std::size_t>(c);
        m.SegLength[i] = A.DataLen;
        if (s.random.KindFilter == 0) m.SegKind[i] = comp.kind;
        m.SegAmp[i] = ampsNow(s);
        m.SegFreq[i] = freqsNow(s);
    }
    s.ActWndNum = a;
    if (count == 2) {
        mixInto(A, s.docs[static_cast<std::size_t>(b)]);
        invalidateSlot(s, a);
        lengthChanged(s, a);
    }
    redrawSlot(s, a);
    s.BusyFlag = 0;
    PlayCommand(s);
    if (count == 2) releaseWorkSlot(s.docs[static_cast<std::size_t>(b)]);
    s.gen.GenTarget = WaveTarget;
    return true;
}

void superRandomWaveCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    WaitPointer wait(s);
    if (!haveSound(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    const KindChoice filter = kindChoiceOf(s, slot);
    d.DataLen = oneSecondBytes(d);
    s.gen.GenTarget = WaveTarget;
    s.rng.seed(s.platform.tickCount());
    d.HasSelection = 1;
    std::int32_t p = 0;
    for (int n = 0;; ++n) {
        const int k = drawSegmentKind(s, filter);
        drawAmplitudes(s, 10, 10);
        const std::int32_t len = drawSegmentLength(s, d.SRATE);
        drawLimitedFrequencies(s);
        selectBytes(d, p, len);
        if (p + len > d.DataLen) break;
        if (k == KindSineProduct) fifthAmplitudes(s, true);
        wholeRate(s, k);
        runRandomKind(s, k);
        p = d.SelStart + len;
        if (n < RandomMemoEntries) recordSegment(s, m, n, len, k);
    }
    s.RandomWaveKind[static_cast<std::size_t>(slot)] = SuperRandomWave;
    resetSelection(d);
    lengthChanged(s, slot);
    snapshot(s, SuperRandomCode);
    redrawSlot(s, slot);
    s.BusyFlag = 0;
    PlayCommand(s);
    s.gen.GenTarget = WaveTarget;
}

void superRandomEffectWaveCommand(EditorState& s) {
    if (s.BusyFlag == 1) return;
    s.BusyFlag = 1;
    WaitPointer wait(s);
    if (!haveSound(s)) return;
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    RandomWaveMemo& m = s.RandomWaveMemos[static_cast<std::size_t>(slot)];
    const KindChoice filter = kindChoiceOf(s, slot);
    d.DataLen = oneSecondBytes(d);
    s.rng.seed(s.platform.tickCount());
    d.HasSelection = 1;
    s.gen.GenTarget = WaveTarget;
    s.RandomWaveKind[static_cast<std::size_t>(slot)] = SuperRandomEffectWave;

    std::int32_t p = 0;
    int n = 0;
    for (;; ++n) {
        const std::int32_t len = drawSegmentLength(s, d.SRATE);
        selectBytes(d, p, len);
        if (p + len > d.DataLen) break;
        const int k = drawSegmentKind(s, filter);
        drawAmplitudes(s, 10, 10);
        drawLimitedFrequencies(s);
        if (k == KindSineProduct) fifthAmplitudes(s, true);
        wholeRate(s, k);
        runRandomKind(s, k);
        p = d.SelStart + len;
        if (n > SegmentWarningCount)
            s.platform.messageBox({"500超えた", "超ランダムエフェクト波"});
        else if (n < RandomMemoEntries)
            recordSegment(s, m, n, len, k);
    }
    const int segments = std::min(n, RandomMemoEntries);
    volumePass(s, m, segments);
    effectPass(s, m, segments);

    resetSelection(d);
    s.gen.GenTarget = NoTarget;
    lengthChanged(s, slot);
    snapshot(s, SuperRandomEffectCode);
    s.BusyFlag = 0;
    redrawSlot(s, slot);
    PlayCommand(s);
    invalidateSlot(s, slot);
    s.gen.GenTarget = WaveTarget;
}

void randomSinCommand(EditorState& s) { runRandomSin(s, 1, RandomSinWave); }

void randomSynthSinCommand(EditorState& s) { runRandomSin(s, 2, RandomSynthSinWave); }

} // namespace wavora
