// A console reporter that also remembers each benchmark's time, so that a benchmark program can
// print its figures as ratios against references measured in the same run, and against targets.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pelvaron::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                // Milliseconds per iteration, whatever unit the benchmark displays.
                times_[run.benchmark_name()] = run.GetAdjustedRealTime() /
                                               benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    /// Milliseconds per iteration of a benchmark, or a negative value when it did not run.
    [[nodiscard]] double ms(const std::string& name) const {
        auto it = times_.find(name);
        return it == times_.end() ? -1.0 : it->second;
    }

    /// "name: 0.123 ms (target 1.5 ms: met)".
    void printTarget(const std::string& name, double targetMs) const {
        const double t = ms(name);
        if (t < 0) return;
        std::printf("%-48s %9.4f ms  target %.3g ms: %s\n", name.c_str(), t, targetMs,
                    t <= targetMs ? "met" : "MISSED");
    }

    /// "name: 1.9x reference".
    void printRatio(const std::string& name, const std::string& reference) const {
        const double t = ms(name);
        const double r = ms(reference);
        if (t < 0 || r <= 0) return;
        std::printf("%-48s %9.2fx %s\n", name.c_str(), t / r, reference.c_str());
    }

private:
    std::map<std::string, double> times_;
};

/// Runs the registered benchmarks with the reporter; call from main after Initialize.
inline RatioReporter& runBenchmarks() {
    static RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    return reporter;
}

}  // namespace pelvaron::bench
