// One fit of an ABX system and of six strongly coupled spins, each started 2 Hz off in every
// shift and 1 Hz off in every coupling.
#include <benchmark/benchmark.h>

#include <array>

#include "fit_systems.h"
#include "simulation/fit.h"

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

}  // namespace

BENCHMARK_MAIN();
