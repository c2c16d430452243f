// What the multiplet report puts on the plot: each range's label and bar where the range is, and
// the tools that add and split ranges with the mouse.
#include <gtest/gtest.h>

#include "analysis/multiplets.h"
#include "display/multiplet_labels.h"
#include "display/paint.h"
#include "display/tools.h"
#include "display_fixture.h"
#include "multiplet_ranges.h"
#include "recording_surface.h"

namespace pelvaron::display {
namespace {

using Kind = testing::SurfaceCall::Kind;
using testing::drag;

MultipletRange range(double from, double to, double delta, const char* multiplicity,
                     RangeKind kind = RangeKind::Signal) {
    return testing::multipletRange(from, to, multiplicity, {}, 1, kind, delta);
}

TEST(MultipletLabels, EachRangeIsMarkedOverItsExtentAboveItsLinesAndNoTextCoversAnother) {
    testing::RecordingUserInterface ui;
    // Point p lies at (1000 - p) / 100 ppm and at pixel p: the line of 50 at 9.00 ppm, pixel 100.
    auto [doc, view] = testing::makeLoaded(ui);
    doc->spectrum.specData[272] = 40.0;  // 8.64 ppm, pixel 136: its text would run into the first
    doc->spectrum.xUnits = kPpm;
    doc->multiplets.ranges = {range(9.10, 8.90, 9.0, "d"), range(8.70, 8.58, 8.64, "t"),
                              range(2.60, 2.40, 2.5, "s", RangeKind::Solvent),
                              range(-0.5, -0.7, -0.6, "s")};  // beyond the data's end at 0 ppm
    doc->multiplets.labelsShown = true;

    testing::RecordingSurface surface;
    paintDocument(surface, *doc, view, {});
    EXPECT_EQ(surface.texts(palette::kBlack), (std::vector<std::string>{"9.00 d", "8.64 t"}));
    EXPECT_EQ(surface.texts(palette::kGrey), (std::vector<std::string>{"2.50 solvent"}));

    const auto labels = placeMultipletLabels(*doc, surface, mainPeakLabelView(doc->spectrum, view));
    ASSERT_EQ(labels.size(), 3u);
    // The bar spans the range and stands 4 rows above its highest point (row 400 - 75, and
    // 400 - 60); the first text is centred on its delta just above its bar.
    EXPECT_EQ(std::tuple(labels[0].barLeft, labels[0].barRight, labels[0].barY, labels[0].at),
              std::tuple(90, 110, 321, platform::Point{79, 303}));
    EXPECT_EQ(std::tuple(labels[1].barLeft, labels[1].barRight, labels[1].barY), std::tuple(130, 142, 336));
    // A range over flat baseline: its bar just above the zero line.
    EXPECT_EQ(std::tuple(labels[2].barLeft, labels[2].barRight, labels[2].barY, labels[2].signal),
              std::tuple(740, 760, 396, false));
    // The second text moved up above the first rather than over it.
    const auto& [a, b] = std::tie(labels[0], labels[1]);
    EXPECT_TRUE(b.at.y + 16 <= a.at.y || a.at.x + a.width <= b.at.x) << b.at.y;
    const auto bars = surface.of(Kind::Line);
    EXPECT_TRUE(std::any_of(bars.begin(), bars.end(), [](const testing::SurfaceCall& c) {
        return c.points == std::vector<platform::Point>{{90, 321}, {110, 321}} && c.pen == palette::kBlackPen;
    }));

    // Zoomed onto 9.5 to 8.5 ppm: the first two only, ten times wider; hidden, none.
    view.viewLeft = 0.05;
    view.viewRight = 0.15;
    view.viewZoom = 10.0;
    const auto zoomed = placeMultipletLabels(*doc, surface, mainPeakLabelView(doc->spectrum, view));
    ASSERT_EQ(zoomed.size(), 2u);
    EXPECT_EQ(std::pair(zoomed[0].barLeft, zoomed[0].barRight), std::pair(400, 600));
    doc->multiplets.labelsShown = false;
    surface.calls.clear();
    paintDocument(surface, *doc, view, {});
    EXPECT_TRUE(surface.texts(palette::kGrey).empty());
}

TEST(MultipletTools, AddDragsARangeAndSplitClicksOneWithoutLeavingTheFullView) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);
    doc->spectrum.ftInverse = 1;
    doc->spectrum.xUnits = kPpm;
    chooseRegionTool(view, Tool::MultipletAdd);
    EXPECT_EQ(drag(*doc, view, ui, 120, 300, 80, 420).request, ToolRequest::None);
    EXPECT_EQ(std::tuple(view.fullView, view.viewLeft, view.viewRight), std::tuple(1, 0.0, 1.0));

    chooseRegionTool(view, Tool::MultipletSplit);
    const std::size_t added = doc->multiplets.ranges.size();
    drag(*doc, view, ui, 100, 400, 100, 400);
    EXPECT_EQ(std::tuple(view.fullView, view.mouse.tool), std::tuple(1, Tool::MultipletSplit));

    // What the analysis makes of the ranges is its own; the tools hand it the ppm under the mouse.
    ASSERT_EQ(added, 1u);
    ASSERT_EQ(doc->multiplets.ranges.size(), 2u);
    EXPECT_NEAR(doc->multiplets.ranges[0].fromPpm, 9.2, 0.011);
    EXPECT_NEAR(doc->multiplets.ranges[1].toPpm, 8.8, 0.011);
    EXPECT_NEAR(doc->multiplets.ranges[0].toPpm, 9.0, 0.011);
}

}  // namespace
}  // namespace pelvaron::display
