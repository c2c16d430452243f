// Phase rotation and Autophase. Degrees become radians with the phase's own short pi
// (legacy_constants.h), not the full one.
#include "processing/phase.h"
#include "base/legacy_constants.h"

#include <algorithm>
#include <cmath>

namespace pelvaron::processing {

namespace {

constexpr double kPhasePi = legacy::kShortPi;

int dataCount(const Document& doc) { return std::clamp(doc.spectrum.nData, 0, kCapacity); }

double sumOfRealParts(const Document& doc) {
    const int n = dataCount(doc);
    double sum = 0.0;
    for (int i = 0; i + 1 < n; i += 2) sum += doc.spectrum.specData[i];
    return sum;
}

/// atan(-factor*im/re) in degrees; a pivot with no signal at all has no phase to read (0).
double pivotAngle(double re, double im, double factor) {
    if (re == 0.0 && im == 0.0) return 0.0;
    return std::atan(-factor * im / re) * 180.0 / kPhasePi;
}

}  // namespace

void phaseRotation(double* x, int n, double order0, double order1, int pivot, bool imaginary) {
    if (n < 4) return;
    const double phi0 = order0 * kPhasePi / 180.0;
    const double phi1 = order1 * kPhasePi / 180.0;
    x[1] = x[3];
    const double count = n;
    for (int k = 0; k < n / 2; ++k) {
        const double theta = phi0 + phi1 * 4.0 * (2 * k + 1 - pivot) / count;
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        const double re = x[2 * k];
        x[2 * k] = c * re - s * x[2 * k + 1];
        if (imaginary) x[2 * k + 1] = s * re + c * x[2 * k + 1];
    }
}

void linearPhaseRotation(double* data, int first, int last, double angleAtFirst, double step) {
    const double stepCos = std::cos(step);
    const double stepSin = std::sin(step);
    constexpr int kBlock = 64;
    for (int k = first; k < last;) {
        const int end = std::min(last, k + kBlock);
        const double angle = angleAtFirst + step * (k - first);
        double c = std::cos(angle);
        double s = std::sin(angle);
        for (; k < end; ++k) {
            const double re = data[2 * k];
            const double im = data[2 * k + 1];
            data[2 * k] = re * c - im * s;
            data[2 * k + 1] = re * s + im * c;
            const double nextC = c * stepCos - s * stepSin;
            s = s * stepCos + c * stepSin;
            c = nextC;
        }
    }
}

void phaseRotation(Document& doc, double order0, double order1, bool imaginary) {
    phaseRotation(doc.spectrum.specData.data(), dataCount(doc), order0, order1, doc.spectrum.peakIndex, imaginary);
}

void saveUnphased(Document& doc) { doc.spectrum.phaseSource.copyFrom(doc.spectrum.specData, doc.spectrum.nData); }

void restoreUnphased(Document& doc) { doc.spectrum.specData.copyFrom(doc.spectrum.phaseSource, doc.spectrum.nData); }

void autophase(Document& doc) {
    if (doc.spectrum.phaseSourceValid) {
        restoreUnphased(doc);
    } else {
        saveUnphased(doc);
    }
    doc.spectrum.phaseSourceValid = 1;
    const int n = dataCount(doc);
    if (n < 2) return;
    // The pivot scroll bar reaches nData, one point past the data: read the last point there.
    const int p = std::clamp(doc.spectrum.peakIndex - doc.spectrum.peakIndex % 2, 0, n - 2);
    const double re = doc.spectrum.specData[p];
    const double im = doc.spectrum.specData[p + 1];

    const double a1 = pivotAngle(re, im, 10.0);
    phaseRotation(doc, a1, 0.0, true);
    const double s1 = sumOfRealParts(doc);
    restoreUnphased(doc);

    const double a2 = pivotAngle(re, im, 1.0);
    phaseRotation(doc, a2, 0.0, true);
    const double s2 = sumOfRealParts(doc);
    restoreUnphased(doc);

    const double chosen = std::fabs(s2) >= std::fabs(s1) ? a2 : a1;
    phaseRotation(doc, chosen, 0.0, true);
    doc.spectrum.phase0 = std::trunc(chosen);
    doc.spectrum.phase1 = 0.0;
}

void autophaseCommand(Document& doc, platform::UserInterface& ui) {
    autophase(doc);
    if (doc.spectrum.peakValue < 0.0) {
        addHalfTurn(doc.spectrum);
        restoreUnphased(doc);
        phaseRotation(doc, doc.spectrum.phase0, 0.0, true);
    }
    ui.requestRepaint();
}

}  // namespace pelvaron::processing
