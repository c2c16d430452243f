// The Units, Set limits and Scale Y factor dialog models.
#include <gtest/gtest.h>

#include "display/scale_factor_dialog.h"
#include "display/set_limits_dialog.h"
#include "display/tools.h"
#include "display/units_dialog.h"
#include "display_fixture.h"

namespace pelvaron {
namespace {

// 400 MHz, 4000 Hz = 10 ppm wide, right end at -0.5 ppm: the full view runs 9.5 .. -0.5 ppm.
testing::DocumentSpec ppmSpec() { return {.td = 2000, .sw = 4000.0, .sf = 400.0, .offsetHz = -200.0}; }

TEST(UnitsDialog, OkStoresTheCheckedRadioAndItsUnit) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::UnitsDialog dialog(*doc);
    EXPECT_EQ(dialog.selected(), kSeconds);
    dialog.select(kPpm);
    dialog.select(9);                  // no such radio
    EXPECT_EQ(doc->xUnits, kSeconds);  // nothing is stored before OK
    dialog.ok(*doc, ui);
    EXPECT_EQ(doc->xUnits, kPpm);
    EXPECT_EQ(doc->unitSeconds + doc->unitHz + doc->unitPoints, 0);
    EXPECT_EQ(doc->unitPpm, 1);
    EXPECT_EQ(display::UnitsDialog(*doc).selected(), kPpm);
}

TEST(SetLimitsDialog, OpensWithTheLimitsInThePresentUnit) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, ppmSpec());
    doc->viewLeft = 0.0;
    doc->viewRight = doc->acqPars.AQ;
    doc->xUnits = kPpm;
    EXPECT_EQ(display::SetLimitsDialog(*doc).fromText(), "9.500");
    EXPECT_EQ(display::SetLimitsDialog(*doc).toText(), "-0.500");
    doc->xUnits = kHz;
    EXPECT_EQ(display::SetLimitsDialog(*doc).fromText(), "3800.000");
    doc->xUnits = kPoints;
    EXPECT_EQ(display::SetLimitsDialog(*doc).toText(), "1000");
    doc->xUnits = kSeconds;
    EXPECT_EQ(display::SetLimitsDialog(*doc).toText(), "0.250");
}

TEST(SetLimitsDialog, PpmEntriesInEitherOrderGiveTheSameZoom) {
    testing::RecordingUserInterface ui;
    auto a = testing::makeDocument(ui, ppmSpec());
    auto b = testing::makeDocument(ui, ppmSpec());
    for (Document* doc : {a.get(), b.get()}) doc->xUnits = kPpm;

    display::SetLimitsDialog da(*a);
    da.setFromText("2");
    da.setToText("4.5");
    ASSERT_TRUE(da.ok(*a, ui));
    display::applyLimitsAsZoom(*a, ui);

    display::SetLimitsDialog db(*b);
    db.setFromText("4.5");
    db.setToText("2");
    ASSERT_TRUE(db.ok(*b, ui));
    display::applyLimitsAsZoom(*b, ui);

    EXPECT_DOUBLE_EQ(a->viewLeft, b->viewLeft);
    EXPECT_DOUBLE_EQ(a->viewRight, b->viewRight);
    // 4.5 ppm lies 5 ppm from the left end of 10: half way along the 0.25 s.
    EXPECT_DOUBLE_EQ(a->viewLeft, 0.125);
    EXPECT_DOUBLE_EQ(a->viewRight, 0.1875);
    EXPECT_EQ(a->hScrollPos, b->hScrollPos);
    EXPECT_EQ(a->hScrollPos, 1000);
    EXPECT_EQ(a->fullView, 0);
    EXPECT_DOUBLE_EQ(a->viewZoom, 4.0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SetLimitsDialog, LimitsOutsideTheDataAreRefusedAndCancelRestores) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, ppmSpec());
    doc->xUnits = kPpm;
    display::SetLimitsDialog dialog(*doc);
    dialog.setFromText("12");  // beyond the left end (9.5 ppm): negative time
    dialog.setToText("3");
    EXPECT_FALSE(dialog.ok(*doc, ui));
    dialog.setFromText("3");
    dialog.setToText("-1");  // beyond AQ
    EXPECT_FALSE(dialog.ok(*doc, ui));
    dialog.setToText("not a number");  // reads as 0 ppm: inside
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.text, "Error");
        EXPECT_EQ(m.caption, "Limits exceeded");
    }
    EXPECT_DOUBLE_EQ(doc->viewLeft, 0.0);  // refused limits are not kept
    EXPECT_DOUBLE_EQ(doc->viewRight, 0.25);

    EXPECT_TRUE(dialog.ok(*doc, ui));
    EXPECT_DOUBLE_EQ(doc->viewLeft, 0.1625);
    EXPECT_DOUBLE_EQ(doc->viewRight, 0.2375);
    EXPECT_EQ(doc->tools.anchorX, 650);
    EXPECT_EQ(doc->tools.dragX, 950);
    dialog.cancel(*doc);
    EXPECT_DOUBLE_EQ(doc->viewLeft, 0.0);
    EXPECT_DOUBLE_EQ(doc->viewRight, 0.25);
}

TEST(ScaleFactorDialog, StoresTheNumberAndTheCommandChecksItsRange) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::ScaleFactorDialog dialog(*doc);
    EXPECT_EQ(dialog.text(), "1.33");

    dialog.setText("abc");
    dialog.ok(*doc);
    EXPECT_EQ(doc->yScaleFactor, 0.0);
    EXPECT_FALSE(display::acceptScaleFactor(*doc, ui));
    dialog.setText("10.5");
    dialog.ok(*doc);
    EXPECT_FALSE(display::acceptScaleFactor(*doc, ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "The scale factor must be a value between 1 and 10");
    EXPECT_EQ(ui.messages[0].caption, "Warnning");

    for (const char* text : {"1", "2.5x", "10"}) {
        dialog.setText(text);
        dialog.ok(*doc);
        EXPECT_TRUE(display::acceptScaleFactor(*doc, ui)) << text;
    }
    EXPECT_EQ(doc->yScaleFactor, 10.0);
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace pelvaron
