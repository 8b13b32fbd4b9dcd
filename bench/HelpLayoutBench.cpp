// What laying out one long help line costs against short lines of the same
// total size: with each character measured once the two are alike; measuring
// the line again for every character added made the long one quadratic.
#include "FakePlatform.h"
#include "RatioReporter.h"
#include "text/ShiftJis.h"
#include "ui/HelpLayout.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace wavora;

constexpr std::size_t PageBytes = 3300, ShortLines = 100;

// Body text of a help page, as Shift-JIS characters, cut to `bytes` without
// splitting a character.
std::string text(std::size_t bytes) {
    const std::string sample = utf8ToShiftJis("音の高さと大きさは、波形の下のグラフで変えられます。Sin波 440Hz ");
    std::string out;
    for (std::size_t i = 0; out.size() < bytes; i = (i + 1) % sample.size()) {
        unsigned char c = static_cast<unsigned char>(sample[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && out.size() + 2 > bytes) break;
        out += sample[i];
        if (lead) out += sample[++i];
    }
    return out + std::string(bytes - out.size(), '.');
}

std::string oneLongLine() { return text(PageBytes - 1) + "\n"; }

std::string shortLines() {
    std::string page;
    for (std::size_t i = 0; i < ShortLines; ++i)
        page += text(PageBytes / ShortLines - 1) + "\n";
    return page;
}

void layout(benchmark::State& state, const std::string& page) {
    test::FakePlatform fake;
    for (auto _ : state)
        benchmark::DoNotOptimize(layoutHelpPage(fake, page, "Help.txt", nullptr));
}

void BM_ShortLines(benchmark::State& state) { layout(state, shortLines()); }
void BM_OneLongLine(benchmark::State& state) { layout(state, oneLongLine()); }

BENCHMARK(BM_ShortLines);
BENCHMARK(BM_OneLongLine);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wavora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double shortLines = reporter.seconds["BM_ShortLines"];
    if (shortLines > 0)
        std::printf("one %zu-byte line against %zu short lines: %.2f x (at most 2)\n", PageBytes, ShortLines,
                    reporter.seconds["BM_OneLongLine"] / shortLines);
    benchmark::Shutdown();
    return 0;
}
