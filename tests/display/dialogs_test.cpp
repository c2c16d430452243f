// The Units, Set limits and Scale Y factor dialog models where the command tests (which choose
// a unit, enter, refuse and cancel limits and factors) do not reach: a radio that does not
// exist, the texts the dialogs open with, limits beyond either end, the factor's bounds.
#include <gtest/gtest.h>

#include "display/scale_factor_dialog.h"
#include "display/set_limits_dialog.h"
#include "display/units_dialog.h"
#include "display_fixture.h"

namespace pelvaron {
namespace {

// 400 MHz, 4000 Hz = 10 ppm wide, right end at -0.5 ppm: the full view runs 9.5 .. -0.5 ppm.
testing::DocumentSpec ppmSpec() { return {.td = 2000, .sw = 4000.0, .sf = 400.0, .offsetHz = -200.0}; }

TEST(UnitsDialog, OnlyOkStoresAndOnlyAnExistingRadioCounts) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::UnitsDialog dialog(*doc);
    dialog.select(kPpm);
    dialog.select(9);                  // no such radio
    EXPECT_EQ(doc->xUnits, kSeconds);  // nothing is stored before OK
    dialog.ok(*doc, ui);
    EXPECT_EQ(doc->xUnits, kPpm);
    EXPECT_EQ(display::UnitsDialog(*doc).selected(), kPpm);
}

TEST(SetLimitsDialog, OpensWithTheLimitsInThePresentUnit) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, ppmSpec());
    const struct {
        int unit;
        const char *from, *to;
    } cases[] = {{kHz, "3800.000", "-200.000"}, {kPoints, "0", "1000"}, {kSeconds, "0.000", "0.250"}};
    for (const auto& c : cases) {
        doc->xUnits = c.unit;
        const display::SetLimitsDialog dialog(*doc);
        EXPECT_EQ(dialog.fromText(), c.from) << c.unit;
        EXPECT_EQ(dialog.toText(), c.to) << c.unit;
    }
}

TEST(SetLimitsDialog, LimitsBeyondEitherEndOfTheDataAreRefused) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, ppmSpec());
    doc->xUnits = kPpm;
    display::SetLimitsDialog dialog(*doc);
    // Left of 9.5 ppm is before t = 0; right of -0.5 ppm is after AQ.
    for (const auto& [from, to] : {std::pair{"12", "3"}, std::pair{"3", "-1"}}) {
        dialog.setFromText(from);
        dialog.setToText(to);
        EXPECT_FALSE(dialog.ok(*doc, ui)) << from << " " << to;
        EXPECT_DOUBLE_EQ(doc->viewRight, 0.25);  // refused limits are not kept
    }
    dialog.setToText("not a number");  // reads as 0 ppm: inside
    EXPECT_TRUE(dialog.ok(*doc, ui));
    EXPECT_DOUBLE_EQ(doc->viewLeft, 0.1625);
    EXPECT_DOUBLE_EQ(doc->viewRight, 0.2375);
}

TEST(ScaleFactorDialog, ReadsTheLeadingNumberAndTheCommandTakesOneToTen) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::ScaleFactorDialog dialog(*doc);
    EXPECT_EQ(dialog.text(), "1.33");
    const struct {
        const char* text;
        double value;
        bool accepted;
    } cases[] = {{"abc", 0.0, false}, {"10.5", 10.5, false}, {"2.5x", 2.5, true}, {"10", 10.0, true}};
    for (const auto& c : cases) {
        dialog.setText(c.text);
        dialog.ok(*doc);
        EXPECT_EQ(doc->yScaleFactor, c.value) << c.text;
        EXPECT_EQ(display::acceptScaleFactor(*doc, ui), c.accepted) << c.text;
    }
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace pelvaron
