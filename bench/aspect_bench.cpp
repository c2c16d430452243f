// The Aspect, WIN-NMR and Nicolet readers, each on a file of 65536 values held in memory as the
// import hands it over. The reference is a plain pass over the Aspect file's bytes into doubles.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "aspect_writer.h"
#include "io/aspect.h"
#include "io/nicolet.h"
#include "io/winnmr.h"
#include "nicolet_writer.h"
#include "ratio_report.h"
#include "winnmr_writer.h"

namespace {

constexpr int kBenchValues = 65536;

using namespace pelvaron;

struct Fixture {
    std::string aspect, winNmrData, winNmrDis, nicolet;

    Fixture() {
        std::vector<double> fid(kBenchValues);
        for (int k = 0; k < kBenchValues / 2; ++k) {
            const double decay = 4.0e5 * std::exp(-k / 6000.0);
            fid[2 * k] = decay * std::cos(0.37 * k) + (k % 13) - 6;
            fid[2 * k + 1] = decay * std::sin(0.37 * k) + (k % 7) - 3;
        }
        testing::AspectFidSpec a;
        a.values.assign(fid.begin(), fid.end());
        a.reversed = true;
        aspect = testing::aspectFile(a);

        const testing::WinNmrSpec w{.values = std::vector<float>(fid.begin(), fid.end())};
        winNmrData = testing::winNmrData(w);
        winNmrDis = testing::winNmrDis(w);

        testing::NicoletFidSpec n;
        for (int k = 0; k < kBenchValues / 2; ++k) {
            n.real.push_back(static_cast<int>(fid[2 * k]));
            n.imag.push_back(static_cast<int>(fid[2 * k + 1]));
        }
        nicolet = testing::nicoletFile(n);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void checkRead(benchmark::State& state, const Document& doc, const Messages& said) {
    if (!said.empty() || doc.spectrum.nData != kBenchValues) state.SkipWithError("unexpected read");
}

void BM_ReferenceBytesToDoubles65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    const std::string& bytes = fixture().aspect;
    for (auto _ : state) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 768;
        double* dest = doc->spectrum.specData.data();
        for (int i = 0; i < kBenchValues; ++i)
            dest[i] = p[3 * i] | (p[3 * i + 1] << 8) | (p[3 * i + 2] << 16);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReferenceBytesToDoubles65536)->Unit(benchmark::kMillisecond);

void BM_AspectRead65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        if (!io::readAspectFile(*doc, said, fixture().aspect)) state.SkipWithError("read failed");
    }
    checkRead(state, *doc, said);
}
BENCHMARK(BM_AspectRead65536)->Unit(benchmark::kMillisecond);

void BM_WinNmrRead65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        if (!io::readWinNmrFid(*doc, said, fixture().winNmrData, fixture().winNmrDis, std::nullopt))
            state.SkipWithError("read failed");
    }
    checkRead(state, *doc, said);
}
BENCHMARK(BM_WinNmrRead65536)->Unit(benchmark::kMillisecond);

void BM_NicoletRead65536(benchmark::State& state) {
    auto doc = std::make_unique<Document>();
    Messages said;
    for (auto _ : state) {
        if (!io::readNicoletFid(*doc, said, fixture().nicolet)) state.SkipWithError("read failed");
    }
    checkRead(state, *doc, said);
}
BENCHMARK(BM_NicoletRead65536)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto& r = pelvaron::bench::runBenchmarks();
    for (const char* name : {"BM_AspectRead65536", "BM_WinNmrRead65536", "BM_NicoletRead65536"}) {
        r.printTarget(name, 2.0);
        r.printRatio(name, "BM_ReferenceBytesToDoubles65536");
    }
    return 0;
}
