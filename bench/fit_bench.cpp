// One fit of an ABX system and of six strongly coupled spins, each started 2 Hz off in every
// shift and 1 Hz off in every coupling; and the four ring protons of the aspirin FID, processed
// here, fitted from shifts read roughly off the spectrum as pelvaron-cli fit does.
//
// On the 2-core development machine while other builds ran on it (at real-time priority; four
// runs alternating with the fit as it was, wall time, median and range), before -> after the
// Jacobian's columns on a kept second thread, the vectorised line shapes and the kept lines:
// ABX 11.0 (10.3-11.1) -> 5.1 (5.1-5.3) ms, six spins 582 (570-607) -> 119 (113-128) ms, the
// aspirin ring 308 (297-334) -> 154 (145-163) ms (436 iterations).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "cli/steps.h"
#include "fit_systems.h"
#include "io/load.h"
#include "recording_ui.h"
#include "simulation/fit.h"
#include "temp_dir.h"

namespace {

using namespace pelvaron::simulation;

using pelvaron::testing::coupled;

void fitFromOffStart(benchmark::State& state, const FitSubsystem& truthSystem, double lo, double hi) {
    FitParameters truth;
    truth.subsystems = {truthSystem};
    truth.scale = {100.0};
    truth.offset = {0.0};
    std::vector<FitRegion> regions(1);
    for (double x = lo; x <= hi; x += 0.1) regions[0].hz.push_back(x);
    std::vector<std::vector<double>> values;
    if (!fitModelValues(truth, regions, values)) state.SkipWithError("model");
    regions[0].values = values[0];
    FitParameters start;
    start.subsystems = truth.subsystems;
    int sign = 1;
    auto& s = start.subsystems[0];
    for (double& v : s.shifts) v += (sign = -sign) * 2.0;
    for (std::size_t i = 0; i < s.shifts.size(); ++i)
        for (std::size_t j = i + 1; j < s.shifts.size(); ++j)
            if (s.couplings[i][j] != 0.0) s.couplings[i][j] = s.couplings[j][i] += (sign = -sign) * 1.0;
    for (auto _ : state) {
        const FitResult fit = fitSpinSystem(start, regions, {});
        if (fit.status != FitResult::Status::Converged) state.SkipWithError("not converged");
        state.counters["iterations"] = fit.iterations;
        benchmark::DoNotOptimize(fit.relativeRms);
    }
}

void BM_FitAbx(benchmark::State& state) {
    fitFromOffStart(state,
                    coupled({610.0, 622.0, 700.0}, {{{0, 1, 15.5}}, {{0, 2, 3.2}}, {{1, 2, 8.7}}}, 0.8),
                    580.0, 730.0);
}
BENCHMARK(BM_FitAbx)->Unit(benchmark::kMillisecond);

void BM_FitSixSpins(benchmark::State& state) {
    fitFromOffStart(state, pelvaron::testing::sixStronglyCoupled(), 380.0, 450.0);
}
BENCHMARK(BM_FitSixSpins)->Unit(benchmark::kMillisecond);

/// The points of the spectrum between two ppm values, as pelvaron-cli fit takes them.
FitRegion regionOf(const pelvaron::Spectrum& s, double fromPpm, double toPpm) {
    const double lo = std::min(fromPpm, toPpm) * s.acqPars.SF, hi = std::max(fromPpm, toPpm) * s.acqPars.SF;
    FitRegion out;
    for (int k = 0; k < s.count() / 2; ++k) {
        const double hz = s.acqPars.SW * (1.0 - 2.0 * k / s.nData) + s.offsetHz;
        if (hz < lo || hz > hi) continue;
        out.hz.push_back(hz);
        out.values.push_back(s.specData[2 * k]);
    }
    return out;
}

void BM_FitAspirinRing(benchmark::State& state) {
    pelvaron::Document doc;
    pelvaron::testing::RecordingUserInterface ui;
    std::string error;
    if (!pelvaron::io::loadFile(doc, ui, pelvaron::testing::sourcePath("tests/data/aspirin-1h/fid-set"),
                                pelvaron::FileFormat::Bruker) ||
        !pelvaron::cli::runSteps(doc, ui, "em=0.3,auto", error))
        std::abort();
    const double sf = doc.spectrum.acqPars.SF;
    FitParameters start;
    start.subsystems = {coupled(
        {8.05 * sf, 7.52 * sf, 7.29 * sf, 7.06 * sf},
        {{{0, 1, 8.0}}, {{0, 2, 1.5}}, {{0, 3, 0.5}}, {{1, 2, 8.0}}, {{1, 3, 1.5}}, {{2, 3, 8.0}}}, 1.0)};
    const std::vector<FitRegion> regions = {
        regionOf(doc.spectrum, 8.12, 7.98), regionOf(doc.spectrum, 7.60, 7.46),
        regionOf(doc.spectrum, 7.35, 7.21), regionOf(doc.spectrum, 7.12, 7.00)};
    for (auto _ : state) {
        const FitResult fit = fitSpinSystem(start, regions, {});
        if (fit.status != FitResult::Status::Converged) state.SkipWithError("not converged");
        state.counters["iterations"] = fit.iterations;
        benchmark::DoNotOptimize(fit.relativeRms);
    }
}
BENCHMARK(BM_FitAspirinRing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
