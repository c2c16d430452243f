// JCAMP-DX: reading an ASDF-compressed (DIFDUP) NTUPLES spectrum of 32768 complex points as a
// spectrometer writes it, and a 65536-point XYDATA export; writing both layouts. The reference is
// a plain pass over the same NTUPLES text: read the file and visit every line and digit.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "io/jcamp_import.h"
#include "io/jcamp_reader.h"
#include "io/jcamp_writer.h"
#include "jcamp_fixtures.h"
#include "ratio_report.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace {

/// The size these figures have always been measured at (131072 doubles, 65536 points).
constexpr int kBenchValues = 131072;

using namespace pelvaron;

struct Fixture {
    testing::TempDir dir;
    std::string ntuples;
    std::string xydata;
    std::size_t ntuplesBytes = 0;
    std::unique_ptr<Document> source = std::make_unique<Document>();

    Fixture() {
        // A proton spectrum: a dozen lines over a noise floor, real and imaginary parts.
        testing::JcampDataSet d;
        const int n = 32768;
        std::uint32_t seed = 12345;
        auto noise = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<long>(seed >> 22) - 512;
        };
        for (int k = 0; k < n; ++k) {
            double re = 0.0, im = 0.0;
            for (int line = 0; line < 12; ++line) {
                const double x = (k - (1500 + 2500 * line)) / 3.0;
                re += 2.0e6 / (1 + line % 3) / (1 + x * x);
                im += 2.0e6 / (1 + line % 3) * x / (1 + x * x);
            }
            d.real.push_back(std::lround(re) + noise());
            d.imag.push_back(std::lround(im) + noise());
        }
        d.firstX = 4807.692;
        d.lastX = d.firstX - (n - 1) * (6009.6154 / n);
        d.extraHeader = {"##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 12.0152"};
        const std::string text = testing::jcampNTuplesFile(d);
        ntuplesBytes = text.size();
        ntuples = dir.file("spectrum.dx");
        testing::writeFile(ntuples, text);

        // A 65536-point document exported as XYDATA.
        testing::RecordingUserInterface ui;
        source->spectrum.acqPars.TD = kBenchValues;
        source->spectrum.acqPars.SW = 6009.6154;
        source->spectrum.acqPars.SF = 400.13;
        for (int i = 0; i < kBenchValues; ++i)
            source->spectrum.specData[i] = std::sin(i * 0.001) * 1000.0 + (i % 17);
        setupDocument(*source);
        xydata = dir.file("real.dx");
        if (!io::writeJcampXYDataFile(*source, xydata, io::JcampExportText{})) std::abort();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ReferenceScanNTuples(benchmark::State& state) {
    std::vector<char> buffer(fixture().ntuplesBytes);
    for (auto _ : state) {
        std::FILE* f = std::fopen(fixture().ntuples.c_str(), "rb");
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        long lines = 0, digits = 0;
        for (const char *p = buffer.data(), *end = p + got; p < end;) {
            const char* nl =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* e = nl ? nl : end;
            for (const char* c = p; c < e; ++c) digits += (*c >= '0' && *c <= '9');
            ++lines;
            p = e + 1;
        }
        benchmark::DoNotOptimize(lines + digits);
    }
    state.counters["KiB"] = static_cast<double>(fixture().ntuplesBytes) / 1024.0;
}
BENCHMARK(BM_ReferenceScanNTuples)->Unit(benchmark::kMillisecond);

void BM_JcampReadNTuplesAsdf32768(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    io::JcampFileInfo info;
    for (auto _ : state) {
        if (!io::readJcamp(doc->spectrum, said, fixture().ntuples, info)) state.SkipWithError("read failed");
        io::completeJcampImport(*doc, info);
    }
    if (!said.empty() || doc->spectrum.nData != 65536) state.SkipWithError("unexpected read");
}
BENCHMARK(BM_JcampReadNTuplesAsdf32768)->Unit(benchmark::kMillisecond);

void BM_JcampReadXYData65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    io::JcampFileInfo info;
    for (auto _ : state) {
        if (!io::readJcamp(doc->spectrum, said, fixture().xydata, info)) state.SkipWithError("read failed");
        io::completeJcampImport(*doc, info);
    }
    if (!said.empty() || doc->spectrum.nData != kBenchValues) state.SkipWithError("unexpected read");
}
BENCHMARK(BM_JcampReadXYData65536)->Unit(benchmark::kMillisecond);

void BM_JcampWriteNTuples32768(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    io::JcampFileInfo info;
    if (!io::readJcamp(doc->spectrum, said, fixture().ntuples, info)) state.SkipWithError("read failed");
    io::completeJcampImport(*doc, info);
    const std::string out = fixture().dir.file("out-ntuples.dx");
    for (auto _ : state) {
        if (!io::writeJcampNTuplesFile(*doc, out, io::JcampExportText{})) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_JcampWriteNTuples32768)->Unit(benchmark::kMillisecond);

void BM_JcampWriteXYData65536(benchmark::State& state) {
    const std::string out = fixture().dir.file("out-xy.dx");
    for (auto _ : state) {
        if (!io::writeJcampXYDataFile(*fixture().source, out, io::JcampExportText{}))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_JcampWriteXYData65536)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    r.printTarget("BM_JcampReadNTuplesAsdf32768", 1.5);
    r.printRatio("BM_JcampReadNTuplesAsdf32768", "BM_ReferenceScanNTuples");
    r.printRatio("BM_JcampReadXYData65536", "BM_ReferenceScanNTuples");
    return 0;
}
