// The "Phase Correction" dialog's logic.
#include "processing/phase_dialog.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "base/numeric.h"
#include "processing/phase.h"

namespace pelvaron::processing {

void PhaseDialog::open() {
    TransformState& ts = doc_.transform;
    ts.showPivot = 1;
    doc_.notify(kOverlaysChanged);
    takeUndoSnapshot(doc_);

    ts.order0Position = truncToInt(100.0 * doc_.spectrum.phase0);
    ts.order1Position = truncToInt(100.0 * doc_.spectrum.phase1);
    ts.order0AtOpen = ts.order0Position;
    ts.order1AtOpen = ts.order1Position;
    ts.phase0AtOpen = doc_.spectrum.phase0;
    ts.phase1AtOpen = doc_.spectrum.phase1;
    takeUndoSnapshot(doc_);
    if (!doc_.spectrum.phaseSourceValid) saveUnphased(doc_.spectrum);
}

int scrolledPosition(int position, ScrollAction action, int thumb, int line, int page, int lo, int hi) {
    long next = position;
    switch (action) {
        case ScrollAction::LineLeft: next -= line; break;
        case ScrollAction::LineRight: next += line; break;
        case ScrollAction::PageLeft: next -= page; break;
        case ScrollAction::PageRight: next += page; break;
        case ScrollAction::Thumb: next = thumb; break;
    }
    return static_cast<int>(std::clamp<long>(next, lo, hi));
}

void PhaseDialog::scrollOrder0(ScrollAction action, int thumb) {
    TransformState& ts = doc_.transform;
    ts.order0Position =
        scrolledPosition(ts.order0Position, action, thumb, 100, 1000, -kOrderLimit, kOrderLimit);
    doc_.spectrum.phase0 = ts.order0Position / 100.0;
    rephase();
}

void PhaseDialog::scrollOrder1(ScrollAction action, int thumb) {
    TransformState& ts = doc_.transform;
    ts.order1Position =
        scrolledPosition(ts.order1Position, action, thumb, 100, 1000, -kOrderLimit, kOrderLimit);
    doc_.spectrum.phase1 = ts.order1Position / 100.0;
    rephase();
}

void PhaseDialog::scrollPivot(ScrollAction action, int thumb) {
    int pivot =
        scrolledPosition(doc_.spectrum.peakIndex, action, thumb, 2, 10, 0, std::max(doc_.spectrum.nData, 0));
    if (pivot % 2 != 0) --pivot;
    doc_.spectrum.peakIndex = pivot;
    doc_.notify(kOverlaysChanged);
}

void PhaseDialog::apply(const std::string& order0Text, const std::string& order1Text) {
    restoreUnphased(doc_.spectrum);
    doc_.spectrum.phase0 = parseLeadingDouble(order0Text);
    doc_.spectrum.phase1 = parseLeadingDouble(order1Text);
    doc_.transform.order0Position = truncToInt(std::trunc(doc_.spectrum.phase0) * 100.0);
    doc_.transform.order1Position = truncToInt(std::trunc(doc_.spectrum.phase1) * 100.0);
    phaseRotation(doc_.spectrum, doc_.spectrum.phase0, doc_.spectrum.phase1, false);
    doc_.notify(kDataChanged);
}

void PhaseDialog::ok() {
    doc_.transform.showPivot = 0;
    doc_.spectrum.phaseSourceValid = 1;
    restoreUnphased(doc_.spectrum);
    phaseRotation(doc_.spectrum, doc_.spectrum.phase0, doc_.spectrum.phase1, true);
    doc_.notify(kDataChanged | kOverlaysChanged);
}

void PhaseDialog::cancel() {
    TransformState& ts = doc_.transform;
    ts.order0Position = ts.order0AtOpen;
    ts.order1Position = ts.order1AtOpen;
    doc_.spectrum.phase0 = ts.phase0AtOpen;
    doc_.spectrum.phase1 = ts.phase1AtOpen;
    ts.showPivot = 0;
    doc_.spectrum.peakValue = restoreUndo(doc_);
    doc_.spectrum.phaseSourceValid = 1;
    doc_.notify(kDataChanged | kOverlaysChanged);
}

std::string PhaseDialog::order0Text() const {
    return cformat("%.1lf", doc_.transform.order0Position / 100.0);
}

std::string PhaseDialog::order1Text() const {
    return cformat("%.1lf", doc_.transform.order1Position / 100.0);
}

void PhaseDialog::rephase() {
    restoreUnphased(doc_.spectrum);
    phaseRotation(doc_.spectrum, doc_.spectrum.phase0, doc_.spectrum.phase1, false);
    doc_.notify(kDataChanged);
}

}  // namespace pelvaron::processing
