// Measure J: the cursors and their lines, Reset, the capacity, the printout. The dialog's Clear All,
// Reset and OK are checked in the window.
#include "analysis/j_measure.h"

#include <gtest/gtest.h>

#include <memory>

#include "recording_ui.h"

namespace pelvaron::analysis {
namespace {

/// 2000 doubles at SW 1000 Hz: two indices are 1 Hz.
std::unique_ptr<Document> measured() {
    auto doc = std::make_unique<Document>();
    doc->spectrum.nData = doc->spectrum.acqPars.TD = 2000;
    doc->spectrum.acqPars.SW = 1000.0;
    doc->spectrum.acqPars.AQ = 1.0;
    return doc;
}

TEST(MeasureJ, LinesAgainstThePreviousCursorExceptAfterAResetAndTheFirstAndAtMost202Cursors) {
    auto doc = measured();
    EXPECT_EQ(placeJCursor(*doc, 200), std::nullopt);
    EXPECT_EQ(placeJCursor(*doc, 214), "J 0-1=7.00");
    testing::RecordingUserInterface ui;
    MeasureJDialog dialog(*doc, ui);
    dialog.reset();
    EXPECT_EQ(placeJCursor(*doc, 300), std::nullopt);
    EXPECT_EQ(placeJCursor(*doc, 320), "J 2-3=10.00");
    EXPECT_EQ(dialog.lines(), (std::vector<std::string>{"J 0-1=7.00", "J 2-3=10.00"}));
    // The printout measures across the Reset too, and continues on a new page when full.
    EXPECT_EQ(dialog.printPages(3), (std::vector<PrintedPage>{{"Meassure J result:", "", "J 0-1=7.00"},
                                                              {"J 1-2=43.00", "J 2-3=10.00"}}));

    // Without a TD no distance is defined: 0, not inf.
    doc->spectrum.acqPars.TD = 0;
    EXPECT_EQ(placeJCursor(*doc, 340), "J 3-4=0.00");

    // The table holds 202 cursors and ignores further clicks.
    doc = measured();
    for (int k = 0; k < kMaxJCursors; ++k) (void)placeJCursor(*doc, 2 * k);
    EXPECT_EQ(placeJCursor(*doc, 1000), std::nullopt);
    EXPECT_EQ(std::tuple(doc->jState.jCursorCount, doc->jState.jLines.size(), doc->jState.jLines.back()),
              std::tuple(kMaxJCursors, 201u, "J 200-201=1.00"));
}

}  // namespace
}  // namespace pelvaron::analysis
