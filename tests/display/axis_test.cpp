// The axis: ticks, majors and labels by unit and direction, labels kept inside the plot, the
// minus-less zero, the styles and grid, an absurd range; the Units dialog that chooses its unit.
#include "display/axis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/paint.h"
#include "display/units_dialog.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using testing::RecordingSurface;
using Kind = testing::SurfaceCall::Kind;
using Marks = std::vector<std::pair<int, std::string>>;  // x and, for labels, the text

/// The full view's axis.
display::AxisParams mainAxis(const Document& doc, const display::View& view) {
    display::AxisParams p;
    p.i1 = doc.spectrum.nData;
    p.xEnd = view.clientWidth;
    p.height = view.clientHeight;
    p.rect = view.plotRect;
    p.screenHeight = 1000;
    return p;
}

/// The axis drawn with `charWidth` pixels per label character: its grey ticks (x and whether
/// major, the axis line excluded) and its dark grey labels (x of the tick under the label's
/// middle), left to right.
struct Drawn {
    RecordingSurface s;
    Marks ticks, labels;
    Drawn(const Document& doc, const display::View& view, const display::AxisParams& p, int charWidth = 7) {
        s.metrics.averageCharWidth = charWidth;
        display::drawAxis(s, doc, view, p);
        const auto rows = display::axisRows(p.height, p.screenHeight, 1.0);
        for (const auto& c : s.of(Kind::Line))
            if (c.pen == display::palette::kGreyPen && c.points[0].x == c.points[1].x &&
                c.points[0].y == rows.axisY)
                ticks.emplace_back(c.points[0].x, c.points[1].y == rows.majorY ? "major" : "minor");
        for (const auto& c : s.of(Kind::Text))
            if (c.color == display::palette::kLabelGrey)
                labels.emplace_back(c.points[0].x + 1 + static_cast<int>(c.text.size()) * charWidth / 2,
                                    c.text);
        std::sort(ticks.begin(), ticks.end());
        std::sort(labels.begin(), labels.end());
    }
};

/// The same marks, the pixels within one.
void expectMarks(const Marks& got, const Marks& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(got[k].first, want[k].first, 1) << k;
        EXPECT_EQ(got[k].second, want[k].second) << k;
    }
}

TEST(Axis, TicksRunFromTheLeftEndsValueWithEveryMajorLabelledThatStaysInsideThePlot) {
    // The step and label spacing of each range's row of the tick table (200 lies on a bound and
    // takes the next row); ticks strictly inside the plot. Hz and ppm have the largest value on
    // the left, seconds 0 (a negative step).
    const struct {
        Units unit;
        testing::DocumentSpec spec;
        double left, range, step, labelEvery;
        int decimals;
        int right = 1000, charWidth = 7;
    } cases[] = {
        {kHz, {.sw = 150.0}, 150.0, 150.0, 1.0, 10.0, 0},
        {kHz, {.sw = 80.0}, 80.0, 80.0, 2.0, 10.0, 0},
        {kHz, {.sw = 200.0}, 200.0, 200.0, 5.0, 25.0, 0},
        {kPpm, {.sw = 200.0, .sf = 100.0, .offsetHz = -100.0}, 1.0, 2.0, 0.04, 0.1, 1},  // across 0
        {kSeconds, {}, 0.0, 1.0, -0.04, 0.2, 2},
        // Wide labels ("0.20" is 80 pixels) in a plot 200 wide: "0.20" at x 40 would touch the
        // left edge and "0.80" at 160 the right one, and are left out; their ticks stay.
        {kSeconds, {}, 0.0, 1.0, -0.04, 0.2, 2, 200, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.unit << " " << c.range << " " << c.right);
        testing::RecordingUserInterface ui;
        auto [doc, view] = testing::makeLoaded(ui, c.spec);
        doc->spectrum.xUnits = c.unit;
        auto p = mainAxis(*doc, view);
        p.rect.right = c.right;
        const Drawn d(*doc, view, p, c.charWidth);
        Marks ticks, labels;
        const double step = std::fabs(c.step);
        for (int k = 1; k < std::lround(c.range / step); ++k) {
            const double v = c.left - k * c.step;
            const int x = static_cast<int>(std::lround(k * step / c.range * c.right));
            const bool major = std::fabs(std::remainder(v, c.labelEvery)) < 1e-9;
            ticks.emplace_back(x, major ? "major" : "minor");
            const std::string text = display::axisLabel(v, c.decimals);
            const int half = static_cast<int>(text.size()) * c.charWidth / 2;
            if (major && x - half > 0 && x + half < c.right) labels.emplace_back(x, text);
        }
        expectMarks(d.ticks, ticks);
        expectMarks(d.labels, labels);
        EXPECT_EQ(d.s.texts(display::palette::kWhite).size(), labels.size());  // each has its shadow
    }
}

TEST(Axis, ZeroNeverCarriesAMinusSign) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {{-0.0, 0, "0"}, {-0.4, 0, "0"}, {-0.0004, 3, "0.000"}, {-0.6, 0, "-1"}, {7.0, 9, "7.000"}};
    for (const auto& c : cases) EXPECT_EQ(display::axisLabel(c.v, c.decimals), c.text) << c.v;
}

TEST(Axis, GridLinesPerTickThePlainStyleAndARangeTooWideForTicks) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);
    auto p = mainAxis(*doc, view);
    p.showGrid = true;
    const Drawn grid(*doc, view, p);
    int gridLines = 0, gridRows = 0;
    for (const auto& c : grid.s.of(Kind::Line)) {
        gridLines += c.pen == display::palette::kGridPen && c.points[1].y == view.plotRect.top;
        gridRows += c.pen == display::palette::kGridRowPen;
    }
    EXPECT_EQ(gridLines, 24);  // one per tick inside: 0.04 ... 0.96
    EXPECT_EQ(gridRows, 10);
    // Without the panel and shadow styles: no fill, black labels.
    p.panelStyle = p.shadowStyle = p.showGrid = false;
    const Drawn plain(*doc, view, p);
    EXPECT_TRUE(plain.s.of(Kind::FillRect).empty());
    EXPECT_EQ(plain.s.texts(display::palette::kBlack).size(), 4u);
    // AQ = 1e7 s would be 20000 ticks of 500: the axis line alone.
    doc->spectrum.acqPars.AQ = 1e7;
    const Drawn wide(*doc, view, p);
    EXPECT_TRUE(wide.s.of(Kind::Text).empty());
    EXPECT_EQ(wide.s.of(Kind::Line).size(), 1u);
}

TEST(UnitsDialog, OnlyOkStoresAndOnlyAnExistingRadioCounts) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    display::UnitsDialog dialog(*doc);
    dialog.select(kPpm);
    dialog.select(9);                           // no such radio
    EXPECT_EQ(doc->spectrum.xUnits, kSeconds);  // nothing is stored before OK
    dialog.ok(*doc);
    EXPECT_EQ(doc->spectrum.xUnits, kPpm);
    EXPECT_EQ(display::UnitsDialog(*doc).selected(), kPpm);
}

}  // namespace
}  // namespace pelvaron
