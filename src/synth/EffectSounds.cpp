#include "synth/EffectSounds.h"

#include "audio/Audition.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "edit/EditSupport.h"
#include "edit/EffectCores.h"
#include "edit/Filters.h"
#include "pattern/ExtractPattern.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundWindows.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

constexpr std::int32_t EffectRate = 44100;
// The pitch graph is held where the stretched sound still fits a buffer: a
// 2-second sound slowed to 0.42 is 420000 bytes.
constexpr std::int32_t LowestPitch = -150, HighestPitch = 240;

const std::array<std::string, EffectSoundKindCount> kNames = {"コイン", "レーザー", "爆発", "パワーアップ",
                                                             "ダメージ", "ジャンプ", "ピッ"};

// Per kind: wave, length, frequency, amplitude, attack, sustain, pitch start
// and end, steps, first step, low-pass, passes, distortion. The character of
// each kind is in its ranges: a coin jumps up once, a laser falls, a
// power-up climbs in steps, a jump glides up (the pitch-swinging sine rises
// by itself, so it serves the jump and never the laser), an explosion is
// noise falling through the low-pass filter, a hit a short, filtered and
// driven crack.
const std::array<EffectRanges, EffectSoundKindCount> kRanges = {{
    {{{0, 2}, {250, 700}, {700, 1400}, {70, 110}, {0, 8}, {20, 60}, {0, 0}, {30, 120}, {1, 1}, {12, 40}, {0, 0}, {1, 1}, {0, 0}}},
    {{{1, 3}, {150, 500}, {500, 1200}, {60, 100}, {0, 4}, {5, 40}, {60, 180}, {-150, -60}, {0, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}}},
    {{{5, 5}, {700, 2000}, {0, 0}, {100, 127}, {0, 20}, {0, 25}, {0, 30}, {-150, -70}, {0, 0}, {0, 0}, {250, 1200}, {1, 3}, {0, 0}}},
    {{{0, 2}, {400, 1000}, {250, 600}, {60, 100}, {0, 10}, {40, 80}, {0, 0}, {120, 240}, {3, 7}, {8, 25}, {0, 0}, {1, 1}, {0, 0}}},
    {{{5, 5}, {100, 350}, {0, 0}, {90, 127}, {0, 3}, {0, 15}, {0, 60}, {-150, -60}, {0, 0}, {0, 0}, {1500, 6000}, {1, 2}, {0, 60}}},
    {{{1, 4}, {200, 500}, {200, 500}, {60, 100}, {0, 10}, {20, 60}, {-20, 0}, {50, 140}, {0, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}}},
    {{{0, 2}, {100, 200}, {800, 2000}, {50, 90}, {0, 4}, {30, 70}, {0, 0}, {0, 30}, {0, 1}, {30, 60}, {0, 0}, {1, 1}, {0, 0}}},
}};

std::int32_t param(const EffectSoundMemo& m, EffectParam p) { return m.params[static_cast<std::size_t>(p)]; }

// ---- The waveform

// One period of a square, triangle or saw as 16-bit little-endian bytes in
// PatternBuf, repeated over the sound by the pattern input. What the user
// had in the pattern comes back afterwards.
void repeatPeriod(EditorState& s, int wave, std::int32_t freq, int amp) {
    const std::int32_t period = std::max(2, cutToInt(static_cast<double>(EffectRate) / std::max(freq, 1) + 0.5));
    std::vector<std::uint8_t>& buf = s.pattern.PatternBuf;
    const std::vector<std::uint8_t> kept(buf.begin(), buf.begin() + 2 * period);
    const std::int32_t keptLen = s.pattern.PatternLen;
    const double a = amp * 256.0;
    for (std::int32_t i = 0; i < period; ++i) {
        const double x = static_cast<double>(i) / period; // 0 .. 1 across the period
        double v = 0;
        if (wave == WaveSquare) v = x < 0.5 ? a : -a;
        else if (wave == WaveTriangle) v = a * (x < 0.5 ? 4 * x - 1 : 3 - 4 * x);
        else v = a * (2 * x - 1);
        putSampleValue(buf, 2 * i, cutToInt(v), true);
    }
    s.pattern.PatternLen = 2 * period;
    writePattern(s, s.active().Samples, PatternInput::Continuous);
    std::copy(kept.begin(), kept.end(), buf.begin());
    s.pattern.PatternLen = keptLen;
}

