// "Process as Recorded". The conventions of the spectrometer software were read off FIDs and the
// 1r that software made of each (the aspirin and coffee experiments in tests/data, with digital
// filters of odd and even whole delays): each is noted where it acts.
#include "processing/recorded.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/format.h"
#include "base/numeric.h"
#include "processing/phase.h"
#include "processing/transform.h"
#include "processing/window_functions.h"

namespace pelvaron::processing {

namespace {

/// The recorded WDW values this command repeats.
enum RecordedWindow { kNoWindow = 0, kEm = 1, kGm = 2, kSine = 3, kQsine = 4 };

/// Doubles of the spectrum: SI complex points as a transform size (a power of two from 128 doubles
/// up to the capacity); without an SI, the FID's own size rounded up as the transform dialog does.
int spectrumSize(int si, int fidDoubles) {
    const long wanted = si > 0 ? 2L * si : fidDoubles;
    return roundUpTransformSize(static_cast<int>(std::min<long>(wanted, kCapacity)));
}

void applyRecordedWindow(double* data, const FidLayout& fid, const RecordedProcessing& r) {
    switch (r.WDW) {
        case kEm: emWindow(data, fid, r.LB); break;
        case kGm: gmWindow(data, fid, r.LB, r.GB); break;
        case kSine: sineWindow(data, fid, r.SSB, false); break;
        case kQsine: sineWindow(data, fid, r.SSB, true); break;
        default: break;  // other window functions are not repeated: the FID goes in unweighted
    }
}

/// The same angle in (-180, 180].
double wrapDegrees(double a) {
    a = std::remainder(a, 360.0);
    return a <= -180.0 ? a + 360.0 : a;
}

/// The transform options that take the digital filter off as the transform dialog proposes: a
/// rotation by the whole points of the group delay, the fraction as the transform's ramp (which a
/// real transform leaves out).
TransformSettings recordedFtOptions(const Document& doc) {
    TransformSettings o;
    o.real = doc.spectrum.ftReal;
    // No drift correction: subtracting the FID's mean moves the result away from the recorded 1r.
    o.driftCorr = 0;
    o.quadrature = 1;
    o.inverse = 0;
    const bool delayed = digitallyFiltered(doc.spectrum);
    const std::optional<double> delay = groupDelayProposal(doc.spectrum);
    if (delayed && delay) {
        o.rotate = 1;
        o.rotateCount = truncToInt(*delay);
        o.delayFraction = residualGroupDelay(doc.spectrum, o.rotateCount);
    }
    return o;
}

/// Rescales specData and phaseSource so that the largest real part is +-100, and sets
/// peakValue/peakIndex to it; phase0 follows the pivot's move so that it describes the same angles.
void normalisePhased(Document& doc) {
    const int n = doc.spectrum.nData;
    const int oldPivot = doc.spectrum.peakIndex;
    const double peak = findPeak(doc.spectrum);
    const double magnitude = std::fabs(peak);
    if (magnitude > 0.0 && std::isfinite(magnitude)) {
        const double scale = 100.0 / magnitude;
        for (int i = 0; i < n; ++i) {
            doc.spectrum.specData[i] *= scale;
            doc.spectrum.phaseSource[i] *= scale;
        }
    }
    // The same point is the largest after the scaling.
    doc.spectrum.peakValue = doc.spectrum.specData[doc.spectrum.peakIndex];
    // theta_k = phase0 + phase1*4*(2k + 1 - pivot)/n keeps its value when the pivot moves.
    doc.spectrum.phase0 = wrapDegrees(doc.spectrum.phase0 +
                                      doc.spectrum.phase1 * 4.0 * (doc.spectrum.peakIndex - oldPivot) / n);
}

/// Takes the DC offset off the first `used` values: the mean of the last quarter of the complex
/// points, of both parts together (mode 1) or of each part (mode 2). A real FID has one part.
void takeDcOffset(double* data, int used, int valuesPerPoint, int mode) {
    const int points = used / valuesPerPoint;
    const int from = points - points / 4;
    if (points - from < 1 || (mode != 1 && mode != 2)) return;
    double sum[2] = {0.0, 0.0};
    for (int k = from; k < points; ++k)
        for (int part = 0; part < valuesPerPoint; ++part) sum[part] += data[valuesPerPoint * k + part];
    const double count = points - from;
    double mean[2] = {sum[0] / count, sum[1] / count};
    if (mode == 1 || valuesPerPoint == 1) mean[0] = mean[1] = (sum[0] + sum[1]) / (count * valuesPerPoint);
    for (int k = 0; k < points; ++k)
        for (int part = 0; part < valuesPerPoint; ++part) data[valuesPerPoint * k + part] -= mean[part];
}

}  // namespace

std::optional<Message> recordedNote(const RecordedNotes& notes) {
    if (notes.skippedFidCorrection == 0) return std::nullopt;
    return Message{cformat("The spectrometer software also corrected the FID (BC_mod %d: a polynomial or a "
                           "solvent filter); that correction is not repeated.",
                           notes.skippedFidCorrection),
                   kProcessAsRecordedCaption, MessageIcon::Information};
}

std::optional<Message> recordedMessage(RecordedProblem problem) {
    if (problem == RecordedProblem::NoTransform) return std::nullopt;
    return Message{problem == RecordedProblem::NoRecord ? kNoRecordedProcessingText : kAlreadySpectrumText,
                   kProcessAsRecordedCaption, MessageIcon::Information};
}

Result<RecordedNotes, RecordedProblem> processAsRecorded(Document& doc) {
    const RecordedProcessing& r = doc.spectrum.recorded;
    // A forward transform leaves ftInverse set (so does opening a processed spectrum, which has no
    // record of its own processing): that the data are a spectrum is what the person needs to hear.
    if (doc.spectrum.ftInverse) return Failure{RecordedProblem::AlreadySpectrum};
    if (!r.present) return Failure{RecordedProblem::NoRecord};
    const int loaded = std::clamp(doc.spectrum.nData, 0, kCapacity);
    const int valuesPerPoint = doc.spectrum.ftReal ? 1 : 2;
    // The whole of TDeff goes in (the 1r holds every point of it), and nothing beyond it.
    int used = r.TDeff > 0 ? std::min(loaded, r.TDeff) : loaded;
    used -= used % valuesPerPoint;
    const int size = spectrumSize(r.SI, used);

    // What Undo brings back: the FID as it stands now, before the first point and the window. It
    // waits in phaseSource, which receives the unphased spectrum at the end (a FID has no use for it).
    doc.spectrum.phaseSource.copyFrom(doc.spectrum.specData, loaded);
    doc.spectrum.phaseSourceValid = 0;
    const double fidPeakValue = doc.spectrum.peakValue;
    const int fidTd = doc.spectrum.acqPars.TD;
    const int ftReal = doc.spectrum.ftReal, ftDriftCorr = doc.spectrum.ftDriftCorr,
              ftQuadrature = doc.spectrum.ftQuadrature, ftInverse = doc.spectrum.ftInverse;

    double* data = doc.spectrum.specData.data();
    // The DC offset goes first: it is the FID's own, the first point and the window are not. A
    // receiver's offset is what it corrects; behind a digital filter there is none to take (on the
    // aspirin pair, BC_mod 2 taken off the filtered FID moves the result away from its 1r).
    if (!digitallyFiltered(doc.spectrum)) takeDcOffset(data, used, valuesPerPoint, r.BC_mod);
    // FCOR multiplies the first point as recorded; the transform halves it, so it goes in doubled.
    // With a digital filter that point is the filter's lead-in (0 in the pair): the signal's top,
    // the rotation's first point, stays whole (halving it takes the pair further from its 1r).
    const double fcor = std::isfinite(r.FCOR) ? r.FCOR : 0.5;
    if (used >= 2) {
        data[0] *= 2.0 * fcor;
        data[1] *= 2.0 * fcor;
    }
    // The window starts at the first point recorded, the digital filter's lead-in included (with
    // EM, as in the pair, that only scales the spectrum).
    const double sw = doc.spectrum.acqPars.SW;
    if (sw > 0.0 && std::isfinite(sw)) {
        applyRecordedWindow(data,
                            FidLayout{used / valuesPerPoint, valuesPerPoint, valuesPerPoint / (2.0 * sw)}, r);
    }
    doc.spectrum.noteSpecExtent(loaded);
    if (size > used) std::fill(data + used, data + size, 0.0);
    doc.spectrum.nData = size;
    doc.spectrum.acqPars.TD = size;

    const TransformSettings ft = recordedFtOptions(doc);
    if (!fourierTransform(doc, ft)) {
        // Not reached for a size from spectrumSize; kept so that a failure changes nothing.
        doc.spectrum.specData.copyFrom(doc.spectrum.phaseSource, loaded);
        doc.spectrum.nData = loaded;
        doc.spectrum.acqPars.TD = fidTd;
        return Failure{RecordedProblem::NoTransform};
    }
    // The transform's options and their Undo copies stay those of the transform dialog.
    doc.spectrum.ftDriftCorr = ftDriftCorr;
    doc.undo.ftReal = ftReal;
    doc.undo.ftDriftCorr = ftDriftCorr;
    doc.undo.ftQuadrature = ftQuadrature;
    doc.undo.ftInverse = ftInverse;
    doc.undo.specData.copyFrom(doc.spectrum.phaseSource, loaded);
    doc.undo.peakValue = fidPeakValue;
    doc.undoNData = loaded;

    // The phase. Our spectrum's point k is the 1r's point k (the first at OFFSET, the same way
    // down), and our imaginary parts are the negatives of its 1i: its phase turns the other way.
    // PHC1 is zero at the first (left-most) point and reaches its full value at the last.
    // Its filter correction is a phase ramp that leaves no phase at the first point, where our
    // rotation by m whole points and the ramp of the fraction f leave none in the middle. Half
    // a spectrum away from the middle, a delay of m + f points has turned the phase by
    // 180 (m + f) degrees: that much goes into the zero order. (With the fraction alone, a whole
    // delay of an odd m came out right and an even one upside down.) The further half turn is the
    // two conventions' own: the aspirin pair (m = 61) and the coffee pair (m = 76) both reach
    // r 0.99999 with it.
    const int n = doc.spectrum.nData;
    const double wholePoints = ft.rotate ? ft.rotateCount : 0;
    const double delayFraction = doc.spectrum.delayFraction;
    // PH_mod 0 applies no phase of its own (the filter's ramp stays); 2 takes the modulus below.
    const bool phased = r.PH_mod == 1;
    const double phc0 = phased && std::isfinite(r.PHC0) ? r.PHC0 : 0.0;
    const double phc1 = phased && std::isfinite(r.PHC1) ? r.PHC1 : 0.0;
    const double atFirstPoint =
        wrapDegrees(-phc0 - 180.0 * (std::fmod(wholePoints + 1.0, 2.0) + delayFraction));  // our sense
    const double perSpectrum = -phc1;                           // added across the points
    // theta_k = phase0 + phase1*4*(2k + 1 - P)/n = atFirstPoint + perSpectrum*2k/n.
    doc.spectrum.phase1 = perSpectrum / 4.0;
    doc.spectrum.phase0 =
        wrapDegrees(atFirstPoint - doc.spectrum.phase1 * 4.0 * (1 - doc.spectrum.peakIndex) / n);
    saveUnphased(doc.spectrum);
    doc.spectrum.phaseSourceValid = 1;
    phaseRotationByRecurrence(doc.spectrum, doc.spectrum.phase0, doc.spectrum.phase1);
    if (r.PH_mod == 2) {
        // Magnitude: the modulus of each point, which no phase changes; the Phase dialog starts
        // from it at zero angles.
        for (int i = 0; i + 1 < n; i += 2) {
            doc.spectrum.specData[i] = std::hypot(doc.spectrum.specData[i], doc.spectrum.specData[i + 1]);
            doc.spectrum.specData[i + 1] = 0.0;
        }
        doc.spectrum.phase0 = doc.spectrum.phase1 = 0.0;
        saveUnphased(doc.spectrum);
    }
    // The largest line of the phased spectrum becomes +-100, as the transform leaves an unphased one.
    normalisePhased(doc);

    // The reference: the first point at the recorded OFFSET when that set spans this spectrum's
    // width (a strip starts elsewhere: the reference the reader chose stays).
    AcqParams& p = doc.spectrum.acqPars;
    if (r.SF > 0.0 && std::isfinite(r.SF)) p.SF = r.SF;
    if (r.haveOffset && p.SF > 0.0 && sw > 0.0 && std::fabs(r.SW_p - sw) <= 1e-6 * sw &&
        std::isfinite(r.OFFSET * p.SF)) {
        p.offsetHz = r.OFFSET * p.SF - sw;
        doc.spectrum.referenceSource = ReferenceSource::Procs;
    }
    doc.spectrum.offsetHz = p.offsetHz;
    doc.spectrum.offsetPpm = p.SF != 0.0 ? doc.spectrum.offsetHz / p.SF : 0.0;
    const double count = n;
    if (sw > 0.0)
        doc.spectrum.refIndex =
            truncToInt(count + std::trunc(2.0 * doc.spectrum.offsetHz * (count / (2.0 * sw))));
    doc.notify(kDataChanged | kAxisChanged);
    return RecordedNotes{r.BC_mod >= 3 ? r.BC_mod : 0};
}

}  // namespace pelvaron::processing
