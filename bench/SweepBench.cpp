// The speed sweep: every generator, effect and edit command, the Play render,
// the undo store, the opening of a window and the sound window's painting on
// a full 500000-byte sound, each as a ratio against one plain pass over the
// same bytes measured in the same run. The table divides that ratio by the
// passes the algorithm makes over the sound, so a number far above 1 is time
// spent beyond what the algorithm asks for. The undo store's steps are files,
// so they are divided by a plain write of the same three buffers instead; a
// command adds such a write for each undo step it records and the opening of
// a window for each window it makes.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "RatioReporter.h"
#include "audio/PitchStretch.h"
#include "audio/Play.h"
#include "audio/Playback.h"
#include "audio/Render.h"
#include "core/SlotTable.h"
#include "edit/BitDepth.h"
#include "edit/EffectCores.h"
#include "edit/Length.h"
#include "edit/MixStereo.h"
#include "edit/RangeEdits.h"
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

// Closes a window a command opened, so that the next round has a free slot.
void closeOpened(Sweep& b, int slot) {
    if (slot == b.slot || b.s->docs[static_cast<std::size_t>(slot)].WindowHandle == 0) return;
    releaseSlot(*b.s, slot);
    b.s->ActWndNum = b.slot;
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

// Whole commands as the user runs them, from the same full sound each time
// (the reload is not timed). Each records its undo step, so besides its
// passes over the sound it is measured against one plain write of the three
// buffers.
template <typename F> void command(benchmark::State& state, F run) {
    Sweep& b = sweep();
    for (auto _ : state) {
        state.PauseTiming();
        b.reload();
        SoundDoc& d = b.doc();
        d.HasSelection = 1;
        d.HasMarker = 1;
        d.SelStart = 100000;
        d.SelLength = 200000;
        b.s->ActWndNum = b.slot;
        b.s->BusyFlag = 0;
        state.ResumeTiming();
        run(b);
    }
    b.reload();
    b.doc().HasSelection = b.doc().HasMarker = 0;
}
void BM_CmdDelete(benchmark::State& state) {
    command(state, [](Sweep& b) { deleteSelectionCommand(*b.s); });
}
void BM_CmdSilence(benchmark::State& state) {
    command(state, [](Sweep& b) { silenceSelectionCommand(*b.s); });
}
void BM_CmdTrim(benchmark::State& state) {
    command(state, [](Sweep& b) { trimCommand(*b.s); });
}
void BM_CmdReverse(benchmark::State& state) {
    command(state, [](Sweep& b) { reverseCommand(*b.s); });
}
void BM_CmdRepeat(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().DataLen = 280000; // room for the selection once more: 480000 bytes
        b.doc().SelStart = 50000;
        b.fake.dialogs.push_back(test::pressOk({{1, "1"}}));
        repeatSelectionCommand(*b.s);
    });
}
void BM_CmdInsertSilence(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().DataLen = 250000;
        b.doc().HasSelection = 0;
        b.fake.dialogs.push_back(test::pressOk({{1, "25"}})); // 249750 bytes of silence
        insertSilenceCommand(*b.s);
    });
}
void BM_CmdTo16Bit(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().DataLen = 250000;
        b.fake.dialogs.push_back(test::pressOk({}, {{2, true}}));
        bitConversionCommand(*b.s);
    });
}
void BM_CmdTo8Bit(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().BitsParSample = 16;
        b.fake.dialogs.push_back(test::pressOk({}, {{1, true}}));
        bitConversionCommand(*b.s);
    });
}
void BM_CmdLengthShorter(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.fake.dialogs.push_back(test::pressOk({{1, "5"}})); // 220500 of the 500000 bytes
        lengthCommand(*b.s);
    });
}
void BM_CmdLengthLonger(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().DataLen = 100000;
        b.fake.dialogs.push_back(test::pressOk({{1, "11"}})); // 485100 bytes
        lengthCommand(*b.s);
    });
}
// Play from the menu: every step of the render, then the device's write (the
// fake device keeps a copy, which is dropped untimed).
void BM_CmdPlay(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().HasSelection = b.doc().HasMarker = 0;
        PlayCommand(*b.s);
        b.fake.written.clear();
        b.fake.writtenHeaders.clear();
        b.fake.posted.clear();
        stopCommand(*b.s);
    });
}

// A window opened for a new sound: its surfaces made, its sound filled, its
// picture painted (closed again untimed).
void BM_OpenWindow(benchmark::State& state) {
    Sweep& b = sweep();
    for (auto _ : state) {
        const int slot = createSoundWindow(*b.s, "new", 1100, 768);
        SoundDoc& d = b.s->docs[static_cast<std::size_t>(slot)];
        d.SRATE = 44100;
        d.BitsParSample = 8;
        d.DataLen = 0;
        allocateNewSound(*b.s);
        d.DataLen = DATALENMAX / 2;
        fitViewToLength(*b.s, slot);
        PaintSoundWindow(*b.s, slot);
        state.PauseTiming();
        closeOpened(b, slot);
        state.ResumeTiming();
    }
}