// The peak brought to the amplitude's level: the filter leaves noise much
// quieter than it went in.
void normalise(SoundDoc& d, int amp) {
    int peak = 0;
    for (std::int32_t i = 0; i + 1 < d.DataLen; i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(d.Samples[i] | (d.Samples[i + 1] << 8)))));
    if (peak == 0) return;
    const double g = amp * 256.0 / peak;
    for (std::int32_t i = 0; i + 1 < d.DataLen; i += 2) {
        const int x = static_cast<std::int16_t>(d.Samples[i] | (d.Samples[i + 1] << 8));
        putSampleValue(d.Samples, i, std::clamp(cutToInt(x * g), -32767, 32767), true);
    }
}

void fillWave(EditorState& s, const EffectSoundMemo& m) {
    SoundDoc& d = s.active();
    const int wave = param(m, ParamWave);
    const auto amp = static_cast<std::uint8_t>(std::clamp(param(m, ParamAmplitude), 1, 127));
    const std::int32_t freq = std::max(param(m, ParamFrequency), 1);
    s.gen.GenTarget = GenTargetFlags{};
    switch (wave) {
    case WaveSine: sineBlock(s, amp, freq, d.DataLen, 0.0f); break;
    case WavePitchSwing:
        // A quarter of the swing over the sound: the pitch rises all the way.
        pitchSineFill(s, amp, freq, 250.0f / static_cast<float>(param(m, ParamLengthMs)), d.DataLen, PitchSwingsSine);
        break;
    case WaveNoise:
        s.rng.seed(m.seed);
        noiseFillFromSequence(s, amp, d.DataLen);
        break;
    default: repeatPeriod(s, wave, freq, amp); break;
    }
    if (param(m, ParamLowPassHz) > 0) {
        filterActive(s, FilterKind::LowPass, param(m, ParamLowPassHz), param(m, ParamLowPassPasses));
        normalise(d, amp);
    }
    if (param(m, ParamDistortion) >= MinDistortion) {
        s.effects.DistortionLevel = param(m, ParamDistortion);
        DistortionCore(s);
    }
}

// ---- The graphs

// Attack, full level until the sustain point, then a straight fall to
// nothing at the end. 0..1 at byte `i` of `len`.
double envelope(const EffectSoundMemo& m, std::int32_t i, std::int32_t len) {
    const double ms = i * 1000.0 / (EffectRate * 2);
    const double attack = param(m, ParamAttackMs);
    if (ms < attack) return ms / attack;
    const double from = std::max(len * param(m, ParamSustainPercent) / 100.0, attack * EffectRate * 2 / 1000.0);
    if (i < from) return 1;
    return std::max(0.0, (len - i) / std::max(len - from, 1.0));
}

// Tenths of a semitone at byte `i`: a glide from start to end, or the start
// held until the first step and then `steps` equal jumps.
double pitchTenths(const EffectSoundMemo& m, std::int32_t i, std::int32_t len) {
    const double start = param(m, ParamPitchStart), end = param(m, ParamPitchEnd);
    const double x = static_cast<double>(i) / len;
    const int steps = param(m, ParamPitchSteps);
    if (steps <= 0) return start + (end - start) * x;
    const double first = param(m, ParamFirstStepPercent) / 100.0;
    if (x < first) return start;
    const int k = std::min(steps, 1 + static_cast<int>((x - first) / ((1 - first) / steps)));
    return start + (end - start) * k / steps;
}

std::uint8_t volumeByte(double level) { return static_cast<std::uint8_t>(std::clamp(cutToInt(256.0 - 128.0 * level), 0, 255)); }

// The byte whose speed ratio 10^((128 - v) / 128) is 2^(tenths / 120), so
// v = 128 - 128 log10(2) tenths / 120, rounded.
std::uint8_t pitchByte(double tenths) {
    static const double perTenth = 128.0 * std::log10(2.0) / 120.0;
    const double t = std::clamp(tenths, static_cast<double>(LowestPitch), static_cast<double>(HighestPitch));
    return static_cast<std::uint8_t>(std::clamp(cutToInt(128.5 - perTenth * t), 0, 255));
}

void drawGraphs(SoundDoc& d, const EffectSoundMemo& m) {
    for (std::int32_t i = 0; i < d.DataLen; ++i) {
        d.VolumeGraph[static_cast<std::size_t>(i)] = volumeByte(envelope(m, i, d.DataLen));
        d.PitchGraph[static_cast<std::size_t>(i)] = pitchByte(pitchTenths(m, i, d.DataLen));
    }
}

// ---- The commands

void pressKind(EditorState& s, int kind) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    makeEffectSoundWindow(s, chooseEffectSound(kind, s.platform.tickCount()));
}

} // namespace

const std::string& effectSoundName(int kind) {
    static const std::string none;
    return kind >= 0 && kind < EffectSoundKindCount ? kNames[static_cast<std::size_t>(kind)] : none;
}

