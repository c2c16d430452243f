// The J cursors over the spectrum.
#include "display/j_cursors.h"

#include <algorithm>

#include "base/format.h"
#include "base/numeric.h"
#include "display/paint.h"
#include "display/tools.h"
#include "display/view_transform.h"

namespace pelvaron::display {

void chooseMeasureJ(Document& doc, View& view, platform::UserInterface& ui) {
    platform::clearStatusBar(ui);
    view.mouse.tool = Tool::MeasureJ;
    doc.jState.jShown = 1;
    doc.notify(kOverlaysChanged);
}

void drawJCursors(platform::Surface& surface, const Document& doc, const View& view) {
    const double aq = doc.spectrum.acqPars.AQ;
    if (doc.spectrum.nData <= 0 || !(aq > 0.0)) return;
    const int cw = surface.textMetrics().averageCharWidth;
    const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
    const int o = transform.firstIndex();
    // Pixels per index in double precision: as integers the quotient would be 0 for any
    // spectrum wider than the window.
    const double s = transform.pixelsPerIndex();
    const int count = std::clamp(doc.jState.jCursorCount, 0, kMaxJCursors);
    for (int k = 0; k < count; ++k) {
        const int x = truncToInt((doc.jState.jCursorPos[static_cast<std::size_t>(k)] - o) * s);
        surface.drawLine({x, 5}, {x, view.clientHeight - 65});
        surface.drawText({x - cw / 2, k % 2 == 0 ? 50 : 90}, cformat("%d", k), palette::kBlack);
    }
}

}  // namespace pelvaron::display
