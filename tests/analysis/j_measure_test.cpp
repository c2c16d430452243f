// Measure J: the cursors and their lines, Reset, the capacity, the dialog and its printout.
#include "analysis/j_measure.h"

#include <gtest/gtest.h>

#include <memory>

#include "recording_ui.h"

namespace pelvaron::analysis {
namespace {

/// Records the graying of the document menus as well.
struct MenuUi : testing::RecordingUserInterface {
    std::vector<bool> menus;
    void enableDocumentMenus(bool enable) override { menus.push_back(enable); }
};

/// 1000 pixels over 1 s of 2000 doubles at SW 1000 Hz: pixel x is index 2x + 1.5, lowered to
/// the real part 2x, and one pixel is 1 Hz.
std::unique_ptr<Document> measured() {
    auto doc = std::make_unique<Document>();
    doc->initClientArea(1000, 800);
    doc->spectrum.nData = doc->spectrum.acqPars.TD = 2000;
    doc->spectrum.acqPars.SW = 1000.0;
    doc->spectrum.acqPars.AQ = 1.0;
    doc->viewLeft = 0.00075;
    return doc;
}

TEST(MeasureJ, LinesAgainstThePreviousCursorExceptAfterAResetAndTheFirst) {
    auto doc = measured();
    EXPECT_EQ(placeJCursor(*doc, 100), std::nullopt);
    EXPECT_EQ(doc->jState.jCursorPos[0], 200);
    EXPECT_EQ(placeJCursor(*doc, 107), "J 0-1=7.00");
    MenuUi ui;
    MeasureJDialog dialog(*doc, ui);
    dialog.reset();
    EXPECT_EQ(placeJCursor(*doc, 150), std::nullopt);
    EXPECT_EQ(placeJCursor(*doc, 160), "J 2-3=10.00");
    EXPECT_EQ(dialog.lines(), (std::vector<std::string>{"J 0-1=7.00", "J 2-3=10.00"}));
    // The printout measures across the Reset too, and continues on a new page when full.
    EXPECT_EQ(dialog.printPages(3), (std::vector<PrintedPage>{{"Meassure J result:", "", "J 0-1=7.00"},
                                                              {"J 1-2=43.00", "J 2-3=10.00"}}));
    EXPECT_EQ(linesPerPage(100, 10, 0), 10);

    // Without a TD no distance is defined: 0, not inf.
    doc->spectrum.acqPars.TD = 0;
    EXPECT_EQ(placeJCursor(*doc, 170), "J 3-4=0.00");
}

TEST(MeasureJ, TheTableHolds202CursorsAndIgnoresFurtherClicks) {
    auto doc = measured();
    for (int k = 0; k < kMaxJCursors; ++k) (void)placeJCursor(*doc, k);
    EXPECT_EQ(placeJCursor(*doc, 500), std::nullopt);
    EXPECT_EQ(std::tuple(doc->jState.jCursorCount, doc->jState.jLines.size(), doc->jState.jLines.back()),
              std::tuple(kMaxJCursors, 201u, "J 200-201=1.00"));
}

TEST(MeasureJDialog, OpenGraysTheMenusClearAllKeepsMeasuringOkEndsIt) {
    auto doc = measured();
    MenuUi ui;
    MeasureJDialog dialog(*doc, ui);
    dialog.open();
    doc->toolActive = 1;
    (void)placeJCursor(*doc, 10);
    (void)placeJCursor(*doc, 20);
    dialog.clearAll();
    EXPECT_EQ(std::tuple(ui.menus, doc->jState.jShown, dialog.lines().size(), doc->toolActive, ui.repaints),
              std::tuple(std::vector<bool>{false}, 1, 0u, 1, 1));
    EXPECT_EQ(placeJCursor(*doc, 30), std::nullopt);  // the first cursor again
    dialog.ok();
    EXPECT_EQ(std::tuple(doc->jState.jShown, doc->toolActive, doc->jState.jCursorCount, ui.menus),
              std::tuple(0, 0, 0, std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace pelvaron::analysis
