// Integration: a list of 100 integrals made over a 65536-point spectrum at 1920 x 1080 and
// drawn, labels and curves, onto a surface that only counts what it is given; each integral
// covers 1 % of the data. The reference is a plain sum over the same points.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "analysis/integrals.h"
#include "bench_view.h"
#include "counting_surface.h"
#include "display/integral_drawing.h"
#include "display/view_transform.h"
#include "document/document.h"
#include "ratio_report.h"
#include "recording_ui.h"

namespace {

using namespace pelvaron;

constexpr int kValues = 131072;
constexpr int kIntegrals = 100;

using bench::CountingSurface;

/// A 400 MHz spectrum of 65536 complex points: Lorentzian lines every 1 % over a sloping base.
std::unique_ptr<Document> makeSpectrum(testing::RecordingUserInterface& /*ui*/) {
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars.aqMode = 1;
    doc->spectrum.acqPars.TD = kValues;
    doc->spectrum.acqPars.SW = 6009.6154;
    doc->spectrum.acqPars.SF = 400.13;
    const int points = kValues / 2;
    for (int k = 0; k < points; ++k) {
        const double d = (k % (points / kIntegrals) - points / kIntegrals / 2) / 4.0;
        doc->spectrum.specData[2 * k] = 100.0 / (1.0 + d * d) + 1e-5 * k;
    }
    setupDocument(*doc);
    return doc;
}

/// Window x of the ends of region r: the full width in 100 equal parts, less a pixel each side.
double regionStart(int r) { return r * 19.2 + 1.0; }
double regionEnd(int r) { return (r + 1) * 19.2 - 1.0; }
/// The complex point under window pixel x, as the integrate tool reads it.
double positionOf(const Document& doc, const display::View& view, double x) {
    return display::ViewTransform::mainView(doc.spectrum, view).indexAtPixel(x) / 2.0;
}

void BM_CreateAndDraw100Integrals(benchmark::State& state) {
    testing::RecordingUserInterface ui;
    auto doc = makeSpectrum(ui);
    const display::View view = bench::benchView(*doc, 1920, 1080);
    doc->integrals.integralBaselineCorr = 1;
    CountingSurface surface;
    const IntegralState& in = doc->integrals;
    for (auto _ : state) {
        for (int r = 0; r < kIntegrals; ++r)
            analysis::createIntegralAt(*doc, ui, positionOf(*doc, view, regionStart(r)),
                                       positionOf(*doc, view, regionEnd(r)), r == 0 ? 1 : 0);
        display::drawIntegralValues(surface, *doc, view);
        display::drawIntegralCurves(
            surface, *doc, view.plotRect, view.integralBaseY,
            display::ViewTransform::mainView(doc->spectrum, view, view.plotRect.width()), in.integralScale,
            view.vScale);
        benchmark::DoNotOptimize(surface.checksum);
    }
    if (in.integralCount != kIntegrals) state.SkipWithError("not every integral was made");
}
BENCHMARK(BM_CreateAndDraw100Integrals)->Unit(benchmark::kMicrosecond);

// The floor: the same real parts summed once, nothing stored or drawn.
void BM_ReferenceSumOfRegions(benchmark::State& state) {
    testing::RecordingUserInterface ui;
    auto doc = makeSpectrum(ui);
    const display::View view = bench::benchView(*doc, 1920, 1080);
    for (auto _ : state) {
        double total = 0.0;
        for (int r = 0; r < kIntegrals; ++r) {
            const int first = 2 * static_cast<int>(positionOf(*doc, view, regionStart(r)));
            const int last = 2 * static_cast<int>(positionOf(*doc, view, regionEnd(r)));
            for (int i = first; i <= last; i += 2) total += doc->spectrum.specData[i];
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReferenceSumOfRegions)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("BM_CreateAndDraw100Integrals", 5.0);
    r.printRatio("BM_CreateAndDraw100Integrals", "BM_ReferenceSumOfRegions");
    return 0;
}
