// The whole multiplet report -- ranges, lines, patterns, counts and the line -- on the aspirin FID
// after Automatic Processing at 131072 complex points (the FID zero filled to half that size, which
// the processing fills to twice), beside the transform of the same size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "analysis/multiplets.h"
#include "cli/steps.h"
#include "io/load.h"
#include "processing/auto_process.h"
#include "ratio_report.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace {

using namespace pelvaron;

constexpr int kPoints = 131072;

/// The aspirin FID zero filled to kPoints values.
void loadFid(Document& doc) {
    testing::RecordingUserInterface ui;
    if (!io::loadFile(doc, ui, testing::sourcePath("tests/data/aspirin-1h/fid-set"), FileFormat::Bruker))
        std::abort();
    Spectrum& s = doc.spectrum;
    std::fill(s.specData.begin() + std::min(s.nData, kPoints), s.specData.begin() + kPoints, 0.0);
    s.noteSpecExtent(kPoints);
    s.nData = s.acqPars.TD = kPoints;
}

void transform(benchmark::State& state) {
    Document doc;
    loadFid(doc);
    const Spectrum fid = doc.spectrum;
    testing::RecordingUserInterface ui;
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        doc.spectrum = fid;
        state.ResumeTiming();
        if (!cli::runSteps(doc, ui, "ft=" + std::to_string(2 * kPoints), error)) std::abort();
    }
}
BENCHMARK(transform)->Unit(benchmark::kMillisecond);

void multipletReport(benchmark::State& state) {
    Document doc;
    loadFid(doc);
    if (!processing::autoProcess(doc) || doc.spectrum.nData != 2 * kPoints) std::abort();
    std::size_t characters = 0;
    for (auto _ : state) {
        const auto report = analysis::analyseMultiplets(doc.spectrum);
        if (!report) std::abort();
        characters += analysis::reportLine(doc.spectrum, *report).size();
    }
    benchmark::DoNotOptimize(characters);
}
BENCHMARK(multipletReport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("multipletReport", 50.0);
    r.printRatio("multipletReport", "transform");
    return 0;
}
