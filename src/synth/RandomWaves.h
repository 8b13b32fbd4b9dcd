#pragma once
// The "超ランダム(&R)" menu's generators: a one-second collage of random
// segments (with or without random volume and effects over them), and one or
// two randomly chosen sines mixed into one second. Every choice goes into the
// window's RandomWaveMemo, from which the memo commands describe and rebuild
// the wave.
#include "core/EditorState.h"
#include "core/Platform.h"

#include <array>
#include <cstdint>
#include <functional>

namespace wavora {

// Generator kinds of the memo: the three periodic sines, the three pitch
// sines of types 0..2 and noise.
enum RandomGenKind : int {
    KindSine = 0,
    KindSineSum = 1,
    KindSineProduct = 2,
    KindPitchSwing = 3,
    KindPitchSwingSwing = 4,
    KindPitchJump = 5,
    KindNoise = 6,
};

void superRandomWaveCommand(EditorState& s);       // 1239
void superRandomEffectWaveCommand(EditorState& s); // 1242
void randomSinCommand(EditorState& s);             // 1261
void randomSynthSinCommand(EditorState& s);        // 1255

// One second of the sound in bytes, as far as a sound can hold it.
std::int32_t oneSecondBytes(const SoundDoc& d);

// Runs generator `kind` with GenAmp and GenFreq as they stand over the active
// sound's region (its selection, or its DataLen). Kinds outside 0..6 write
// nothing. The random commands' own sequence of numbers goes on afterwards
// as if the generator had not seeded its own.
void runRandomKind(EditorState& s, int kind);

// The effect pass's choice for one segment with the chorus and distortion
// parameters in s.effects: 1 chorus, 2 distortion, 3 both (chorus first),
// anything else nothing. The volume curve stays as it is.
void applyRandomEffect(EditorState& s, int fxKind);

// One component of a random Sin: what it generates with.
struct SinComponent {
    int kind = 0;
    std::array<std::uint8_t, 3> amp{};
    std::array<float, 3> freq{};
};

// The random Sin routine: component 0 into the active sound, component 1 (with
// two components) into a hidden work slot that is then mixed in, both one
// second long; the result is drawn and played. `choose` gives component c.
// With `record` the components go into the active window's memo. False,
// after a message box with `noSlotText`, when no slot is free for the work.
bool runSinComponents(EditorState& s, int count, const std::function<SinComponent(int)>& choose, bool record,
                      const char* noSlotText);

// Shows the hourglass while a random command works.
class WaitPointer {
public:
    explicit WaitPointer(EditorState& s) : s_(s) { s_.platform.setWaitCursor(true); }
    ~WaitPointer() { s_.platform.setWaitCursor(false); }
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;

private:
    EditorState& s_;
};

} // namespace wavora
