// The mouse tools: zoom arithmetic (inside a zoom, after a pan, from the overview band, from Set
// limits), scroll bars, rubber bands and where a press lands, region picks, the cursor; the Set
// limits dialog's texts and the limits it refuses (the commands enter and cancel them).
#include "display/tools.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "display/set_limits_dialog.h"
#include "display_fixture.h"

namespace pelvaron {
namespace {

using display::Overlay;
using display::ScrollCode;
using display::ToolCursor;

// W = 1000 pixels, H = 800 (overview band rows 0 .. 200), nData = 2000, AQ = 1 s: pixel x of
// the full view is t = x / 1000.
struct Plot {
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> owner = testing::makeDocument(ui);
    Document& d = *owner;
    display::View v = testing::makeView(d);

    display::ToolFeedback drag(int x0, int y0, int x1, int y1) {
        return testing::drag(d, v, ui, x0, y0, x1, y1);
    }
    void zoom(int x0, int x1) {
        display::chooseZoom(v);
        v.dualZoom = 0;
        drag(x0, 500, x1, 600);
    }
    void tool(display::Tool t) { v.mouse.tool = t; }
    bool scroll(ScrollCode code, int thumb = 0) { return display::horizontalScroll(d, v, code, thumb); }
    void expectView(const char* step, double left, double right, int scrollPos = -1) {
        EXPECT_DOUBLE_EQ(v.viewLeft, left) << step;
        EXPECT_DOUBLE_EQ(v.viewRight, right) << step;
        EXPECT_DOUBLE_EQ(v.viewZoom, 1.0 / std::max(right - left, 1e-4)) << step;
        EXPECT_TRUE(scrollPos < 0 || v.hScrollPos == scrollPos) << step << ": " << v.hScrollPos;
    }
};

TEST(Tools, EachZoomIsRelativeToThePresentView) {
    Plot p;
    p.zoom(100, 300);
    p.expectView("one zoom", 0.1, 0.3, 200);
    p.zoom(500, 1500);  // the right end is clamped to the last pixel, 999
    p.expectView("inside a zoom", 0.2, 0.2998, 400);
    display::viewFull(p.d, p.v);
    p.zoom(100, 300);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(p.scroll(ScrollCode::LineRight));
    p.expectView("three line steps of 10 indices", 0.115, 0.315, 230);
    p.zoom(0, 500);
    p.zoom(0, 500);
    p.expectView("after a pan, which counts once", 0.115, 0.165);
    p.scroll(ScrollCode::PageRight);
    display::viewFull(p.d, p.v);
    p.zoom(100, 300);
    p.expectView("the full view forgets a pan", 0.1, 0.3);
    // From the overview band (its last row included) onto the whole data; leaving the band
    // keeps the drag's reading. The next zoom below the band is relative to that view.
    p.v.dualZoom = 1;
    EXPECT_EQ(display::leftButtonDown(p.d, p.v, p.ui, 400, 200, {}).cursor, ToolCursor::OverviewZoom);
    display::mouseMove(p.d, p.v, p.ui, 600, 300);
    display::leftButtonUp(p.d, p.v, p.ui);
    p.expectView("the overview band", 0.4, 0.6, 800);
    EXPECT_EQ(p.drag(0, 201, 500, 500).cursor, ToolCursor::Zoom);
    p.expectView("below the band", 0.4, 0.5);
    p.v.tools.anchorX = 250;
    p.v.tools.dragX = 500;
    p.v.viewLeft = 0.25;
    p.v.viewRight = 0.5;
    display::applyLimitsAsZoom(p.d, p.v, p.ui);
    p.expectView("Set limits", 0.25, 0.5, 500);
    EXPECT_EQ(p.v.mouse.tool, display::Tool::None);
    p.zoom(0, 500);
    p.expectView("relative to the limits", 0.25, 0.375);
    display::viewFull(p.d, p.v);
    p.zoom(250, 250);
    p.expectView("moved only vertically", 0.25, 0.25);
}

TEST(Tools, ScrollingPansOnlyAZoomedViewAndStaysInsideTheData) {
    Plot p;
    EXPECT_FALSE(p.scroll(ScrollCode::PageRight));
    p.zoom(100, 300);
    EXPECT_EQ(p.v.hScrollRange, 1600);
    EXPECT_TRUE(p.scroll(ScrollCode::PageLeft));
    EXPECT_EQ(p.v.hScrollPos, 150);
    EXPECT_TRUE(p.scroll(ScrollCode::Thumb, -40));
    EXPECT_EQ(p.v.hScrollPos, 0);
    EXPECT_NEAR(p.v.viewLeft, 0.0, 1e-12);
    EXPECT_FALSE(p.scroll(ScrollCode::LineLeft));
    EXPECT_TRUE(p.scroll(ScrollCode::Thumb, 5000));
    EXPECT_EQ(p.v.hScrollPos, 1600);
    EXPECT_NEAR(p.v.viewRight, 1.0, 1e-12);
    EXPECT_FALSE(p.scroll(ScrollCode::Other));
    // A region tool leaves the full view without zooming: the scroll bar must not carry the
    // view past the end of the data.
    display::viewFull(p.d, p.v);
    p.tool(display::Tool::Suppress);
    p.drag(100, 400, 200, 450);
    EXPECT_EQ(p.v.fullView, 0);
    EXPECT_FALSE(p.scroll(ScrollCode::PageRight));
    EXPECT_DOUBLE_EQ(p.v.viewRight, 1.0);
}

TEST(Tools, RubberBandsStayInsideTheClientAreaAndActOnRelease) {
    Plot p;
    display::chooseZoom(p.v);
    display::leftButtonDown(p.d, p.v, p.ui, 100, 400, {});  // released without movement: nothing
    EXPECT_EQ(display::leftButtonUp(p.d, p.v, p.ui).overlay.shape, Overlay::Shape::None);
    EXPECT_EQ(std::pair(p.v.fullView, p.v.tools.dragging), std::pair(1, 0));
    display::leftButtonDown(p.d, p.v, p.ui, 1200, 400, {});  // beyond the right edge: the last pixel
    EXPECT_EQ(display::mouseMove(p.d, p.v, p.ui, 1300, -30).overlay,
              (Overlay{Overlay::Shape::Rectangle, 999, 400, 999, 0}));
    EXPECT_EQ(display::mouseMove(p.d, p.v, p.ui, 50, 900).overlay,
              (Overlay{Overlay::Shape::Rectangle, 999, 400, 50, 799}));
    EXPECT_EQ(display::leftButtonUp(p.d, p.v, p.ui).overlay.shape, Overlay::Shape::None);
    p.expectView("zoom", 0.05, 0.999);

    // Move Spectrum: a horizontal line, the baseline set on each drag.
    display::chooseMoveSpectrum(p.v);
    EXPECT_EQ(display::cursorFor(p.v), ToolCursor::MoveSpectrum);
    display::leftButtonDown(p.d, p.v, p.ui, 10, 400, {});
    EXPECT_EQ(display::mouseMove(p.d, p.v, p.ui, 10, 250).overlay,
              (Overlay{Overlay::Shape::HorizontalLine, 0, 250, 1000, 250}));
    display::leftButtonUp(p.d, p.v, p.ui);
    EXPECT_EQ(p.v.baselineY, 250);
    p.drag(10, 250, 10, 600);
    EXPECT_EQ(p.v.baselineY, 600);

    // The J tool: a vertical line, acted on at release, on the real part at or before the pixel
    // (with the view moved by 1.5 indices, pixel 320 is index 641.5: the cursor is at 640).
    p.tool(display::Tool::MeasureJ);
    p.v.viewLeft = 0.00075;
    p.v.viewZoom = 1.0;
    display::leftButtonDown(p.d, p.v, p.ui, 300, 400, {});
    EXPECT_EQ(display::mouseMove(p.d, p.v, p.ui, 320, 410).overlay,
              (Overlay{Overlay::Shape::VerticalLine, 320, 29, 320, 735}));
    testing::RecordingObserver seen(p.d);
    display::leftButtonUp(p.d, p.v, p.ui);
    EXPECT_EQ(seen.take(), kOverlaysChanged | kViewChanged);
    EXPECT_EQ(std::pair(p.d.jState.jCursorCount, p.d.jState.jCursorPos[0]), std::pair(1, 640));
}

TEST(Tools, RegionAndReferencePicksLandOnTheirPoints) {
    Plot p;
    p.tool(display::Tool::Suppress);
    EXPECT_EQ(p.drag(333, 400, 101, 300).request, display::ToolRequest::SuppressDialog);
    // Pixel 101 is point 101, lowered to 100; pixel 333 is point 333, lowered to 332.
    EXPECT_EQ(std::pair(p.v.tools.suppressFrom, p.v.tools.suppressTo), std::pair(200, 664));

    p.tool(display::Tool::ReferencePick);
    EXPECT_EQ(display::leftButtonDown(p.d, p.v, p.ui, 101, 400, {}).request, display::ToolRequest::None);
    EXPECT_EQ(p.ui.messages.size(), 1u);  // the units must be Hz or ppm
    p.d.spectrum.xUnits = kPpm;
    EXPECT_EQ(display::leftButtonDown(p.d, p.v, p.ui, 101, 400, {}).request,
              display::ToolRequest::ReferenceDialog);
    EXPECT_DOUBLE_EQ(p.v.tools.referencePickT, 0.101);
    EXPECT_EQ(std::pair(p.v.tools.referencePickIndex, p.v.tools.dragging), std::pair(202, 0));
}

TEST(Tools, CursorFollowsTheToolTheBandAndTheOverrides) {
    Plot p;
    EXPECT_EQ(display::cursorFor(p.v), ToolCursor::Arrow);
    EXPECT_TRUE(display::chooseZoom(p.v));  // the first zoom turns the dual display on, once
    EXPECT_EQ(p.v.dualZoom, 1);             // the band's cursor is checked with the zoom
    p.v.dualZoom = 0;
    EXPECT_FALSE(display::chooseZoom(p.v));
    EXPECT_EQ(p.v.dualZoom, 0);
    p.tool(display::Tool::ReferencePick);
    EXPECT_EQ(display::cursorFor(p.v), ToolCursor::Reference);
    p.v.mouse.baselinePick = true;
    EXPECT_EQ(display::cursorFor(p.v), ToolCursor::BaselinePick);
}

TEST(SetLimitsDialog, OpensInThePresentUnitAndRefusesLimitsBeyondEitherEndOfTheData) {
    // 400 MHz, 4000 Hz = 10 ppm wide, right end at -0.5 ppm: the full view runs 9.5 .. -0.5 ppm.
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui, {.sw = 4000.0, .sf = 400.0, .offsetHz = -200.0});
    for (const auto& [unit, from, to] : {std::tuple{kHz, "3800.000", "-200.000"},
                                         {kPoints, "0", "1000"},
                                         {kSeconds, "0.000", "0.250"},
                                         {kPpm, "9.500", "-0.500"}}) {
        doc->spectrum.xUnits = unit;
        const display::SetLimitsDialog dialog(*doc, view);
        EXPECT_EQ(dialog.fromText(), from) << unit;
        EXPECT_EQ(dialog.toText(), to) << unit;
    }
    display::SetLimitsDialog dialog(*doc, view);
    // Left of 9.5 ppm is before t = 0; right of -0.5 ppm is after AQ.
    for (const auto& [from, to] : {std::pair{"12", "3"}, std::pair{"3", "-1"}}) {
        dialog.setFromText(from);
        dialog.setToText(to);
        EXPECT_FALSE(dialog.ok(*doc, view, ui)) << from << " " << to;
        EXPECT_DOUBLE_EQ(view.viewRight, 0.25);  // refused limits are not kept
    }
    dialog.setToText("not a number");  // reads as 0 ppm: inside
    EXPECT_TRUE(dialog.ok(*doc, view, ui));
    EXPECT_DOUBLE_EQ(view.viewLeft, 0.1625);
    EXPECT_DOUBLE_EQ(view.viewRight, 0.2375);
}

}  // namespace
}  // namespace pelvaron
