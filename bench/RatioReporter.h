#pragma once
// Benchmarks report ratios measured in one run: this reporter prints the usual
// table and keeps each benchmark's time per iteration so main() can divide.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace wavora::bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration)
                seconds[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace wavora::bench
