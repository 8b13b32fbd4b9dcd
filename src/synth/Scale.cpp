#include "synth/Scale.h"

#include "synth/SineGenerators.h"

#include <cmath>

namespace wavora {

// One cent, 2^(1/1200), to the ten decimals the frequencies have always been
// computed with; a semitone is 100 of them.
constexpr double CentRatio = 1.0005777895;

int scaleFrequency(int octave, int note) {
    const double semitonesFromA4 = octave * 12.0 + note - 57.0;
    return floorToInt(440.0 * std::pow(CentRatio, 100.0 * semitonesFromA4));
}

} // namespace wavora
