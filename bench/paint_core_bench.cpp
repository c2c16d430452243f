// Cost of the drawing code itself: a full repaint of a 131072-double spectrum at 1920 x 1080 onto
// a surface that only counts what it is given, in the full view and zoomed to 1 %.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "bench_view.h"
#include "counting_surface.h"
#include "display/paint.h"
#include "document/document.h"
#include "recording_ui.h"

namespace {

/// The size these figures have always been measured at (131072 doubles, 65536 points).
constexpr int kBenchValues = 131072;

using namespace pelvaron;

using bench::CountingSurface;

/// A 400 MHz spectrum of 65536 complex points: a few Lorentzian lines over a little noise.
std::unique_ptr<Document> makeSpectrum() {
    testing::RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->spectrum.acqPars.aqMode = 1;
    doc->spectrum.acqPars.TD = kBenchValues;
    doc->spectrum.acqPars.SW = 6009.6154;
    doc->spectrum.acqPars.SF = 400.13;
    doc->spectrum.acqPars.offsetHz = -400.0;
    std::uint32_t seed = 12345;
    const int points = kBenchValues / 2;
    for (int k = 0; k < points; ++k) {
        double v = 0.0;
        for (const double centre : {0.12, 0.31, 0.5, 0.505, 0.73}) {
            const double d = (k - centre * points) / 6.0;
            v += 100.0 / (1.0 + d * d);
        }
        seed = seed * 1664525u + 1013904223u;
        v += (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.2;
        doc->spectrum.specData[2 * k] = v;
        doc->spectrum.specData[2 * k + 1] = 0.0;
    }
    setupDocument(*doc);
    return doc;
}

void zoomToCentre(const Document& doc, display::View& view, double fraction) {
    const double aq = doc.spectrum.acqPars.AQ;
    view.fullView = 0;
    view.viewLeft = aq * (0.5 - fraction / 2);
    view.viewRight = aq * (0.5 + fraction / 2);
    view.viewZoom = display::computeViewZoom(aq, view.viewLeft, view.viewRight);
}

void run(benchmark::State& state, Document& doc, const display::View& view) {
    CountingSurface surface;
    for (auto _ : state) {
        display::paintDocument(surface, doc, view, {.screenHeight = 1080});
        benchmark::DoNotOptimize(surface.checksum);
    }
    state.counters["points_per_paint"] =
        benchmark::Counter(static_cast<double>(surface.points) / static_cast<double>(state.iterations()));
}

void BM_PaintFullView(benchmark::State& state) {
    auto doc = makeSpectrum();
    run(state, *doc, bench::benchView(*doc, 1920, 1080));
}
BENCHMARK(BM_PaintFullView)->Unit(benchmark::kMicrosecond);

void BM_PaintZoomedOnePercent(benchmark::State& state) {
    auto doc = makeSpectrum();
    auto view = bench::benchView(*doc, 1920, 1080);
    zoomToCentre(*doc, view, 0.01);
    run(state, *doc, view);
}
BENCHMARK(BM_PaintZoomedOnePercent)->Unit(benchmark::kMicrosecond);

// The busiest screen: zoomed, with the overview band (the whole data again) and the grid.
void BM_PaintZoomedWithOverviewAndGrid(benchmark::State& state) {
    auto doc = makeSpectrum();
    auto view = bench::benchView(*doc, 1920, 1080);
    zoomToCentre(*doc, view, 0.01);
    view.dualZoom = 1;
    view.showGrid = 1;
    run(state, *doc, view);
}
BENCHMARK(BM_PaintZoomedWithOverviewAndGrid)->Unit(benchmark::kMicrosecond);

// Dot display draws every point in view: the one mode whose cost follows the data, not the width.
void BM_PaintFullViewDots(benchmark::State& state) {
    auto doc = makeSpectrum();
    auto view = bench::benchView(*doc, 1920, 1080);
    view.dotDisplay = 1;
    run(state, *doc, view);
}
BENCHMARK(BM_PaintFullViewDots)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