// The commands between two windows: a second sound beside the sweep's own.
int partner() {
    static const int slot = [] {
        Sweep& b = sweep();
        const int p = createSoundWindow(*b.s, "partner", 1100, 768);
        SoundDoc& d = b.s->docs[static_cast<std::size_t>(p)];
        d.SRATE = 44100;
        d.BitsParSample = 8;
        d.Channels = 1;
        d.DataLen = DATALENMAX;
        std::memcpy(d.Samples.data(), b.samples.data(), DATALENMAX);
        return p;
    }();
    sweep().s->docs[static_cast<std::size_t>(slot)].DataLen = DATALENMAX;
    return slot;
}
void BM_CmdMix(benchmark::State& state) {
    partner();
    command(state, [](Sweep& b) {
        b.fake.dialogs.push_back(test::pressOk({}, {{1 + b.slot, true}}));
        mixCommand(*b.s);
    });
}
void BM_CmdStereoMix(benchmark::State& state) {
    const int p = partner();
    command(state, [p](Sweep& b) {
        b.doc().DataLen = 250000;
        b.s->docs[static_cast<std::size_t>(p)].DataLen = 250000;
        b.fake.dialogs.push_back(test::pressOk({}, {{1 + b.slot, true}}));
        b.fake.dialogs.push_back(test::pressOk({}, {{1 + p, true}}));
        stereoMixCommand(*b.s);
        closeOpened(b, b.s->activeSlot());
    });
}
void BM_CmdStereoSplit(benchmark::State& state) {
    command(state, [](Sweep& b) {
        b.doc().Channels = 2;
        stereoSplitCommand(*b.s);
        // The two new windows go again (untimed) so the next round finds room.
        for (int slot = 0; slot < SlotTableSize; ++slot)
            if (slot != b.slot && slot != partner()) closeOpened(b, slot);
        b.doc().Channels = 1;
    });
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
SWEEP(BM_CmdDelete, kMicrosecond);
SWEEP(BM_CmdSilence, kMicrosecond);
SWEEP(BM_CmdTrim, kMicrosecond);
SWEEP(BM_CmdReverse, kMicrosecond);
SWEEP(BM_CmdRepeat, kMicrosecond);
SWEEP(BM_CmdInsertSilence, kMicrosecond);
SWEEP(BM_CmdTo16Bit, kMicrosecond);
SWEEP(BM_CmdTo8Bit, kMicrosecond);
SWEEP(BM_CmdLengthShorter, kMicrosecond);
SWEEP(BM_CmdLengthLonger, kMicrosecond);
SWEEP(BM_CmdPlay, kMicrosecond);
SWEEP(BM_OpenWindow, kMicrosecond);
SWEEP(BM_CmdMix, kMicrosecond);
SWEEP(BM_CmdStereoMix, kMicrosecond);
SWEEP(BM_CmdStereoSplit, kMicrosecond);
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
    int undoSteps = 0; // a command: a plain write of the three buffers is added per undo step it records
    int windows = 0;   // and the opening of a window per window it makes
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
    // The commands: passes over the sound's three buffers that the edit
    // itself needs, plus the undo step (one plain write of the three buffers).
    {"BM_CmdDelete", "BM_PlainPass", 3, "3 buffers closed up", 1},
    {"BM_CmdSilence", "BM_PlainPass", 1, "selection filled", 1},
    {"BM_CmdTrim", "BM_PlainPass", 3, "3 buffers moved", 1},
    {"BM_CmdReverse", "BM_PlainPass", 3, "3 buffers reversed", 1},
    {"BM_CmdRepeat", "BM_PlainPass", 3, "3 buffers opened and copied", 1},
    {"BM_CmdInsertSilence", "BM_PlainPass", 3, "3 buffers opened and filled", 1},
    {"BM_CmdTo16Bit", "BM_PlainPass", 3, "3 buffers widened", 1},
    {"BM_CmdTo8Bit", "BM_PlainPass", 3, "3 buffers narrowed", 1},
    {"BM_CmdLengthShorter", "BM_PlainPass", 1, "length set", 1},
    {"BM_CmdLengthLonger", "BM_PlainPass", 3, "3 buffers filled", 1},
    {"BM_CmdPlay", "BM_PlainPass", 8, "stretch (4), volume (1), layers (2), device copy (1)"},
    {"BM_OpenWindow", "BM_PlainPass", 64.5, "4 surfaces made (24.6), painted (36.9), 3 buffers filled"},
    {"BM_CmdMix", "BM_PlainPass", 1, "one pass over two sounds", 1},
    {"BM_CmdStereoMix", "BM_PlainPass", 2, "interleave, copy", 1, 1},
    {"BM_CmdStereoSplit", "BM_PlainPass", 1, "one pass split in two", 2, 2},
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
        const double write = reporter.seconds["BM_PlainFileWrite"], open = reporter.seconds["BM_OpenWindow"];
        if (t <= 0 || y <= 0 || (e.undoSteps && write <= 0) || (e.windows && open <= 0)) continue;
        const double ratio = t / y;
        const double perPass = t / (e.passes * y + e.undoSteps * write + e.windows * open);
        std::string extra;
        if (e.undoSteps) extra += " + " + std::to_string(e.undoSteps) + " undo write";
        if (e.windows) extra += " + " + std::to_string(e.windows) + " window";
        std::printf("%-22s %-16s %9.2f %9.2f  %g%s: %s%s\n", e.name, e.yardstick + 3, ratio, perPass, e.passes,
                    extra.c_str(), e.passesAre, perPass > 5 ? "  <-- above 5" : "");
    }
    benchmark::Shutdown();
    return 0;
}
