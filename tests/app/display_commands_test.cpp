// Create Expansions, Add/Subtract and the buttons and bars of the two-set display.
#include <gtest/gtest.h>

#include "app/display_commands.h"
#include "app_fixture.h"
#include "display/expansions.h"
#include "display/two_set.h"
#include "temp_dir.h"

namespace pelvaron::testing {
namespace {

TEST(DisplayCommands, ExpansionsTakeTheLowestFreeSlotUpToFive) {
    AppFixture f;
    for (int k = 0; k < 6; ++k) f.dispatcher.dispatch(app::kCmdCreateExpansion);
    EXPECT_EQ(f.host.expansionWindowsOpened, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].caption + ": " + f.ui.messages[0].text,
              "Warning: Maximum number of expansion windows is 5.");

    display::destroyExpansion(f.view, 3);
    display::destroyExpansion(f.view, 1);
    f.dispatcher.dispatch(app::kCmdCreateExpansion);
    f.dispatcher.dispatch(app::kCmdCreateExpansion);
    EXPECT_EQ(std::pair(f.host.expansionWindowsOpened.end()[-2], f.host.expansionWindowsOpened.back()),
              std::pair(1, 3));
    EXPECT_EQ(display::expansionOrigin(1).x, 150);

    // The set-up frees every slot; a window closing after it frees nothing twice.
    setupDocument(*f.doc);
    display::destroyExpansion(f.view, 2);
    EXPECT_EQ(f.view.nExpansions, 0);
    f.dispatcher.dispatch(app::kCmdCreateExpansion);
    EXPECT_EQ(f.host.expansionWindowsOpened.back(), 0);
}

TEST(DisplayCommands, AddSubtractOpensTheSecondSetAndACancelledOpenLeavesItOff) {
    TempDir dir;
    const std::string saved = dir.file("second.PLV");
    AppFixture f;
    f.ui.files = {saved};
    f.dispatcher.dispatch(app::kCmdSave);
    // The present data differ from the file's: they become the second set.
    f.doc->spectrum.specData[0] = 7.0;
    f.doc->noSaveQuery = 0;

    f.ui.files = {std::nullopt};
    f.dispatcher.dispatch(app::kCmdAddSubtract);
    // The modified data still ask before they go.
    EXPECT_EQ(std::tuple(f.view.addSubMode, f.host.twoSetControls, f.doc->noSaveQuery),
              std::tuple(0, false, 0));

    f.ui.files = {saved};
    f.dispatcher.dispatch(app::kCmdAddSubtract);
    EXPECT_TRUE(f.ui.messages.empty());  // no save question before the present data move aside
    EXPECT_EQ(std::tuple(f.view.addSubMode, f.host.twoSetControls, f.doc->secondData[0],
                         f.doc->spectrum.specData[0], f.view.dualRect.top),
              std::tuple(1, true, 7.0, 0.0, 58));
}

/// A fixture in the two-set display: specData[i] = i, secondData[i] = 1000 + i.
struct TwoSet : AppFixture {
    TwoSet() {
        for (int i = 0; i < doc->spectrum.nData; ++i) doc->spectrum.specData[i] = i;
        EXPECT_TRUE(app::startTwoSetDisplay(context, [this] {
            for (int i = 0; i < doc->spectrum.nData; ++i) doc->spectrum.specData[i] = i;
            takeUndoSnapshot(*doc);  // as the set-up of a load does
            return true;
        }));
        for (int i = 0; i < doc->spectrum.nData; ++i) doc->secondData[i] = 1000 + i;
    }
    app::CommandContext context{*doc, view, ui, host, dispatcher};
};

TEST(DisplayCommands, AddAndSubtractPairIndicesByTheShift) {
    TwoSet f;
    const int n = f.doc->spectrum.nData;
    f.view.secondShift = 2;
    f.dispatcher.dispatch(app::kCmdTwoSetAdd);
    const auto& s = f.doc->spectrum.specData;
    EXPECT_EQ(std::tuple(s[0], s[1], s[2], s[n - 1]),
              std::tuple(0.0, 1.0, 2.0 + 1000.0, (n - 1) + 1000.0 + (n - 3)));

    // Subtracted at half the factor with a shift of -1: real parts meet imaginary ones, and the
    // last double has no partner.
    f.view.secondShift = -1;
    f.view.secondFactor = 50;
    f.dispatcher.dispatch(app::kCmdTwoSetSubtract);
    // The display stays on for the next one.
    EXPECT_EQ(std::tuple(s[0], s[n - 1], f.view.addSubMode),
              std::tuple(0.0 - 0.5 * 1001.0, (n - 1) + 1000.0 + (n - 3), 1));
}

TEST(DisplayCommands, QuitRestoresTheDataAndOkKeepsThem) {
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Quit");
        TwoSet f;
        f.view.secondFactor = 230;
        for (int k = 0; k < 3; ++k) f.dispatcher.dispatch(app::kCmdTwoSetAdd);
        f.dispatcher.dispatch(ok ? app::kCmdTwoSetOk : app::kCmdTwoSetQuit);
        EXPECT_DOUBLE_EQ(f.doc->spectrum.specData[10], ok ? 10.0 + 3 * 2.3 * 1010.0 : 10.0);
        EXPECT_EQ(std::tuple(f.view.addSubMode, f.view.secondFactor, f.host.twoSetControls),
                  std::tuple(0, 100, false));
    }
}

TEST(DisplayCommands, SwapAndTheBars) {
    TwoSet f;
    f.dispatcher.dispatch(app::kCmdTwoSetSwap);
    EXPECT_EQ(std::pair(f.doc->spectrum.specData[5], f.doc->secondData[5]), std::pair(1005.0, 5.0));

    // x10 twice from 500 reaches 50000; a third press is refused with the warning.
    f.dispatcher.dispatch(app::kCmdTwoSetRange);
    f.dispatcher.dispatch(app::kCmdTwoSetRange);
    EXPECT_EQ(display::twoSetBarRange(*f.doc, f.view, display::TwoSetBar::Factor).max, 50000);
    EXPECT_TRUE(f.ui.messages.empty());
    f.dispatcher.dispatch(app::kCmdTwoSetRange);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].caption + ": " + f.ui.messages[0].text,
              "Warning: You cannot increase more the scroll bar range");
    EXPECT_EQ(f.view.secondFactorRange, 50000);

    using display::ScrollCode;
    using display::TwoSetBar;
    EXPECT_EQ(display::twoSetScroll(*f.doc, f.view, f.ui, TwoSetBar::Shift, ScrollCode::PageRight), 25);
    EXPECT_EQ(f.ui.statusTexts[0].back(), "Offset: 25");
    // A 16-bit thumb above the maximum is a negative position.
    EXPECT_EQ(display::twoSetScroll(*f.doc, f.view, f.ui, TwoSetBar::Shift, ScrollCode::Thumb, 65535), -1);
    EXPECT_EQ(display::twoSetScroll(*f.doc, f.view, f.ui, TwoSetBar::Factor, ScrollCode::Thumb, 123), 123);
    EXPECT_EQ(f.ui.statusTexts[0].back(), "Factor: 1.230000");
    f.view.secondBaselineY = 60;
    EXPECT_EQ(display::twoSetScroll(*f.doc, f.view, f.ui, TwoSetBar::Offset, ScrollCode::PageLeft), 58);
}

}  // namespace
}  // namespace pelvaron::testing
