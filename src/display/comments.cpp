// Comment boxes: a list kept in order of the boxes' bottom edges, and their drawing.
#include "display/comments.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"
#include "display/paint.h"

namespace pelvaron::display {

int insertComment(CommentList& list, const Rect& rect, std::string_view text) {
    auto at = std::find_if(list.boxes.begin(), list.boxes.end(),
                           [&](const CommentBox& box) { return box.rect.bottom >= rect.bottom; });
    const int index = static_cast<int>(at - list.boxes.begin());
    list.boxes.insert(at, CommentBox{rect, std::string(text.substr(0, kMaxCommentChars))});
    if (list.selected >= index) ++list.selected;
    return index;
}

int hitComment(const CommentList& list, int x, int y) {
    for (std::size_t i = 0; i < list.boxes.size(); ++i) {
        const Rect& r = list.boxes[i].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

void moveComment(CommentList& list, int index, int x, int y, platform::TextExtent extent) {
    if (index < 0 || index >= static_cast<int>(list.boxes.size())) return;
    list.boxes[static_cast<std::size_t>(index)].rect = Rect{x, y, x + extent.width, y + extent.height};
}

bool deleteSelectedComment(CommentList& list) {
    if (list.selected < 0 || list.selected >= static_cast<int>(list.boxes.size())) {
        list.selected = -1;
        return false;
    }
    list.boxes.erase(list.boxes.begin() + list.selected);
    list.selected = -1;
    return true;
}

std::string commentDialogInitialText(const Document& doc) {
    return doc.jcamp.lastJcampText.substr(0, kMaxCommentChars);
}

void acceptCommentDialog(Document& doc, int x, int y, std::string_view text, platform::TextExtent extent) {
    insertComment(doc.comments, Rect{x, y, x + extent.width, y + extent.height}, text);
    doc.notify(kOverlaysChanged);
}

void drawComments(platform::Surface& surface, const CommentList& list, double scaleX, double scaleY) {
    const bool screen = scaleX == 1.0 && scaleY == 1.0;
    const double s = screen ? scaleY : scaleY * 1.175;
    if (!screen) surface.setFont(platform::Font{"Arial", truncToInt(10.0 * s)});
    const platform::TextMetrics tm = surface.textMetrics();
    const int lineHeight = std::max(tm.height + tm.externalLeading, 1);
    for (std::size_t i = 0; i < list.boxes.size(); ++i) {
        const CommentBox& box = list.boxes[i];
        if (screen && static_cast<int>(i) == list.selected) surface.drawRect(box.rect);
        const int x = truncToInt(box.rect.left * scaleX);
        int y = truncToInt(box.rect.top * s);
        // The edit box stores line breaks as CR LF; each line is drawn below the previous one.
        std::string_view rest = box.text;
        while (true) {
            const std::size_t end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty()) surface.drawText({x, y}, line, palette::kBlack);
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
            y += lineHeight;
        }
    }
}

}  // namespace pelvaron::display
