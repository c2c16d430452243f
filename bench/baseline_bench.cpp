// Cost of one step of the manual baseline preview: a scroll bar moves, the polynomial is filled for
// every point of a 32768-point spectrum and the polyline for a 1920-pixel plot is made.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "document/document.h"
#include "processing/baseline.h"
#include "ratio_report.h"

namespace {

using namespace pelvaron;

constexpr int kPoints = 32768;

std::unique_ptr<Document> makeSpectrum() {
    auto doc = std::make_unique<Document>();
    doc->spectrum.nData = doc->spectrum.acqPars.TD = 2 * kPoints;
    for (int k = 0; k < kPoints; ++k)
        doc->spectrum.specData[2 * k] = 100.0 / (1.0 + (k - 9000.0) * (k - 9000.0) / 36.0);
    doc->spectrum.peakValue = findPeak(doc->spectrum);
    return doc;
}

// One preview step with all five orders in use, as when the last bar is dragged.
void BM_BaselinePreviewStep32768(benchmark::State& state) {
    auto doc = makeSpectrum();
    // The 1920 x 1080 window's plot.
    processing::BaselineDialog dialog(*doc, {1920, 540, 29, 1061, 75.0});
    dialog.open();
    for (int order = 0; order < kBaselineOrders; ++order)
        (void)dialog.scroll(order, processing::ScrollAction::Thumb, 20 * (order + 1));
    bool right = true;
    for (auto _ : state) {
        const auto update = dialog.scroll(
            4, right ? processing::ScrollAction::LineRight : processing::ScrollAction::LineLeft);
        benchmark::DoNotOptimize(update.draw.data());
        right = !right;
    }
}
BENCHMARK(BM_BaselinePreviewStep32768)->Unit(benchmark::kMicrosecond);

// Reference: one pass that copies the 32768 values the polynomial fills.
void BM_ReferenceCopyCurve32768(benchmark::State& state) {
    auto doc = makeSpectrum();
    for (auto _ : state) {
        std::copy(doc->spectrum.specData.begin(), doc->spectrum.specData.begin() + kPoints,
                  doc->workCurve.begin());
        benchmark::DoNotOptimize(doc->workCurve.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReferenceCopyCurve32768)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("BM_BaselinePreviewStep32768", 5.0);
    r.printRatio("BM_BaselinePreviewStep32768", "BM_ReferenceCopyCurve32768");
    return 0;
}
