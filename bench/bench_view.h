// The window's view of a benchmark document: its client area, and the whole data in view as
// after a load.
#pragma once

#include "display/view.h"
#include "document/document.h"

namespace pelvaron::bench {

inline display::View benchView(Document& doc, int width, int height) {
    display::View view;
    display::initClientArea(view, width, height);
    display::showNewData(view, doc);
    return view;
}

}  // namespace pelvaron::bench
