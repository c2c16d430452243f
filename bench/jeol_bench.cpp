// The JEOL Delta reader on the real FID of tests/data (32768 complex points of 64-bit floats) and
// on written files of 65536 values in each value width, each read from disk as the import does.
// The reference is reading the real file into memory and nothing more.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "io/companion.h"
#include "io/jeol.h"
#include "jeol_writer.h"
#include "ratio_report.h"
#include "temp_dir.h"

namespace {

constexpr int kBenchPoints = 32768;

using namespace pelvaron;

struct Fixture {
    testing::TempDir dir;
    std::string real, doubles, floats;

    Fixture() : real(testing::sourcePath("tests/data/jeol-1h/proton-meod.jdf")) {
        // A decaying line over noise.
        std::vector<double> re(kBenchPoints), im(kBenchPoints);
        std::uint32_t seed = 12345;
        for (int k = 0; k < kBenchPoints; ++k) {
            seed = seed * 1664525u + 1013904223u;
            const double t = k / 8000.0, decay = 100.0 * std::exp(-t * 3.0);
            re[k] = decay * std::cos(6283.0 * t) + static_cast<double>(seed >> 24) / 256.0;
            im[k] = decay * std::sin(6283.0 * t) - static_cast<double>(seed >> 25) / 256.0;
        }
        doubles = dir.file("doubles.jdf");
        floats = dir.file("floats.jdf");
        testing::writeFile(doubles, testing::jeolFile({.real = re, .imag = im, .littleEndian = false}));
        testing::writeFile(floats, testing::jeolFile({.real = re, .imag = im, .thirtyTwoBit = true}));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ReferenceReadJeolFile(benchmark::State& state) {
    // A document held as the readers hold theirs: the allocator then serves the file's bytes alike
    // (without it, each read mapped fresh pages and the reference cost twenty times as much).
    auto doc = std::make_unique<Document>();
    for (auto _ : state) {
        auto bytes = io::readWholeFile(fixture().real);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReferenceReadJeolFile)->Unit(benchmark::kMillisecond);

void readJeol(benchmark::State& state, const std::string& path) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        const auto bytes = io::readWholeFile(path);
        if (!bytes || !io::readJeolFile(*doc, said, *bytes)) state.SkipWithError("read failed");
    }
    if (!said.empty() || doc->spectrum.nData != 2 * kBenchPoints) state.SkipWithError("unexpected read");
}

void BM_JeolReadRealFid(benchmark::State& state) { readJeol(state, fixture().real); }
BENCHMARK(BM_JeolReadRealFid)->Unit(benchmark::kMillisecond);

void BM_JeolReadDoubles65536(benchmark::State& state) { readJeol(state, fixture().doubles); }
BENCHMARK(BM_JeolReadDoubles65536)->Unit(benchmark::kMillisecond);

void BM_JeolReadFloats65536(benchmark::State& state) { readJeol(state, fixture().floats); }
BENCHMARK(BM_JeolReadFloats65536)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    for (const char* name : {"BM_JeolReadRealFid", "BM_JeolReadDoubles65536", "BM_JeolReadFloats65536"}) {
        r.printTarget(name, 2.0);
        r.printRatio(name, "BM_ReferenceReadJeolFile");
    }
    return 0;
}
