// Automatic Phase (0 + 1) and Automatic Processing on the coffee FID, each beside the Fourier
// transform of the same size: spectra of 32768, 131072 and 524288 complex points. For the phase the
// FID is zero filled to that size and transformed with the whole group delay; for the processing
// it is cut or zero filled to half that size, which the step zero fills to twice.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "cli/steps.h"
#include "io/load.h"
#include "processing/auto_phase.h"
#include "processing/auto_process.h"
#include "processing/phase.h"
#include "ratio_report.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace {

using namespace pelvaron;

constexpr const char* kCoffee = "tests/data/coffee-1h-baseopt";

void load(Document& doc) {
    testing::RecordingUserInterface ui;
    if (!io::loadFile(doc, ui, testing::sourcePath(kCoffee), FileFormat::Bruker)) std::abort();
}

void transform(benchmark::State& state) {
    Document doc;
    load(doc);
    const Spectrum fid = doc.spectrum;
    testing::RecordingUserInterface ui;
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
    Document doc;
    load(doc);
    testing::RecordingUserInterface ui;
    std::string error;
    if (!cli::runSteps(doc, ui, "ft=" + std::to_string(state.range(0)), error)) std::abort();
    Spectrum& spectrum = doc.spectrum;
    for (auto _ : state) {
        spectrum.phaseSourceValid = 0;  // each run phases the data as the transform left them
        if (!processing::autoPhaseFull(spectrum)) std::abort();
        state.PauseTiming();
        processing::restoreUnphased(spectrum);
        state.ResumeTiming();
    }
}
BENCHMARK(autoPhase)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

void autoProcessing(benchmark::State& state) {
    Document doc;
    load(doc);
    // The FID at half the spectrum's size, in values (two per complex point).
    const int values = static_cast<int>(state.range(0));
    Spectrum& s = doc.spectrum;
    std::fill(s.specData.begin() + std::min(s.nData, values), s.specData.begin() + values, 0.0);
    s.noteSpecExtent(values);
    s.nData = s.acqPars.TD = values;
    const Spectrum fid = s;
    for (auto _ : state) {
        state.PauseTiming();
        doc.spectrum = fid;
        state.ResumeTiming();
        if (!processing::autoProcess(doc)) std::abort();
    }
    if (doc.spectrum.nData != 2 * values) state.SkipWithError("not the size asked for");
}
BENCHMARK(autoProcessing)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    for (const char* size : {"32768", "131072", "524288"}) {
        r.printRatio(std::string("autoPhase/") + size, std::string("transform/") + size);
        r.printRatio(std::string("autoProcessing/") + size, std::string("transform/") + size);
    }
    return 0;
}
