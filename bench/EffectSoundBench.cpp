// What one press of the effect-sound menu costs: each kind made (a new
// window, the waveform, both graphs, its undo step) and auditioned through
// the fake device, against the 16 ms of one frame; and the filter per pass
// over a full 16-bit sound against a plain pass over the same bytes, in the
// same run.
#include "FakePlatform.h"
#include "RatioReporter.h"
#include "audio/Audition.h"
#include "edit/Filters.h"
#include "synth/EffectSounds.h"
#include "view/SoundWindows.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace wavora;

struct Bench {
    std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("wavora-sfx-bench-" + std::to_string(getpid()));
    test::FakePlatform fake;
    std::unique_ptr<EditorState> s;
    Bench() {
        std::filesystem::create_directories(root / "WavoraUnDo");
        s = std::make_unique<EditorState>(fake, root);
    }
    ~Bench() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

// The whole press: window, sound, graphs, undo step and audition.
void BM_EffectSound(benchmark::State& state) {
    Bench& b = bench();
    const int kind = static_cast<int>(state.range(0));
    std::uint32_t seed = 1;
    for (auto _ : state) {
        makeEffectSoundWindow(*b.s, chooseEffectSound(kind, seed++));
        state.PauseTiming();
        b.fake.written.clear();
        releaseSlot(*b.s, b.s->activeSlot());
        state.ResumeTiming();
    }
}

// Only the sound and what the audition renders from it, without the window
// and the undo files.
void BM_EffectSoundBuildAndRender(benchmark::State& state) {
    Bench& b = bench();
    const int kind = static_cast<int>(state.range(0));
    makeEffectSoundWindow(*b.s, chooseEffectSound(kind, 1));
    std::uint32_t seed = 1;
    for (auto _ : state) {
        buildEffectSound(*b.s, chooseEffectSound(kind, seed++));
        std::int32_t length = 0;
        renderAudition(*b.s, b.s->active(), true, length);
        benchmark::DoNotOptimize(length);
    }
    releaseSlot(*b.s, b.s->activeSlot());
}

std::vector<std::uint8_t>& fullSound() {
    static std::vector<std::uint8_t> buf = [] {
        std::vector<std::uint8_t> v(static_cast<std::size_t>(DATALENMAX));
        std::uint32_t x = 1;
        for (auto& byte : v) {
            x = x * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(x >> 16);
        }
        return v;
    }();
    return buf;
}

void BM_PlainPass(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = fullSound();
    for (auto _ : state) {
        for (std::size_t i = 0; i < buf.size(); ++i) buf[i] = static_cast<std::uint8_t>(buf[i] + 1);
        benchmark::ClobberMemory();
    }
}

void BM_FilterPass(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = fullSound();
    const Biquad q = butterworth(FilterKind::LowPass, 1000, 44100);
    for (auto _ : state) {
        filterSamples(buf, 0, DATALENMAX, 16, 1, q, static_cast<int>(state.range(0)));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_EffectSound)->DenseRange(0, EffectSoundKindCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EffectSoundBuildAndRender)->DenseRange(0, EffectSoundKindCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterPass)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int k = 0; k < EffectSoundKindCount; ++k) {
        const double t = reporter.seconds["BM_EffectSound/" + std::to_string(k)];
        if (t > 0) std::printf("%-14s %6.2f ms per press (%.0f %% of a 16 ms frame)\n", effectSoundName(k).c_str(), t * 1e3, t * 1e3 / 16 * 100);
    }
    const double plain = reporter.seconds["BM_PlainPass"];
    const double one = reporter.seconds["BM_FilterPass/1"], four = reporter.seconds["BM_FilterPass/4"];
    if (plain > 0 && one > 0) std::printf("filter: one pass %.1f x a plain pass; four passes %.1f x\n", one / plain, four / plain);
    benchmark::Shutdown();
    return 0;
}
