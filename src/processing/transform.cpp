// The Fourier transform command and the data operations it applies around the FFT.
#include "processing/transform.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "base/numeric.h"
#include "document/document.h"
#include "processing/fft.h"
#include "processing/phase.h"

namespace pelvaron::processing {

namespace {

/// Doubles in use, never beyond the buffers.
int dataCount(const Spectrum& s) { return std::clamp(s.nData, 0, kCapacity); }

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

void firstPointCorrection(Spectrum& s) {
    if (dataCount(s) < 2) return;
    s.specData[0] *= 0.5;
    s.specData[1] *= 0.5;
}

void driftCorrection(Spectrum& s) {
    const int n = dataCount(s);
    if (n < 2) return;
    const double count = n / 2;
    double re = 0.0;
    double im = 0.0;
    for (int i = 0; i + 1 < n; i += 2) {
        re += s.specData[i];
        im += s.specData[i + 1];
    }
    re /= count;
    im /= count;
    for (int i = 0; i + 1 < n; i += 2) {
        s.specData[i] -= re;
        s.specData[i + 1] -= im;
    }
}

void rotateData(Spectrum& s, int count) {
    const int n = dataCount(s);
    // A rotation beyond the data has no meaning; such counts are clamped into 0 ... N/2.
    const int r = std::clamp(count, 0, n / 2);
    // An in-place rotation moves the same values to the same places as a copy through a
    // temporary array, and it cannot fail for want of memory.
    std::rotate(s.specData.begin(), s.specData.begin() + 2 * r, s.specData.begin() + 2 * (n / 2));
}

void quadratureAlternation(Spectrum& s) {
    const int n = dataCount(s);
    for (int i = 0; i + 1 < n; i += 4) {
        s.specData[i] = -s.specData[i];
        s.specData[i + 1] = -s.specData[i + 1];
    }
}

void conjugate(Spectrum& s) {
    const int n = dataCount(s);
    for (int i = 1; i < n; i += 2) s.specData[i] = -s.specData[i];
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

std::optional<double> groupDelayProposal(const Spectrum& s) {
    // A group delay the spectrometer recorded is exact for its own filter, whatever DECIM and
    // DSPFVS say; the table only covers the firmware it knows.
    if (s.groupDelay > 0.0) return s.groupDelay;
    return groupDelayFromTable(s.acqPars.DECIM, s.acqPars.DSPFVS);
}

std::optional<int> proposedRotation(const Spectrum& s) {
    const std::optional<double> delay = groupDelayProposal(s);
    if (!digitallyFiltered(s) || !delay) return std::nullopt;
    return truncToInt(*delay);
}

int spectrumRefIndex(const Spectrum& s, int n) {
    const double count = n;
    return truncToInt(count + std::trunc(2.0 * s.offsetHz * (count / (2.0 * s.acqPars.SW))));
}

double residualGroupDelay(const Spectrum& s, int rotateCount) {
    const std::optional<double> proposal = groupDelayProposal(s);
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

TransformSettings proposedTransform(const Spectrum& s, int rememberedRotation) {
    TransformSettings t;
    t.real = s.ftReal;
    t.driftCorr = s.ftDriftCorr;
    t.quadrature = s.ftQuadrature;
    t.inverse = s.ftInverse;
    t.rotateCount = rememberedRotation;
    // A forward transform of filtered data gets the filter's delay as its rotation, and what the
    // whole points leave of it as the ramp.
    const std::optional<int> rotation = proposedRotation(s);
    if (!t.inverse && rotation) {
        t.rotate = 1;
        t.rotateCount = *rotation;
        t.delayFraction = residualGroupDelay(s, t.rotateCount);
    }
    return t;
}

std::optional<int> transformSizeOfPoints(double points) {
    for (int size = 128; size <= kMaxTransformSize; size *= 2) {
        if (2.0 * points == static_cast<double>(size)) return size;
    }
    return std::nullopt;
}

void roundUpToTransformSize(Spectrum& s) {
    s.noteSpecExtent(s.nData);
    s.nData = roundUpTransformSize(s.nData);
    s.acqPars.TD = s.nData;
}

void chooseTransformSize(Spectrum& s, int size) {
    // A smaller size leaves the doubles beyond it in the buffer, to come back with a larger one.
    s.noteSpecExtent(s.nData);
    s.nData = std::clamp(size, 0, kMaxTransformSize);
}

Status<TransformProblem> transformSpectrum(Spectrum& s, const TransformSettings& t) {
    const int n = s.nData;
    if (n < 4 || n > kCapacity || !std::has_single_bit(static_cast<unsigned>(n))) {
        return Failure{TransformProblem::NotATransformSize};
    }
    s.ftReal = t.real;
    s.ftDriftCorr = t.driftCorr;
    s.ftQuadrature = t.quadrature;
    s.ftInverse = t.inverse;
    const int rotateCount = std::clamp(t.rotateCount, 0, n / 2);

    // The way back starts from the spectrum as it was before the forward transform's ramp.
    const bool inverse = s.ftInverse != 0;
    if (inverse && !s.ftReal && s.delayFraction != 0.0) {
        groupDelayRamp(s.specData.data(), n, -s.delayFraction, s.delayCentred != 0);
    }
    if (inverse) s.delayFraction = 0.0;

    // Corrections of the input.
    firstPointCorrection(s);
    if (t.rotate) rotateData(s, rotateCount);
    if (s.ftDriftCorr) driftCorrection(s);

    const int direction = inverse ? kInverse : kForward;
    if (inverse) {
        s.xUnits = kSeconds;
        s.acqPars.DECIM = 1;
        // The time-domain data coming back are already rotated: no delay is left to propose.
        s.groupDelay = 0.0;
    } else {
        s.xUnits = kPpm;
    }

    // The transform itself.
    if (s.ftQuadrature && !inverse) quadratureAlternation(s);
    if (s.ftReal) {
        realFft(s, n, direction);
    } else {
        if (s.negateImag) conjugate(s);
        s.negateImag = 0;
        complexFft(s, n / 2, direction);
        // Whatever of the group delay the whole-point rotation left is a linear phase across
        // the spectrum; taking it off here leaves lines that need a zero-order correction only.
        // (A real transform's packed output has no such ramp applied: it gets the rotation only.)
        if (!inverse) {
            s.delayFraction =
                std::isfinite(t.delayFraction) && std::fabs(t.delayFraction) < 1.0 ? t.delayFraction : 0.0;
            s.delayCentred = s.ftQuadrature;
            groupDelayRamp(s.specData.data(), n, s.delayFraction, s.delayCentred != 0);
        }
    }
    if (!inverse && s.ftReal) s.delayFraction = 0.0;
    const double count = n;
    for (int i = 0; i < n; ++i) s.specData[i] /= count;

    // The options the next opening proposes: the way back, or forward again. Either way the new
    // data carry no phase correction yet; an unphased copy of earlier data (kept valid across an
    // Undo) would replace them at the next re-phasing.
    if (inverse) {
        s.ftInverse = 0;
        s.ftQuadrature = 0;
    } else {
        s.ftInverse = 1;
        s.ftQuadrature = 0;
        s.ftReal = 0;
    }
    s.phase0 = 0.0;
    s.phase1 = 0.0;
    s.phaseSourceValid = 0;

    // The largest line becomes +-100; data without any signal stay as they are.
    s.peakValue = findPeak(s);
    const double magnitude = std::fabs(s.peakValue);
    if (!inverse && magnitude > 0.0) {
        for (int i = 0; i < n; ++i) s.specData[i] = s.specData[i] / magnitude * 100.0;
        // The displays scale by |peakValue|: it must describe the normalised data (+-100, same
        // sign and index), or the new spectrum is drawn flat.
        s.peakValue = findPeak(s);
    }

    // Where 0 Hz lies in the new data.
    s.refIndex = spectrumRefIndex(s, n);
    return {};
}

Status<TransformProblem> fourierTransform(Document& doc, const TransformSettings& settings) {
    const int n = doc.spectrum.nData;
    if (n < 4 || n > kCapacity || !std::has_single_bit(static_cast<unsigned>(n))) {
        return Failure{TransformProblem::NotATransformSize};
    }
    // The dialog shows these options at its next opening; Undo returns the flags with the data.
    TransformState& ts = doc.transform;
    ts.ftRotate = settings.rotate;
    ts.ftRotateCount = std::clamp(settings.rotateCount, 0, n / 2);
    ts.ftDirection = settings.inverse ? kInverse : kForward;
    doc.spectrum.ftReal = settings.real;
    doc.spectrum.ftDriftCorr = settings.driftCorr;
    doc.spectrum.ftQuadrature = settings.quadrature;
    doc.spectrum.ftInverse = settings.inverse;
    takeUndoFlags(doc);
    takeUndoSnapshot(doc);

    const Status<TransformProblem> done = transformSpectrum(doc.spectrum, settings);
    if (done && settings.inverse) {
        // The time-domain data as last obtained: interactive apodization starts from them.
        doc.fidCopy.copyFrom(doc.spectrum.specData, n);
        doc.fidCopyCount = n;
        doc.fidCopyFromInverse = 1;
    }
    return done;
}

}  // namespace pelvaron::processing
