// The plot: the trace (every point, the min/max column reduction, clamping, dots, the second set
// and the pivot line), the analysis layers' flags, the scale of the main trace and a view beyond
// the data. Whole plots of a real spectrum, layer by layer, are in tests/output/real_drawing_test.cpp.
#include "display/paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "analysis/integrals.h"
#include "analysis/j_measure.h"
#include "analysis/peaks.h"
#include "display/comments.h"
#include "display/tool_actions.h"
#include "display/tools.h"
#include "display/trace.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using testing::RecordingSurface;
using testing::SurfaceCall;
using Kind = SurfaceCall::Kind;

/// The points of the main trace: the first polyline drawn with the trace pen.
std::vector<platform::Point> mainTrace(Document& doc, const display::View& view) {
    RecordingSurface s;
    display::paintDocument(s, doc, view, {});
    for (const auto& c : s.of(Kind::Polyline))
        if (c.pen == display::palette::kTracePen) return c.points;
    return {};
}

struct Paint : ::testing::Test {
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = testing::makeDocument(ui);
    display::View view = testing::makeView(*doc);
};

TEST_F(Paint, TheAnalysisLayersFollowTheirFlagsAndTheLabelsHitBoxesTheDrawing) {
    const auto texts = [&] {
        RecordingSurface s;
        display::paintDocument(s, *doc, view, {});
        std::vector<std::string> out;
        for (const auto& c : s.of(Kind::Text)) out.push_back(c.text);
        return out;
    };
    const auto has = [](const std::vector<std::string>& all, const std::string& t) {
        return std::find(all.begin(), all.end(), t) != all.end();
    };
    doc->integrals.integralRestart = 1;
    ASSERT_TRUE(display::integrateRegion(*doc, view, ui, 90, 110));
    ASSERT_TRUE(analysis::pickPeaksInRegion(*doc, ui, 100, 300, 1.0));
    char ppm[32];
    std::snprintf(ppm, sizeof ppm, "%.3f", analysis::peakValues(*doc, doc->peaks.peakList[0]).ppm);
    doc->jState.jShown = 1;
    (void)analysis::placeJCursor(*doc, 100);
    doc->integrals.integralLabelLeft[0] = doc->integrals.integralLabelRight[0] = -7;
    auto all = texts();
    EXPECT_TRUE(has(all, "1.00") && has(all, "0")) << all.size();
    EXPECT_TRUE(has(all, ppm)) << ppm;
    EXPECT_LT(doc->integrals.integralLabelLeft[0], 100);
    EXPECT_GT(doc->integrals.integralLabelRight[0], 100);

    doc->peaks.peakLabelsShown = 0;
    doc->integrals.showIntegralValues = 0;
    doc->jState.jShown = 0;
    all = texts();
    EXPECT_FALSE(has(all, "1.00") || has(all, "0") || has(all, ppm));
}

TEST_F(Paint, MainTraceIsScaledByThePeakAndTinyDataByOne) {
    // Every point on its own pixel; the peak (50 at point 100) rises vScale = 75 pixels above
    // baselineY = 400.
    const auto trace = mainTrace(*doc, view);
    ASSERT_EQ(trace.size(), 1000u);
    EXPECT_EQ(trace[100], (platform::Point{100, 325}));
    EXPECT_EQ(trace[99], (platform::Point{99, 400}));

    // Values all below 1e-7: maxAbs is 1.0, so they stay on the baseline instead of filling it.
    for (int i = 0; i < doc->spectrum.nData; i += 2) doc->spectrum.specData[i] = (i % 4 == 0) ? 5e-8 : -5e-8;
    doc->spectrum.peakValue = findPeak(doc->spectrum);
    for (const auto& p : mainTrace(*doc, view)) EXPECT_TRUE(p.y == 399 || p.y == 400) << p.y;
}

TEST_F(Paint, AViewBeyondTheDataDrawsOnlyTheData) {
    view.viewLeft = -0.5;  // AQ is 1 s
    view.viewRight = 2.0;
    view.viewZoom = display::computeViewZoom(doc->spectrum.acqPars.AQ, view.viewLeft, view.viewRight);
    EXPECT_EQ(mainTrace(*doc, view).size(), 1000u);
}

using platform::Point;
using Polylines = std::vector<std::vector<Point>>;

/// Draws real parts `reals` (imaginary parts huge, so drawing them would show) with baseY 100,
/// maxAbs 40, vScale 80: y = 100 - 2 v.
struct TraceCase {
    std::unique_ptr<Document> owner = std::make_unique<Document>();
    Document& doc = *owner;
    display::View view;
    testing::RecordingSurface surface;
    std::vector<double> data;
    display::TraceParams p;

