// Phase rotation and Autophase. Degrees become radians with the phase's own short pi
// (legacy_constants.h), not the full one.
#include "processing/phase.h"

#include <algorithm>
#include <cmath>

#include "base/legacy_constants.h"

namespace pelvaron::processing {

namespace {

constexpr double kPhasePi = legacy::kShortPi;

int dataCount(const Spectrum& s) { return std::clamp(s.nData, 0, kCapacity); }

double sumOfRealParts(const Spectrum& s) {
    const int n = dataCount(s);
    double sum = 0.0;
    for (int i = 0; i + 1 < n; i += 2) sum += s.specData[i];
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

void phaseRotation(Spectrum& s, double order0, double order1, bool imaginary) {
    phaseRotation(s.specData.data(), dataCount(s), order0, order1, s.peakIndex, imaginary);
}

void phaseRotationByRecurrence(Spectrum& s, double order0, double order1) {
    const int n = dataCount(s);
    if (n < 4) return;
    double* x = s.specData.data();
    x[1] = x[3];
    constexpr double kRadians = legacy::kPhaseRadiansPerDegree;
    const double phi0 = order0 * kRadians;
    const double phi1 = order1 * kRadians;
    const double count = n;
    linearPhaseRotation(x, 0, n / 2, phi0 + phi1 * 4.0 * (1 - s.peakIndex) / count, phi1 * 8.0 / count);
}

void saveUnphased(Spectrum& s) { s.phaseSource.copyFrom(s.specData, s.nData); }

void restoreUnphased(Spectrum& s) { s.specData.copyFrom(s.phaseSource, s.nData); }

void autophase(Spectrum& s) {
    if (s.phaseSourceValid) {
        restoreUnphased(s);
    } else {
        saveUnphased(s);
    }
    s.phaseSourceValid = 1;
    const int n = dataCount(s);
    if (n < 2) return;
    // The pivot scroll bar reaches nData, one point past the data: read the last point there.
    const int p = std::clamp(s.peakIndex - s.peakIndex % 2, 0, n - 2);
    const double re = s.specData[p];
    const double im = s.specData[p + 1];

    const double a1 = pivotAngle(re, im, 10.0);
    phaseRotation(s, a1, 0.0, true);
    const double s1 = sumOfRealParts(s);
    restoreUnphased(s);

    const double a2 = pivotAngle(re, im, 1.0);
    phaseRotation(s, a2, 0.0, true);
    const double s2 = sumOfRealParts(s);
    restoreUnphased(s);

    const double chosen = std::fabs(s2) >= std::fabs(s1) ? a2 : a1;
    phaseRotation(s, chosen, 0.0, true);
    s.phase0 = std::trunc(chosen);
    s.phase1 = 0.0;
}

void autophaseUpright(Spectrum& s) {
    autophase(s);
    if (s.peakValue < 0.0) {
        addHalfTurn(s);
        restoreUnphased(s);
        phaseRotation(s, s.phase0, 0.0, true);
    }
}

void autophaseCommand(Document& doc) {
    autophaseUpright(doc.spectrum);
    doc.notify(kDataChanged);
}

void applyPhase(Spectrum& s, const PhaseSettings& p) {
    if (!s.phaseSourceValid) saveUnphased(s);
    s.phaseSourceValid = 1;
    restoreUnphased(s);
    s.phase0 = p.phase0;
    s.phase1 = p.phase1;
    phaseRotation(s, s.phase0, s.phase1, true);
}

}  // namespace pelvaron::processing
