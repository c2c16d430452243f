// Window functions. Two time bases occur: m/(2*SW) for the exponential and TRAFICANTE functions
// and m*AQ/N for the others; they agree while N equals TD and differ after zero filling.
#include "processing/window_functions.h"

#include <algorithm>
#include <cmath>

namespace pelvaron::processing {

namespace {

constexpr double kPi = 3.141592653589793;
/// The Gaussian window's own value of pi.
constexpr double kGaussPi = 3.14159;

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

void applyWindow(Document& doc) {
    const int n = std::clamp(doc.nData, 0, kCapacity);
    double* data = doc.specData.data();
    const WindowParams& w = doc.window;
    const double sw = doc.acqPars.SW;
    const double aq = doc.acqPars.AQ;
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

}  // namespace pelvaron::processing
