// What peak picking and Measure J put on the plot: the tools' hand-over, the J cursors and the
// peak labels, which never overlap.
#include <gtest/gtest.h>

#include "analysis/peaks.h"
#include "display/j_cursors.h"
#include "display/paint.h"
#include "display/peak_labels.h"
#include "display/tools.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron::display {
namespace {

using Kind = testing::SurfaceCall::Kind;
using testing::drag;

TEST(AnalysisTools, APeakDragPicksAtTheReleaseHeightAndAsksForTheReport) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);  // one line of 50 at index 200, pixel 100
    chooseRegionTool(view, Tool::PeakPicking);
    // released 10 rows above the zero line: 50 * 10 / 75
    EXPECT_EQ(drag(*doc, view, ui, 50, 380, 150, 390).request, ToolRequest::PeakReport);
    EXPECT_EQ(std::pair(doc->peaks.peakCount, doc->peaks.peakList[0].index), std::pair(1, 200));
    EXPECT_NEAR(doc->peaks.peakThreshold, 50.0 * 10 / 75, 1e-12);
    EXPECT_EQ(std::pair(doc->peaks.peakRegionFirst[0], doc->peaks.peakRegionLast[0]), std::pair(100, 300));
}

TEST(AnalysisTools, JCursorsAreDrawnWhereClickedWithAlternatingLabels) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);
    chooseMeasureJ(*doc, view, ui);
    EXPECT_EQ(std::tuple(view.mouse.tool, rubberBandOf(view.mouse.tool), doc->jState.jShown),
              std::tuple(Tool::MeasureJ, RubberBand::VerticalLine, 1));
    for (const int x : {100, 130}) drag(*doc, view, ui, x, 400, x, 410);
    EXPECT_EQ(doc->jState.jLines, std::vector<std::string>{"J 0-1=30.00"});

    view.viewLeft = 0.05;  // zoomed twice from pixel 50: index 200 lies at pixel 100
    view.viewZoom = 2.0;
    testing::RecordingSurface surface;
    drawJCursors(surface, *doc, view);
    const auto lines = surface.of(Kind::Line);
    const auto texts = surface.of(Kind::Text);
    ASSERT_EQ(lines.size() + 10 * texts.size(), 22u);  // two lines, two labels
    EXPECT_EQ(lines[1].points, (std::vector<platform::Point>{{160, 5}, {160, 735}}));
    EXPECT_EQ(std::tuple(texts[0].text, texts[0].points[0], texts[1].text, texts[1].points[0]),
              std::tuple("0", platform::Point{97, 50}, "1", platform::Point{157, 90}));
}

TEST(PeakLabels, EachLabelShowsItsPpmOverItsPeakAndNoneOverlapsAnother) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);
    doc->spectrum.specData[272] = 40.0;  // 36 pixels on: its text would come within 4 pixels of the first's
    ASSERT_TRUE(analysis::pickPeaksInRegion(*doc, ui, 100, 300, 5.0));
    testing::RecordingSurface surface;
    const PeakLabelView labelView = mainPeakLabelView(doc->spectrum, view);
    auto labels = drawPeakLabels(surface, *doc, labelView);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(std::tuple(labels[1].text, labels[1].row), std::tuple("8.640", 1));
    // Point 100 lies at (1000 - 100) / 100 ppm; 35 pixels of text centred on pixel 100, the tick
    // from below the text to 3 rows above the peak (row 400 - 75).
    EXPECT_EQ(std::tuple(labels[0].text, labels[0].at, labels[0].tickTop, labels[0].tickBottom),
              std::tuple("9.000", platform::Point{83, 33}, 50, 322));
    EXPECT_EQ(surface.texts(palette::kBlack), (std::vector<std::string>{"9.000", "8.640"}));
    doc->peaks.peakLabelsShown = 0;
    EXPECT_TRUE(drawPeakLabels(surface, *doc, labelView).empty());

    // Thirty lines four pixels apart, falling in height: the tallest first, stacked in rows, the
    // rest thinned.
    doc->spectrum.specData.fill(0.0, doc->spectrum.nData);
    for (int j = 0; j < 30; ++j) doc->spectrum.specData[200 + 8 * j] = 40.0 - j;
    doc->spectrum.peakValue = findPeak(doc->spectrum);
    doc->peaks.peakCount = doc->peaks.peakRegionCount = 0;
    ASSERT_TRUE(analysis::pickPeaksInRegion(*doc, ui, 100, 600, 5.0));
    ASSERT_EQ(doc->peaks.peakCount, 30);
    labels = placePeakLabels(*doc, surface, mainPeakLabelView(doc->spectrum, view));
    ASSERT_GT(labels.size(), 3u);
    EXPECT_LT(labels.size(), 30u);
    EXPECT_EQ(std::tuple(labels[0].text, labels[0].row), std::tuple("9.000", 0));
    int lowerRows = 0;
    for (const PeakLabel& a : labels) {
        lowerRows += a.row > 0;
        EXPECT_EQ((a.x - 100) % 4, 0) << a.text;  // on a peak
        for (const PeakLabel& b : labels) {
            if (&a == &b) continue;
            if (a.row == b.row) {
                // four pixels kept free between them
                EXPECT_TRUE(a.at.x + a.width + 4 <= b.at.x || b.at.x + b.width + 4 <= a.at.x) << a.text;
            } else if (a.row < b.row) {  // a tick of a row above never crosses a text below it
                EXPECT_TRUE(a.x < b.at.x || a.x > b.at.x + b.width) << a.text << " " << b.text;
            }
        }
    }
    EXPECT_GT(lowerRows, 0);
}

}  // namespace
}  // namespace pelvaron::display
