#include "audio/Curves.h"

#include <array>
#include <cmath>

namespace wavora {

float volumeGain(std::uint8_t v) { return static_cast<float>(256 - v) / 128.0f; }

namespace {

// The exponent is held in single precision, the power taken in double and the
// result kept in single precision: the same 256 values on every build.
std::array<float, 256> makeRatios() {
    std::array<float, 256> r{};
    for (int v = 0; v < 256; ++v) {
        const float exponent = static_cast<float>(128 - v) / 128.0f;
        r[static_cast<std::size_t>(v)] = static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
    }
    return r;
}

} // namespace

float pitchRatio(std::uint8_t v) {
    static const std::array<float, 256> ratios = makeRatios();
    return ratios[v];
}

} // namespace wavora
