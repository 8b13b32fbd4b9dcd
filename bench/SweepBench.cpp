// The speed sweep: every generator, the Play render, the undo store and the
// sound window's painting on a full 500000-byte sound, each as a ratio
// against one plain pass over the same bytes measured in the same run. The
// table divides that ratio by the passes the algorithm makes over the sound,
// so a number far above 1 is time spent beyond what the algorithm asks for.
// The undo store's steps are files, so they are divided by a plain write of
// the same three buffers instead.
#include "FakePlatform.h"
#include "RatioReporter.h"
#include "audio/PitchStretch.h"
#include "audio/Render.h"
#include "edit/EffectCores.h"
#include "edit/SampleMath.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"
#include "undo/UndoFiles.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace wavora;
namespace fs = std::filesystem;

struct Sweep {
    test::FakePlatform fake;
    fs::path root;
    std::unique_ptr<EditorState> s;
    int slot = 0;
    std::vector<std::uint8_t> samples, volume, pitch;

    Sweep() {
        root = fs::temp_directory_path() / ("wavora-sweep-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "WavoraUnDo");
        s = std::make_unique<EditorState>(fake, root);
        createSharedSurfaces(*s);
        slot = createSoundWindow(*s, "sweep", 1100, 768);
        samples.resize(DATALENMAX);
        volume.assign(DATALENMAX, 128);
        pitch.assign(DATALENMAX, 128);
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(128 + 100 * ((i / 50) % 2));
        // Graphs that change at every 10-byte block: the worst case of Play.
        for (std::size_t p = 10; p < pitch.size(); p += 10) pitch[p] = (p / 10) % 2 ? 127 : 129;
        for (std::size_t i = 0; i < volume.size(); i += 7) volume[i] = 100;
        reload();
    }
    ~Sweep() {
        s.reset();
        fs::remove_all(root);
    }
    SoundDoc& doc() { return s->docs[static_cast<std::size_t>(slot)]; }
    void reload() {
        SoundDoc& d = doc();
        d.SRATE = 44100;
        d.BitsParSample = 8;
        d.Channels = 1;
        d.DataLen = DATALENMAX;
        std::memcpy(d.Samples.data(), samples.data(), DATALENMAX);
        std::memcpy(d.VolumeGraph.data(), volume.data(), DATALENMAX);
        std::memcpy(d.PitchGraph.data(), pitch.data(), DATALENMAX);
    }
};

Sweep& sweep() {
    static Sweep b;
    return b;
}

// The yardstick: one read and one write of every byte of the sound.
void BM_PlainPass(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = sweep().doc().Samples;
    std::uint8_t v = 0;
    for (auto _ : state) {
        ++v;
        for (std::size_t i = 0; i < DATALENMAX; ++i) buf[i] = static_cast<std::uint8_t>(buf[i] ^ v);
        benchmark::ClobberMemory();
    }
}

// The yardstick of the undo store: the three buffers written to files once.
void BM_PlainFileWrite(benchmark::State& state) {
    Sweep& b = sweep();
    const SoundDoc& d = b.doc();
    for (auto _ : state) {
        writeFilePieces(b.root / "plain_1.bin", {{d.Samples.data(), DATALENMAX}});
        writeFilePieces(b.root / "plain_2.bin", {{d.VolumeGraph.data(), DATALENMAX}});
        writeFilePieces(b.root / "plain_3.bin", {{d.PitchGraph.data(), DATALENMAX}});
    }
}

// A sine computed for every byte: what a generator that has to evaluate its
// wave at each sample cannot go below.
void BM_SinePerByte(benchmark::State& state) {
    std::vector<std::uint8_t>& buf = sweep().doc().Samples;
    for (auto _ : state) {
        for (std::size_t i = 0; i < DATALENMAX; ++i)
            buf[i] = static_cast<std::uint8_t>(floorToInt(100.0f * static_cast<float>(std::sin(0.0627 * static_cast<double>(i)))) + 128);
        benchmark::ClobberMemory();
    }
}

void BM_SineBlock(benchmark::State& state) {
    for (auto _ : state) sineBlock(*sweep().s, 100, 440, DATALENMAX, 0.0f);
}
void BM_SineSumBlock(benchmark::State& state) {
    for (auto _ : state) sineSumBlock(*sweep().s, 50, 440, 50, 50, DATALENMAX);
}
void BM_SineProductBlock(benchmark::State& state) {
    for (auto _ : state) sineProductBlock(*sweep().s, 10, 440, 10, 50, DATALENMAX);
}
void BM_PitchSwing(benchmark::State& state) {
    for (auto _ : state) pitchSineFill(*sweep().s, 50, 440, 50.0f, DATALENMAX, PitchSwingsSine);
}
void BM_PitchSwingSwing(benchmark::State& state) {
    for (auto _ : state) pitchSineFill(*sweep().s, 50, 440, 50.0f, DATALENMAX, PitchSwingRateSwings);
}
void BM_PitchJump(benchmark::State& state) {
    for (auto _ : state) pitchSineFill(*sweep().s, 50, 440, 100.0f, DATALENMAX, PitchJumpsRandomly);
}
void BM_Noise(benchmark::State& state) {
    for (auto _ : state) noiseFill(*sweep().s, 50, DATALENMAX);
}

// The effects, each from the same sound (the reload is not timed).
template <typename F> void effect(benchmark::State& state, F run) {
    Sweep& b = sweep();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        b.doc().HasSelection = 0;
        state.ResumeTiming();
        run(*b.s);
    }
    b.reload();
}
void BM_EffectScale(benchmark::State& state) {
    effect(state, [](EditorState& s) { scaleBy(s, s.docs[0].Samples, 0, DATALENMAX, 0.7f); });
}
void BM_EffectMix(benchmark::State& state) {
    effect(state, [](EditorState& s) { MixInto(s, s.docs[0].Samples, s.docs[0].VolumeGraph, DATALENMAX, 0); });
}
void BM_EffectDistortion(benchmark::State& state) {
    sweep().s->effects.DistortionLevel = 59;
    effect(state, [](EditorState& s) { DistortionCore(s); });
}
void BM_EffectEcho(benchmark::State& state) {
    sweep().s->effects.EchoDelay = 0.3f;
    sweep().s->effects.EchoDecay = 0.7f;
    effect(state, [](EditorState& s) { EchoCore(s); });
}
void BM_EffectMultiEcho(benchmark::State& state) {
    sweep().s->effects.EchoDecay = 0.7f;
    effect(state, [](EditorState& s) {
        s.effects.EchoStep = 30000; // 67 echoes
        MultiEchoCore(s, 10);
    });
}
void BM_EffectChorus(benchmark::State& state) {
    sweep().s->effects.ChorusRatio = 1.2f;
    sweep().s->effects.ChorusGain = 0.8f;
    effect(state, [](EditorState& s) { ChorusCore(s); });
}

