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
using Kind = testing::SurfaceCall::Kind;

display::AxisParams mainAxis(const Document& doc) {
    display::AxisParams p;
    p.i1 = doc.nData;
    p.xEnd = doc.clientWidth;
    p.height = doc.clientHeight;
    p.rect = doc.plotRect;
    p.screenHeight = 1000;
    return p;
}

/// The axis of `doc` drawn with `p` (the full view when not given) onto a recording surface.
RecordingSurface drawn(const Document& doc, const display::AxisParams* p = nullptr, int charWidth = 7) {
    RecordingSurface s;
    s.metrics.averageCharWidth = charWidth;
    display::drawAxis(s, doc, p ? *p : mainAxis(doc));
    return s;
}

struct Tick {
    int x;
    int end;  // majorY or minorY
    bool operator<(const Tick& o) const { return x < o.x; }
};

/// The grey ticks of an axis drawn with the panel style, left to right (the axis line excluded).
std::vector<Tick> greyTicks(const RecordingSurface& s, const display::AxisParams& p) {
    const int axisY = display::axisRows(p.height, p.screenHeight, 1.0).axisY;
    std::vector<Tick> ticks;
    for (const auto& c : s.of(Kind::Line))
        if (c.pen == display::palette::kGreyPen && c.points[0].x == c.points[1].x && c.points[0].y == axisY)
            ticks.push_back({c.points[0].x, c.points[1].y});
    std::sort(ticks.begin(), ticks.end());
    return ticks;
}

/// Labels in dark grey ordered by their x.
std::vector<std::pair<int, std::string>> labels(const RecordingSurface& s) {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& c : s.of(Kind::Text))
        if (c.color == display::palette::kLabelGrey) out.emplace_back(c.points[0].x, c.text);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> labelTexts(const RecordingSurface& s) {
    std::vector<std::string> out;
    for (const auto& l : labels(s)) out.push_back(l.second);
    return out;
}

TEST(AxisTable, PicksTheRowWithTheSmallestBoundAboveTheRange) {
    const struct {
        double range, step, labelEvery;
        int decimals;
        bool labelAll;
    } cases[] = {
        {150, 1, 10, 0, false},       {80, 2, 10, 0, false},      {200, 5, 25, 0, false},  // bound exclusive
        {0, 0.001, 0.0025, 3, false}, {3, 0.04, 0.1, 1, false},   {1.5, 0.04, 0.1, 2, false},
        {32999, 500, 2000, 0, false}, {33000, 500, 500, 0, true}, {1e9, 500, 500, 0, true},
    };
    for (const auto& c : cases) {
        const auto row = display::tickRowFor(c.range);
        EXPECT_EQ(row.step, c.step) << c.range;
        EXPECT_EQ(row.labelEvery, c.labelEvery) << c.range;
        EXPECT_EQ(row.decimals, c.decimals) << c.range;
        EXPECT_EQ(row.labelAll, c.labelAll) << c.range;
    }
}

TEST(AxisLabel, ZeroNeverCarriesAMinusSign) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {{-0.0, 0, "0"},  {-0.0001, 2, "0.00"}, {-0.4, 0, "0"},   {-0.0004, 3, "0.000"},
                 {-0.6, 0, "-1"}, {-10.0, 0, "-10"},    {2.25, 1, "2.2"}, {7.0, 9, "7.000"}};
    for (const auto& c : cases) EXPECT_EQ(display::axisLabel(c.v, c.decimals), c.text) << c.v;
}

TEST(Axis, HertzRangesOf150And80TickEveryOneAndTwoLargestOnTheLeft) {
    testing::RecordingUserInterface ui;
    for (const double sw : {150.0, 80.0}) {
        auto doc = testing::makeDocument(ui, {.sw = sw});
        doc->xUnits = kHz;
        const auto p = mainAxis(*doc);
        const auto s = drawn(*doc);
        const auto rows = display::axisRows(p.height, p.screenHeight, 1.0);
        // Ticks strictly inside: 1..149 every Hz, or 2..78 every 2 Hz; majors every 10.
        const int step = sw == 150.0 ? 1 : 2;
        const auto ticks = greyTicks(s, p);
        ASSERT_EQ(ticks.size(), static_cast<std::size_t>(sw / step - 1)) << sw;
        for (std::size_t k = 0; k < ticks.size(); ++k) {
            const double hz = sw - step * (k + 1.0);
            EXPECT_NEAR(ticks[k].x, 1000.0 - hz * 1000.0 / sw, 1.0) << sw << " " << hz;
            EXPECT_EQ(ticks[k].end, std::fmod(hz, 10.0) == 0.0 ? rows.majorY : rows.minorY)
                << sw << " " << hz;
        }
        std::vector<std::string> expected;
        for (int hz = static_cast<int>(sw) - 10; hz >= 10; hz -= 10) expected.push_back(std::to_string(hz));
        EXPECT_EQ(labelTexts(s), expected) << sw;
        // Each label has its white shadow.
        EXPECT_EQ(s.texts(display::palette::kWhite).size(), expected.size()) << sw;
    }
}

