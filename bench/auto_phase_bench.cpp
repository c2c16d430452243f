// Automatic Phase (0 + 1) beside the Fourier transform of the same size: the coffee FID zero
// filled to 32768, 131072 and 524288 points, transformed with the whole group delay, then phased.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "cli/steps.h"
#include "io/load.h"
#include "processing/auto_phase.h"
#include "processing/phase.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace {

using namespace pelvaron;

/// The coffee FID loaded and transformed at `points` complex points.
Spectrum transformed(int points) {
    Document doc;
    testing::RecordingUserInterface ui;
    std::string error;
    if (!io::loadFile(doc, ui, testing::sourcePath("tests/data/coffee-1h-baseopt"), FileFormat::Bruker) ||
        !cli::runSteps(doc, ui, "ft=" + std::to_string(points), error))
        std::abort();
    return doc.spectrum;
}

void transform(benchmark::State& state) {
    Document doc;
    testing::RecordingUserInterface ui;
    if (!io::loadFile(doc, ui, testing::sourcePath("tests/data/coffee-1h-baseopt"), FileFormat::Bruker))
        std::abort();
    const Spectrum fid = doc.spectrum;
    const std::string steps = "ft=" + std::to_string(state.range(0));
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        doc.spectrum = fid;
        state.ResumeTiming();
        if (!cli::runSteps(doc, ui, steps, error)) std::abort();
    }
}
BENCHMARK(transform)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

void autoPhase(benchmark::State& state) {
    Spectrum spectrum = transformed(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        spectrum.phaseSourceValid = 0;  // each run phases the data as the transform left them
        if (!processing::autoPhaseFull(spectrum)) std::abort();
        state.PauseTiming();
        processing::restoreUnphased(spectrum);
        state.ResumeTiming();
    }
}
BENCHMARK(autoPhase)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
