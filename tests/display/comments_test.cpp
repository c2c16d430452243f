// Comment boxes: order by bottom edge, hit test, drag with the mouse, deletion, drawing.
#include "display/comments.h"

#include <gtest/gtest.h>

#include "display/tools.h"
#include "display_fixture.h"
#include "recording_surface.h"

namespace pelvaron {
namespace {

using Kind = testing::SurfaceCall::Kind;

std::string order(const CommentList& list) {
    std::string out;
    for (const auto& box : list.boxes) out += box.text;
    return out;
}

Rect box(int left, int top, int bottom) { return Rect{left, top, left + 50, bottom}; }

TEST(CommentList, KeptInOrderOfBottomEdgesAndDeletedFromHeadMiddleAndTail) {
    CommentList list;
    for (const auto& [top, bottom, text] :
         {std::tuple{30, 50, "A"}, {0, 20, "B"}, {40, 50, "C"}, {10, 30, "D"}})
        display::insertComment(list, box(0, top, bottom), text);
    EXPECT_EQ(order(list), "BDCA");  // a new box goes before one with an equal bottom
    list.selected = 3;               // A: the selection follows its box
    EXPECT_EQ(display::insertComment(list, box(0, 0, 10), "E"), 0);
    EXPECT_EQ(list.boxes[static_cast<std::size_t>(list.selected)].text, "A");
    EXPECT_EQ(display::insertComment(list, box(0, 0, 99), std::string(3000, 'x')), 5);
    EXPECT_EQ(list.boxes.back().text.size(), display::kMaxCommentChars);
    for (const auto& [selected, left] : {std::pair{0, "BDCAx"}, {4, "BDCA"}, {1, "BCA"}}) {
        list.selected = selected;
        EXPECT_TRUE(display::deleteSelectedComment(list));
        EXPECT_EQ(order(list).substr(0, 5), left);
    }
    EXPECT_EQ(list.selected, -1);
    EXPECT_FALSE(display::deleteSelectedComment(list));  // nothing selected
    list.selected = 7;                                   // stale selection
    EXPECT_FALSE(display::deleteSelectedComment(list));
    EXPECT_EQ(order(list), "BCA");
}

TEST(CommentList, HitTestTakesTheFirstBoxInListOrder) {
    CommentList list;
    display::insertComment(list, Rect{0, 0, 100, 40}, "low");
    display::insertComment(list, Rect{50, 0, 150, 20}, "high");  // bottom 20 comes first
    // The left and top edges are inside, the right edge and the bottom outside.
    const int cases[][3] = {{60, 10, 0}, {0, 0, 1}, {99, 39, 1}, {100, 30, -1}, {10, 40, -1}};
    for (const auto& c : cases) EXPECT_EQ(display::hitComment(list, c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST(CommentList, ClickGrabsABoxThatFollowsTheMouseUntilRelease) {
    testing::RecordingUserInterface ui;
    auto [doc, view] = testing::makeLoaded(ui);
    display::insertComment(doc->comments, Rect{10, 100, 60, 116}, "first");
    display::insertComment(doc->comments, Rect{10, 500, 60, 516}, "second");
    display::chooseZoom(view);

    display::leftButtonDown(*doc, view, ui, 20, 505, {});
    // Grabbing a box drops the tool.
    EXPECT_EQ(std::tuple(doc->comments.selected, view.mouse.tool, view.tools.dragging),
              std::tuple(1, display::Tool::None, 0));
    display::mouseMove(*doc, view, ui, 200, 50);
    // The size is the text's extent: 6 characters of 8 pixels, 16 high; a drag does not reorder.
    EXPECT_EQ(doc->comments.boxes[1].rect, (Rect{200, 50, 248, 66}));
    EXPECT_EQ(order(doc->comments), "firstsecond");
    display::leftButtonUp(*doc, view, ui);
    display::mouseMove(*doc, view, ui, 300, 300);
    EXPECT_EQ(doc->comments.boxes[1].rect.left, 200);
}

TEST(CommentDrawing, ScreenFramesTheSelectionPrintingScalesAndSetsArial) {
    CommentList list;
    display::insertComment(list, Rect{10, 20, 60, 36}, "one\r\ntwo");
    list.selected = 0;
    testing::RecordingSurface screen, page;
    display::drawComments(screen, list, 1.0, 1.0);
    EXPECT_EQ(screen.of(Kind::Rect).at(0).rect, (Rect{10, 20, 60, 36}));
    EXPECT_EQ(screen.of(Kind::Text).at(1).text, "two");
    EXPECT_EQ(screen.of(Kind::Text).at(1).points[0], (platform::Point{10, 38}));  // one line (16 + 2) lower
    EXPECT_TRUE(screen.of(Kind::SetFont).empty());
    display::drawComments(page, list, 2.0, 4.0);
    EXPECT_TRUE(page.of(Kind::Rect).empty());
    EXPECT_EQ(page.of(Kind::SetFont).at(0).font, (platform::Font{"Arial", 47}));
    EXPECT_EQ(page.of(Kind::Text).at(0).points[0], (platform::Point{20, 94}));
}

}  // namespace
}  // namespace pelvaron