// Play's render: the pitch graph written in by one stretch, the volume graph
// applied, the layers mixed.
void BM_PlayPitchStretch(benchmark::State& state) {
    Sweep& b = sweep();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        state.ResumeTiming();
        const std::int32_t n = buildPitchRatios(b.doc(), b.s->render.PitchRatios);
        benchmark::DoNotOptimize(stretchPitchRuns(*b.s, b.s->render.PitchRatios.data(), n, nullptr));
    }
    b.reload();
}
void BM_PlayVolumeGraph(benchmark::State& state) {
    Sweep& b = sweep();
    for (auto _ : state) ApplyVolumeGraph(*b.s, 0, DATALENMAX);
    b.reload();
}
void BM_PlayLayerMix(benchmark::State& state) {
    Sweep& b = sweep();
    SoundDoc& d = b.doc();
    d.DataLen = DATALENMAX - 1000;
    // Five layers of 100000 bytes side by side over the whole sound.
    for (int id = 1; id <= 5; ++id) {
        const auto i = static_cast<std::size_t>(id);
        b.s->layers.LySamples[i].assign(DATALENMAX, static_cast<std::uint8_t>(60 + id));
        b.s->layers.LyStart[i] = (id - 1) * 99000;
        b.s->layers.LyLen[i] = 99000;
        b.s->layers.LyAdditive[i] = id % 2;
        d.LayerIds[i] = id;
    }
    d.LayerCount = 5;
    for (auto _ : state) RenderLayers(*b.s);
    d.LayerCount = 0;
    b.reload();
}

// The undo store with a full history of 21 steps on disk.
void fillHistory() {
    static bool done = false;
    if (done) return;
    done = true;
    for (int i = 0; i < UndoFolderSteps + 1; ++i) snapshot(*sweep().s, 20);
}
void BM_UndoSnapshot(benchmark::State& state) {
    fillHistory();
    for (auto _ : state) snapshot(*sweep().s, 20);
}
void BM_Undo(benchmark::State& state) {
    fillHistory();
    Sweep& b = sweep();
    for (auto _ : state) {
        undoStep(*b.s);
        state.PauseTiming();
        redoStep(*b.s);
        state.ResumeTiming();
    }
}
void BM_Redo(benchmark::State& state) {
    fillHistory();
    Sweep& b = sweep();
    for (auto _ : state) {
        state.PauseTiming();
        undoStep(*b.s);
        state.ResumeTiming();
        redoStep(*b.s);
    }
}

// Painting: the whole picture at scale 1, and the graphs zoomed out until the
// whole sound is in the window.
void BM_PaintAtScale1(benchmark::State& state) {
    Sweep& b = sweep();
    b.reload();
    SoundDoc& d = b.doc();
    d.view.XScale = d.view.YScale = 1.0f;
    d.view.FirstByte = 0;
    for (auto _ : state) PaintSoundWindow(*b.s, b.slot);
}
void BM_PaintWholeSound(benchmark::State& state) {
    Sweep& b = sweep();
    b.reload();
    SoundDoc& d = b.doc();
    d.view.XScale = 1.0f / 512;
    d.view.YScale = 0.5f;
    d.view.FirstByte = 0;
    for (auto _ : state) PaintSoundWindow(*b.s, b.slot);
    d.view.XScale = d.view.YScale = 1.0f;
}

