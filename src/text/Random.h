#pragma once
// The one random number generator of the program: a 32-bit linear congruential
// generator, seeded from the tick count at the start of every random command.
#include <cstdint>

namespace wavora {

class Lcg {
public:
    void seed(std::uint32_t s) { state_ = s; }
    std::uint32_t state() const { return state_; }
    // 0..32767
    int next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ / 65536u) % 32768u);
    }
    // [0, 1) in steps of 0.00001: the square of the next value, modulo 100000.
    double uniform() {
        std::int64_t v = next();
        return static_cast<double>((v * v) % 100000) / 100000.0;
    }

private:
    std::uint32_t state_ = 1;
};

} // namespace wavora
