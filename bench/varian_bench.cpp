// The Varian VXR/Unity, Gemini (VHELPER) and Nuts readers on files of 65536 values (32768
// complex points), each read from disk with its parameter file as the import does. The reference
// is reading the largest of the data files into memory and nothing more.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "io/companion.h"
#include "io/nuts.h"
#include "io/varian.h"
#include "nuts_writer.h"
#include "ratio_report.h"
#include "temp_dir.h"
#include "varian_writer.h"

namespace {

constexpr int kBenchValues = 65536;

using namespace pelvaron;

struct Fixture {
    testing::TempDir dir;
    std::string varianFid, geminiData, nuts;

    Fixture() {
        // A decaying line over noise, as 32-bit integers could hold it.
        std::vector<double> values(kBenchValues);
        std::uint32_t seed = 12345;
        for (int k = 0; k < kBenchValues; k += 2) {
            seed = seed * 1664525u + 1013904223u;
            const double t = k / 2 / 8000.0, decay = 1e8 * std::exp(-t * 3.0);
            values[k] = std::round(decay * std::cos(6283.0 * t)) + static_cast<double>(seed >> 24);
            values[k + 1] = std::round(decay * std::sin(6283.0 * t)) - static_cast<double>(seed >> 25);
        }
        varianFid =
            testing::writeVarianFid(dir.file("varian"), {.values = values, .rfp = 0.0, .rfl = 1200.0});
        geminiData = testing::writeGeminiFid(dir.file("gemini"), {.values = values});
        nuts = dir.file("nuts.dat");
        testing::writeFile(nuts, testing::nutsFile({.values = values}));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ReferenceReadVarianFid(benchmark::State& state) {
    for (auto _ : state) {
        auto bytes = io::readWholeFile(fixture().varianFid);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReferenceReadVarianFid)->Unit(benchmark::kMillisecond);

/// Reads the data file and the parameter file found beside it, then parses both.
template <typename Find, typename Read>
void readWithCompanion(benchmark::State& state, const std::string& path, Find find, Read read) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        const auto data = io::readWholeFile(path);
        const auto companion = find(path);
        const auto params = companion ? io::readWholeFile(*companion) : std::nullopt;
        if (!data || !params || !read(*doc, said, *data, *params)) state.SkipWithError("read failed");
    }
    if (!said.empty() || doc->spectrum.nData != kBenchValues) state.SkipWithError("unexpected read");
}

void BM_VarianReadFid65536(benchmark::State& state) {
    readWithCompanion(state, fixture().varianFid, io::findVarianProcpar, io::readVarianFid);
}
BENCHMARK(BM_VarianReadFid65536)->Unit(benchmark::kMillisecond);

void BM_GeminiReadFid65536(benchmark::State& state) {
    readWithCompanion(state, fixture().geminiData, io::findGeminiAcqpar, io::readGeminiFid);
}
BENCHMARK(BM_GeminiReadFid65536)->Unit(benchmark::kMillisecond);

void BM_NutsRead65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        const auto bytes = io::readWholeFile(fixture().nuts);
        if (!bytes || !io::readNutsFile(*doc, said, *bytes)) state.SkipWithError("read failed");
    }
    if (!said.empty() || doc->spectrum.nData != kBenchValues) state.SkipWithError("unexpected read");
}
BENCHMARK(BM_NutsRead65536)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    for (const char* name : {"BM_VarianReadFid65536", "BM_GeminiReadFid65536", "BM_NutsRead65536"}) {
        r.printTarget(name, 2.0);
        r.printRatio(name, "BM_ReferenceReadVarianFid");
    }
    return 0;
}
