// The mouse tools: zoom arithmetic (inside a zoom, after a pan, from the overview band, from Set
// limits), rubber bands, Move Spectrum, region picks, scroll bars and keys.
#include "display/tools.h"

#include <gtest/gtest.h>

#include "display_fixture.h"

namespace pelvaron {
namespace {

using display::Overlay;
using display::ScrollCode;

// W = 1000 pixels, nData = 2000, AQ = 1 s: pixel x of the full view is t = x / 1000.
class Tools : public ::testing::Test {
protected:
    testing::RecordingUserInterface ui;
    std::unique_ptr<Document> doc = testing::makeDocument(ui);

    display::ToolFeedback drag(int x0, int y0, int x1, int y1) {
        display::leftButtonDown(*doc, ui, x0, y0, {});
        display::mouseMove(*doc, ui, x1, y1);
        return display::leftButtonUp(*doc, ui);
    }
    void zoom(int x0, int x1, int y = 500) {
        display::chooseZoom(*doc);
        doc->dualZoom = 0;
        drag(x0, y, x1, y + 100);
    }
    void regionTool(int mode, int shape) {
        doc->toolActive = 1;
        doc->toolMode = mode;
        doc->rubberShape = shape;
    }
    bool scroll(ScrollCode code, int thumb = 0) { return display::horizontalScroll(*doc, ui, code, thumb); }
    /// The view in seconds and, when given, the scroll position.
    void expectView(double left, double right, int scrollPos = -1) {
        EXPECT_DOUBLE_EQ(doc->viewLeft, left);
        EXPECT_DOUBLE_EQ(doc->viewRight, right);
        if (scrollPos >= 0) {
            EXPECT_EQ(doc->hScrollPos, scrollPos);
        }
    }
};

TEST_F(Tools, ZoomInsideAZoomNarrowsThePresentView) {
    zoom(100, 300);
    expectView(0.1, 0.3, 200);
    EXPECT_DOUBLE_EQ(doc->viewZoom, 5.0);
    EXPECT_EQ(doc->fullView, 0);
    EXPECT_EQ(doc->hScrollRange, 1600);
    zoom(500, 1500);  // the right end is clamped to the last pixel, 999
    expectView(0.2, 0.2998, 400);
}

TEST_F(Tools, ZoomAfterAPanAccountsForThePanDistanceOnce) {
    zoom(100, 300);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(scroll(ScrollCode::LineRight));
    expectView(0.115, 0.315, 230);  // a line step moves both limits by 10 indices
    zoom(0, 500);
    expectView(0.115, 0.215);
    zoom(0, 500);  // relative to the new view only
    expectView(0.115, 0.165);
}

TEST_F(Tools, FullViewForgetsAnEarlierPan) {
    zoom(100, 300);
    scroll(ScrollCode::PageRight);
    display::viewFull(*doc, ui);
    EXPECT_EQ(doc->fullView, 1);
    EXPECT_DOUBLE_EQ(doc->viewZoom, 1.0);
    zoom(100, 300);
    expectView(0.1, 0.3);
}

TEST_F(Tools, ScrollingPansOnlyAZoomedViewAndStaysInsideTheData) {
    EXPECT_FALSE(scroll(ScrollCode::PageRight));
    EXPECT_DOUBLE_EQ(doc->viewLeft, 0.0);

    zoom(100, 300);
    EXPECT_TRUE(scroll(ScrollCode::PageLeft));
    EXPECT_EQ(doc->hScrollPos, 150);
    EXPECT_TRUE(scroll(ScrollCode::Thumb, -40));
    EXPECT_EQ(doc->hScrollPos, 0);
    EXPECT_NEAR(doc->viewLeft, 0.0, 1e-12);
    EXPECT_FALSE(scroll(ScrollCode::LineLeft));
    EXPECT_TRUE(scroll(ScrollCode::Thumb, 5000));
    EXPECT_EQ(doc->hScrollPos, 1600);
    EXPECT_NEAR(doc->viewRight, 1.0, 1e-12);
    EXPECT_FALSE(scroll(ScrollCode::Other));

    // A region tool leaves the full view without zooming: the scroll bar must not carry the
    // view past the end of the data.
    display::viewFull(*doc, ui);
    regionTool(display::kSuppressTool, display::kShapeRectangle);
    drag(100, 400, 200, 450);
    EXPECT_EQ(doc->fullView, 0);
    EXPECT_FALSE(scroll(ScrollCode::PageRight));
    EXPECT_DOUBLE_EQ(doc->viewRight, 1.0);
}

TEST_F(Tools, ZoomFromTheOverviewBandMapsOntoTheWholeData) {
    zoom(100, 300);
    doc->dualZoom = 1;  // band: rows 0 .. 200
    EXPECT_EQ(display::leftButtonDown(*doc, ui, 400, 50, {}).cursor, display::ToolCursor::OverviewZoom);
    display::mouseMove(*doc, ui, 600, 300);  // leaving the band keeps the drag's reading
    display::leftButtonUp(*doc, ui);
    expectView(0.4, 0.6, 800);
    // The next zoom below the band is relative to this view.
    EXPECT_EQ(drag(0, 400, 500, 500).cursor, display::ToolCursor::Zoom);
    expectView(0.4, 0.5);
}

TEST_F(Tools, RectangleToolReleasedWithoutMovementDoesNothing) {
    display::chooseZoom(*doc);
    const int repaints = ui.repaints;
    display::leftButtonDown(*doc, ui, 100, 400, {});
    EXPECT_EQ(display::leftButtonUp(*doc, ui).overlay.shape, Overlay::Shape::None);
    EXPECT_EQ(doc->fullView, 1);
    EXPECT_DOUBLE_EQ(doc->viewRight, 1.0);
    EXPECT_EQ(ui.repaints, repaints);
    EXPECT_EQ(doc->tools.dragging, 0);
}

TEST_F(Tools, DegenerateZoomKeepsAFiniteScale) {
    zoom(250, 250);  // moved only vertically
    expectView(0.25, 0.25);
    EXPECT_DOUBLE_EQ(doc->viewZoom, 1.0 / 1e-4);
}

TEST_F(Tools, RubberBandFollowsTheMouseClampedToTheClientArea) {
    display::chooseZoom(*doc);
    display::leftButtonDown(*doc, ui, 100, 400, {});
    EXPECT_EQ(display::mouseMove(*doc, ui, 1200, -30).overlay,
              (Overlay{Overlay::Shape::Rectangle, 100, 400, 999, 0}));
    EXPECT_EQ(display::mouseMove(*doc, ui, 50, 900).overlay,
              (Overlay{Overlay::Shape::Rectangle, 100, 400, 50, 799}));
    EXPECT_EQ(display::leftButtonUp(*doc, ui).overlay.shape, Overlay::Shape::None);
    expectView(0.05, 0.1);
}

TEST_F(Tools, MoveSpectrumSetsTheBaselineOnEachDrag) {
    display::chooseMoveSpectrum(*doc);
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::MoveSpectrum);
    display::leftButtonDown(*doc, ui, 10, 400, {});
    EXPECT_EQ(doc->toolMode, display::kMoveDragTool);
    EXPECT_EQ(display::mouseMove(*doc, ui, 10, 250).overlay,
              (Overlay{Overlay::Shape::HorizontalLine, 0, 250, 1000, 250}));
    display::leftButtonUp(*doc, ui);
    EXPECT_EQ(doc->baselineY, 250);
    drag(10, 250, 10, 600);
    EXPECT_EQ(doc->baselineY, 600);
    EXPECT_EQ(doc->toolMode, display::kMoveDragTool);
}

TEST_F(Tools, SuppressRegionIsOrderedOnMultiplesOfFour) {
    regionTool(display::kSuppressTool, display::kShapeRectangle);
    EXPECT_EQ(drag(333, 400, 101, 300).request, display::ToolRequest::SuppressDialog);
    // Pixel 101 is point 101, lowered to 100; pixel 333 is point 333, lowered to 332.
    EXPECT_EQ(doc->tools.suppressFrom, 200);
    EXPECT_EQ(doc->tools.suppressTo, 664);
}

TEST_F(Tools, JToolShowsAVerticalLineAndActsOnRelease) {
    regionTool(display::kMeasureJTool, display::kShapeVerticalLine);
    display::leftButtonDown(*doc, ui, 300, 400, {});
    const auto fb = display::mouseMove(*doc, ui, 320, 410);
    EXPECT_EQ(fb.overlay, (Overlay{Overlay::Shape::VerticalLine, 320, 29, 320, 735}));
    EXPECT_EQ(fb.cursor, display::ToolCursor::Arrow);
    const int repaints = ui.repaints;
    display::leftButtonUp(*doc, ui);
    EXPECT_GT(ui.repaints, repaints);
    EXPECT_EQ(doc->fullView, 0);
}

TEST_F(Tools, ReferencePickNeedsPpmOrHertz) {
    doc->referenceMode = 1;
    EXPECT_EQ(display::leftButtonDown(*doc, ui, 101, 400, {}).request, display::ToolRequest::None);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "To reference the units must be in Hertz or  ppm");
    EXPECT_EQ(ui.messages[0].caption, "Warning");

