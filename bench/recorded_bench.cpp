// Process as Recorded on a FID of 65536 complex points zero-filled to SI 131072: the exponential
// window, the digital filter's rotation and ramp, the transform, PHC0/PHC1 and the reference. The
// reference figure is the bare complex FFT of the 131072 points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "processing/fft.h"
#include "processing/recorded.h"
#include "ratio_report.h"

namespace {

using namespace pelvaron;

constexpr int kFidPoints = 65536;
constexpr int kSi = 131072;
constexpr double kSw = 6000.0;

/// Two decaying lines and a little structure, delayed by a digital filter's lead-in.
std::vector<double> fid() {
    std::vector<double> v(2 * kFidPoints);
    for (int k = 0; k < kFidPoints; ++k) {
        const double t = (k - 70) / kSw;
        const double a = t < 0 ? 0.0 : 1e6 * std::exp(-2.0 * t);
        const double b = t < 0 ? 0.0 : 4e5 * std::exp(-5.0 * t);
        v[2 * k] = a * std::cos(2 * M_PI * 812.0 * t) + b * std::cos(-2 * M_PI * 1530.0 * t) + (k % 13) - 6;
        v[2 * k + 1] =
            a * std::sin(2 * M_PI * 812.0 * t) + b * std::sin(-2 * M_PI * 1530.0 * t) + (k % 7) - 3;
    }
    return v;
}

void loadFid(Document& doc, const std::vector<double>& values) {
    std::copy(values.begin(), values.end(), doc.spectrum.specData.begin());
    doc.spectrum.nData = doc.spectrum.acqPars.TD = static_cast<int>(values.size());
    doc.spectrum.acqPars.SW = kSw;
    doc.spectrum.acqPars.SF = 600.13;
    doc.spectrum.acqPars.AQ = doc.spectrum.nData / (2.0 * kSw);
    doc.spectrum.acqPars.DECIM = 32;
    doc.spectrum.acqPars.DSPFVS = 12;
    doc.spectrum.ftReal = 0;
    doc.spectrum.ftInverse = 0;
    doc.spectrum.phaseSourceValid = 0;
}

void BM_ProcessAsRecorded65536ToSi131072(benchmark::State& state) {
    const std::vector<double> values = fid();
    auto doc = std::make_unique<Document>();
    doc->spectrum.recorded.present = true;
    doc->spectrum.recorded.WDW = 1;
    doc->spectrum.recorded.LB = 0.3;
    doc->spectrum.recorded.SI = kSi;
    doc->spectrum.recorded.TDeff = 2 * kFidPoints;
    doc->spectrum.recorded.PHC0 = -107.786;
    doc->spectrum.recorded.PHC1 = 11.02198;
    doc->spectrum.recorded.FCOR = 0.5;
    doc->spectrum.recorded.haveOffset = true;
    doc->spectrum.recorded.OFFSET = 12.0;
    doc->spectrum.recorded.SW_p = kSw;
    doc->spectrum.recorded.SF = 600.13;
    for (auto _ : state) {
        state.PauseTiming();
        loadFid(*doc, values);
        state.ResumeTiming();
        if (!processing::processAsRecorded(*doc)) {
            state.SkipWithError("Process as Recorded refused the FID");
            break;
        }
        benchmark::DoNotOptimize(doc->spectrum.specData.data());
    }
}
BENCHMARK(BM_ProcessAsRecorded65536ToSi131072)->Unit(benchmark::kMillisecond);

void BM_ReferenceFft131072(benchmark::State& state) {
    std::vector<double> values = fid();
    values.resize(2 * kSi, 0.0);
    std::vector<double> data(values.size());
    for (auto _ : state) {
        std::copy(values.begin(), values.end(), data.begin());
        processing::complexFft(data.data(), kSi, processing::kForward);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_ReferenceFft131072)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("BM_ProcessAsRecorded65536ToSi131072", 10.0);
    r.printRatio("BM_ProcessAsRecorded65536ToSi131072", "BM_ReferenceFft131072");
    benchmark::Shutdown();
    return 0;
}
