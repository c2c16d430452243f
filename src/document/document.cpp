// Document defaults, Undo, peak search and the set-up that follows every load.
#include "document/document.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "document/numeric.h"
#include "platform/user_interface.h"

namespace pelvaron {

// The buffers come zeroed from their allocation.
Document::Document() { initClientArea(clientWidth, clientHeight); }

void Document::clearSpecData() {
    specData.fill(0.0, specInUse());
    specExtent = 0;
}

void Document::initClientArea(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    baselineY = height / 2;
    secondBaselineY = truncToInt(0.3 * height);
    integrals.integralBaseY = height / 2;
    plotRect = Rect{0, 29, width, height - 19};
    dualRect = plotRect;
    tools.overviewBottom = truncToInt(0.25 * height);
}

double findPeak(Document& doc) {
    int best = 0;
    double bestValue = doc.specData[0];
    for (int i = 0; i < doc.nData - 1; i += 2) {
        if (std::fabs(doc.specData[i]) >= std::fabs(bestValue)) {
            best = i;
            bestValue = doc.specData[i];
        }
    }
    doc.peakIndex = best;
    return bestValue;
}

void takeUndoSnapshot(Document& doc) {
    doc.undoData.copyFrom(doc.specData, doc.nData);
    doc.undoPeakValue = doc.peakValue;
    doc.undoNData = 0;
}

void takeUndoFlags(Document& doc) {
    doc.undoFtReal = doc.ftReal;
    doc.undoFtDriftCorr = doc.ftDriftCorr;
    doc.undoFtQuadrature = doc.ftQuadrature;
    doc.undoFtInverse = doc.ftInverse;
    doc.undoNegateImag = doc.negateImag;
    doc.transform.undoDelayFraction = doc.transform.delayFraction;
    doc.transform.undoDelayCentred = doc.transform.delayCentred;
}

double restoreUndo(Document& doc) {
    doc.specData.copyFrom(doc.undoData, doc.nData);
    return doc.undoPeakValue;
}

void undoCommand(Document& doc) {
    if (doc.undoNData > 0) {
        // The snapshot is a FID of its own size: left at the spectrum's size, Undo would cut a
        // longer FID or pad a shorter one, and a phase copy of the spectrum would come back over it.
        doc.noteSpecExtent(doc.nData);
        doc.nData = doc.acqPars.TD = std::min(doc.undoNData, kCapacity);
        doc.phase0 = 0.0;
        doc.phase1 = 0.0;
        doc.phaseSourceValid = 0;
        doc.xUnits = kSeconds;
        doc.unitSeconds = 1;
        doc.unitPpm = doc.unitHz = doc.unitPoints = 0;
    }
    doc.peakValue = restoreUndo(doc);
    doc.ftReal = doc.undoFtReal;
    doc.ftDriftCorr = doc.undoFtDriftCorr;
    doc.ftQuadrature = doc.undoFtQuadrature;
    doc.ftInverse = doc.undoFtInverse;
    doc.negateImag = doc.undoNegateImag;
    // The group-delay ramp belongs to the data: it goes back with them.
    doc.transform.delayFraction = doc.transform.undoDelayFraction;
    doc.transform.delayCentred = doc.transform.undoDelayCentred;
}

void capToCapacity(Document& doc, platform::UserInterface& ui) {
    if (doc.nData > kCapacity) {
        doc.nData = kCapacity;
        doc.acqPars.TD = kCapacity;
        ui.message(kCapacityWarningText, "Warning", platform::Icon::Exclamation);
    }
}

double computeViewZoom(double aq, double left, double right) {
    double span = right - left;
    if (span < 1e-4) span = 1e-4;
    return aq / span;
}

void markAsSpectrum(Document& doc) {
    doc.xUnits = kPpm;
    doc.unitPpm = 1;
    doc.unitSeconds = doc.unitHz = doc.unitPoints = 0;
    doc.ftInverse = doc.undoFtInverse = 1;
    doc.ftQuadrature = doc.undoFtQuadrature = 0;
    doc.ftReal = doc.undoFtReal = 0;
    doc.undoFtDriftCorr = doc.ftDriftCorr;
    doc.undoNegateImag = doc.negateImag;
    doc.loadReal = 0;
    doc.loadQuadrature = 0;
    // The copy the set-up took is this spectrum, not a FID to apodize.
    doc.fidCopyCount = 0;
    doc.transform.delayFraction = doc.transform.undoDelayFraction = 0.0;
}

void addHalfTurn(Document& doc) {
    doc.phase0 += 180.0;
    if (doc.phase0 > 180.0) doc.phase0 -= 360.0;
}

void setupDocument(Document& doc, platform::UserInterface& ui) {
    // 1-2: the window learns that a document is there.
    doc.readoutOn = 1;
    ui.enableDocumentMenus(true);
    ui.setWindowTitle("Pelvaron 1.5.0 " + doc.fileTitle);

    // 3: transform options follow the acquisition mode.
    doc.ftReal = (doc.acqPars.aqMode == 2 || doc.acqPars.aqMode == 0) ? 1 : 0;
    doc.ftDriftCorr = 1;
    doc.ftQuadrature = 1;
    doc.loadQuadrature = doc.ftQuadrature;
    doc.loadReal = doc.ftReal;
    doc.import.importAskFile = 1;

    // 4: size, acquisition time and the full view.
    // Readers cap TD already; the clamp keeps every later loop inside the buffers regardless.
    if (doc.acqPars.TD > kCapacity) doc.acqPars.TD = kCapacity;
    if (doc.acqPars.TD < 0) doc.acqPars.TD = 0;
    doc.nData = doc.acqPars.TD;
    doc.noteSpecExtent(doc.nData);
    doc.acqPars.AQ = doc.acqPars.TD / (2.0 * doc.acqPars.SW);
    doc.viewLeft = 0.0;
    doc.viewRight = doc.acqPars.AQ;
    doc.viewZoom = computeViewZoom(doc.acqPars.AQ, doc.viewLeft, doc.viewRight);
    doc.haveDocument = 1;
    doc.fullView = 1;
    doc.hScrollPos = 0;
    doc.hScrollRange = doc.nData;
    doc.tools.zoomLeftPx = 0.0;
    doc.tools.zoomRightPx = 0.0;
    doc.tools.panned = 0;
    doc.tools.firstPan = 1;
    doc.tools.panStartLeft = 0.0;

    // 5: integrals and peaks.
    IntegralState& in = doc.integrals;
    in.integralCount = 0;
    in.integralsShown = 0;
    in.integralBaseY = doc.clientHeight / 2;
    in.integralsExist = 0;
    in.lastIntegral = 0;
    in.integralRestart = 1;
    in.refIntegral = 0;
    in.refIntegralValue = 1.0;
    doc.peaks.peakCount = 0;
    doc.peaks.peakRegionCount = 0;
    // Points picked on the former data mean nothing on the new; an open Multiple Point Baseline
    // dialog goes on collecting them afresh.
    doc.baseline.baselinePointCount = 0;

    // 6: baseline row; Move Spectrum disarmed.
    doc.baselineY = doc.clientHeight / 2;
    doc.tools.moveArmed = 0;

    // 7: referencing.
    doc.offsetHz = doc.acqPars.offsetHz;
    doc.offsetPpm = doc.offsetHz / doc.acqPars.SF;
    // Summed as doubles and saturated once: an absurd offset (a damaged file) holds refIndex at the
    // int range instead of overflowing it.
    doc.refIndex = truncToInt(doc.acqPars.TD + std::trunc(2.0 * doc.offsetHz * doc.acqPars.AQ));
    doc.tools.referencePickIndex = -1;

    // 8: units back to seconds, window function back to exponential.
    doc.unitSeconds = 1;
    doc.unitPpm = doc.unitHz = doc.unitPoints = 0;
    doc.xUnits = kSeconds;
    doc.window.selected = Window::Exponential;
    doc.ftInverse = 0;
    doc.ftQuadrature = 1;

    // 9: the snapshot holds the new data with its own peakValue.
    doc.peakValue = findPeak(doc);
    takeUndoSnapshot(doc);

    // 10: J state, save question, phase.
    doc.jState.jShown = 0;
    doc.jState.jCursorCount = 0;
    doc.jState.jChainBreak = 0;
    doc.jState.jLines.clear();
    doc.noSaveQuery = 0;
    doc.phaseSourceValid = 0;
    doc.phase0 = 0.0;
    doc.phase1 = 0.0;
    doc.transform.delayFraction = 0.0;
    doc.transform.undoDelayFraction = 0.0;
    doc.transform.snMarksValid = 0;  // the S/N marks of a former data set do not describe this one

    // 11: the FID copy of interactive apodization.
    doc.fidCopy.copyFrom(doc.specData, doc.nData);
    doc.fidCopyCount = doc.nData;
    doc.fidCopyFromInverse = 0;

    // 12: expansion windows.
    ui.destroyExpansionWindows();
    doc.nExpansions = 0;
    doc.expansionUsed.fill(0);

    // 13: comments.
    doc.comments.clear();
}

}  // namespace pelvaron
