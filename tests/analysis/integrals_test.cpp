// Integration: the sums and their baseline windows, the list's restart and capacity, relative
// labels and their calibration, deleting by Shift+click, the drawing of curves and labels, the
// integral commands and dialogs, and the listing made from regions in ppm. What the listing gives on
// real spectra is in the real-data table of the command line.
#include "analysis/integrals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../display/display_fixture.h"
#include "analysis/integral_dialogs.h"
#include "display/integral_drawing.h"
#include "display/tool_actions.h"
#include "recording_surface.h"
#include "recording_ui.h"

namespace pelvaron::analysis {
namespace {

using testing::SurfaceCall;

// A 1000 x 800 view of 1000 points (nData 2000, AQ 1 s): in the full view window x is point x.
struct Bench {
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> owner = std::make_unique<Document>();
    Document& d = *owner;
    display::View v;

    explicit Bench(double (*real)(int) = [](int) { return 1.0; }) {
        display::initClientArea(v, 1000, 800);
        d.spectrum.acqPars.TD = 2000;
        d.spectrum.acqPars.SW = 1000.0;
        d.spectrum.acqPars.SF = 100.0;
        for (int k = 0; k < 1000; ++k) d.spectrum.specData[2 * k] = real(k);
        setupDocument(d);
        display::showNewData(v, d);
    }
    bool add(double x0, double x1) {  // as the integrate tool does
        const bool added = display::integrateRegion(d, v, ui, x0, x1);
        d.integrals.integralRestart = 0;
        return added;
    }
    std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (int k = 0; k < d.integrals.integralCount; ++k) out.push_back(integralLabelText(d, k));
        return out;
    }
    testing::RecordingSurface drawLabels() {
        testing::RecordingSurface s(1000, 800);
        display::drawIntegralValues(s, d, v);
        return s;
    }
    void shiftClick(int x) { display::leftButtonDown(d, v, ui, x, 700, {.shift = true}); }
};

TEST(Integrals, SumsTheRealPartsOfTheRegionLessTheOptionalBaseline) {
    struct Case {
        const char* what;
        double x0, x1;
        int corrected;
        bool added;
        double sum;
    };
    // Real parts (k - 100)^2: the windows of a narrow region reach five points beyond it.
    const Case cases[] = {
        {"points 100..200", 100.0, 200.9, 0, true, 338350.0},
        {"an odd start point is lowered", 101.7, 200.0, 0, true, 338350.0},
        {"narrower than one even step", 100.0, 101.9, 0, false, 0.0},
        {"narrow, uncorrected", 100.0, 102.0, 0, true, 5.0},
        {"narrow, five points each side", 100.0, 102.0, 1, true, -7.0},
    };
    for (const Case& c : cases) {
        Bench b([](int k) { return double((k - 100) * (k - 100)); });
        b.d.integrals.integralBaselineCorr = c.corrected;
        EXPECT_EQ(b.add(c.x0, c.x1), c.added) << c.what;
        // A refused drag leaves no label behind.
        EXPECT_EQ(b.drawLabels().of(SurfaceCall::Kind::Text).size(), c.added ? 1u : 0u) << c.what;
        EXPECT_DOUBLE_EQ(c.added ? b.d.integrals.integralValue[0] : 0.0, c.sum) << c.what;
    }
    // A straight line is its own baseline; at the data's ends the end point stands in for the
    // points a window lacks (nothing beyond nData is read).
    Bench line([](int k) { return 3.0 + 0.5 * k; });
    line.d.spectrum.specData[2000] = line.d.spectrum.specData[2002] = 1e9;
    line.d.integrals.integralBaselineCorr = 1;
    ASSERT_TRUE(line.add(10.0, 600.0));
    EXPECT_NEAR(line.d.integrals.integralValue[0], 0.0, 1e-9);
    const IntegralSpan end = integralSpan(line.d.spectrum, 996.0, 999.5);
    EXPECT_EQ(std::pair(end.first, end.last), std::pair(1992, 1996));
    EXPECT_DOUBLE_EQ(end.left, 3.0 + 0.5 * (996 + 997 + 998 + 999 + 999) / 5.0);
    const IntegralSpan start = integralSpan(line.d.spectrum, 0.0, 2.0);
    EXPECT_DOUBLE_EQ(start.right, 3.0 + 0.5 * (2 + 1 + 0 + 0 + 0) / 5.0);
}

TEST(Integrals, TheFirstIntegralRestartsTheListAndTheHundredAndFirstIsRefused) {
    Bench b;
    b.d.integrals.integralCount = 7;  // entries of an earlier document
    display::chooseIntegrate(b.v, b.ui);
    testing::drag(b.d, b.v, b.ui, 300, 300, 100, 400);
    testing::drag(b.d, b.v, b.ui, 400, 300, 500, 400);
    const IntegralState& in = b.d.integrals;
    EXPECT_EQ(std::tuple(in.integralCount, in.integralStart[0], in.integralEnd[0], in.integralRestart),
              std::tuple(2, 100.0, 300.0, 0));
    for (int k = 2; k < kMaxIntegrals; ++k) ASSERT_TRUE(b.add(5 * k, 5 * k + 4));
    EXPECT_FALSE(b.add(10, 20));
    ASSERT_EQ(b.ui.messages.size(), 1u);
    EXPECT_EQ(b.ui.messages[0].text + "/" + b.ui.messages[0].caption, "Error/Too many integrals");
    EXPECT_EQ(std::pair(in.integralCount, in.lastIntegral), std::pair(100, 99));
}

TEST(Integrals, LabelsAreRatiosCalibratedByTheClickedIntegral) {
    Bench b;
    for (int x : {100, 300, 500}) ASSERT_TRUE(b.add(x, x + 2 * (x / 100)));  // sums 3, 7, 11
    EXPECT_EQ(b.labels(), (std::vector<std::string>{"1.00", "2.33", "3.67"}));
    b.drawLabels();
    // A right click on a label opens the dialog with its value: typed 3 on the third, it shows
    // 3.00 and the others in proportion; Cancel leaves the labels as they read, now relative to
    // the clicked integral. A reference of value 0, or a typed "inf", makes no "inf" or "nan".
    const struct {
        int x;
        const char* shown;
        const char* typed;  // nullptr: Cancel
        std::vector<std::string> labels;
    } clicks[] = {{512, "3.666667", "3", {"0.82", "1.91", "3.00"}},
                  {102, "0.818182", nullptr, {"0.82", "1.91", "3.00"}},
                  {302, "0.000000", "inf", {"0.00", "0.00", "0.00"}}};
    for (const auto& c : clicks) {
        if (c.x == 302) b.d.integrals.integralValue[0] = 0.0;
        EXPECT_EQ(display::rightButtonDown(b.d, b.v, b.ui, c.x, 0).request,
                  display::ToolRequest::HydrogensDialog);
        HydrogensDialog dialog(b.d);
        EXPECT_EQ(dialog.text(), c.shown);
        dialog.setText(c.typed ? c.typed : "");
        c.typed ? dialog.ok(b.d) : HydrogensDialog::cancel(b.d);
        EXPECT_EQ(b.labels(), c.labels) << c.x;
    }
}

TEST(Integrals, ShiftClickDeletesTheClickedIntegralAndTheReferenceFallsBack) {
    Bench b;
    for (int x : {100, 300, 500, 700}) ASSERT_TRUE(b.add(x, x + 2 * (x / 100)));
    b.drawLabels();
    display::chooseIntegrate(b.v, b.ui);  // a drag tool does not keep Shift+click from deleting
    b.shiftClick(302);            // the reference was 0: it stays 0
    EXPECT_EQ(b.v.tools.dragging, 0);
    EXPECT_EQ(b.labels(), (std::vector<std::string>{"1.00", "3.67", "5.00"}));
    b.drawLabels();
    display::rightButtonDown(b.d, b.v, b.ui, 714, 0);  // the last becomes the reference
    b.shiftClick(102);                            // it moves down to index 1: the reference follows it there
    EXPECT_EQ(b.d.integrals.refIntegral, 1);
    EXPECT_EQ(b.labels(), (std::vector<std::string>{"0.73", "1.00"}));
    b.shiftClick(200);  // no label there
    EXPECT_EQ(b.d.integrals.integralCount, 2);
    deleteAllIntegrals(b.d);
    const IntegralState& in = b.d.integrals;
    EXPECT_EQ(std::tuple(in.integralCount, in.integralsShown, in.integralsExist, in.integralRestart,
                         in.refIntegral, in.refIntegralValue),
              std::tuple(0, 0, 0, 1, 0, 1.0));
    EXPECT_EQ(display::hitIntegralLabel(b.d, 502), -1);
}

TEST(IntegralDrawing, LabelsAlternateRowsUnderBracketsAndCurvesRunInsideTheRectangle) {
    Bench b;
    for (int x : {100, 300}) ASSERT_TRUE(b.add(x, x + 100));
    const testing::RecordingSurface s = b.drawLabels();
    // Rows of an 800-pixel view: brackets 648 .. 668, labels at 692 (even) and 676 (odd).
    const auto brackets = s.of(SurfaceCall::Kind::Polyline);
    ASSERT_EQ(brackets.size(), 2u);
    EXPECT_EQ(brackets[1].points,
              (std::vector<platform::Point>{{300, 648}, {300, 658}, {350, 668}, {400, 658}, {400, 648}}));
    const auto texts = s.of(SurfaceCall::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::pair(texts[0].points[0], texts[1].points[0]),
              std::pair(platform::Point{136, 692}, platform::Point{336, 676}));
    EXPECT_EQ(std::pair(b.d.integrals.integralLabelLeft[1], b.d.integrals.integralLabelRight[1]),
              std::pair(342, 358));

    // Curves: sum / |peakValue| x scale x vScale / 4 above baseY, held in the rectangle; the part
    // left of a zoomed view starts at its left edge.
    b.d.spectrum.peakValue = -1.0;
    auto curves = [&](double scale, double viewLeft = 0.0) {
        testing::RecordingSurface c(1000, 800);
        const display::ViewTransform view(b.d.spectrum, viewLeft, b.v.viewRight, b.v.viewZoom, 1000);
        EXPECT_TRUE(display::drawIntegralCurves(c, b.d, Rect{0, 29, 1000, 781}, 400, view, scale, 80.0));
        return c.of(SurfaceCall::Kind::Polyline);
    };
    auto first = curves(0.1)[0].points;
    EXPECT_EQ(std::pair(first.front(), first.back()),
              std::pair(platform::Point{100, 398}, platform::Point{200, 198}));
    EXPECT_EQ(curves(1.0)[0].points.back().y, 29);
    b.v.viewZoom = 2.0;
    const auto zoomed = curves(0.1, 0.15);
    EXPECT_EQ(zoomed[0].points.front().x, 0);
    EXPECT_GT(zoomed[0].points[1].x, 0);
    EXPECT_LT(zoomed[1].points.back().x, 1000);
    b.d.integrals.integralStart[1] = b.d.integrals.integralEnd[1];
    testing::RecordingSurface c;
    const display::ViewTransform view(b.d.spectrum, 0.0, b.v.viewRight, b.v.viewZoom, 1000);
    EXPECT_FALSE(display::drawIntegralCurves(c, b.d, Rect{0, 29, 1000, 781}, 400, view, 0.1, 80.0));
}

TEST(IntegralCommands, ArmTheToolScaleTheCurvesAndMoveTheirBaseline) {
    Bench b;
    display::chooseIntegrate(b.v, b.ui);
    EXPECT_EQ(b.ui.statusTexts[0].back(), "Keys Up/Down to increase/decrease integrals size");
    EXPECT_EQ(b.v.mouse.tool, display::Tool::Integrate);
    increaseIntegralScale(b.d);
    EXPECT_DOUBLE_EQ(b.d.integrals.integralScale, 0.055 * 1.33);
    decreaseIntegralScale(b.d);
    EXPECT_DOUBLE_EQ(b.d.integrals.integralScale, 0.055);

    // The factor dialog comes back until the factor lies in 1 .. 10; closing it keeps the old.
    std::vector<std::string> typed{"0.5", "12", "1", "10", "abc"};
    std::vector<std::string> shown;
    auto run = [&](IntegralFactorDialog& m) {
        shown.push_back(m.text());
        if (typed.empty()) return false;
        m.setText(typed.front());
        typed.erase(typed.begin());
        m.ok(b.d);
        return true;
    };
    integralScaleFactorCommand(b.d, run);
    EXPECT_EQ(shown, (std::vector<std::string>{"1.330000", "0.500000", "12.000000"}));
    integralScaleFactorCommand(b.d, run);
    EXPECT_DOUBLE_EQ(b.d.integrals.integralScaleStep, 10.0);
    integralScaleFactorCommand(b.d, run);  // "abc" reads 0: asked again, then closed
    EXPECT_DOUBLE_EQ(b.d.integrals.integralScaleStep, 10.0);

    // The vertical scroll bar moves integralBaseY while integrals are shown, within 0 .. H.
    using display::ScrollCode;
    EXPECT_FALSE(display::verticalScroll(b.d, b.v, ScrollCode::LineLeft));
    ASSERT_TRUE(b.add(100, 200));
    const std::pair<ScrollCode, int> steps[] = {{ScrollCode::LineLeft, 398},
                                                {ScrollCode::PageRight, 410},
                                                {ScrollCode::PageLeft, 398},
                                                {ScrollCode::LineRight, 400},
                                                {ScrollCode::Thumb, 800}};
    for (const auto& [code, y] : steps) {
        display::verticalScroll(b.d, b.v, code, 900);
        EXPECT_EQ(b.v.integralBaseY, y);
    }
}

TEST(IntegrateRegions, ListsRegionsInPpmRelativeToTheChosenOneAndRefusesWhatItCannotDo) {
    // Real parts 1: a region's sum counts its points. Point k lies at (1000 - k) / 100 ppm.
    Bench b;
    IntegrateResult r = integrateRegions(b.d, {{{9.0, 8.0}, {2.5, 3.0}}, false, 2, 3.0});
    ASSERT_EQ(r.status, IntegrateResult::Status::Ok);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"1 9.0000 8.0000 101 5.94", "2 3.0000 2.5000 51 3.00"}));
    // A reference that names no region, a region beyond the data, a 101st region.
    const std::vector<PpmRegion> many(kMaxIntegrals + 1, PpmRegion{9.0, 8.0});
    const std::tuple<IntegrateRequest, IntegrateResult::Status, std::string> refused[] = {
        {{{{9.0, 8.0}}, false, 2, 1.0},
         IntegrateResult::Status::UsageError,
         "The reference integral must lie between 1 and 1"},
        {{{{9.0, 8.0}, {40.0, 30.0}}, false, 1, 1.0},
         IntegrateResult::Status::DataError,
         "The region 40.0000/30.0000 holds no data points"},
        {{many, false, 1, 1.0}, IntegrateResult::Status::UsageError, "Error"}};
    for (const auto& [request, status, text] : refused) {
        r = integrateRegions(b.d, request);
        EXPECT_EQ(std::pair(r.status, r.message.value_or(Message{}).text), std::pair(status, text));
    }
}

}  // namespace
}  // namespace pelvaron::analysis
