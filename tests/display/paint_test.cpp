// The layer order of the whole plot and the scale of the main trace.
#include "display/paint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "display/comments.h"
#include "display/tools.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using testing::RecordingSurface;
using testing::SurfaceCall;
using Kind = SurfaceCall::Kind;

/// The main trace: the first polyline drawn with the trace pen below the overview band.
SurfaceCall mainTrace(const RecordingSurface& s) {
    for (const auto& c : s.of(Kind::Polyline)) {
        if (c.pen == display::palette::kTracePen) return c;
    }
    return {};
}

std::size_t firstIndex(const RecordingSurface& s, auto predicate) {
    for (std::size_t i = 0; i < s.calls.size(); ++i) {
        if (predicate(s.calls[i])) return i;
    }
    return s.calls.size();
}

TEST(Paint, WithoutADocumentOnlyTheBackground) {
    Document doc;
    RecordingSurface s(1920, 1080);
    display::paintDocument(s, doc, {});
    const auto fills = s.of(Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(fills[0].color, display::palette::kWhite);
    EXPECT_TRUE(s.of(Kind::Polyline).empty());
}

TEST(Paint, LayersComeInOrderBackgroundTraceOverviewAxisComments) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    doc->dualZoom = 1;
    display::insertComment(doc->comments, Rect{10, 300, 90, 316}, "note");
    doc->comments.selected = 0;
    RecordingSurface s;
    display::paintDocument(s, *doc, {.screenHeight = 1000});

    const auto background = firstIndex(s, [](const SurfaceCall& c) { return c.kind == Kind::FillRect; });
    const auto trace = firstIndex(s, [](const SurfaceCall& c) { return c.kind == Kind::Polyline; });
    const auto band = firstIndex(s, [&](const SurfaceCall& c) {
        return c.kind == Kind::FillRect && c.rect == Rect{0, 0, 1000, 200};
    });
    const auto axis =
        firstIndex(s, [](const SurfaceCall& c) { return c.kind == Kind::FillRect && c.rect.top == 709; });
    const auto frame = firstIndex(s, [](const SurfaceCall& c) { return c.kind == Kind::Rect; });
    const auto comment =
        firstIndex(s, [](const SurfaceCall& c) { return c.kind == Kind::Text && c.text == "note"; });
    EXPECT_EQ(background, 0u);
    EXPECT_LT(background, trace);
    EXPECT_LT(trace, band);
    EXPECT_LT(band, axis);
    EXPECT_LT(axis, frame);
    EXPECT_LT(frame, comment);
    ASSERT_LT(comment, s.calls.size());
    EXPECT_EQ(s.calls[comment].points[0], (platform::Point{10, 300}));
    // The overview's trace is the whole data, scaled into the band.
    const auto polylines = s.of(Kind::Polyline);
    ASSERT_EQ(polylines.size(), 2u);
    for (const auto& p : polylines[1].points) {
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, 200);
    }
}

TEST(Paint, MainTraceIsScaledByThePeakAndTinyDataByOne) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    RecordingSurface s;
    display::paintDocument(s, *doc, {});
    // The peak (50 at point 100) rises vScale = 75 pixels above baselineY = 400.
    const auto trace = mainTrace(s);
    ASSERT_EQ(trace.points.size(), 1000u);
    EXPECT_EQ(trace.points[100], (platform::Point{100, 325}));
    EXPECT_EQ(trace.points[99], (platform::Point{99, 400}));

    // Values all below 1e-7: maxAbs is 1.0, so they stay on the baseline instead of filling it.
    for (int i = 0; i < doc->nData; i += 2) doc->specData[i] = (i % 4 == 0) ? 5e-8 : -5e-8;
    doc->peakValue = findPeak(*doc);
    RecordingSurface tiny;
    display::paintDocument(tiny, *doc, {});
    for (const auto& p : mainTrace(tiny).points) EXPECT_TRUE(p.y == 399 || p.y == 400) << p.y;
}

TEST(Paint, ZoomedViewDrawsOnlyItsPointsAndHighlightsTheOverview) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    doc->dualZoom = 1;
    doc->tools.anchorX = 100;
    doc->tools.dragX = 300;
    display::applyToolResult(*doc, ui, display::kZoomTool);
    RecordingSurface s;
    display::paintDocument(s, *doc, {});
    const auto trace = mainTrace(s);
    ASSERT_EQ(trace.points.size(), 200u);  // indices 200 .. 598
    EXPECT_EQ(trace.points.front().x, 0);
    EXPECT_EQ(trace.points.back().x, 995);
    const auto fills = s.of(Kind::FillRect);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [](const SurfaceCall& c) {
        return c.rect == Rect{100, 0, 300, 200} && c.color == display::palette::kHighlight;
    }));
}

TEST(Paint, ViewBeyondTheDataDrawsOnlyTheData) {
    testing::RecordingUserInterface ui;
    auto doc = testing::makeDocument(ui);
    doc->fullView = 0;
    doc->viewLeft = -0.5;
    doc->viewRight = 2.0;  // AQ is 1 s
    doc->viewZoom = computeViewZoom(doc->acqPars.AQ, doc->viewLeft, doc->viewRight);
    RecordingSurface s;
    display::paintDocument(s, *doc, {});
    EXPECT_EQ(mainTrace(s).points.size(), 1000u);
}

}  // namespace
}  // namespace pelvaron
