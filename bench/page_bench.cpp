// The printed page of a 131072-double spectrum with 20 integrals and 50 labelled peaks, written
// as a PDF and as an A4 PNG at 300 dpi (each to a file, encoding included). Target: under 100 ms
// each.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>

#include "bench_view.h"
#include "document/document.h"
#include "lorentzian_spectrum.h"
#include "ratio_report.h"

#if __has_include(<QImage>) && __has_include("gui/page_writer.h")
#include "gui/page_writer.h"
#include "gui/png_renderer.h"
#include "output/page_setup.h"
#define PELVARON_HAVE_PAGE_WRITER 1
#endif

namespace {

using pelvaron::bench::kBenchValues;
constexpr int kIntegrals = 20;
constexpr int kPeaks = 50;

using pelvaron::Document;

/// Fifty Lorentzian lines over a little noise, set up as after a load, with an integral over
/// each of the first twenty lines and every line picked.
std::unique_ptr<Document> makePage() {
    const int points = kBenchValues / 2;
    std::vector<int> centres;
    std::vector<pelvaron::bench::BenchLine> lines;
    for (int p = 0; p < kPeaks; ++p) {
        centres.push_back(1000 + p * (points - 2000) / kPeaks);
        lines.push_back({static_cast<double>(centres.back()), 20.0 + 2.0 * p, 4.0});
    }
    auto doc = pelvaron::bench::lorentzianSpectrum(lines, 1280, 800);
    doc->spectrum.xUnits = pelvaron::kPpm;
    doc->fileTitle = "bench";
    auto& in = doc->integrals;
    for (int k = 0; k < kIntegrals; ++k) {
        in.integralStart[k] = centres[k] - 40;
        in.integralEnd[k] = centres[k] + 40;
        in.integralValue[k] = 1.0 + k;
    }
    in.integralCount = kIntegrals;
    in.lastIntegral = kIntegrals - 1;
    in.integralsExist = in.integralsShown = 1;
    doc->peaks.peakCount = kPeaks;
    for (int p = 0; p < kPeaks; ++p)
        doc->peaks.peakList[p] = {doc->spectrum.specData[2 * centres[p]], 2 * centres[p]};
    return doc;
}

#ifdef PELVARON_HAVE_PAGE_WRITER

void writePage(benchmark::State& state, const char* name) {
    const auto application = pelvaron::gui::ensureGuiApplication();
    auto doc = makePage();
    auto view = pelvaron::bench::benchView(*doc, 1280, 800);
    pelvaron::gui::layoutPlot(view, 1280, 800);
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    for (auto _ : state) {
        std::string error;
        if (!pelvaron::gui::writePageFile(*doc, view, path, {}, {}, error))
            state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(path);
}

void BM_PagePdf(benchmark::State& state) { writePage(state, "pelvaron-bench-page.pdf"); }
void BM_PagePng300Dpi(benchmark::State& state) { writePage(state, "pelvaron-bench-page.png"); }

/// The 300-dpi page drawn without encoding: what the PNG's figure spends on the drawing.
void BM_PageImage300Dpi(benchmark::State& state) {
    const auto application = pelvaron::gui::ensureGuiApplication();
    auto doc = makePage();
    auto view = pelvaron::bench::benchView(*doc, 1280, 800);
    pelvaron::gui::layoutPlot(view, 1280, 800);
    for (auto _ : state) {
        const QImage image = pelvaron::gui::pageImage(*doc, view, {}, {}, pelvaron::gui::PageArea::Printed);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_PagePdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PagePng300Dpi)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageImage300Dpi)->Unit(benchmark::kMillisecond)->UseRealTime();

#else

void BM_PageNeedsQt(benchmark::State& state) {
    for (auto _ : state) state.SkipWithError("built without Qt: no page writer");
}
BENCHMARK(BM_PageNeedsQt);

#endif

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const auto& reporter = pelvaron::bench::runBenchmarks();
    // Printing or exporting answers at once: the whole page, written, within a tenth of a second.
    for (const char* name : {"BM_PagePdf", "BM_PagePng300Dpi"}) reporter.printTarget(name, 100.0);
    benchmark::Shutdown();
    return 0;
}
