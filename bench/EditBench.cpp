// What each effect costs on a full 500000-byte sound, against one plain pass
// over the same bytes (read each byte, write it changed), in the same run.
// Effects that walk the sound several times are also given per pass.
#include "RatioReporter.h"
#include "FakePlatform.h"
#include "edit/EffectCores.h"
#include "edit/SampleMath.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace wavora;

struct Bench {
    test::FakePlatform fake;
    std::unique_ptr<EditorState> s = std::make_unique<EditorState>(fake);
    std::vector<std::uint8_t> original;

    Bench() {
        SoundDoc& d = s->docs[0];
        d.SRATE = 44100;
        d.BitsParSample = 8;
        d.DataLen = DATALENMAX;
        std::uint32_t x = 1;
        for (auto& b : d.Samples) {
            x = x * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(96 + (x >> 16) % 64); // a busy sound that rarely clips
        }
        original = d.Samples;
    }
    // Every run starts from the same sound; the reset is not timed.
    void reset(benchmark::State& state) {
        state.PauseTiming();
        SoundDoc& d = s->docs[0];
        std::memcpy(d.Samples.data(), original.data(), original.size());
        d.DataLen = DATALENMAX;
        d.HasSelection = 0;
        d.SelStart = 0;
        state.ResumeTiming();
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void BM_PlainPass(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = bench().s->docs[0].Samples;
    for (auto _ : state) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(DATALENMAX); ++i) buf[i] = static_cast<std::uint8_t>(buf[i] + 1);
        benchmark::ClobberMemory();
    }
}

void BM_ScaleRange(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        b.reset(state);
        scaleBy(*b.s, b.s->docs[0].Samples, 0, DATALENMAX, 0.7f);
    }
}

void BM_MixInto(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        b.reset(state);
        MixInto(*b.s, b.s->docs[0].Samples, b.original, DATALENMAX, 0);
    }
}

void BM_Distortion(benchmark::State& state) {
    Bench& b = bench();
    b.s->effects.DistortionLevel = 59;
    for (auto _ : state) {
        b.reset(state);
        DistortionCore(*b.s);
    }
}

void BM_Echo(benchmark::State& state) {
    Bench& b = bench();
    b.s->effects.EchoDelay = 0.3f;
    b.s->effects.EchoDecay = 0.7f;
    for (auto _ : state) {
        b.reset(state);
        EchoCore(*b.s);
    }
}

void BM_MultiEcho(benchmark::State& state) {
    Bench& b = bench();
    b.s->effects.EchoDecay = 0.7f;
    for (auto _ : state) {
        b.reset(state);
        b.s->effects.EchoStep = 30000; // a delay of 3 "seconds": 67 echoes
        MultiEchoCore(*b.s, 10);
    }
}

void BM_Chorus(benchmark::State& state) {
    Bench& b = bench();
    b.s->effects.ChorusRatio = 1.2f; // a full sound has no room to grow
    b.s->effects.ChorusGain = 0.8f;
    for (auto _ : state) {
        b.reset(state);
        ChorusCore(*b.s);
    }
}

BENCHMARK(BM_PlainPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScaleRange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixInto)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Distortion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Echo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MultiEcho)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Chorus)->Unit(benchmark::kMicrosecond);

// Passes over the sound each effect makes: echo at 3000 bytes doubles to
// 384000 (8 passes); the multi-echo places 67 echoes; the chorus copies,
// resamples, scales and mixes.
struct Passes {
    const char* name;
    double passes;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.seconds["BM_PlainPass"];
    if (plain > 0) {
        std::printf("%-16s %10s %8s %12s\n", "effect", "/ plain", "passes", "per pass");
        for (const Passes& p : {Passes{"BM_ScaleRange", 1}, Passes{"BM_MixInto", 1}, Passes{"BM_Distortion", 2},
                                Passes{"BM_Echo", 8}, Passes{"BM_MultiEcho", 67}, Passes{"BM_Chorus", 4}}) {
            const double t = reporter.seconds[p.name];
            if (t > 0) std::printf("%-16s %10.1f %8.0f %12.2f\n", p.name, t / plain, p.passes, t / plain / p.passes);
        }
    }
    benchmark::Shutdown();
    return 0;
}
