// The expansion windows' slots and mouse; their painting is in tests/output/real_drawing_test.cpp.
#include <gtest/gtest.h>

#include "display/expansions.h"
#include "display_fixture.h"

namespace pelvaron::testing {
namespace {

using display::ExpansionMouse;

constexpr int kW = 200, kH = 120;

const display::ExpansionSlot& slot0(const display::View& view) { return view.expansions.windows[0]; }

TEST(Expansions, SlotStartsFromTheZoomedViewAndRightClickShowsAll) {
    RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);  // 2000 doubles over AQ = 1 s
    view.viewLeft = 0.2505;                      // index 501: made even, the span taken before
    view.viewRight = 0.7503;                     // 1500.6 -> 1500
    view.vScale = 90.0;
    ASSERT_EQ(display::claimExpansionSlot(view, ui), 0);
    display::initExpansionSlot(*doc, view, 0, kW, kH);
    const display::ExpansionSlot& e = slot0(view);
    EXPECT_EQ(std::tuple(e.expLeftIndex, e.expRightIndex, e.expSpan, e.expVScale, e.expIntegralY),
              std::tuple(500, 1500, 999, 90.0, kH / 2));
    EXPECT_EQ(e.expBaselineHandle, (Rect{0, kH - 36, kW, kH - 30}));
    EXPECT_EQ(e.expPlotRect, (Rect{0, 0, kW, kH - 21}));

    EXPECT_TRUE(display::expansionRightButton(*doc, view, 0).repaint);
    EXPECT_EQ(std::tuple(e.expLeftIndex, e.expRightIndex, e.expSpan), std::tuple(0, 2000, 2000));
}

TEST(Expansions, DragZoomsHandleAndShiftMoveLinesAndOnePointIsRefused) {
    RecordingUserInterface ui;
    auto doc = makeDocument(ui);
    auto view = testing::makeView(*doc);  // a plain variable: the lambda below captures it
    ASSERT_EQ(display::claimExpansionSlot(view, ui), 0);
    display::initExpansionSlot(*doc, view, 0, kW, kH);
    const display::ExpansionSlot& e = slot0(view);
    ExpansionMouse mouse;
    auto dragX = [&](int x0, int x1) {
        display::expansionButtonDown(view, mouse, 0, x0, 20);
        const auto move = display::expansionMouseMove(view, mouse, 0, x1, 40);
        display::expansionButtonUp(view, ui, mouse, 0, x1, 40);
        return move;
    };

    // Released right to left: columns 50 .. 150 of 2000 doubles over 200 columns.
    const auto rubber = dragX(150, 50);
    EXPECT_EQ(std::tuple(rubber.showRubber, rubber.x0, e.expLeftIndex, e.expRightIndex, e.expSpan),
              std::tuple(true, 150, 500, 1500, 1000));

    // A click without a drag shows the message and keeps the region.
    dragX(70, 70);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption + ": " + ui.messages[0].text, "Error: You cannot expand 1 point");
    EXPECT_EQ(e.expSpan, 1000);
    // Zooming on, the region narrows below one pixel per index and still zooms.
    for (int k = 0; k < 3; ++k) dragX(50, 150);
    EXPECT_EQ(std::pair(e.expLeftIndex, e.expRightIndex), std::pair(936, 1062));
    // One point left: a drag whose even rounding would leave none is refused as the click is.
    display::ExpansionSlot& narrow = view.expansions.windows[0];
    narrow.expLeftIndex = 998, narrow.expRightIndex = 1000, narrow.expSpan = 2;
    dragX(10, 50);
    EXPECT_EQ(std::pair(ui.messageTexts().back(), e.expRightIndex - e.expLeftIndex),
              std::pair(std::string("You cannot expand 1 point"), 2));

    // The handle: a press inside it drags it, and its release zooms nothing.
    const int span = e.expSpan;
    const std::size_t before = ui.messages.size();
    display::expansionButtonDown(view, mouse, 0, 30, kH - 33);
    EXPECT_EQ(display::expansionMouseMove(view, mouse, 0, 80, 50).cursor, display::ExpansionCursor::Handle);
    display::expansionButtonUp(view, ui, mouse, 0, 80, 50);
    EXPECT_EQ(std::tuple(e.expBaselineHandle, e.expSpan, ui.messages.size()),
              std::tuple(Rect{0, 47, kW, 53}, span, before));

    // Shift held: the mouse carries the integral row.
    display::expansionShiftKey(mouse, true);
    EXPECT_EQ(display::expansionMouseMove(view, mouse, 0, 10, 77).cursor,
              display::ExpansionCursor::IntegralMove);
    EXPECT_EQ(e.expIntegralY, 77);
    display::expansionShiftKey(mouse, false);
    display::expansionMouseMove(view, mouse, 0, 10, 20);
    EXPECT_EQ(e.expIntegralY, 77);
}

}  // namespace
}  // namespace pelvaron::testing
