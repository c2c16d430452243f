// The two-set display's arithmetic and bars.
#include "display/two_set.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/format.h"

namespace pelvaron::display {

void prepareTwoSetDisplay(Document& doc, View& view) {
    view.dualRect = Rect{0, kTwoSetTop, view.clientWidth, view.plotRect.bottom};
    takeUndoSnapshot(doc);
    doc.spectrum.phaseSourceValid = 0;
    doc.noSaveQuery = 1;
    doc.secondData.copyFrom(doc.spectrum.specData, doc.spectrum.nData);
    // Nothing of an earlier second set may show beyond these data when the new set is longer.
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    std::fill(doc.secondData.begin() + n, doc.secondData.end(), 0.0);
}

void beginTwoSetDisplay(Document& doc, View& view) {
    view.addSubMode = 1;
    // The shift bar starts at 0: the drawing and the arithmetic follow what the bar shows.
    view.secondShift = 0;
    view.secondFactorRange = kFactorRangeStart;
    doc.workCurve.copyFrom(doc.spectrum.phaseSource, doc.spectrum.nData);
}

void matchSecondSetHeight(Document& doc) {
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    double largest = 0.0;
    for (int i = 0; i < n; i += 2) largest = std::max(largest, std::fabs(doc.secondData[i]));
    const double target = std::fabs(doc.spectrum.peakValue);
    if (largest < kTinyPeak || target < kTinyPeak || !std::isfinite(largest)) return;
    const double k = target / largest;
    for (int i = 0; i < n; ++i) doc.secondData[i] *= k;
}

void addScaledSecond(Document& doc, const View& view, int sign) {
    const double f = view.secondFactor / 100.0;
    const long n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    const long s = view.secondShift;
    double* spec = doc.spectrum.specData.data();
    const double* second = doc.secondData.data();
    if (s < 0) {
        for (long i = 0; i < n + s; ++i) spec[i] += sign * second[i - s] * f;
    } else {
        for (long i = s; i < n; ++i) spec[i] += sign * second[i - s] * f;
    }
    doc.notify(kDataChanged);
}

void swapTwoSets(Document& doc) {
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    for (int i = 0; i < n; ++i) {
        std::swap(doc.spectrum.specData[i], doc.secondData[i]);
        std::swap(doc.workCurve[i], doc.spectrum.phaseSource[i]);
    }
    doc.notify(kDataChanged);
}

bool increaseFactorRange(View& view, platform::UserInterface& ui) {
    if (view.secondFactorRange >= kFactorRangeLimit) {
        ui.message("You cannot increase more the scroll bar range", "Warning", platform::Icon::Exclamation);
        return false;
    }
    view.secondFactorRange *= 10;
    return true;
}

void endTwoSetDisplay(Document& doc, View& view, bool keep) {
    view.secondFactor = 100;
    view.addSubMode = 0;
    if (!keep) (void)restoreUndo(doc);
    doc.notify(kDataChanged | kViewChanged);
}

BarRange twoSetBarRange(const Document& doc, const View& view, TwoSetBar bar) {
    switch (bar) {
        case TwoSetBar::Shift: return {-doc.spectrum.nData, doc.spectrum.nData};
        case TwoSetBar::Offset: return {kTwoSetTop, std::max(kTwoSetTop, view.plotRect.bottom)};
        case TwoSetBar::Factor: return {0, view.secondFactorRange};
    }
    return {};
}

int twoSetBarValue(const View& view, TwoSetBar bar) {
    switch (bar) {
        case TwoSetBar::Shift: return view.secondShift;
        case TwoSetBar::Offset: return view.secondBaselineY;
        case TwoSetBar::Factor: return view.secondFactor;
    }
    return 0;
}

int twoSetScroll(const Document& doc, View& view, platform::UserInterface& ui, TwoSetBar bar, ScrollCode code,
                 int thumb) {
    const int line = bar == TwoSetBar::Offset ? 5 : 1;
    const int page = bar == TwoSetBar::Shift ? 25 : 10;
    const BarRange range = twoSetBarRange(doc, view, bar);
    int& value = bar == TwoSetBar::Shift    ? view.secondShift
                 : bar == TwoSetBar::Offset ? view.secondBaselineY
                                            : view.secondFactor;
    long next = value;
    switch (code) {
        case ScrollCode::LineLeft: next -= line; break;
        case ScrollCode::LineRight: next += line; break;
        case ScrollCode::PageLeft: next -= page; break;
        case ScrollCode::PageRight: next += page; break;
        case ScrollCode::Thumb: next = thumb > range.max ? thumb - 65536L : thumb; break;
        case ScrollCode::Other: break;
    }
    value = static_cast<int>(std::clamp<long>(next, range.min, range.max));
    if (bar == TwoSetBar::Shift) ui.setStatusText(0, cformat("Offset: %d", view.secondShift));
    if (bar == TwoSetBar::Factor) ui.setStatusText(0, cformat("Factor: %lf", view.secondFactor / 100.0));
    doc.notify(kViewChanged);
    return value;
}

}  // namespace pelvaron::display
