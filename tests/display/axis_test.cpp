// The axis: tick table, label formats, orientation by unit, labels kept inside the plot.
#include "display/axis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/paint.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using testing::RecordingSurface;
using testing::SurfaceCall;

display::AxisParams mainAxis(const Document& doc) {
    display::AxisParams p;
    p.i0 = 0;
    p.i1 = doc.nData;
    p.xEnd = doc.clientWidth;
    p.height = doc.clientHeight;
    p.rect = doc.plotRect;
    p.screenHeight = 1000;
    return p;
}

struct Tick {
    int x;
    int end;  // the row the tick runs to: majorY or minorY
};

/// The grey ticks of an axis drawn with the panel style, left to right (the axis line excluded).
std::vector<Tick> greyTicks(const RecordingSurface& s, const display::AxisRows& rows) {
    std::vector<Tick> ticks;
    for (const auto& c : s.of(SurfaceCall::Kind::Line)) {
        if (c.pen != display::palette::kGreyPen || c.points[0].x != c.points[1].x) continue;
        if (c.points[0].y != rows.axisY) continue;
        ticks.push_back({c.points[0].x, c.points[1].y});
    }
    std::sort(ticks.begin(), ticks.end(), [](const Tick& a, const Tick& b) { return a.x < b.x; });
    return ticks;
}

/// Labels in dark grey ordered by their x.
std::vector<std::pair<int, std::string>> labels(const RecordingSurface& s) {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& c : s.of(SurfaceCall::Kind::Text)) {
        if (c.color == display::palette::kLabelGrey) out.emplace_back(c.points[0].x, c.text);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(AxisTable, PicksTheRowWithTheSmallestBoundAboveTheRange) {
    EXPECT_EQ(display::tickRowFor(150).step, 1.0);
    EXPECT_EQ(display::tickRowFor(150).labelEvery, 10.0);
    EXPECT_EQ(display::tickRowFor(80).step, 2.0);
    EXPECT_EQ(display::tickRowFor(80).labelEvery, 10.0);
    EXPECT_EQ(display::tickRowFor(200).step, 5.0);  // a bound is exclusive
    EXPECT_EQ(display::tickRowFor(0.0).step, 0.001);
    EXPECT_EQ(display::tickRowFor(3).decimals, 1);
    EXPECT_EQ(display::tickRowFor(1.5).decimals, 2);
    EXPECT_FALSE(display::tickRowFor(32999).labelAll);
    EXPECT_TRUE(display::tickRowFor(33000).labelAll);
    EXPECT_EQ(display::tickRowFor(1e9).step, 500.0);
}

TEST(AxisLabel, ZeroNeverCarriesAMinusSign) {
    EXPECT_EQ(display::axisLabel(-0.0, 0), "0");
    EXPECT_EQ(display::axisLabel(-0.0001, 2), "0.00");
    EXPECT_EQ(display::axisLabel(-0.4, 0), "0");
    EXPECT_EQ(display::axisLabel(-0.0004, 3), "0.000");
    EXPECT_EQ(display::axisLabel(-0.6, 0), "-1");
    EXPECT_EQ(display::axisLabel(-10.0, 0), "-10");
    EXPECT_EQ(display::axisLabel(2.25, 1), "2.2");
    EXPECT_EQ(display::axisLabel(7.0, 9), "7.000");
}

TEST(Axis, HertzRangeOf150TicksEveryHertzLabelsEveryTenLargestOnTheLeft) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, {.td = 2000, .sw = 150.0});
    doc->xUnits = kHz;
    RecordingSurface s;
    const auto p = mainAxis(*doc);
    display::drawAxis(s, *doc, p);
    const auto rows = display::axisRows(p.height, p.screenHeight, 1.0);

    // 150 Hz over 1000 pixels: ticks at every Hz strictly inside, 1..149, each 1000/150 apart.
    const auto ticks = greyTicks(s, rows);
    ASSERT_EQ(ticks.size(), 149u);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        const double hz = 149.0 - static_cast<double>(k);
        EXPECT_NEAR(ticks[k].x, 1000.0 - hz * 1000.0 / 150.0, 1.0);
        EXPECT_EQ(ticks[k].end, std::fmod(hz, 10.0) == 0.0 ? rows.majorY : rows.minorY) << hz;
    }
    std::vector<std::string> expected;
    for (int hz = 140; hz >= 10; hz -= 10) expected.push_back(std::to_string(hz));
    std::vector<std::string> got;
    for (const auto& l : labels(s)) got.push_back(l.second);
    EXPECT_EQ(got, expected);
    // Each label has its white shadow one pixel right and one row lower.
    EXPECT_EQ(s.texts(display::palette::kWhite).size(), expected.size());
}

TEST(Axis, HertzRangeOf80TicksEveryTwo) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, {.td = 2000, .sw = 80.0});
    doc->xUnits = kHz;
    RecordingSurface s;
    const auto p = mainAxis(*doc);
    display::drawAxis(s, *doc, p);
    const auto ticks = greyTicks(s, display::axisRows(p.height, p.screenHeight, 1.0));
    ASSERT_EQ(ticks.size(), 39u);  // 2, 4, ..., 78
    EXPECT_NEAR(ticks.front().x, 1000.0 - 78.0 * 1000.0 / 80.0, 1.0);
    EXPECT_NEAR(ticks[1].x - ticks[0].x, 25.0, 1.0);
}

