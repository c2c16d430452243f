// The view's client area and how it follows the document.
#include "display/view.h"

#include <algorithm>

#include "base/numeric.h"
#include "document/document.h"

namespace pelvaron::display {

double computeViewZoom(double aq, double left, double right) {
    double span = right - left;
    if (span < 1e-4) span = 1e-4;
    return aq / span;
}

void initClientArea(View& view, int width, int height) {
    view.clientWidth = width;
    view.clientHeight = height;
    view.baselineY = height / 2;
    view.secondBaselineY = truncToInt(0.3 * height);
    view.integralBaseY = height / 2;
    view.plotRect = Rect{0, 29, width, height - 19};
    view.dualRect = view.plotRect;
    view.tools.overviewBottom = truncToInt(0.25 * height);
}

void resizeClientArea(View& view, int width, int height) {
    view.clientWidth = width;
    view.clientHeight = height;
    view.integralBaseY = height / 2;
    view.plotRect = Rect{0, 28, width, height - 19};
    view.tools.overviewBottom = truncToInt(0.25 * height);
}

void showNewData(View& view, Document& doc) {
    const double aq = doc.spectrum.acqPars.AQ;
    view.readoutOn = 1;
    view.viewLeft = 0.0;
    view.viewRight = aq;
    view.viewZoom = computeViewZoom(aq, view.viewLeft, view.viewRight);
    view.fullView = 1;
    view.hScrollPos = 0;
    view.hScrollRange = doc.spectrum.nData;
    view.tools.resetForNewData();
    if (view.mouse.tool == Tool::MoveArmed) view.mouse.tool = Tool::None;
    view.integralBaseY = view.clientHeight / 2;
    view.baselineY = view.clientHeight / 2;
    view.nExpansions = 0;
    view.expansionUsed.fill(0);
}

ViewFollower::ViewFollower(Document& doc, View& view) : doc_(doc), view_(view) {
    doc_.observers.push_back(this);
}

ViewFollower::~ViewFollower() { std::erase(doc_.observers, this); }

void ViewFollower::documentChanged(const Document& /*doc*/, ChangeSet changes) {
    if (changes & kDocumentReplaced) {
        showNewData(view_, doc_);
    } else if (changes & kAxisReplaced) {
        view_.viewLeft = 0.0;
        view_.viewRight = doc_.spectrum.acqPars.AQ;
    }
}

}  // namespace pelvaron::display
