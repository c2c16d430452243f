// The Fourier transform and phase correction: the forward FFT of the largest size the dialog
// offers (against the textbook loop it must match bit for bit, and against FFTW as a reference),
// one interactive re-phasing step, and Apodize + FT + Autophase on the bundled example. After the
// runs it prints our FFT time as a ratio of FFTW's and the re-phasing step in milliseconds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#ifdef PELVARON_HAVE_FFTW
#include <fftw3.h>
#endif

#include "cli/steps.h"
#include "io/load.h"
#include "processing/fft.h"
#include "processing/phase.h"
#include "processing/phase_dialog.h"
#include "recording_ui.h"
#include "textbook_fft.h"

namespace {

using namespace pelvaron;

constexpr int kFftPoints = 32768;  // the dialog's largest size: 65536 doubles
constexpr int kPhaseDoubles = 65536;

std::vector<double> noise(int count) {
    std::mt19937 rng(42);
    std::normal_distribution<double> normal(0.0, 1000.0);
    std::vector<double> v(static_cast<std::size_t>(count));
    for (double& x : v) x = normal(rng);
    return v;
}

// Each FFT run starts from the same input, so every variant pays for the same copy.
void forwardFft(benchmark::State& state) {
    const std::vector<double> input = noise(2 * kFftPoints);
    std::vector<double> data(input.size());
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), input.size() * sizeof(double));
        processing::complexFft(data.data(), kFftPoints, processing::kForward);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(forwardFft)->Unit(benchmark::kMicrosecond);

void textbookForwardFft(benchmark::State& state) {
    const std::vector<double> input = noise(2 * kFftPoints);
    std::vector<double> data(input.size());
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), input.size() * sizeof(double));
        testing::textbookComplexFft(data.data(), kFftPoints, 1);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(textbookForwardFft)->Unit(benchmark::kMicrosecond);

#ifdef PELVARON_HAVE_FFTW
void fftwForward(benchmark::State& state) {
    const std::vector<double> input = noise(2 * kFftPoints);
    fftw_complex* data = fftw_alloc_complex(kFftPoints);
    const fftw_plan plan = fftw_plan_dft_1d(kFftPoints, data, data, FFTW_FORWARD, FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(data, input.data(), input.size() * sizeof(double));
        fftw_execute(plan);
        benchmark::DoNotOptimize(data);
    }
    fftw_destroy_plan(plan);
    fftw_free(data);
}
BENCHMARK(fftwForward)->Unit(benchmark::kMicrosecond);
#endif

/// What the Order 0 scroll bar does on every move: restore the unphased copy, rotate the real
/// parts by both orders, tell the views.
void rephaseStep(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    const std::vector<double> spectrum = noise(kPhaseDoubles);
    std::copy(spectrum.begin(), spectrum.end(), doc->spectrum.specData.begin());
    doc->spectrum.nData = kPhaseDoubles;
    doc->spectrum.peakIndex = 2 * (kPhaseDoubles / 6);  // an even index left of the middle
    doc->spectrum.phase1 = 12.0;
    processing::PhaseDialog dialog(*doc);
    dialog.open();
    int position = 0;
    for (auto _ : state) {
        position = position >= 17000 ? -17000 : position + 100;
        dialog.scrollOrder0(processing::ScrollAction::Thumb, position);
        benchmark::DoNotOptimize(doc->spectrum.specData.data());
    }
}
BENCHMARK(rephaseStep)->Unit(benchmark::kMicrosecond);

/// A UserInterface that keeps nothing, so that repeated set-ups do not grow.
class QuietUi : public testing::RecordingUserInterface {
public:
    void setWindowTitle(std::string_view) override {}
    void enableDocumentMenus(bool) override {}
};

/// bench/run starts the programs from the source tree; PELVARON_SOURCE_DIR names it otherwise.
std::string example() {
    const char* root = std::getenv("PELVARON_SOURCE_DIR");
    return std::string(root ? root : ".") + "/examples/ethyl-acetate/1";
}

/// Apodize (exponential 0.3 Hz), Fourier transform with the dialog's proposals (group-delay
/// rotation, drift correction, quadrature, normalisation) and Autophase, on the example.
void exampleSequence(benchmark::State& state) {
    QuietUi ui;
    auto pristine = std::make_unique<Document>();
    if (!io::loadFile(*pristine, ui, example(), std::nullopt)) {
        state.SkipWithError("the bundled example could not be loaded");
        return;
    }
    auto doc = std::make_unique<Document>();
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        doc->spectrum.specData.copyFrom(pristine->spectrum.specData, kCapacity);
        doc->spectrum.acqPars = pristine->spectrum.acqPars;
        doc->spectrum.groupDelay = pristine->spectrum.groupDelay;
        setupDocument(*doc);
        state.ResumeTiming();
        if (!cli::runSteps(*doc, ui, "em=0.3,ft,autophase", error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(doc->spectrum.specData.data());
    }
}
BENCHMARK(exampleSequence)->Unit(benchmark::kMicrosecond);

/// The console output, plus each benchmark's real and CPU time per iteration for the summary.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0.0;  ///< microseconds
        double cpu = 0.0;   ///< microseconds
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Both clocks are shown: on a shared machine the wall clock also counts other programs.
    const auto& t = reporter.times;
    auto has = [&](const char* name) { return t.count(name) != 0; };
    std::printf("\n");
    if (has("forwardFft") && has("fftwForward")) {
        const auto& ours = t.at("forwardFft");
        const auto& fftw = t.at("fftwForward");
        std::printf(
            "FFT of %d complex points: ours %.1f us, FFTW %.1f us (CPU time): ratio %.2f "
            "(wall clock %.2f; target: within 3)\n",
            kFftPoints, ours.cpu, fftw.cpu, ours.cpu / fftw.cpu, ours.real / fftw.real);
        if (has("textbookForwardFft")) {
            const auto& textbook = t.at("textbookForwardFft");
            std::printf("  the textbook loop, for comparison: ratio %.2f (wall clock %.2f)\n",
                        textbook.cpu / fftw.cpu, textbook.real / fftw.real);
        }
    }
    if (has("rephaseStep")) {
        const auto& step = t.at("rephaseStep");
        std::printf("re-phasing step of %d doubles: %.3f ms CPU, %.3f ms wall clock (target: under 2 ms)\n",
                    kPhaseDoubles, step.cpu / 1000.0, step.real / 1000.0);
    }
    if (has("exampleSequence")) {
        const auto& sequence = t.at("exampleSequence");
        std::printf("em=0.3, ft, autophase on the example: %.3f ms CPU, %.3f ms wall clock\n",
                    sequence.cpu / 1000.0, sequence.real / 1000.0);
    }
    return 0;
}
