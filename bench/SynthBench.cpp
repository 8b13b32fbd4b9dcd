// What each generator costs on a full 500000-byte sound, against the least any
// generator can cost (setting every byte of the region) and, for the periodic
// ones, against computing a sine for every byte instead of repeating a block.
#include "RatioReporter.h"
#include "FakePlatform.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace wavora;

struct Bench {
    test::FakePlatform fake;
    std::unique_ptr<EditorState> s;

    Bench() {
        s = std::make_unique<EditorState>(fake);
        SoundDoc& d = s->docs[0];
        d.SRATE = 44100;
        d.BitsParSample = 8;
        d.DataLen = DATALENMAX;
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

std::int32_t length() {
    return bench().s->docs[0].DataLen;
}

void BM_PlainWrite(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = bench().s->docs[0].Samples;
    std::uint8_t v = 0;
    for (auto _ : state) {
        std::memset(buf.data(), ++v, static_cast<std::size_t>(length()));
        benchmark::ClobberMemory();
    }
}

// A value computed for each byte, the cheapest loop a generator could be.
void BM_ByteLoop(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = bench().s->docs[0].Samples;
    const std::int32_t n = length();
    std::uint8_t v = 0;
    for (auto _ : state) {
        ++v;
        for (std::int32_t i = 0; i < n; ++i)
            buf[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 13 + v);
        benchmark::ClobberMemory();
    }
}

// One sine per byte, the way a generator without a repeated block would work.
void BM_SinePerByte(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = bench().s->docs[0].Samples;
    const std::int32_t n = length();
    for (auto _ : state) {
        double t = 0;
        for (std::int32_t i = 0; i < n; ++i) {
            const float sine = static_cast<float>(std::sin(GenTwoPi * t * 440.0));
            buf[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(floorToInt(100.0f * sine) + 128);
            t += 1.0 / 44100.0;
        }
        benchmark::ClobberMemory();
    }
}

void BM_SineBlock(benchmark::State& state) {
    for (auto _ : state)
        sineBlock(*bench().s, 100, 440, length(), 0.0f);
}
void BM_SineSumBlock(benchmark::State& state) {
    for (auto _ : state)
        sineSumBlock(*bench().s, 50, 440, 50, 50, length());
}
void BM_SineProductBlock(benchmark::State& state) {
    for (auto _ : state)
        sineProductBlock(*bench().s, 10, 440, 10, 50, length());
}
void BM_PitchSwing(benchmark::State& state) {
    for (auto _ : state)
        pitchSineFill(*bench().s, 50, 440, 50.0f, length(), PitchSwingsSine);
}
void BM_PitchSwingSwing(benchmark::State& state) {
    for (auto _ : state)
        pitchSineFill(*bench().s, 50, 440, 50.0f, length(), PitchSwingRateSwings);
}
void BM_PitchJump(benchmark::State& state) {
    for (auto _ : state)
        pitchSineFill(*bench().s, 50, 440, 100.0f, length(), PitchJumpsRandomly);
}
void BM_Noise(benchmark::State& state) {
    for (auto _ : state)
        noiseFill(*bench().s, 50, length());
}

BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ByteLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SinePerByte)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SineBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SineSumBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SineProductBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PitchSwing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PitchSwingSwing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PitchJump)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Noise)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.seconds["BM_PlainWrite"];
    const double loop = reporter.seconds["BM_ByteLoop"];
    const double perByte = reporter.seconds["BM_SinePerByte"];
    if (plain > 0 && loop > 0) {
        std::printf("%-20s %12s %12s\n", "ratio of", "/ memset", "/ byte loop");
        for (const char* name : {"BM_SinePerByte", "BM_SineBlock", "BM_SineSumBlock", "BM_SineProductBlock",
                                 "BM_PitchSwing", "BM_PitchSwingSwing", "BM_PitchJump", "BM_Noise"}) {
            const double t = reporter.seconds[name];
            if (t > 0) std::printf("%-20s %12.1f %12.1f\n", name, t / plain, t / loop);
        }
    }
    const double block = reporter.seconds["BM_SineBlock"];
    if (block > 0 && perByte > 0) std::printf("one sine per byte / sineBlock: %.2f\n", perByte / block);
    benchmark::Shutdown();
    return 0;
}
