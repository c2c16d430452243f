// Loading and saving: a Bruker experiment of 131072 big-endian values as Import reads it, the
// document set-up, and a Native save and open of 131072 doubles. The reference is a plain read
// of the same fid bytes into memory.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "bruker_writer.h"
#include "io/load.h"
#include "io/native_file.h"
#include "ratio_report.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace {

using namespace pelvaron;

/// The size these figures have always been measured at.
constexpr int kValues = 131072;
/// Points of the processed spectrum: SI 131072, common today.
constexpr int kProcessedPoints = 131072;

struct Fixture {
    testing::TempDir dir;
    std::string experiment;
    std::string native;
    Fixture() {
        testing::BrukerFidSpec spec;
        spec.values.resize(kValues);
        for (int i = 0; i < kValues; ++i) spec.values[i] = (i * 7919) % 2000003 - 1000000;
        spec.bigEndian = true;
        spec.decim = 16;
        spec.dspfvs = 12;
        spec.procOffset = 12.0;
        experiment = dir.file("exp");
        testing::writeBrukerFid(experiment, spec);
        native = dir.file("data.plv");

        // A processed spectrum of today's common size: 1r and 1i of SI 131072 each.
        testing::BrukerProcessedSpec processedSpec;
        processedSpec.si = kProcessedPoints;
        processedSpec.real.resize(kProcessedPoints);
        processedSpec.imag.resize(kProcessedPoints);
        for (int k = 0; k < kProcessedPoints; ++k) {
            const auto index = static_cast<std::int64_t>(k);
            processedSpec.real[k] = static_cast<double>((index * 7919) % 2000003 - 1000000);
            processedSpec.imag[k] = static_cast<double>((index * 104729) % 2000003 - 1000000);
        }
        processedSpec.ncProc = -2;
        processedSpec.offset = 12.0;
        processed = testing::writeBrukerProcessed(dir.file("exp/pdata/1"), processedSpec);
    }
    std::string processed;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ReferenceFreadFid(benchmark::State& state) {
    const std::string fid = fixture().experiment + "/fid";
    std::vector<char> buffer(kValues * 4);
    for (auto _ : state) {
        std::FILE* f = std::fopen(fid.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
    }
}
BENCHMARK(BM_ReferenceFreadFid)->Unit(benchmark::kMillisecond);

void BM_BrukerLoad131072(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    for (auto _ : state) {
        if (!io::loadFile(*doc, ui, fixture().experiment, FileFormat::Bruker))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_BrukerLoad131072)->Unit(benchmark::kMillisecond);

void BM_SetupDocument(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    if (!io::loadFile(*doc, ui, fixture().experiment, FileFormat::Bruker))
        state.SkipWithError("load failed");
    for (auto _ : state) setupDocument(*doc);
}
BENCHMARK(BM_SetupDocument)->Unit(benchmark::kMillisecond);

void BM_NativeSave131072(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    if (!io::loadFile(*doc, ui, fixture().experiment, FileFormat::Bruker))
        state.SkipWithError("load failed");
    for (auto _ : state) {
        if (!io::writeNativeFile(*doc, fixture().native)) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_NativeSave131072)->Unit(benchmark::kMillisecond);

void BM_NativeOpen131072(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    if (!io::loadFile(*doc, ui, fixture().experiment, FileFormat::Bruker) ||
        !io::writeNativeFile(*doc, fixture().native)) {
        state.SkipWithError("set-up failed");
    }
    for (auto _ : state) {
        if (!io::loadFile(*doc, ui, fixture().native, FileFormat::Native))
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_NativeOpen131072)->Unit(benchmark::kMillisecond);

void BM_BrukerProcessedOpenSI131072(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    for (auto _ : state) {
        if (!io::loadFile(*doc, ui, fixture().processed, FileFormat::Bruker) ||
            doc->spectrum.nData != 2 * kProcessedPoints) {
            state.SkipWithError("open failed");
        }
    }
}
BENCHMARK(BM_BrukerProcessedOpenSI131072)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("BM_BrukerLoad131072", 1.5);
    r.printTarget("BM_SetupDocument", 2.0);
    r.printTarget("BM_NativeSave131072", 2.0);
    r.printTarget("BM_NativeOpen131072", 2.0);
    r.printTarget("BM_BrukerProcessedOpenSI131072", 2.0);
    r.printRatio("BM_BrukerLoad131072", "BM_ReferenceFreadFid");
    r.printRatio("BM_NativeOpen131072", "BM_ReferenceFreadFid");
    return 0;
}
