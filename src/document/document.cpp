// Document defaults, Undo, change notices and the set-up that follows every load.
#include "document/document.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"

namespace pelvaron {

// The buffers come zeroed from their allocation. The integrals' row starts in the middle of the
// window's first client area (800 rows) until a window sizes its own.
Document::Document() = default;

void Document::notify(ChangeSet changes) const {
    // An observer may detach itself (a closing window) while it is told.
    const std::vector<DocumentObserver*> told = observers;
    for (DocumentObserver* o : told) o->documentChanged(*this, changes);
}

void takeUndoSnapshot(Document& doc) {
    doc.undo.specData.copyFrom(doc.spectrum.specData, doc.spectrum.nData);
    doc.undo.peakValue = doc.spectrum.peakValue;
    doc.undoNData = 0;
}

void takeUndoFlags(Document& doc) { copyTransformFlags(doc.spectrum, doc.undo); }

double restoreUndo(Document& doc) {
    doc.spectrum.specData.copyFrom(doc.undo.specData, doc.spectrum.nData);
    return doc.undo.peakValue;
}

void undoCommand(Document& doc) {
    Spectrum& s = doc.spectrum;
    if (doc.undoNData > 0) {
        // The snapshot is a FID of its own size: left at the spectrum's size, Undo would cut a
        // longer FID or pad a shorter one, and a phase copy of the spectrum would come back over it.
        s.noteSpecExtent(s.nData);
        s.nData = s.acqPars.TD = std::min(doc.undoNData, kCapacity);
        s.phase0 = 0.0;
        s.phase1 = 0.0;
        s.phaseSourceValid = 0;
        s.xUnits = kSeconds;
    }
    s.peakValue = restoreUndo(doc);
    // The group-delay ramp belongs to the data: it goes back with them, as do the flags.
    copyTransformFlags(doc.undo, s);
}

bool capToCapacity(Spectrum& s) {
    if (s.nData <= kCapacity) return false;
    s.nData = kCapacity;
    s.acqPars.TD = kCapacity;
    return true;
}

void markAsSpectrum(Document& doc) {
    Spectrum& s = doc.spectrum;
    Spectrum& u = doc.undo;
    s.xUnits = kPpm;
    s.ftInverse = u.ftInverse = 1;
    s.ftQuadrature = u.ftQuadrature = 0;
    s.ftReal = u.ftReal = 0;
    u.ftDriftCorr = s.ftDriftCorr;
    u.negateImag = s.negateImag;
    doc.loadReal = 0;
    doc.loadQuadrature = 0;
    // The copy the set-up took is this spectrum, not a FID to apodize.
    doc.fidCopyCount = 0;
    s.delayFraction = u.delayFraction = 0.0;
}

void setupDocument(Document& doc) {
    Spectrum& s = doc.spectrum;

    // The transform options follow the acquisition mode: a single-channel or sequential
    // acquisition is a run of real samples.
    s.ftReal = (s.acqPars.aqMode == 2 || s.acqPars.aqMode == 0) ? 1 : 0;
    s.ftDriftCorr = 1;
    s.ftQuadrature = 1;
    doc.loadQuadrature = s.ftQuadrature;
    doc.loadReal = s.ftReal;
    doc.import.importAskFile = 1;

    // Size and acquisition time. Readers cap TD already; the clamp keeps every later loop inside
    // the buffers regardless.
    s.acqPars.TD = std::clamp(s.acqPars.TD, 0, kCapacity);
    s.nData = s.acqPars.TD;
    s.noteSpecExtent(s.nData);
    s.acqPars.AQ = s.acqPars.TD / (2.0 * s.acqPars.SW);
    doc.haveDocument = 1;

    // Integrals, peaks, J cursors and multiplet ranges of the former data mean nothing on the new.
    doc.integrals.startAfresh();
    doc.peaks.clearPicks();
    doc.jState.reset();
    doc.multiplets.clear();
    // Nor do baseline points; an open Multiple Point Baseline dialog goes on collecting afresh.
    doc.baseline.baselinePointCount = 0;

    // The reference the reader found.
    s.offsetHz = s.acqPars.offsetHz;
    s.offsetPpm = s.offsetHz / s.acqPars.SF;
    // Summed as doubles and saturated once: an absurd offset (a damaged file) holds refIndex at the
    // int range instead of overflowing it.
    s.refIndex = truncToInt(s.acqPars.TD + std::trunc(2.0 * s.offsetHz * s.acqPars.AQ));

    // A new data set is a FID on the seconds axis until transformed.
    s.xUnits = kSeconds;
    doc.window.selected = Window::Exponential;
    s.ftInverse = 0;
    s.ftQuadrature = 1;

    // The snapshot holds the new data with its own peakValue.
    s.peakValue = findPeak(s);
    takeUndoSnapshot(doc);

    doc.noSaveQuery = 0;
    s.phaseSourceValid = 0;
    s.phase0 = 0.0;
    s.phase1 = 0.0;
    s.delayFraction = 0.0;
    doc.undo.delayFraction = 0.0;
    s.snMarksValid = 0;  // the S/N marks of a former data set do not describe this one

    // The FID interactive apodization starts every movement from.
    doc.fidCopy.copyFrom(s.specData, s.nData);
    doc.fidCopyCount = s.nData;
    doc.fidCopyFromInverse = 0;

    // The observers show the new data whole and close the expansion windows, whose regions were
    // of the former data.
    doc.comments.clear();
    doc.notify(kEverything);
}

}  // namespace pelvaron
