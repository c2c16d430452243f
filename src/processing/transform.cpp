// The Fourier transform command and the data operations it applies around the FFT.
#include "processing/transform.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "base/numeric.h"
#include "processing/fft.h"
#include "processing/phase.h"

namespace pelvaron::processing {

namespace {

/// Doubles in use, never beyond the buffers.
int dataCount(const Document& doc) { return std::clamp(doc.spectrum.nData, 0, kCapacity); }

struct GroupDelayRow {
    int decim;
    double dspfvs10;
    double dspfvs11;
    double dspfvs12;
};

// Group delay of the Bruker digital filter, points, by DECIM and firmware version.
// clang-format off
constexpr GroupDelayRow kGroupDelays[] = {
    // DECIM  DSPFVS 10  DSPFVS 11  DSPFVS 12
    {2,    44.75,     46.0,      46.311},
    {3,    33.5,      36.5,      36.53},
    {4,    66.625,    48.0,      47.87},
    {6,    59.0833,   50.1667,   50.229},
    {8,    68.5625,   53.25,     53.289},
    {12,   60.375,    69.5,      69.551},
    {16,   69.5313,   72.25,     71.6},
    {24,   61.0208,   70.1667,   70.184},
    {32,   70.0156,   72.75,     72.138},
    {48,   61.3438,   70.5,      70.528},
    {64,   70.2578,   73.0,      72.348},
    {96,   61.5052,   70.6667,   70.7},
    {128,  70.3789,   72.5,      72.524},
    {192,  61.5859,   71.3333,   0.0},
    {256,  70.4395,   72.25,     0.0},
    {384,  61.6263,   71.6667,   0.0},
    {512,  70.4697,   72.125,    0.0},
    {768,  61.6465,   71.8333,   0.0},
    {1024, 70.4849,   72.0625,   0.0},
    {1536, 61.6566,   71.9167,   0.0},
    {2048, 70.4924,   72.0313,   0.0},
};
// clang-format on

}  // namespace

void firstPointCorrection(Document& doc) {
    if (dataCount(doc) < 2) return;
    doc.spectrum.specData[0] *= 0.5;
    doc.spectrum.specData[1] *= 0.5;
}

void driftCorrection(Document& doc) {
    const int n = dataCount(doc);
    if (n < 2) return;
    const double count = n / 2;
    double re = 0.0;
    double im = 0.0;
    for (int i = 0; i + 1 < n; i += 2) {
        re += doc.spectrum.specData[i];
        im += doc.spectrum.specData[i + 1];
    }
    re /= count;
    im /= count;
    for (int i = 0; i + 1 < n; i += 2) {
        doc.spectrum.specData[i] -= re;
        doc.spectrum.specData[i + 1] -= im;
    }
}

void rotateData(Document& doc, int count) {
    const int n = dataCount(doc);
    // A rotation beyond the data has no meaning; such counts are clamped into 0 ... N/2.
    const int r = std::clamp(count, 0, n / 2);
    // An in-place rotation moves the same values to the same places as a copy through a
    // temporary array, and it cannot fail for want of memory.
    std::rotate(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + 2 * r, doc.spectrum.specData.begin() + 2 * (n / 2));
}

void quadratureAlternation(Document& doc) {
    const int n = dataCount(doc);
    for (int i = 0; i + 1 < n; i += 4) {
        doc.spectrum.specData[i] = -doc.spectrum.specData[i];
        doc.spectrum.specData[i + 1] = -doc.spectrum.specData[i + 1];
    }
}

void conjugate(Document& doc) {
    const int n = dataCount(doc);
    for (int i = 1; i < n; i += 2) doc.spectrum.specData[i] = -doc.spectrum.specData[i];
}

std::optional<double> groupDelayFromTable(int decim, int dspfvs) {
    for (const GroupDelayRow& row : kGroupDelays) {
        if (row.decim != decim) continue;
        switch (dspfvs) {
            case 10: return row.dspfvs10;
            case 11: return row.dspfvs11;
            case 12: return row.dspfvs12;
            default: return std::nullopt;
        }
    }
    // Left open: a DECIM or DSPFVS the table lacks gets no proposal (Rotate Data unchecked).
    return std::nullopt;
}

std::optional<double> groupDelayProposal(const Document& doc) {
    // A group delay the spectrometer recorded is exact for its own filter, whatever DECIM and
    // DSPFVS say; the table only covers the firmware it knows.
    if (doc.spectrum.groupDelay > 0.0) return doc.spectrum.groupDelay;
    return groupDelayFromTable(doc.spectrum.acqPars.DECIM, doc.spectrum.acqPars.DSPFVS);
}

std::optional<int> proposedRotation(const Document& doc) {
    const bool delayed = doc.spectrum.groupDelay > 0.0 || doc.spectrum.acqPars.DECIM > 1;
    const std::optional<double> delay = groupDelayProposal(doc);
    if (!delayed || !delay) return std::nullopt;
    return truncToInt(*delay);
}

int spectrumRefIndex(const Document& doc, int n) {
    const double count = n;
    return truncToInt(count + std::trunc(2.0 * doc.spectrum.offsetHz * (count / (2.0 * doc.spectrum.acqPars.SW))));
}

double residualGroupDelay(const Document& doc, int rotateCount) {
    const std::optional<double> proposal = groupDelayProposal(doc);
    if (!proposal) return 0.0;
    const double rest = *proposal - rotateCount;
    return std::fabs(rest) < 1.0 ? rest : 0.0;
}

void groupDelayRamp(double* data, int n, double delay, bool centred) {
    const int m = n / 2;
    if (m < 1 || delay == 0.0 || !std::isfinite(delay)) return;
    const double step = -2.0 * std::numbers::pi * delay / m;
    if (centred) {
        linearPhaseRotation(data, 0, m, step * -(m / 2), step);
        return;
    }
    const int positive = m - m / 2;  // uncentred: points 0 ... positive-1 have q = k, the rest k - m
    linearPhaseRotation(data, 0, positive, 0.0, step);
    linearPhaseRotation(data, positive, m, step * (positive - m), step);
}

int roundUpTransformSize(int n) {
    for (int size = 128; size < kMaxTransformSize; size *= 2) {
        if (n <= size) return size;
    }
    return kMaxTransformSize;
}

bool fourierTransform(Document& doc, const FtOptions& options) {
    const int n = doc.spectrum.nData;
    if (n < 4 || n > kCapacity || !std::has_single_bit(static_cast<unsigned>(n))) return false;
    TransformState& ts = doc.transform;

    // 1-2: the options, their Undo copies and the data snapshot.
    doc.spectrum.ftReal = options.real;
    doc.spectrum.ftDriftCorr = options.driftCorr;
    doc.spectrum.ftQuadrature = options.quadrature;
    doc.spectrum.ftInverse = options.inverse;
    ts.ftRotate = options.rotate;
    ts.ftRotateCount = std::clamp(options.rotateCount, 0, n / 2);
    takeUndoFlags(doc);
    takeUndoSnapshot(doc);

    // The way back starts from the spectrum as it was before the forward transform's ramp.
    const bool inverse = doc.spectrum.ftInverse != 0;
    if (inverse && !doc.spectrum.ftReal && doc.spectrum.delayFraction != 0.0) {
        groupDelayRamp(doc.spectrum.specData.data(), n, -doc.spectrum.delayFraction, doc.spectrum.delayCentred != 0);
    }
    if (inverse) doc.spectrum.delayFraction = 0.0;

    // 3-5: corrections of the input.
    firstPointCorrection(doc);
    if (ts.ftRotate) rotateData(doc, ts.ftRotateCount);
    if (doc.spectrum.ftDriftCorr) driftCorrection(doc);

    // 6: direction and units.
    if (inverse) {
        ts.ftDirection = kInverse;
        doc.spectrum.xUnits = kSeconds;
        doc.spectrum.acqPars.DECIM = 1;
        // The time-domain data coming back are already rotated: no delay is left to propose.
        doc.spectrum.groupDelay = 0.0;
    } else {
        ts.ftDirection = kForward;
        doc.spectrum.xUnits = kPpm;
    }

    // 7-9: the transform itself.
    if (doc.spectrum.ftQuadrature && !inverse) quadratureAlternation(doc);
    if (doc.spectrum.ftReal) {
        realFft(doc, n, ts.ftDirection);
    } else {
        if (doc.spectrum.negateImag) conjugate(doc);
        doc.spectrum.negateImag = 0;
        complexFft(doc, n / 2, ts.ftDirection);
        // Whatever of the group delay the whole-point rotation left is a linear phase across
        // the spectrum; taking it off here leaves lines that need a zero-order correction only.
        // (A real transform's packed output has no such ramp applied: it gets the rotation only.)
        if (!inverse) {
            doc.spectrum.delayFraction = std::isfinite(options.delayFraction) && std::fabs(options.delayFraction) < 1.0
                                   ? options.delayFraction
                                   : 0.0;
            doc.spectrum.delayCentred = doc.spectrum.ftQuadrature;
            groupDelayRamp(doc.spectrum.specData.data(), n, doc.spectrum.delayFraction, doc.spectrum.delayCentred != 0);
        }
    }
    if (!inverse && doc.spectrum.ftReal) doc.spectrum.delayFraction = 0.0;
    const double count = n;
    for (int i = 0; i < n; ++i) doc.spectrum.specData[i] /= count;

    // 10: the options the next opening proposes.
    if (inverse) {
        doc.spectrum.ftInverse = 0;
        doc.spectrum.ftQuadrature = 0;
        doc.fidCopy.copyFrom(doc.spectrum.specData, n);
        doc.fidCopyCount = n;
        doc.fidCopyFromInverse = 1;
        doc.spectrum.phase0 = 0.0;
        doc.spectrum.phase1 = 0.0;
        doc.spectrum.phaseSourceValid = 0;
    } else {
        doc.spectrum.ftInverse = 1;
        doc.spectrum.ftQuadrature = 0;
        doc.spectrum.ftReal = 0;
        // A new spectrum carries no phase correction yet; an unphased copy of an earlier one
        // (kept valid across an Undo) would replace it at the next re-phasing.
        doc.spectrum.phase0 = 0.0;
        doc.spectrum.phase1 = 0.0;
        doc.spectrum.phaseSourceValid = 0;
    }

    // 11-12: the largest line becomes +-100; data without any signal stay as they are.
    doc.spectrum.peakValue = findPeak(doc.spectrum);
    const double magnitude = std::fabs(doc.spectrum.peakValue);
    if (!inverse && magnitude > 0.0) {
        for (int i = 0; i < n; ++i) doc.spectrum.specData[i] = doc.spectrum.specData[i] / magnitude * 100.0;
        // The displays scale by |peakValue|: it must describe the normalised data (+-100, same
        // sign and index), or the new spectrum is drawn flat.
        doc.spectrum.peakValue = findPeak(doc.spectrum);
    }

    // 13: where 0 Hz lies in the new data.
    doc.spectrum.refIndex = spectrumRefIndex(doc, n);
    return true;
}

}  // namespace pelvaron::processing