const EffectRanges& effectSoundRanges(int kind) {
    return kRanges[static_cast<std::size_t>(std::clamp(kind, 0, EffectSoundKindCount - 1))];
}

EffectSoundMemo chooseEffectSound(int kind, std::uint32_t seed) {
    EffectSoundMemo m;
    m.kind = std::clamp(kind, 0, EffectSoundKindCount - 1);
    m.seed = seed;
    Lcg rng;
    rng.seed(seed);
    const EffectRanges& r = effectSoundRanges(m.kind);
    for (std::size_t p = 0; p < r.size(); ++p)
        m.params[p] = std::min(r[p].max, r[p].min + cutToInt(rng.uniform() * (r[p].max - r[p].min + 1)));
    return m;
}

EffectSoundMemo varyEffectSound(const EffectSoundMemo& from, std::uint32_t seed) {
    EffectSoundMemo m = from;
    m.seed = seed;
    Lcg rng;
    rng.seed(seed);
    const EffectRanges& r = effectSoundRanges(m.kind);
    for (std::size_t p = 0; p < r.size(); ++p) {
        const std::int32_t reach = (r[p].max - r[p].min) / 10;
        const std::int32_t move = cutToInt(rng.uniform() * (2 * reach + 1)) - reach;
        m.params[p] = std::clamp(from.params[p] + move, r[p].min, r[p].max);
    }
    return m;
}

bool effectSoundValid(const EffectSoundMemo& m) {
    if (m.kind < 0 || m.kind >= EffectSoundKindCount) return false;
    const EffectRanges& r = effectSoundRanges(m.kind);
    for (std::size_t p = 0; p < r.size(); ++p)
        if (m.params[p] < r[p].min || m.params[p] > r[p].max) return false;
    return true;
}

void buildEffectSound(EditorState& s, const EffectSoundMemo& m) {
    SoundDoc& d = s.active();
    const GeneratorParams gen = s.gen;
    const EffectParams effects = s.effects;
    // Silence under the new sound and under what an older, longer one left.
    const std::int32_t before = std::clamp(d.DataLen, 0, DATALENMAX);
    d.DataLen = std::clamp(param(m, ParamLengthMs), 1, 2000) * EffectRate / 1000 * 2; // whole samples
    d.HasSelection = 0;
    std::fill_n(d.Samples.begin(), std::max(before, d.DataLen), std::uint8_t{0});
    fillWave(s, m);
    drawGraphs(d, m);
    s.gen = gen;
    s.effects = effects;
}

bool makeEffectSoundWindow(EditorState& s, const EffectSoundMemo& m) {
    // Five windows are the limit, said as the new-sound command says it.
    if (reserveSlot(s) < 0) return false;
    const auto kind = static_cast<std::size_t>(m.kind);
    const std::string title = effectSoundName(m.kind) + intText(s.EffectSoundsMade[kind] + 1);
    const int slot = createSoundWindow(s, title, DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) return false;
    ++s.EffectSoundsMade[kind];
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.SRATE = EffectRate;
    d.BitsParSample = 16;
    allocateNewSound(s);
    d.DataLen = 0; // the buffers are silent throughout already
    buildEffectSound(s, m);
    fitViewToLength(s, slot);
    s.RandomWaveKind[static_cast<std::size_t>(slot)] = EffectSoundWave;
    s.EffectSoundMemos[static_cast<std::size_t>(slot)] = m;
    redrawSlot(s, slot);
    snapshot(s, EffectSoundFirstCode + m.kind);
    // Heard once, with its graphs, and not again by the automatic audition.
    auditionActive(s, false);
    markChangesHeard(s);
    return true;
}

void coinCommand(EditorState& s) { pressKind(s, CoinSound); }
void laserCommand(EditorState& s) { pressKind(s, LaserSound); }
void explosionCommand(EditorState& s) { pressKind(s, ExplosionSound); }
void powerUpCommand(EditorState& s) { pressKind(s, PowerUpSound); }
void hitCommand(EditorState& s) { pressKind(s, HitSound); }
void jumpCommand(EditorState& s) { pressKind(s, JumpSound); }
void selectCommand(EditorState& s) { pressKind(s, SelectSound); }

void varyEffectSoundCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    const auto slot = static_cast<std::size_t>(s.activeSlot());
    if (s.RandomWaveKind[slot] != EffectSoundWave) {
        showFaceMessage(s, "効果音メニューで作った音のウィンドウを選んでから、もう一度どうぞ。");
        return;
    }
    makeEffectSoundWindow(s, varyEffectSound(s.EffectSoundMemos[slot], s.platform.tickCount()));
}

} // namespace wavora
