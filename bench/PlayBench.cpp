// The pitch graph written into a sound at its worst: a ratio that changes at
// every 10-byte block of a 500000-byte sound. The one-pass stretch against
// the literal one (a resampling and three moves of the whole tail per block)
// and against the least any pass can cost, one copy of the three buffers.
#include "FakePlatform.h"
#include "LiteralPlay.h"
#include "RatioReporter.h"
#include "audio/Audition.h"
#include "audio/PitchStretch.h"
#include "audio/Render.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using namespace wavora;

struct Bench {
    test::FakePlatform fake;
    std::unique_ptr<EditorState> s = std::make_unique<EditorState>(fake);
    std::vector<std::uint8_t> samples, volume, pitch;

    Bench() {
        samples.resize(DATALENMAX);
        volume.assign(DATALENMAX, 128);
        pitch.assign(DATALENMAX, 128);
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(128 + 100 * ((i / 50) % 2));
        for (std::size_t p = 10; p < pitch.size(); p += 10) pitch[p] = (p / 10) % 2 ? 127 : 129;
        for (std::size_t i = 0; i < volume.size(); i += 7) volume[i] = 100;
    }
    void reload() {
        SoundDoc& d = s->docs[0];
        d.BitsParSample = 8;
        d.DataLen = DATALENMAX;
        std::memcpy(d.Samples.data(), samples.data(), samples.size());
        std::memcpy(d.VolumeGraph.data(), volume.data(), volume.size());
        std::memcpy(d.PitchGraph.data(), pitch.data(), pitch.size());
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void BM_CopyThreeBuffers(benchmark::State& state) {
    Bench& b = bench();
    SoundDoc& d = b.s->docs[0];
    for (auto _ : state) {
        std::memcpy(b.s->WorkBuffer1.data(), d.Samples.data(), DATALENMAX);
        std::memcpy(b.s->WorkBuffer2.data(), d.VolumeGraph.data(), DATALENMAX);
        std::memcpy(b.s->WorkBuffer3.data(), d.PitchGraph.data(), DATALENMAX);
        benchmark::ClobberMemory();
    }
}

void BM_OnePassStretch(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        state.ResumeTiming();
        const std::int32_t n = buildPitchRatios(b.s->docs[0], b.s->render.PitchRatios);
        benchmark::DoNotOptimize(stretchPitchRuns(*b.s, b.s->render.PitchRatios.data(), n, nullptr));
    }
}

void BM_LiteralStretch(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        state.ResumeTiming();
        benchmark::DoNotOptimize(test::literalPitchStretch(*b.s));
    }
}

// Play's own rendering of the sound: the stretch in one pass, then the volume.
void BM_PlayRendering(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        state.ResumeTiming();
        const std::int32_t n = buildPitchRatios(b.s->docs[0], b.s->render.PitchRatios);
        benchmark::DoNotOptimize(stretchPitchRuns(*b.s, b.s->render.PitchRatios.data(), n, nullptr));
        ApplyVolumeGraph(*b.s, 0, b.s->docs[0].DataLen);
    }
}

// From a change (an undo step counted) to the audition's write to the
// device, with the automatic audition on; the sound itself is not touched.
void BM_ChangeToAudition(benchmark::State& state) {
    Bench& b = bench();
    b.reload();
    SoundDoc& d = b.s->docs[0];
    d.WindowHandle = 1;
    b.s->WindowCount = 1;
    b.s->play.AutoAudition = 1;
    for (auto _ : state) {
        state.PauseTiming();
        b.fake.written.clear();
        b.fake.writtenHeaders.clear();
        b.fake.posted.clear();
        b.fake.waveCalls.clear();
        ++b.s->ChangeSerial;
        state.ResumeTiming();
        auditionIfChanged(*b.s);
    }
    if (b.fake.written.size() != 1) state.SkipWithError("the audition did not reach the device");
    d.WindowHandle = 0;
    b.s->WindowCount = 0;
}

BENCHMARK(BM_CopyThreeBuffers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayRendering)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChangeToAudition)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnePassStretch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralStretch)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double copy = reporter.seconds["BM_CopyThreeBuffers"];
    const double fast = reporter.seconds["BM_OnePassStretch"];
    const double literal = reporter.seconds["BM_LiteralStretch/iterations:2"];
    if (copy > 0 && fast > 0) std::printf("one pass / copy of the three buffers: %.1f\n", fast / copy);
    if (fast > 0 && literal > 0) std::printf("literal / one pass: %.0f\n", literal / fast);
    const double render = reporter.seconds["BM_PlayRendering"];
    const double audition = reporter.seconds["BM_ChangeToAudition"];
    if (render > 0 && audition > 0)
        std::printf("change to the audition's device write / one rendering by Play: %.2f\n", audition / render);
    benchmark::Shutdown();
    return 0;
}
