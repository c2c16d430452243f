// The trace: every point, dots, the min/max column reduction, clamping, the pivot line.
#include "display/trace.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "display/paint.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using platform::Point;
using testing::RecordingSurface;
using testing::SurfaceCall;

struct TraceCase {
    std::unique_ptr<Document> doc;
    testing::RecordingUserInterface ui;
    RecordingSurface surface;
    std::vector<double> data;

    /// Real parts `reals`, imaginary parts huge so that drawing them would show.
    explicit TraceCase(std::vector<double> reals) {
        doc = std::make_unique<Document>();
        for (double r : reals) {
            data.push_back(r);
            data.push_back(1e9);
        }
    }
    std::vector<SurfaceCall> draw(const display::TraceParams& p) {
        display::drawTrace(surface, *doc, data, p);
        return surface.of(SurfaceCall::Kind::Polyline);
    }
};

// baseY 100, maxAbs 40, vScale 80: y = 100 - 2 v.
display::TraceParams params(int points, double pxPerIndex, Rect rect) {
    display::TraceParams p;
    p.i0 = 0;
    p.i1 = 2 * points;
    p.maxAbs = 40.0;
    p.baseY = 100;
    p.pxPerIndex = pxPerIndex;
    p.rect = rect;
    p.vScale = 80.0;
    return p;
}

TEST(Trace, FewPointsAreOnePolylineThroughEveryRealPart) {
    TraceCase c({10, -20, 30});
    const auto lines = c.draw(params(3, 5.0, Rect{7, 0, 300, 200}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{7, 80}, {17, 140}, {27, 40}}));
}

TEST(Trace, ManyPointsBecomeOneStrokePerColumnInFirstOccurrenceOrder) {
    // Two points per column (each real point advances half a pixel); 8 points into a plot that
    // is 4 columns wide. Column 0: 10 then -20 (maximum first); column 1: 30 then 5; column 2:
    // -7 then 40 (minimum first); column 3 is still open at the end and is not drawn.
    TraceCase c({10, -20, 30, 5, -7, 40, 1, 2});
    const auto lines = c.draw(params(8, 0.25, Rect{0, 0, 4, 200}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points,
              (std::vector<Point>{{0, 80}, {0, 80}, {0, 140}, {1, 40}, {1, 90}, {2, 114}, {2, 20}}));

    // Equal extremes keep the first occurrence: a flat column is a stroke of zero length.
    TraceCase flat({3, 3, 3, 3, 3, 3});
    const auto f = flat.draw(params(6, 0.25, Rect{0, 0, 2, 200}));
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].points, (std::vector<Point>{{0, 94}, {0, 94}, {0, 94}, {1, 94}, {1, 94}}));
}

TEST(Trace, ColumnStrokesAreBoundedByTheWidth) {
    std::vector<double> reals(65536);
    for (std::size_t k = 0; k < reals.size(); ++k) reals[k] = static_cast<double>(k % 17) - 8.0;
    TraceCase c(reals);
    const auto lines = c.draw(params(65536, 1000.0 / 131072.0, Rect{0, 0, 1000, 200}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LE(lines[0].points.size(), 2u * 1000 + 1);
    EXPECT_GE(lines[0].points.size(), 2u * 999 + 1);
}

TEST(Trace, ValuesBeyondTheRectangleAreClampedToItsEdges) {
    TraceCase c({1000, -1000, 0});
    const auto lines = c.draw(params(3, 5.0, Rect{0, 30, 300, 170}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{0, 30}, {10, 170}, {20, 100}}));
    EXPECT_EQ(display::traceRow(0.5, 40.0, 100, 80.0, Rect{0, 0, 10, 200}), 99);  // truncated
    EXPECT_EQ(display::traceRow(std::numeric_limits<double>::quiet_NaN(), 1.0, 100, 80.0, Rect{0, 0, 10, 50}),
              50);
}

TEST(Trace, DotDisplayDrawsOneBlackPixelPerRealPoint) {
    TraceCase c({10, -20, 30, 5, -7, 40, 1, 2});
    c.doc->dotDisplay = 1;
    c.draw(params(8, 0.25, Rect{0, 0, 4, 200}));
    EXPECT_TRUE(c.surface.of(SurfaceCall::Kind::Polyline).empty());
    const auto dots = c.surface.of(SurfaceCall::Kind::Pixel);
    ASSERT_EQ(dots.size(), 8u);
    for (const auto& d : dots) EXPECT_EQ(d.color, display::palette::kBlack);
    EXPECT_EQ(dots[5].points[0], (Point{2, 20}));
}

TEST(Trace, SecondSetIsShiftedAndScaledByItsFactor) {
    TraceCase c({10, 20});
    c.doc->secondFactor = 50;
    auto p = params(2, 5.0, Rect{0, 0, 300, 200});
    p.shift = 4;  // 4 indices of 5 pixels
    p.useFactor = true;
    p.mode = display::TraceMode::Second;
    const auto lines = c.draw(p);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{20, 90}, {30, 80}}));
}

TEST(Trace, PivotLineOnlyOnTheMainTraceWhilePhaseCorrectionIsOpen) {
    TraceCase c({1, 2, 3, 4});
    c.doc->peakIndex = 4;
    c.doc->plotRect = Rect{0, 29, 300, 181};
    auto p = params(4, 5.0, Rect{0, 0, 300, 200});
    c.draw(p);
    EXPECT_TRUE(c.surface.of(SurfaceCall::Kind::Line).empty());

    c.doc->transform.showPivot = 1;
    c.draw(p);
    auto lines = c.surface.of(SurfaceCall::Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{20, 29}, {20, 181}}));
    EXPECT_EQ(lines[0].pen, display::palette::kMarkPen);

    p.mode = display::TraceMode::Overview;
    c.draw(p);
    EXPECT_EQ(c.surface.of(SurfaceCall::Kind::Line).size(), 1u);
}

}  // namespace
}  // namespace pelvaron
