// Automatic Baseline at 32768, 131072 and 524288 complex points, each beside the Fourier transform
// of the same size: a FID of a dozen lines over noise, transformed, with a quadratic and a slow
// sine added as its baseline. Both sides pay for the same copy of their input.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <numbers>
#include <random>
#include <string>

#include "processing/auto_baseline.h"
#include "processing/transform.h"
#include "ratio_report.h"

namespace {

using namespace pelvaron;

/// A FID of `points` complex points: twelve lines decaying over a quarter of the acquisition, with
/// noise of 0.1 % of the strongest.
std::unique_ptr<Spectrum> fid(int points) {
    auto s = std::make_unique<Spectrum>();
    s->nData = s->acqPars.TD = 2 * points;
    s->acqPars.SW = 6000.0;
    s->acqPars.SF = 400.0;
    s->acqPars.AQ = points / s->acqPars.SW;
    s->acqPars.DECIM = 1;
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int j = 0; j < points; ++j) {
        std::complex<double> z;
        for (int l = 0; l < 12; ++l) {
            const double hz = -2700.0 + 450.0 * l + 7.0 * l * l;
            z += std::polar(1000.0 / (1 + l % 4) * std::exp(-4.0 * j / points),
                            2 * std::numbers::pi * hz * j / 6000.0);
        }
        s->specData[2 * j] = z.real() + noise(random);
        s->specData[2 * j + 1] = z.imag() + noise(random);
    }
    s->ftInverse = 0;
    return s;
}

/// The FID transformed, with a baseline of about 4 % of the tallest line added.
std::unique_ptr<Spectrum> spectrum(int points) {
    auto s = fid(points);
    if (!processing::transformSpectrum(*s, processing::TransformSettings{})) return s;
    for (int k = 0; k < points; ++k) {
        const double u = static_cast<double>(k) / (points - 1);
        const double b =
            4.0 * (0.5 * (2 * u - 1) * (2 * u - 1) - 0.2 + 0.5 * std::sin(2 * std::numbers::pi * 1.3 * u));
        s->specData[2 * k] += b;
        s->specData[2 * k + 1] += b;
    }
    return s;
}

void transform(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const auto input = fid(points);
    auto work = std::make_unique<Spectrum>(*input);
    for (auto _ : state) {
        work->specData.copyFrom(input->specData, input->nData);
        work->nData = input->nData;
        work->ftInverse = 0;
        if (!processing::transformSpectrum(*work, processing::TransformSettings{}))
            state.SkipWithError("transform");
        benchmark::DoNotOptimize(work->specData.data());
    }
}
BENCHMARK(transform)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

void autoBaseline(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const auto input = spectrum(points);
    auto work = std::make_unique<Spectrum>(*input);
    for (auto _ : state) {
        work->specData.copyFrom(input->specData, input->nData);
        const auto r = processing::autoBaseline(*work);
        if (!r)
            state.SkipWithError("refused");
        else
            state.counters["passes"] = r->passes;
        benchmark::DoNotOptimize(work->specData.data());
    }
}
BENCHMARK(autoBaseline)->Arg(32768)->Arg(131072)->Arg(524288)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("autoBaseline/131072", 50.0);
    for (const char* size : {"32768", "131072", "524288"})
        r.printRatio(std::string("autoBaseline/") + size, std::string("transform/") + size);
    return 0;
}
