// Window functions. Two time bases occur: m/(2*SW) for the exponential and TRAFICANTE functions
// and m*AQ/N for the others; they agree while N equals TD and differ after zero filling. The
// spectrometer-style windows count complex points instead, over the points they are given.
#include "processing/window_functions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "base/legacy_constants.h"

namespace pelvaron::processing {

namespace {

constexpr double kPi = legacy::kPi;
constexpr double kGaussPi = legacy::kShortPi;

}  // namespace

void exponentialWindow(double* data, int n, double lb, double sw) {
    for (int m = 0; m < n - 2; ++m) data[m] *= std::exp(-kPi * lb * m / (2.0 * sw));
}

void gaussianWindow(double* data, int n, double lb, double shift, double aq) {
    const double ln2 = std::log(2.0);
    for (int m = 0; m < n; ++m) {
        const double t = m * aq / n;
        const double u = kGaussPi * lb * t - shift * aq;
        data[m] *= std::exp(-(u * u) / (4.0 * ln2));
    }
}

void traficanteWindow(double* data, int n, double lb, double sw) {
    const double b = -kPi * lb / (2.0 * sw);
    for (int m = 0; m < n; ++m) {
        const double e = std::exp(b * m);
        const double f = std::exp(b * (n - m));
        data[m] *= e / (e * e + f * f);
    }
}

void lorentzGaussWindow(double* data, int n, double lb, double gb, double aq) {
    const double a = kPi * lb;
    for (int m = 0; m < n; ++m) {
        const double t = m * aq / n;
        data[m] *= std::exp(-a * t + a * t * t / (2.0 * gb * aq));
    }
}

void sineBellWindow(double* data, int n, double degrees, bool squared) {
    const double phi = degrees * kPi / 180.0;
    for (int m = 0; m < n; ++m) {
        const double s = std::sin(phi + (kPi - phi) * m / n);
        data[m] *= squared ? s * s : s;
    }
}

void hanningWindow(double* data, int n) {
    for (int m = 0; m < n; ++m) data[m] *= 0.5 + 0.5 * std::cos(kPi * m / n);
}

void hammingWindow(double* data, int n) {
    for (int m = 0; m < n; ++m) data[m] *= 0.54 + 0.46 * std::cos(kPi * m / n);
}

namespace {

/// Multiplies both values of every point by factor(t), t the point's time.
template <typename Factor>
void multiplyPoints(double* data, const FidLayout& fid, Factor factor) {
    if (fid.points <= 0 || fid.valuesPerPoint < 1 || !(fid.dwell > 0.0) || !std::isfinite(fid.dwell)) return;
    for (int k = 0; k < fid.points; ++k) {
        const double f = factor(k * fid.dwell);
        double* point = data + static_cast<std::ptrdiff_t>(k) * fid.valuesPerPoint;
        for (int v = 0; v < fid.valuesPerPoint; ++v) point[v] *= f;
    }
}

}  // namespace

void emWindow(double* data, const FidLayout& fid, double lb) {
    if (lb == 0.0 || !std::isfinite(lb)) return;
    const double rate = kPi * lb;
    multiplyPoints(data, fid, [rate](double t) { return std::exp(-rate * t); });
}

void gmWindow(double* data, const FidLayout& fid, double lb, double gb) {
    if (!std::isfinite(lb) || !std::isfinite(gb)) return;
    if (gb <= 0.0) {
        emWindow(data, fid, lb);
        return;
    }
    const double a = kPi * lb;
    const double aq = fid.points * fid.dwell;
    const double b = a / (2.0 * gb * aq);
    multiplyPoints(data, fid, [a, b](double t) { return std::exp(-a * t + b * t * t); });
}

void sineWindow(double* data, const FidLayout& fid, double ssb, bool squared) {
    if (!std::isfinite(ssb)) return;
    const double phi = ssb > 1.0 ? kPi / ssb : 0.0;
    const double aq = fid.points * fid.dwell;
    multiplyPoints(data, fid, [phi, aq, squared](double t) {
        const double s = std::sin(phi + (kPi - phi) * t / aq);
        return squared ? s * s : s;
    });
}

Message windowMessage(WindowProblem problem) {
    switch (problem) {
        case WindowProblem::ShiftOutOfRange:
            return {"Shift must be a value between 0 and 1", "error", MessageIcon::Exclamation};
        case WindowProblem::GbOutOfRange:
            return {"GB must be a number between 0 and 1", "Error", MessageIcon::Information};
    }
    return {};
}

WindowCheck checkWindow(const WindowSettings& w) {
    WindowCheck c;
    c.settings = w;
    if (w.selected == Window::Gaussian && !(w.shift >= 0.0 && w.shift <= 1.0)) {
        c.problem = WindowProblem::ShiftOutOfRange;
    }
    if (w.selected == Window::LorentzGauss) {
        if (w.lbLg > 0.0) {
            c.settings.lbLg = -w.lbLg;
            c.lbNegated = true;
        }
        // GB = 0 would divide by zero in the Gaussian term: refused like any other GB outside
        // the range.
        if (!(w.gb > 0.0 && w.gb <= 1.0)) c.problem = WindowProblem::GbOutOfRange;
    }
    return c;
}

void applyWindow(Spectrum& s, const WindowSettings& w) {
    const int n = s.count();
    double* data = s.specData.data();
    const double sw = s.acqPars.SW;
    const double aq = s.acqPars.AQ;
    switch (w.selected) {
        case Window::Exponential: exponentialWindow(data, n, w.lbExp, sw); break;
        case Window::Gaussian: gaussianWindow(data, n, w.lbGauss, w.shift, aq); break;
        case Window::Traficante: traficanteWindow(data, n, w.lbTraf, sw); break;
        case Window::LorentzGauss: lorentzGaussWindow(data, n, w.lbLg, w.gb, aq); break;
        case Window::Sine: sineBellWindow(data, n, w.sineDeg, false); break;
        case Window::SineSquared: sineBellWindow(data, n, w.sine2Deg, true); break;
        case Window::Hamming: hammingWindow(data, n); break;
        case Window::Hanning: hanningWindow(data, n); break;
    }
}

Status<WindowProblem> apodize(Spectrum& s, const WindowSettings& w) {
    const WindowCheck c = checkWindow(w);
    if (c.problem) return Failure{*c.problem};
    applyWindow(s, c.settings);
    return {};
}

}  // namespace pelvaron::processing
