// Integer pixel rectangles shared by the document, the drawing code and the window.
#pragma once

namespace pelvaron {

/// A pixel rectangle; `right` and `bottom` are exclusive edges as in the window system.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] int width() const { return right - left; }
    [[nodiscard]] int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace pelvaron
