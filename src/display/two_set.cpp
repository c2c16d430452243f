// The two-set display's arithmetic and bars.
#include "display/two_set.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/format.h"

namespace pelvaron::display {

void prepareTwoSetDisplay(Document& doc) {
    doc.dualRect = Rect{0, kTwoSetTop, doc.clientWidth, doc.plotRect.bottom};
    takeUndoSnapshot(doc);
    doc.spectrum.phaseSourceValid = 0;
    doc.noSaveQuery = 1;
    doc.secondData.copyFrom(doc.spectrum.specData, doc.spectrum.nData);
    // Nothing of an earlier second set may show beyond these data when the new set is longer.
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    std::fill(doc.secondData.begin() + n, doc.secondData.end(), 0.0);
}

void beginTwoSetDisplay(Document& doc) {
    doc.addSubMode = 1;
    // The shift bar starts at 0: the drawing and the arithmetic follow what the bar shows.
    doc.secondShift = 0;
    doc.secondFactorRange = kFactorRangeStart;
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

void addScaledSecond(Document& doc, platform::UserInterface& ui, int sign) {
    const double f = doc.secondFactor / 100.0;
    const long n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    const long s = doc.secondShift;
    double* spec = doc.spectrum.specData.data();
    const double* second = doc.secondData.data();
    if (s < 0) {
        for (long i = 0; i < n + s; ++i) spec[i] += sign * second[i - s] * f;
    } else {
        for (long i = s; i < n; ++i) spec[i] += sign * second[i - s] * f;
    }
    ui.requestRepaint();
}

void swapTwoSets(Document& doc, platform::UserInterface& ui) {
    const int n = std::clamp(doc.spectrum.nData, 0, kCapacity);
    for (int i = 0; i < n; ++i) {
        std::swap(doc.spectrum.specData[i], doc.secondData[i]);
        std::swap(doc.workCurve[i], doc.spectrum.phaseSource[i]);
    }
    ui.requestRepaint();
}

bool increaseFactorRange(Document& doc, platform::UserInterface& ui) {
    if (doc.secondFactorRange >= kFactorRangeLimit) {
        ui.message("You cannot increase more the scroll bar range", "Warning", platform::Icon::Exclamation);
        return false;
    }
    doc.secondFactorRange *= 10;
    return true;
}

void endTwoSetDisplay(Document& doc, platform::UserInterface& ui, bool keep) {
    doc.secondFactor = 100;
    doc.addSubMode = 0;
    if (!keep) (void)restoreUndo(doc);
    ui.requestRepaint();
}

BarRange twoSetBarRange(const Document& doc, TwoSetBar bar) {
    switch (bar) {
        case TwoSetBar::Shift: return {-doc.spectrum.nData, doc.spectrum.nData};
        case TwoSetBar::Offset: return {kTwoSetTop, std::max(kTwoSetTop, doc.plotRect.bottom)};
        case TwoSetBar::Factor: return {0, doc.secondFactorRange};
    }
    return {};
}

int twoSetBarValue(const Document& doc, TwoSetBar bar) {
    switch (bar) {
        case TwoSetBar::Shift: return doc.secondShift;
        case TwoSetBar::Offset: return doc.secondBaselineY;
        case TwoSetBar::Factor: return doc.secondFactor;
    }
    return 0;
}

int twoSetScroll(Document& doc, platform::UserInterface& ui, TwoSetBar bar, ScrollCode code, int thumb) {
    const int line = bar == TwoSetBar::Offset ? 5 : 1;
    const int page = bar == TwoSetBar::Shift ? 25 : 10;
    const BarRange range = twoSetBarRange(doc, bar);
    int& value = bar == TwoSetBar::Shift    ? doc.secondShift
                 : bar == TwoSetBar::Offset ? doc.secondBaselineY
                                            : doc.secondFactor;
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
    if (bar == TwoSetBar::Shift) ui.setStatusText(0, cformat("Offset: %d", doc.secondShift));
    if (bar == TwoSetBar::Factor) ui.setStatusText(0, cformat("Factor: %lf", doc.secondFactor / 100.0));
    ui.requestRepaint();
    return value;
}

}  // namespace pelvaron::display
