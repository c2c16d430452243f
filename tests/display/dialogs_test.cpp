// The Units and Set limits dialog models where the command tests (which choose a unit, enter,
// refuse and cancel limits and factors) do not reach: a radio that does not exist, the texts the
// limits open with, limits beyond either end.
#include <gtest/gtest.h>

#include "display/set_limits_dialog.h"
#include "display/units_dialog.h"
#include "display_fixture.h"

namespace pelvaron {
namespace {

TEST(UnitsDialog, OnlyOkStoresAndOnlyAnExistingRadioCounts) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::UnitsDialog dialog(*doc);
    dialog.select(kPpm);
    dialog.select(9);                           // no such radio
    EXPECT_EQ(doc->spectrum.xUnits, kSeconds);  // nothing is stored before OK
    dialog.ok(*doc, ui);
    EXPECT_EQ(doc->spectrum.xUnits, kPpm);
    EXPECT_EQ(display::UnitsDialog(*doc).selected(), kPpm);
}

TEST(SetLimitsDialog, OpensInThePresentUnitAndRefusesLimitsBeyondEitherEndOfTheData) {
    // 400 MHz, 4000 Hz = 10 ppm wide, right end at -0.5 ppm: the full view runs 9.5 .. -0.5 ppm.
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui, {.sw = 4000.0, .sf = 400.0, .offsetHz = -200.0});
    for (const auto& [unit, from, to] : {std::tuple{kHz, "3800.000", "-200.000"},
                                         {kPoints, "0", "1000"},
                                         {kSeconds, "0.000", "0.250"},
                                         {kPpm, "9.500", "-0.500"}}) {
        doc->spectrum.xUnits = unit;
        const display::SetLimitsDialog dialog(*doc, view);
        EXPECT_EQ(dialog.fromText(), from) << unit;
        EXPECT_EQ(dialog.toText(), to) << unit;
    }
    display::SetLimitsDialog dialog(*doc, view);
    // Left of 9.5 ppm is before t = 0; right of -0.5 ppm is after AQ.
    for (const auto& [from, to] : {std::pair{"12", "3"}, std::pair{"3", "-1"}}) {
        dialog.setFromText(from);
        dialog.setToText(to);
        EXPECT_FALSE(dialog.ok(*doc, view, ui)) << from << " " << to;
        EXPECT_DOUBLE_EQ(view.viewRight, 0.25);  // refused limits are not kept
    }
    dialog.setToText("not a number");  // reads as 0 ppm: inside
    EXPECT_TRUE(dialog.ok(*doc, view, ui));
    EXPECT_DOUBLE_EQ(view.viewLeft, 0.1625);
    EXPECT_DOUBLE_EQ(view.viewRight, 0.2375);
}

}  // namespace
}  // namespace pelvaron
