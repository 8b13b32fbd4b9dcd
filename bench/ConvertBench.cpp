// What converting costs: 500000 bytes of 24-bit stereo converted against one
// plain read of the same file, and the first part of a 2 GB (sparse) file
// imported against a file of the 500000 bytes a sound keeps, in time, peak
// heap memory and bytes read.
#include "RatioReporter.h"
#include "wavfile/WavConvert.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

// The heap in use and its peak, for the memory figures.
namespace {
std::atomic<std::size_t> g_inUse{0}, g_peak{0};
void* counted(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    const std::size_t now = g_inUse += malloc_usable_size(p);
    for (std::size_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {
    }
    return p;
}
void uncounted(void* p) {
    if (!p) return;
    g_inUse -= malloc_usable_size(p);
    std::free(p);
}
} // namespace
void* operator new(std::size_t n) { return counted(n); }
void* operator new[](std::size_t n) { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

namespace {

using namespace wavora;
namespace fs = std::filesystem;

void put(std::ofstream& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(v >> (8 * i)));
}

// A canonical header for PCM data of `dataBytes` bytes.
void header(std::ofstream& out, std::uint16_t channels, std::uint16_t bits, std::uint32_t dataBytes) {
    const std::uint32_t rate = 44100, align = channels * bits / 8u;
    out.write("RIFF", 4);
    put(out, dataBytes + 36, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, channels, 2);
    put(out, rate, 4);
    put(out, rate * align, 4);
    put(out, align, 2);
    put(out, bits, 2);
    out.write("data", 4);
    put(out, dataBytes, 4);
}

struct Files {
    fs::path folder = fs::temp_directory_path() / ("wavora-convert-bench-" + std::to_string(getpid()));
    fs::path deep = folder / "24bit.wav", small = folder / "small.wav", huge = folder / "huge.wav";
    Files() {
        fs::create_directories(folder);
        const std::uint32_t deepBytes = 500000 / 6 * 6;
        std::ofstream d(deep, std::ios::binary);
        header(d, 2, 24, deepBytes);
        std::uint32_t seed = 1;
        for (std::uint32_t i = 0; i < deepBytes; ++i) d.put(static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16));
        std::ofstream s(small, std::ios::binary);
        header(s, 2, 16, 500000);
        for (std::uint32_t i = 0; i < 500000; ++i) s.put(static_cast<char>(i * 7));
        // 2 GB of zeros the file system does not store.
        {
            std::ofstream h(huge, std::ios::binary);
            header(h, 2, 16, 0x7FFFFF00u);
        }
        fs::resize_file(huge, 0x7FFFFF00ull + 44);
    }
    ~Files() { fs::remove_all(folder); }
};

Files& files() {
    static Files f;
    return f;
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(files().deep, std::ios::binary);
        std::vector<char> bytes(static_cast<std::size_t>(fs::file_size(files().deep)));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

void convertOne(benchmark::State& state, const fs::path& file) {
    for (auto _ : state) {
        ConvertedWav w = convertWavFile(file);
        benchmark::DoNotOptimize(w.Samples.data());
    }
}

void BM_Convert24BitStereo(benchmark::State& state) { convertOne(state, files().deep); }
void BM_ImportSmall(benchmark::State& state) { convertOne(state, files().small); }
void BM_ImportHuge(benchmark::State& state) { convertOne(state, files().huge); }

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert24BitStereo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportSmall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportHuge)->Unit(benchmark::kMicrosecond);

// Counts what the converter asks of a file.
class CountingSource final : public ByteSource {
  public:
    explicit CountingSource(const fs::path& p) : file_(p) {}
    std::uint64_t size() const override { return file_.size(); }
    std::size_t read(std::uint64_t at, std::span<std::uint8_t> into) override {
        const std::size_t n = file_.read(at, into);
        bytes += n;
        return n;
    }
    std::uint64_t bytes = 0;

  private:
    FileSource file_;
};

struct Cost {
    std::size_t peakHeap;
    std::uint64_t bytesRead;
    std::size_t kept;
};

Cost costOf(const fs::path& file) {
    CountingSource source(file);
    const std::size_t before = g_inUse;
    g_peak = before;
    ConvertedWav w = convertWav(source);
    return {g_peak - before, source.bytes, w.Samples.size()};
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.seconds[name]; };
    if (t("BM_PlainRead") > 0 && t("BM_ImportSmall") > 0) {
        std::printf("24-bit stereo conversion / plain read of the same bytes: %.2f\n",
                    t("BM_Convert24BitStereo") / t("BM_PlainRead"));
        std::printf("2 GB file / 500000-byte file, time:                       %.2f\n",
                    t("BM_ImportHuge") / t("BM_ImportSmall"));
    }
    const Cost small = costOf(files().small), huge = costOf(files().huge);
    std::printf("%-22s %14s %14s %10s\n", "import", "peak heap", "bytes read", "kept");
    std::printf("%-22s %14zu %14llu %10zu\n", "500000-byte file", small.peakHeap,
                static_cast<unsigned long long>(small.bytesRead), small.kept);
    std::printf("%-22s %14zu %14llu %10zu\n", "2 GB file", huge.peakHeap, static_cast<unsigned long long>(huge.bytesRead),
                huge.kept);
    std::printf("2 GB file / 500000-byte file, peak heap:                  %.2f\n",
                static_cast<double>(huge.peakHeap) / static_cast<double>(small.peakHeap));
    benchmark::Shutdown();
    return 0;
}