TEST(Axis, PpmAcrossZeroRunsHighToLowAndLabelsZeroPlainly) {
    testing::RecordingUserInterface ui;
    // 2 ppm wide, from +1 ppm on the left to -1 ppm on the right.
    auto doc = testing::makeDocument(ui, {.td = 2000, .sw = 200.0, .sf = 100.0, .offsetHz = -100.0});
    doc->xUnits = kPpm;
    RecordingSurface s;
    display::drawAxis(s, *doc, mainAxis(*doc));
    const auto l = labels(s);
    ASSERT_GE(l.size(), 5u);
    double previous = 1e9;
    bool sawZero = false;
    for (const auto& [x, text] : l) {
        const double v = std::stod(text);
        if (v == 0.0) {
            EXPECT_EQ(text, "0.0");
        }
        EXPECT_LT(v, previous) << text;
        previous = v;
        if (text == "0.0") {
            sawZero = true;
            EXPECT_NEAR(x, 500, 20);
        }
    }
    EXPECT_TRUE(sawZero);
    EXPECT_EQ(l.front().second, "0.8");
}

TEST(Axis, SecondsStartAtZeroOnTheLeftAndEdgeLabelsAreLeftOut) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);  // AQ = 1 s
    RecordingSurface s;
    s.metrics.averageCharWidth = 20;  // wide labels: "0.1" is 60 pixels
    const auto p = mainAxis(*doc);
    display::drawAxis(s, *doc, p);
    const auto l = labels(s);
    // Range 1 s: ticks every 0.04 (1 falls in the row below 2), labels every 0.1 with two
    // decimals, so the labelled ticks are the multiples of 0.2; 0 lies on the edge.
    std::vector<std::string> got;
    for (const auto& item : l) got.push_back(item.second);
    EXPECT_EQ(got, (std::vector<std::string>{"0.20", "0.40", "0.60", "0.80"}));
    EXPECT_NEAR(l.front().first, 200 - 40 - 1, 1);

    // A plot 200 pixels wide: "0.20" at x 40 would touch the left edge and "0.80" at x 160 the
    // right one, so both go; their ticks stay.
    RecordingSurface narrow;
    narrow.metrics.averageCharWidth = 20;
    auto q = p;
    q.rect.right = 200;
    display::drawAxis(narrow, *doc, q);
    got.clear();
    for (const auto& item : labels(narrow)) got.push_back(item.second);
    EXPECT_EQ(got, (std::vector<std::string>{"0.40", "0.60"}));
    const auto ticks = greyTicks(narrow, display::axisRows(q.height, q.screenHeight, 1.0));
    ASSERT_EQ(ticks.size(), 24u);
    EXPECT_NEAR(ticks.front().x, 8, 1);
    EXPECT_NEAR(ticks.back().x, 192, 1);
}

TEST(Axis, PanelAndGridFollowTheirStyles) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    auto p = mainAxis(*doc);
    p.showGrid = true;
    RecordingSurface s;
    display::drawAxis(s, *doc, p);
    const auto rows = display::axisRows(p.height, p.screenHeight, 1.0);
    EXPECT_EQ(rows.axisY, 800 - 90);
    EXPECT_EQ(rows.minorY, 800 - 80);
    EXPECT_EQ(rows.majorY, 800 - 70);
    const auto fills = s.of(SurfaceCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{0, rows.axisY - 1, 1000, doc->plotRect.bottom}));
    int gridLines = 0, gridRows = 0;
    for (const auto& c : s.of(SurfaceCall::Kind::Line)) {
        if (c.pen == display::palette::kGridPen) {
            ++gridLines;
            EXPECT_EQ(c.points[1].y, doc->plotRect.top);
        }
        if (c.pen == display::palette::kGridRowPen) ++gridRows;
    }
    EXPECT_EQ(gridLines, 24);  // one per tick inside: 0.04 ... 0.96
    EXPECT_EQ(gridRows, 10);

    // Without the panel and shadow styles: no fill, black labels, ticks in the given pen.
    p.panelStyle = p.shadowStyle = p.showGrid = false;
    RecordingSurface plain;
    display::drawAxis(plain, *doc, p);
    EXPECT_TRUE(plain.of(SurfaceCall::Kind::FillRect).empty());
    EXPECT_TRUE(plain.texts(display::palette::kWhite).empty());
    EXPECT_FALSE(plain.texts(display::palette::kBlack).empty());
}

TEST(Axis, RangeTooWideForTicksDrawsTheLineAlone) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, {.td = 2000, .sw = 1e-4});  // AQ = 1e7 s: 20000 ticks of 500
    RecordingSurface s;
    display::drawAxis(s, *doc, mainAxis(*doc));
    EXPECT_TRUE(s.of(SurfaceCall::Kind::Text).empty());
    EXPECT_EQ(s.of(SurfaceCall::Kind::Line).size(), 3u);  // two panel edges and the axis line
}

}  // namespace
}  // namespace pelvaron