    doc->xUnits = kPpm;
    const auto fb = display::leftButtonDown(*doc, ui, 101, 400, {});
    EXPECT_EQ(fb.request, display::ToolRequest::ReferenceDialog);
    EXPECT_EQ(fb.cursor, display::ToolCursor::Reference);
    EXPECT_DOUBLE_EQ(doc->tools.referencePickT, 0.101);
    EXPECT_EQ(doc->tools.referencePickIndex, 202);
    EXPECT_EQ(doc->tools.dragging, 0);
}

TEST_F(Tools, CursorOverridesAndTheFirstZoomTurningDualDisplayOnOnce) {
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::Arrow);
    EXPECT_TRUE(display::chooseZoom(*doc));
    EXPECT_EQ(doc->dualZoom, 1);
    doc->dualZoom = 0;
    EXPECT_FALSE(display::chooseZoom(*doc));
    EXPECT_EQ(doc->dualZoom, 0);
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::Zoom);
    doc->referenceMode = 1;
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::Reference);
    doc->tools.baselinePickMode = 1;
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::BaselinePick);
    display::resetTool(*doc);
    doc->tools.baselinePickMode = 0;
    EXPECT_EQ(display::cursorFor(*doc), display::ToolCursor::Arrow);
}

TEST_F(Tools, ReadoutFollowsTheMouseToBothEdges) {
    const struct {
        int unit, x;
        const char* prefix;
    } cases[] = {{kHz, 1000, "Hertz 0.000     Int.="},
                 {kHz, 0, "Hertz 1000.000     Int.=0.000"},
                 {kPoints, 1000, "Point 1000     "},
                 {kPoints, 100, "Point 100     Int.=50.000"}};  // the real part, never the imaginary
    std::size_t moves = 0;
    for (const auto& c : cases) {
        doc->xUnits = c.unit;
        display::mouseMove(*doc, ui, c.x, 400);
        ASSERT_EQ(ui.statusTexts[1].size(), ++moves);
        EXPECT_EQ(ui.statusTexts[1].back().rfind(c.prefix, 0), 0u) << ui.statusTexts[1].back();
    }
    EXPECT_EQ(ui.statusTexts[1].back(), "Point 100     Int.=50.000");
}

TEST_F(Tools, SetLimitsAppliedAsAZoom) {
    doc->tools.anchorX = 250;
    doc->tools.dragX = 500;
    doc->viewLeft = 0.25;
    doc->viewRight = 0.5;
    display::chooseZoom(*doc);
    display::applyLimitsAsZoom(*doc, ui);
    expectView(0.25, 0.5, 500);
    EXPECT_DOUBLE_EQ(doc->viewZoom, 4.0);
    EXPECT_EQ(doc->tools.fromSetLimits, 0);
    EXPECT_EQ(doc->toolMode, kNoTool);
    zoom(0, 500);  // relative to the limits
    expectView(0.25, 0.375);
}

}  // namespace
}  // namespace pelvaron
