// The Set limits and Scale Y factor dialog models where the command tests (which enter, refuse
// and cancel limits and factors) do not reach: the texts they open with, the factor's bounds.
#include <gtest/gtest.h>

#include "display/scale_factor_dialog.h"
#include "display/set_limits_dialog.h"
#include "display_fixture.h"

namespace pelvaron {
namespace {

// 400 MHz, 4000 Hz = 10 ppm wide, right end at -0.5 ppm: the full view runs 9.5 .. -0.5 ppm.
testing::DocumentSpec ppmSpec() { return {.td = 2000, .sw = 4000.0, .sf = 400.0, .offsetHz = -200.0}; }

TEST(SetLimitsDialog, OpensWithTheLimitsInThePresentUnit) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, ppmSpec());
    const struct {
        int unit;
        const char *from, *to;
    } cases[] = {{kPpm, "9.500", "-0.500"},
                 {kHz, "3800.000", "-200.000"},
                 {kPoints, "0", "1000"},
                 {kSeconds, "0.000", "0.250"}};
    for (const auto& c : cases) {
        doc->xUnits = c.unit;
        const display::SetLimitsDialog dialog(*doc);
        EXPECT_EQ(dialog.fromText(), c.from) << c.unit;
        EXPECT_EQ(dialog.toText(), c.to) << c.unit;
    }
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
    } cases[] = {{"abc", 0.0, false},
                 {"10.5", 10.5, false},
                 {"1", 1.0, true},
                 {"2.5x", 2.5, true},
                 {"10", 10.0, true}};
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
