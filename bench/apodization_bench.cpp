// One movement of the Interactive Apodization dialog's LB bar: refill from the stored FID, the
// exponential window, quadrature alternation, conjugation, the complex FFT, the filter-delay ramp,
// the phase rotation with both orders and the S/N, at 65536 doubles (targets: under 5 ms) and at
// 524288 (under 40 ms). After the runs it prints the step in milliseconds against its target.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstdio>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "processing/interactive_apodization.h"

namespace {

using namespace pelvaron;

/// A document holding a noisy FID of `doubles` values, stored as the set-up stores it, filtered
/// (DECIM 24, DSPFVS 10) and conjugated on reading as a Bruker FID is, with a phase to apply.
std::unique_ptr<Document> filteredFid(int doubles) {
    auto doc = std::make_unique<Document>();
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 20.0);
    const double sw = 6000.0;
    for (int k = 0; k < doubles / 2; ++k) {
        const double t = k / sw;
        std::complex<double> z;
        for (double hz : {-1500.0, -300.0, 800.0, 2200.0})
            z += std::polar(1000.0 * std::exp(-t / 0.5), 2 * std::numbers::pi * hz * t);
        doc->spectrum.specData[2 * k] = z.real() + noise(rng);
        doc->spectrum.specData[2 * k + 1] = z.imag() + noise(rng);
    }
    doc->spectrum.nData = doc->spectrum.acqPars.TD = doubles;
    doc->spectrum.acqPars.SW = sw;
    doc->spectrum.acqPars.SF = 300.0;
    doc->spectrum.acqPars.AQ = doubles / (2.0 * sw);
    doc->spectrum.acqPars.DECIM = 24;
    doc->spectrum.acqPars.DSPFVS = 10;
    doc->fidCopy.copyFrom(doc->spectrum.specData, doubles);
    doc->fidCopyCount = doubles;
    doc->loadQuadrature = 1;
    doc->spectrum.fileNegateImag = doc->spectrum.negateImag = 1;
    doc->spectrum.phase0 = 35.0;
    doc->spectrum.phase1 = -8.0;
    return doc;
}

void lbStep(benchmark::State& state) {
    const int doubles = static_cast<int>(state.range(0));
    auto doc = filteredFid(doubles);
    processing::InteractiveApodizationDialog dialog(*doc);
    dialog.open();
    int position = 0;
    for (auto _ : state) {
        position = position >= 240 ? -240 : position + 2;
        if (!dialog.scrollLb(processing::ScrollAction::Thumb, position)) {
            state.SkipWithError("the movement was refused");
            break;
        }
        benchmark::DoNotOptimize(doc->spectrum.specData.data());
    }
}
BENCHMARK(lbStep)->Arg(65536)->Arg(524288)->Unit(benchmark::kMillisecond);

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            cpu[run.run_name.str()] = run.GetAdjustedCPUTime();
            real[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> cpu, real;  ///< milliseconds
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    for (const auto& [size, target] : std::map<int, double>{{65536, 5.0}, {524288, 40.0}}) {
        const std::string name = "lbStep/" + std::to_string(size);
        if (reporter.cpu.count(name) == 0) continue;
        std::printf(
            "apodization step of %d doubles: %.2f ms CPU, %.2f ms wall clock (target: under %.0f ms)\n", size,
            reporter.cpu[name], reporter.real[name], target);
    }
    return 0;
}
