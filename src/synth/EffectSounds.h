#pragma once
// Effect sounds for games in one press: a coin, a laser, an explosion, a
// power-up, a hit, a jump and a select blip. Each is made from the program's
// own generators in a new window (16-bit, 44100 Hz): the waveform from a
// sine, a single period repeated as the pattern input repeats it, a
// pitch-swinging sine or noise; the volume graph drawn as an envelope and the
// pitch graph as the kind's movement, so that every tool of the editor can
// reshape the result. Every choice comes from one seed per press and is kept
// in the window's memo, from which the same bytes come again.
#include "core/EditorState.h"

#include <array>
#include <cstdint>
#include <string>

namespace wavora {

enum EffectSoundKind : int {
    CoinSound = 0,
    LaserSound = 1,
    ExplosionSound = 2,
    PowerUpSound = 3,
    HitSound = 4,
    JumpSound = 5,
    SelectSound = 6,
};

// What each parameter of a recipe stands for.
enum EffectParam : int {
    ParamWave = 0,       // EffectWave below
    ParamLengthMs,       // 100 .. 2000
    ParamFrequency,      // Hz of the tone (unused by noise)
    ParamAmplitude,      // 1 .. 127, as the generators take it
    ParamAttackMs,       // the envelope's rise
    ParamSustainPercent, // where the decay begins, in per cent of the length
    ParamPitchStart,     // pitch at the start in tenths of a semitone
    ParamPitchEnd,       // pitch at the end
    ParamPitchSteps,     // 0: a glide; n: n jumps from start to end
    ParamFirstStepPercent, // where the first jump comes; the rest share what is left
    ParamLowPassHz,      // 0: no filter
    ParamLowPassPasses,
    ParamDistortion,     // below MinDistortion: none
};

enum EffectWave : int { WaveSine = 0, WaveSquare, WaveTriangle, WaveSaw, WavePitchSwing, WaveNoise };

constexpr int FirstEffectSoundId = 1280; // 1280 .. 1286, in the order of the kinds
constexpr int VaryEffectSoundId = 1287;
constexpr int EffectSoundFirstCode = 40; // operation codes 40 .. 46
constexpr int MinDistortion = 15;

struct ParamRange {
    std::int32_t min = 0, max = 0;
};
using EffectRanges = std::array<ParamRange, EffectSoundParamCount>;

// The kind's name as titles and undo captions show it; "" outside 0..6.
const std::string& effectSoundName(int kind);
// Where each parameter of the kind may lie.
const EffectRanges& effectSoundRanges(int kind);

// Every parameter drawn from the program's random numbers seeded with `seed`.
EffectSoundMemo chooseEffectSound(int kind, std::uint32_t seed);
// Every parameter moved by at most a tenth of its range (and kept inside it)
// with numbers from `seed`, which also becomes the noise's seed.
EffectSoundMemo varyEffectSound(const EffectSoundMemo& from, std::uint32_t seed);
// False for a kind or a parameter the program could not have chosen.
bool effectSoundValid(const EffectSoundMemo& m);

// Fills the active slot (16-bit with its buffers) from the recipe: DataLen,
// samples and both graphs. Generator, pattern and effect settings of the
// user come out as they went in.
void buildEffectSound(EditorState& s, const EffectSoundMemo& m);

// A new window "<name><n>" with the sound of the recipe, one undo step with
// the kind's code, and an audition. False (nothing made) when no window can
// be made, after the usual message.
bool makeEffectSoundWindow(EditorState& s, const EffectSoundMemo& m);

void coinCommand(EditorState& s);      // 1280
void laserCommand(EditorState& s);     // 1281
void explosionCommand(EditorState& s); // 1282
void powerUpCommand(EditorState& s);   // 1283
void hitCommand(EditorState& s);       // 1284
void jumpCommand(EditorState& s);      // 1285
void selectCommand(EditorState& s);    // 1286
void varyEffectSoundCommand(EditorState& s); // 1287 "ちょっと変える"

} // namespace wavora
