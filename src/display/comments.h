// The comment boxes laid over the plot: the list kept sorted by bottom edge, hit test,
// selection, dragging, deletion, and their drawing.
#pragma once

#include <string>
#include <string_view>

#include "document/document.h"
#include "platform/surface.h"

namespace pelvaron::display {

/// Longest comment text kept, characters (the edit box holds 2048 with its terminator).
inline constexpr std::size_t kMaxCommentChars = 2047;

/// Inserts a box before the first one whose bottom is greater than or equal to its own, or at
/// the end; the text is cut to kMaxCommentChars. The selection keeps pointing at the same box.
/// Returns the index of the new box.
int insertComment(CommentList& list, const Rect& rect, std::string_view text);

/// Index of the first box in list order containing (x, y) (left/top inclusive, right/bottom
/// exclusive), or -1.
[[nodiscard]] int hitComment(const CommentList& list, int x, int y);

/// Moves box `index` so that its top-left corner is (x, y) and its size is `extent`. The list
/// order is not changed. An index outside the list does nothing.
void moveComment(CommentList& list, int index, int x, int y, platform::TextExtent extent);

/// Removes the selected box, if any; nothing is selected afterwards. Returns whether one was
/// removed.
bool deleteSelectedComment(CommentList& list);

/// The text the Insert Comments dialog starts with: the last JCAMP-DX title read, or empty.
[[nodiscard]] std::string commentDialogInitialText(const Document& doc);

/// OK of the Insert Comments dialog: a box with its top-left corner at (x, y) (the dialog's own
/// corner, in plot pixels) and the size of its text in the dialog's font; an overlay notice.
void acceptCommentDialog(Document& doc, int x, int y, std::string_view text, platform::TextExtent extent);

/// Draws every box in list order. With both scales 1.0 the text goes at the stored corner in
/// the surface's current font and the selected box is framed first with the current pen; with other scales
/// (printing) the corner is scaled by scaleX and scaleY * 1.175 and a font of 10 * scaleY * 1.175 pixels
/// "Arial" is selected. Line breaks in a text start new lines one line height lower.
void drawComments(platform::Surface& surface, const CommentList& list, double scaleX, double scaleY);

}  // namespace pelvaron::display