TEST(Axis, PpmAcrossZeroRunsHighToLowAndLabelsZeroPlainly) {
    testing::RecordingUserInterface ui;
    // 2 ppm wide, from +1 ppm on the left to -1 ppm on the right.
    auto doc = testing::makeDocument(ui, {.sw = 200.0, .sf = 100.0, .offsetHz = -100.0});
    doc->xUnits = kPpm;
    const auto l = labels(drawn(*doc));
    ASSERT_GE(l.size(), 5u);
    EXPECT_EQ(l.front().second, "0.8");
    int zeros = 0;
    for (std::size_t k = 0; k < l.size(); ++k) {
        if (k > 0) {
            EXPECT_LT(std::stod(l[k].second), std::stod(l[k - 1].second)) << l[k].second;
        }
        if (std::stod(l[k].second) == 0.0) {
            ++zeros;
            EXPECT_EQ(l[k].second, "0.0");
            EXPECT_NEAR(l[k].first, 500, 20);
        }
    }
    EXPECT_EQ(zeros, 1);
}

TEST(Axis, SecondsStartAtZeroOnTheLeftAndEdgeLabelsAreLeftOut) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);  // AQ = 1 s
    auto p = mainAxis(*doc);
    const auto s = drawn(*doc, &p, 20);  // wide labels: "0.1" is 60 pixels
    // Range 1 s: ticks every 0.04, labels every 0.1 with two decimals, so the labelled ticks are
    // the multiples of 0.2; 0 lies on the edge.
    EXPECT_EQ(labelTexts(s), (std::vector<std::string>{"0.20", "0.40", "0.60", "0.80"}));
    EXPECT_NEAR(labels(s).front().first, 200 - 40 - 1, 1);

    // A plot 200 pixels wide: "0.20" at x 40 would touch the left edge and "0.80" at x 160 the
    // right one, so both go; their ticks stay.
    p.rect.right = 200;
    const auto narrow = drawn(*doc, &p, 20);
    EXPECT_EQ(labelTexts(narrow), (std::vector<std::string>{"0.40", "0.60"}));
    const auto ticks = greyTicks(narrow, p);
    ASSERT_EQ(ticks.size(), 24u);
    EXPECT_NEAR(ticks.front().x, 8, 1);
    EXPECT_NEAR(ticks.back().x, 192, 1);
}

TEST(Axis, PanelAndGridFollowTheirStyles) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    auto p = mainAxis(*doc);
    p.showGrid = true;
    const auto s = drawn(*doc, &p);
    const auto rows = display::axisRows(p.height, p.screenHeight, 1.0);
    EXPECT_EQ(rows.axisY, 800 - 90);
    EXPECT_EQ(rows.minorY, 800 - 80);
    EXPECT_EQ(rows.majorY, 800 - 70);
    const auto fills = s.of(Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{0, rows.axisY - 1, 1000, doc->plotRect.bottom}));
    int gridLines = 0, gridRows = 0;
    for (const auto& c : s.of(Kind::Line)) {
        if (c.pen == display::palette::kGridPen) {
            ++gridLines;
            EXPECT_EQ(c.points[1].y, doc->plotRect.top);
        }
        gridRows += c.pen == display::palette::kGridRowPen;
    }
    EXPECT_EQ(gridLines, 24);  // one per tick inside: 0.04 ... 0.96
    EXPECT_EQ(gridRows, 10);

    // Without the panel and shadow styles: no fill, black labels.
    p.panelStyle = p.shadowStyle = p.showGrid = false;
    const auto plain = drawn(*doc, &p);
    EXPECT_TRUE(plain.of(Kind::FillRect).empty());
    EXPECT_TRUE(plain.texts(display::palette::kWhite).empty());
    EXPECT_FALSE(plain.texts(display::palette::kBlack).empty());
}

TEST(Axis, RangeTooWideForTicksDrawsTheLineAlone) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui, {.sw = 1e-4});  // AQ = 1e7 s: 20000 ticks of 500
    const auto s = drawn(*doc);
    EXPECT_TRUE(s.of(Kind::Text).empty());
    EXPECT_EQ(s.of(Kind::Line).size(), 3u);  // two panel edges and the axis line
}

}  // namespace
}  // namespace pelvaron
