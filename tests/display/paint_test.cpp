// The whole plot: the layer order, the scale of the main trace and the part of the data a view
// draws.
#include "display/paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "analysis/integrals.h"
#include "analysis/j_measure.h"
#include "analysis/peaks.h"
#include "display/comments.h"
#include "display/tool_actions.h"
#include "display/tools.h"
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

TEST_F(Paint, LayersComeInOrderBackgroundTraceOverviewAxisComments) {
    view.dualZoom = 1;
    display::insertComment(doc->comments, Rect{10, 300, 90, 316}, "note");
    doc->comments.selected = 0;
    RecordingSurface s;
    display::paintDocument(s, *doc, view, {.screenHeight = 1000});
    const auto first = [&](auto predicate) {
        return static_cast<std::size_t>(std::find_if(s.calls.begin(), s.calls.end(), predicate) -
                                        s.calls.begin());
    };
    const std::size_t layers[] = {
        first([](const SurfaceCall& c) { return c.kind == Kind::FillRect; }),  // background
        first([](const SurfaceCall& c) { return c.kind == Kind::Polyline; }),  // trace
        first([](const SurfaceCall& c) {
            return c.kind == Kind::FillRect && c.rect == Rect{0, 0, 1000, 200};
        }),
        first([](const SurfaceCall& c) { return c.kind == Kind::FillRect && c.rect.top == 709; }),  // axis
        first([](const SurfaceCall& c) { return c.kind == Kind::Rect; }),                           // frame
        first([](const SurfaceCall& c) { return c.kind == Kind::Text && c.text == "note"; }),
    };
    EXPECT_EQ(layers[0], 0u);
    for (std::size_t k = 1; k < std::size(layers); ++k) EXPECT_LT(layers[k - 1], layers[k]) << "layer " << k;
    ASSERT_LT(layers[5], s.calls.size());
    // The overview's trace is the whole data, scaled into the band.
    const auto overview = s.of(Kind::Polyline).at(1).points;
    EXPECT_EQ(overview.size(), 1000u);
    for (const auto& p : overview) EXPECT_TRUE(p.y >= 0 && p.y <= 200) << p.y;
}

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

TEST_F(Paint, AViewDrawsOnlyItsPartOfTheData) {
    // Zoomed to indices 200 .. 598: the overview highlights the view.
    view.dualZoom = 1;
    view.tools.anchorX = 100;
    view.tools.dragX = 300;
    display::applyToolResult(*doc, view, ui, display::Tool::Zoom);
    const auto trace = mainTrace(*doc, view);
    ASSERT_EQ(trace.size(), 200u);
    EXPECT_EQ(trace.front().x, 0);
    EXPECT_EQ(trace.back().x, 995);
    RecordingSurface s;
    display::paintDocument(s, *doc, view, {});
    const auto fills = s.of(Kind::FillRect);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [](const SurfaceCall& c) {
        return c.rect == Rect{100, 0, 300, 200} && c.color == display::palette::kHighlight;
    }));

    // A view beyond the data (AQ is 1 s) draws only the data.
    view.viewLeft = -0.5;
    view.viewRight = 2.0;
    view.viewZoom = display::computeViewZoom(doc->spectrum.acqPars.AQ, view.viewLeft, view.viewRight);
    EXPECT_EQ(mainTrace(*doc, view).size(), 1000u);
}

}  // namespace
}  // namespace pelvaron
