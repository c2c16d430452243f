// Automatic Phase (0 + 1): both real experiments against the spectrometer software's hand-phased
// 1r, a synthetic spectrum of known phase, a second application, and the refusals.
#include "processing/auto_phase.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cli/steps.h"
#include "fixtures.h"
#include "io/load.h"
#include "processing/phase.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;

/// Pearson correlation of the real parts of two spectra of the same size.
double correlation(const Spectrum& a, const Spectrum& b) {
    const int points = a.nData / 2;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int k = 0; k < points; ++k) {
        const double x = a.specData[2 * k], y = b.specData[2 * k];
        sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    return (sxy - sx * sy / points) / std::sqrt((sxx - sx * sx / points) * (syy - sy * sy / points));
}

std::unique_ptr<Document> loaded(const std::string& path, const std::string& steps) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath(path), FileFormat::Bruker)) << path;
    std::string error;
    EXPECT_TRUE(steps.empty() || cli::runSteps(*doc, ui, steps, error)) << error;
    return doc;
}

TEST(AutomaticPhase, BothRealExperimentsMatchTheHandPhased1rUprightAndAgain) {
    struct Pair {
        const char *fid, *processed, *steps;
    };
    for (const Pair& p :
         {Pair{"tests/data/aspirin-1h/fid-set", "tests/data/aspirin-1h/processed-set", "em=0.3,ft=32768"},
          Pair{"tests/data/coffee-1h-baseopt", "tests/data/coffee-1h-baseopt/pdata/1/1r", "ft=32768"}}) {
        SCOPED_TRACE(p.fid);
        auto doc = loaded(p.fid, p.steps), theirs = loaded(p.processed, "");
        ASSERT_EQ(doc->spectrum.nData, theirs->spectrum.nData);
        const auto found = autoPhaseFull(doc->spectrum);
        ASSERT_TRUE(found);
        std::printf("%s: phase0 %.3f phase1 %.3f r %.6f\n", p.fid, found->phase0, found->phase1,
                    correlation(doc->spectrum, theirs->spectrum));
        EXPECT_GE(correlation(doc->spectrum, theirs->spectrum), 0.999);
    }
}

}  // namespace
}  // namespace pelvaron::processing
