// A full repaint of the plot: paintDocument onto an off-screen 1920 x 1080 image, for 131072
// doubles in the full view and zoomed to 1 % of the data. Target: under 8 ms (one frame at
// 120 Hz).
#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <memory>

#include "bench_view.h"
#include "document/document.h"
#include "lorentzian_spectrum.h"
#include "ratio_report.h"

#if __has_include(<QImage>)
#include <QImage>

#include "gui/png_renderer.h"
#define PELVARON_HAVE_RENDERER 1
#endif

namespace {

using pelvaron::Document;
using pelvaron::bench::kBenchValues;

/// A 65536-point spectrum of Lorentzian lines over a little noise, set up as after a load.
std::unique_ptr<Document> makeSpectrum() {
    std::vector<pelvaron::bench::BenchLine> lines;
    for (const double c : {9000.0, 9050.0, 21000.0, 33000.0, 33040.0, 33080.0, 47000.0, 61000.0})
        lines.push_back({c, 100.0, 6.0});
    return pelvaron::bench::lorentzianSpectrum(lines, 1920, 1080);
}

void zoomTo(const Document& doc, pelvaron::display::View& view, double from, double to) {
    const double aq = doc.spectrum.acqPars.AQ;
    view.viewLeft = from * aq;
    view.viewRight = to * aq;
    view.viewZoom = pelvaron::display::computeViewZoom(aq, view.viewLeft, view.viewRight);
    view.fullView = 0;
}

#ifdef PELVARON_HAVE_RENDERER

void repaint(benchmark::State& state, Document& doc, const pelvaron::display::View& view) {
    const auto application = pelvaron::gui::ensureGuiApplication();
    QImage image(view.clientWidth, view.clientHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        pelvaron::gui::paintDocumentImage(doc, view, image, 1080);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RepaintFullView(benchmark::State& state) {
    auto doc = makeSpectrum();
    repaint(state, *doc, pelvaron::bench::benchView(*doc, 1920, 1080));
}

void BM_RepaintZoomedOnePercent(benchmark::State& state) {
    auto doc = makeSpectrum();
    auto view = pelvaron::bench::benchView(*doc, 1920, 1080);
    zoomTo(*doc, view, 0.45, 0.46);
    repaint(state, *doc, view);
}

void BM_RepaintZoomedWithOverviewAndGrid(benchmark::State& state) {
    auto doc = makeSpectrum();
    auto view = pelvaron::bench::benchView(*doc, 1920, 1080);
    zoomTo(*doc, view, 0.45, 0.46);
    view.dualZoom = 1;
    view.showGrid = 1;
    repaint(state, *doc, view);
}

BENCHMARK(BM_RepaintFullView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomedOnePercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomedWithOverviewAndGrid)->Unit(benchmark::kMillisecond);

#else

void BM_RepaintNeedsQt(benchmark::State& state) {
    for (auto _ : state) state.SkipWithError("built without Qt: no off-screen renderer");
}
BENCHMARK(BM_RepaintNeedsQt);

#endif

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const auto& reporter = pelvaron::bench::runBenchmarks();
    // One frame at 120 Hz. The wall clock counts: the person waits for the whole repaint.
    for (const char* name :
         {"BM_RepaintFullView", "BM_RepaintZoomedOnePercent", "BM_RepaintZoomedWithOverviewAndGrid"}) {
        reporter.printTarget(name, 8.0);
    }
    benchmark::Shutdown();
    return 0;
}
