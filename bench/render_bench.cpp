// A full repaint of the plot: paintDocument onto an off-screen 1920 x 1080 image, for 131072
// doubles in the full view and zoomed to 1 % of the data. Target: under 8 ms (one frame at
// 120 Hz).
#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <random>

#include "cli/console_ui.h"
#include "document/document.h"
#include "ratio_report.h"

#if __has_include(<QImage>)
#include <QImage>

#include "gui/png_renderer.h"
#define PELVARON_HAVE_RENDERER 1
#endif

namespace {

/// The size these figures have always been measured at (131072 doubles, 65536 points).
constexpr int kBenchValues = 131072;

using pelvaron::Document;

/// A 65536-point spectrum of Lorentzian lines over a little noise, set up as after a load.
std::unique_ptr<Document> makeSpectrum() {
    auto doc = std::make_unique<Document>();
    doc->initClientArea(1920, 1080);
    doc->acqPars.aqMode = 3;
    doc->acqPars.complexData = 1;
    doc->acqPars.TD = kBenchValues;
    doc->acqPars.SW = 6009.6;
    doc->acqPars.SF = 400.13;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.05);
    const int points = kBenchValues / 2;
    const double centres[] = {9000.0, 9050.0, 21000.0, 33000.0, 33040.0, 33080.0, 47000.0, 61000.0};
    for (int k = 0; k < points; ++k) {
        double value = noise(random);
        for (double c : centres) value += 100.0 / (1.0 + ((k - c) / 6.0) * ((k - c) / 6.0));
        doc->specData[2 * k] = value;
        doc->specData[2 * k + 1] = noise(random);
    }
    pelvaron::cli::ConsoleUserInterface ui(std::cerr);
    pelvaron::setupDocument(*doc, ui);
    return doc;
}

void zoomTo(Document& doc, double from, double to) {
    const double aq = doc.acqPars.AQ;
    doc.viewLeft = from * aq;
    doc.viewRight = to * aq;
    doc.viewZoom = pelvaron::computeViewZoom(aq, doc.viewLeft, doc.viewRight);
    doc.fullView = 0;
}

#ifdef PELVARON_HAVE_RENDERER

void repaint(benchmark::State& state, Document& doc) {
    const auto application = pelvaron::gui::ensureGuiApplication();
    QImage image(doc.clientWidth, doc.clientHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        pelvaron::gui::paintDocumentImage(doc, image, 1080);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RepaintFullView(benchmark::State& state) {
    auto doc = makeSpectrum();
    repaint(state, *doc);
}

void BM_RepaintZoomedOnePercent(benchmark::State& state) {
    auto doc = makeSpectrum();
    zoomTo(*doc, 0.45, 0.46);
    repaint(state, *doc);
}

void BM_RepaintZoomedWithOverviewAndGrid(benchmark::State& state) {
    auto doc = makeSpectrum();
    zoomTo(*doc, 0.45, 0.46);
    doc->dualZoom = 1;
    doc->showGrid = 1;
    repaint(state, *doc);
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
