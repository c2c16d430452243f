// The J cursors over the spectrum.
#include "display/j_cursors.h"

#include <algorithm>

#include "base/format.h"
#include "base/numeric.h"
#include "display/paint.h"
#include "display/tools.h"

namespace pelvaron::display {

void chooseMeasureJ(Document& doc, platform::UserInterface& ui) {
    ui.requestRepaint();
    platform::clearStatusBar(ui);
    doc.referenceMode = 0;
    doc.toolActive = 1;
    doc.toolMode = kMeasureJTool;
    doc.rubberShape = kShapeVerticalLine;
    doc.jState.jShown = 1;
}

void drawJCursors(platform::Surface& surface, const Document& doc) {
    const double aq = doc.spectrum.acqPars.AQ;
    if (doc.spectrum.nData <= 0 || !(aq > 0.0)) return;
    const int cw = surface.textMetrics().averageCharWidth;
    const int o = truncToInt(doc.spectrum.nData * doc.viewLeft / aq);
    // Pixels per index in double precision: as integers the quotient would be 0 for any
    // spectrum wider than the window.
    const double s = static_cast<double>(doc.clientWidth) / doc.spectrum.nData * doc.viewZoom;
    const int count = std::clamp(doc.jState.jCursorCount, 0, kMaxJCursors);
    for (int k = 0; k < count; ++k) {
        const int x = truncToInt((doc.jState.jCursorPos[static_cast<std::size_t>(k)] - o) * s);
        surface.drawLine({x, 5}, {x, doc.clientHeight - 65});
        surface.drawText({x - cw / 2, k % 2 == 0 ? 50 : 90}, cformat("%d", k), palette::kBlack);
    }
}

}  // namespace pelvaron::display
