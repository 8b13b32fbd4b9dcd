// What tracing a picture costs against one plain pass over the drawing area:
// a clean black line is found at the first threshold, a blank picture only
// after the threshold has climbed past white, and a photograph somewhere
// between.
#include "RatioReporter.h"
#include "pattern/ExtractPattern.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace wavora;

std::unique_ptr<Surface> picture(bool line, bool noise) {
    auto p = std::make_unique<Surface>(PatternAreaWidth, PatternAreaHeight);
    Surface& s = *p;
    s.fill(White);
    if (line) s.line(0, 100, PatternAreaWidth - 1, 200, Black);
    // A photograph's grain: greys everywhere, darker towards the bottom.
    if (noise)
        for (int y = 0; y < PatternAreaHeight; ++y)
            for (int x = 0; x < PatternAreaWidth; ++x) {
                const unsigned v = 255u - static_cast<unsigned>((x * 7 + y * 13) % 97 + y / 2);
                s.set(x, y, rgb(v, v, v));
            }
    return p;
}

PatternState pattern() {
    PatternState p;
    p.PatternBuf.assign(DATALENMAX, 0);
    return p;
}

// Every pixel of the area read once.
void BM_OnePass(benchmark::State& state) {
    const auto p = picture(false, false);
    const Surface& s = *p;
    for (auto _ : state) {
        unsigned sum = 0;
        for (int x = 0; x < PatternAreaWidth; ++x)
            for (int y = PatternAreaHeight - 1; y >= 1; --y) sum += s.get(x, y) & 0xFF;
        benchmark::DoNotOptimize(sum);
    }
}

void trace(benchmark::State& state, bool line, bool noise) {
    const auto s = picture(line, noise);
    PatternState p = pattern();
    for (auto _ : state) benchmark::DoNotOptimize(extractPatternValues(*s, p));
}

void BM_CleanLine(benchmark::State& state) { trace(state, true, false); }
void BM_Photograph(benchmark::State& state) { trace(state, false, true); }
void BM_BlankPicture(benchmark::State& state) { trace(state, false, false); }

BENCHMARK(BM_OnePass);
BENCHMARK(BM_CleanLine);
BENCHMARK(BM_Photograph);
BENCHMARK(BM_BlankPicture);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double pass = reporter.seconds["BM_OnePass"];
    if (pass > 0)
        for (const char* name : {"BM_CleanLine", "BM_Photograph", "BM_BlankPicture"})
            std::printf("%-16s %8.1f passes\n", name, reporter.seconds[name] / pass);
    benchmark::Shutdown();
    return 0;
}