#define SWEEP(name, unit) BENCHMARK(name)->Unit(benchmark::unit)
SWEEP(BM_PlainPass, kMicrosecond);
SWEEP(BM_PlainFileWrite, kMicrosecond);
SWEEP(BM_SinePerByte, kMicrosecond);
SWEEP(BM_SineBlock, kMicrosecond);
SWEEP(BM_SineSumBlock, kMicrosecond);
SWEEP(BM_SineProductBlock, kMicrosecond);
SWEEP(BM_PitchSwing, kMicrosecond);
SWEEP(BM_PitchSwingSwing, kMicrosecond);
SWEEP(BM_PitchJump, kMicrosecond);
SWEEP(BM_Noise, kMicrosecond);
SWEEP(BM_EffectScale, kMicrosecond);
SWEEP(BM_EffectMix, kMicrosecond);
SWEEP(BM_EffectDistortion, kMicrosecond);
SWEEP(BM_EffectEcho, kMicrosecond);
SWEEP(BM_EffectMultiEcho, kMicrosecond);
SWEEP(BM_EffectChorus, kMicrosecond);
SWEEP(BM_PlayPitchStretch, kMicrosecond);
SWEEP(BM_PlayVolumeGraph, kMicrosecond);
SWEEP(BM_PlayLayerMix, kMicrosecond);
SWEEP(BM_UndoSnapshot, kMicrosecond);
SWEEP(BM_Undo, kMicrosecond);
SWEEP(BM_Redo, kMicrosecond);
SWEEP(BM_PaintAtScale1, kMicrosecond);
SWEEP(BM_PaintWholeSound, kMicrosecond);

// What each entry is measured against and how many passes over the sound its
// algorithm makes.
struct Entry {
    const char* name;
    const char* yardstick;
    double passes;
    const char* passesAre;
};
const Entry kEntries[] = {
    {"BM_SinePerByte", "BM_PlainPass", 1, "one sine per byte (reference)"},
    {"BM_SineBlock", "BM_PlainPass", 1, "one block, repeated"},
    {"BM_SineSumBlock", "BM_PlainPass", 1, "one block, repeated"},
    {"BM_SineProductBlock", "BM_PlainPass", 1, "one block, repeated"},
    {"BM_PitchSwing", "BM_SinePerByte", 1, "two sines per byte"},
    {"BM_PitchSwingSwing", "BM_SinePerByte", 1, "three sines per byte"},
    {"BM_PitchJump", "BM_SinePerByte", 1, "a sine per byte, random joins"},
    {"BM_Noise", "BM_PlainPass", 1, "one random number per byte"},
    {"BM_EffectScale", "BM_PlainPass", 1, "one pass"},
    {"BM_EffectMix", "BM_PlainPass", 1, "one pass over two sounds"},
    {"BM_EffectDistortion", "BM_PlainPass", 2, "measure, then shape"},
    {"BM_EffectEcho", "BM_PlainPass", 8, "delay doubled up to the length"},
    {"BM_EffectMultiEcho", "BM_PlainPass", 67, "67 echoes placed"},
    {"BM_EffectChorus", "BM_PlainPass", 4, "copy, resample, scale, mix"},
    {"BM_PlayPitchStretch", "BM_PlainPass", 4, "ratios, then 3 buffers resampled"},
    {"BM_PlayVolumeGraph", "BM_PlainPass", 1, "one pass"},
    {"BM_PlayLayerMix", "BM_PlainPass", 2, "background copy, layers over it"},
    {"BM_UndoSnapshot", "BM_PlainFileWrite", 1, "3 buffers written, history renamed"},
    {"BM_Undo", "BM_PlainFileWrite", 1, "3 buffers read back"},
    {"BM_Redo", "BM_PlainFileWrite", 1, "3 buffers read back"},
    // A picture pass is 1000 x 768 pixels of 4 bytes, 6.1 sound-sized passes;
    // painting fills or copies six whole surfaces.
    {"BM_PaintAtScale1", "BM_PlainPass", 36.9, "6 picture passes"},
    {"BM_PaintWholeSound", "BM_PlainPass", 36.9, "6 picture passes"},
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nspeed sweep on a %d-byte sound (ratio = time / yardstick; per pass = ratio / passes)\n",
                static_cast<int>(DATALENMAX));
    std::printf("%-22s %-18s %9s %9s  %s\n", "operation", "yardstick", "ratio", "per pass", "passes");
    for (const Entry& e : kEntries) {
        const double t = reporter.seconds[e.name], y = reporter.seconds[e.yardstick];
        if (t <= 0 || y <= 0) continue;
        const double ratio = t / y;
        std::printf("%-22s %-18s %9.2f %9.2f  %g: %s%s\n", e.name, e.yardstick, ratio, ratio / e.passes, e.passes,
                    e.passesAre, ratio / e.passes > 5 ? "  <-- above 5" : "");
    }
    benchmark::Shutdown();
    return 0;
}
