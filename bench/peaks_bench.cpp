// Peak picking over the whole aspirin spectrum (32768 points) with the interpolated report: the
// pick of one region followed by the report's list (what a drag waits for), or by the "Peak
// Picking Output" text (what pelvaron-cli peaks prints), at a threshold above the noise (its 21
// lines) and at 0 (every local maximum of the noise).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "analysis/peaks.h"
#include "io/load.h"
#include "ratio_report.h"
#include "recording_ui.h"

namespace {

using namespace pelvaron;

/// bench/run starts the programs from the source tree; PELVARON_SOURCE_DIR names it otherwise.
std::string aspirin() {
    const char* root = std::getenv("PELVARON_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/data/aspirin-1h/processed-set";
}

void pickAndReport(benchmark::State& state, double fractionOfPeak, bool text) {
    testing::RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    if (!io::loadFile(*doc, ui, aspirin(), FileFormat::Bruker) || doc->spectrum.nData != 65536) {
        state.SkipWithError("the aspirin spectrum could not be loaded");
        return;
    }
    const double threshold = fractionOfPeak * doc->spectrum.peakValue;
    doc->peaks.peakInterpolate = 1;
    std::size_t size = 0;
    for (auto _ : state) {
        doc->peaks.peakCount = doc->peaks.peakRegionCount = 0;
        analysis::pickWholeSpectrum(*doc, ui, threshold);
        size = text ? analysis::peakListText(*doc).size() : analysis::peakReportLines(*doc).size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["peaks"] = doc->peaks.peakCount;
}

void BM_PickAspirin32768Interpolated(benchmark::State& state) { pickAndReport(state, 0.01, false); }
BENCHMARK(BM_PickAspirin32768Interpolated)->Unit(benchmark::kMicrosecond);

void BM_PickAspirin32768InterpolatedThreshold0(benchmark::State& state) { pickAndReport(state, 0.0, false); }
BENCHMARK(BM_PickAspirin32768InterpolatedThreshold0)->Unit(benchmark::kMicrosecond);

void BM_PickAspirin32768OutputTextThreshold0(benchmark::State& state) { pickAndReport(state, 0.0, true); }
BENCHMARK(BM_PickAspirin32768OutputTextThreshold0)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    pelvaron::bench::RatioReporter r;
    benchmark::RunSpecifiedBenchmarks(&r);
    benchmark::Shutdown();
    r.printTarget("BM_PickAspirin32768Interpolated", 5.0);
    r.printTarget("BM_PickAspirin32768InterpolatedThreshold0", 5.0);
    r.printTarget("BM_PickAspirin32768OutputTextThreshold0", 5.0);
    return 0;
}
