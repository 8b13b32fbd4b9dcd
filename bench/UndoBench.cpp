// What one undo step costs on a full history: the store's snapshot (which
// moves the older steps by renaming them) against writing the new step's bytes
// alone, and against a shift that copies every older file one number up.
#include "RatioReporter.h"
#include "FakePlatform.h"
#include "undo/UndoFiles.h"
#include "undo/UndoStore.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace wavora;
namespace fs = std::filesystem;

struct Bench {
    test::FakePlatform fake;
    fs::path root;
    std::unique_ptr<EditorState> s;

    Bench() {
        root = fs::temp_directory_path() / ("wavora-undo-bench-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "WavoraUnDo");
        s = std::make_unique<EditorState>(fake, root);
        SoundDoc& d = s->docs[0];
        d.WindowHandle = fake.createSoundWindow("bench");
        s->WindowCount = 1;
        d.DataLen = DATALENMAX;
        for (std::size_t i = 0; i < d.Samples.size(); ++i)
            d.Samples[i] = static_cast<std::uint8_t>(i * 13);
        // A full history: steps 0..20 and the leftover step 21 all on disk.
        for (int i = 0; i < UndoFolderSteps + 1; ++i)
            snapshot(*s, 20);
    }
    ~Bench() {
        s.reset();
        fs::remove_all(root);
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void writeNewStep(EditorState& s) {
    const SoundDoc& d = s.docs[0];
    const auto n = static_cast<std::size_t>(d.DataLen);
    writeFilePieces(s.path(undoFileName(UndoPart::Info, 0, 0)), {{s.ScratchBuffer.data(), StateRecordSize}});
    writeFilePieces(s.path(undoFileName(UndoPart::Nami, 0, 0)), {{d.Samples.data(), n}});
    writeFilePieces(s.path(undoFileName(UndoPart::Vol, 0, 0)), {{d.VolumeGraph.data(), n}});
    writeFilePieces(s.path(undoFileName(UndoPart::Hz, 0, 0)), {{d.PitchGraph.data(), n}});
    writeFilePieces(s.path(undoFileName(UndoPart::LyInfo, 0, 0)),
                    {{s.ScratchBuffer.data(), LayerRecordSize}});
    for (UndoPart part : {UndoPart::LyNami, UndoPart::LyVol, UndoPart::LyHz})
        writeFilePieces(s.path(undoFileName(part, 0, 0)), {});
}

void BM_Snapshot(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state)
        snapshot(*b.s, 20);
}

// The bytes of the new step and nothing else: the least any snapshot can cost.
void BM_PlainWriteOfTheNewStep(benchmark::State& state) {
    Bench& b = bench();
    const SoundDoc& d = b.s->docs[0];
    const auto n = static_cast<std::size_t>(d.DataLen);
    for (auto _ : state) {
        writeFilePieces(b.root / "plain_1.bin", {{d.Samples.data(), n}});
        writeFilePieces(b.root / "plain_2.bin", {{d.VolumeGraph.data(), n}});
        writeFilePieces(b.root / "plain_3.bin", {{d.PitchGraph.data(), n}});
    }
}

// Every older step copied one number up, oldest first, then the new step.
void BM_CopyingShift(benchmark::State& state) {
    Bench& b = bench();
    EditorState& s = *b.s;
    for (auto _ : state) {
        for (int p = UndoDepth; p >= 0; --p) {
            for (UndoPart part : SoundParts) {
                std::error_code ec;
                fs::copy_file(s.path(undoFileName(part, 0, p)), s.path(undoFileName(part, 0, p + 1)),
                              fs::copy_options::overwrite_existing, ec);
            }
            for (UndoPart part : LayerParts) {
                std::error_code ec;
                fs::copy_file(s.path(undoFileName(part, 0, p)), s.path(undoFileName(part, 0, p + 1)),
                              fs::copy_options::overwrite_existing, ec);
            }
        }
        writeNewStep(s);
    }
}

BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteOfTheNewStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyingShift)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double snap = reporter.seconds["BM_Snapshot"];
    const double plain = reporter.seconds["BM_PlainWriteOfTheNewStep"];
    const double copying = reporter.seconds["BM_CopyingShift"];
    if (snap > 0 && plain > 0 && copying > 0) {
        std::printf("snapshot / plain write of the new step: %.2f\n", snap / plain);
        std::printf("copying shift / snapshot: %.2f\n", copying / snap);
    }
    benchmark::Shutdown();
    return 0;
}