    TraceCase(const std::vector<double>& reals, double pxPerIndex, Rect rect) {
        for (double r : reals) data.insert(data.end(), {r, 1e9});
        p.i1 = static_cast<int>(data.size());
        p.maxAbs = 40.0;
        p.baseY = 100;
        p.pxPerIndex = pxPerIndex;
        p.rect = rect;
        p.vScale = 80.0;
    }
    Polylines draw() {
        display::drawTrace(surface, doc, view, data, p);
        Polylines out;
        for (const auto& c : surface.of(Kind::Polyline)) out.push_back(c.points);
        return out;
    }
};

TEST(Trace, OnePolylineThroughTheRealPartsReducedPerColumnAndClamped) {
    // Every point when there are no more than the columns; else per column the extremes.
    const struct {
        const char* name;
        std::vector<double> reals;
        double pxPerIndex;
        Rect rect;
        std::vector<Point> expected;
    } cases[] = {
        {"few points", {10, -20, 30}, 5.0, Rect{7, 0, 300, 200}, {{7, 80}, {17, 140}, {27, 40}}},
        {"as many as columns", {10, -20, 30}, 1.0, Rect{0, 0, 3, 200}, {{0, 80}, {2, 140}, {4, 40}}},
        {"clamped", {1000, -1000, 0}, 5.0, Rect{0, 30, 300, 170}, {{0, 30}, {10, 170}, {20, 100}}},
        // Two points per column, 4 columns. Column 0: 10 then -20 (maximum first); column 1: 30
        // then 5; column 2: -7 then 40 (minimum first); column 3 is still open and not drawn.
        {"first-occurrence order",
         {10, -20, 30, 5, -7, 40, 1, 2},
         0.25,
         Rect{0, 0, 4, 200},
         {{0, 80}, {0, 80}, {0, 140}, {1, 40}, {1, 90}, {2, 114}, {2, 20}}},
        // Equal extremes keep the first occurrence: a flat column is a stroke of zero length.
        {"flat columns",
         {3, 3, 3, 3, 3, 3},
         0.25,
         Rect{0, 0, 2, 200},
         {{0, 94}, {0, 94}, {0, 94}, {1, 94}, {1, 94}}},
    };
    for (const auto& c : cases) {
        TraceCase t(c.reals, c.pxPerIndex, c.rect);
        EXPECT_EQ(t.draw(), Polylines{c.expected}) << c.name;
    }
    EXPECT_EQ(display::traceRow(0.5, 40.0, 100, 80.0, Rect{0, 0, 10, 200}), 99);  // truncated
    EXPECT_EQ(display::traceRow(std::numeric_limits<double>::quiet_NaN(), 1.0, 100, 80.0, Rect{0, 0, 10, 50}),
              50);
}

TEST(Trace, DotsSecondSetAndPivotLine) {
    TraceCase dots({10, -20, 30, 5, -7, 40, 1, 2}, 0.25, Rect{0, 0, 4, 200});
    dots.view.dotDisplay = 1;
    EXPECT_TRUE(dots.draw().empty());  // one black pixel per real point instead
    const auto pixels = dots.surface.of(Kind::Pixel);
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels[5].points[0], (Point{2, 20}));

    // The second set is shifted (4 indices of 5 pixels) and scaled by its factor.
    TraceCase second({10, 20}, 5.0, Rect{0, 0, 300, 200});
    second.view.secondFactor = 50;
    second.p.shift = 4;
    second.p.useFactor = true;
    second.p.mode = display::TraceMode::Second;
    EXPECT_EQ(second.draw(), (Polylines{{{20, 90}, {30, 80}}}));
    // The pivot line only on the main trace (a main trace without it is drawn by every other case).
    second.doc.transform.showPivot = 1;
    second.draw();
    EXPECT_TRUE(second.surface.of(Kind::Line).empty());

    TraceCase main({1, 2, 3, 4}, 5.0, Rect{0, 0, 300, 200});
    main.doc.spectrum.peakIndex = 4;
    main.view.plotRect = Rect{0, 29, 300, 181};
    main.doc.transform.showPivot = 1;
    main.draw();
    const auto lines = main.surface.of(Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{20, 29}, {20, 181}}));
    EXPECT_EQ(lines[0].pen, display::palette::kMarkPen);
}

}  // namespace
}  // namespace pelvaron
