#pragma once
// Equal-tempered notes: octave 4 holds the A of 440 Hz in the middle of the piano.
namespace wavora {

// Note 0 = ド(C) .. 11 = シ(B). The frequency in whole Hz, rounded down, as the
// sine generators take it.
int scaleFrequency(int octave, int note);

} // namespace wavora
