// The comment boxes laid over the plot, in insertion order.
#pragma once

#include <string>
#include <vector>

#include "base/geometry.h"

namespace pelvaron {

struct CommentBox {
    Rect rect;
    std::string text;
};

struct CommentList {
    std::vector<CommentBox> boxes;
    int selected = -1;  ///< index into boxes, -1 when none is selected

    void clear() {
        boxes.clear();
        selected = -1;
    }
};

}  // namespace pelvaron
