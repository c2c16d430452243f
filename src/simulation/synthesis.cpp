// The simulated spectrum: a histogram of line intensities on the point grid, convolved with one
// Lorentzian kernel, added into specData.
#include "simulation/synthesis.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "base/legacy_constants.h"
#include "base/numeric.h"

namespace pelvaron::simulation {

namespace {

constexpr double kTwoPi = legacy::kLineShapeTwoPi;

bool refuse(platform::UserInterface& ui, const char* text) {
    ui.message(text, "Error", platform::Icon::Stop, platform::Buttons::Ok);
    return false;
}

}  // namespace

bool checkSynthesisParams(double w, double fromHz, double toHz, double threshold, int nPoints,
                          platform::UserInterface& ui) {
    if (!std::isfinite(w) || !std::isfinite(fromHz) || !std::isfinite(toHz) || !std::isfinite(threshold))
        return refuse(ui, kNotFiniteText);
    // A width of 0 divides 0 by 0 at every line centre.
    if (!(w > 0.0)) return refuse(ui, kLineWidthText);
    if (!(fromHz < toHz)) return refuse(ui, kWindowText);
    if (nPoints < 2 || nPoints > kCapacity) return refuse(ui, kPointsText);
    return true;
}

bool synthesizeSpectrum(Document& doc, platform::UserInterface& ui, std::span<const double> freq,
                        std::span<const double> intens, double w, double threshold, int nPoints,
                        double fromHz, double toHz) {
    if (!checkSynthesisParams(w, fromHz, toHz, threshold, nPoints, ui)) return false;
    if (freq.size() != intens.size()) return false;
    const int h = nPoints / 2;

    // Line centres lie between -(h-1) and 2h-2 when they can reach a point at all; the histogram
    // covers that range, shifted by h-1. Allocated before anything changes.
    const int span = 3 * h - 2;
    std::vector<double> histogram;
    std::vector<double> kernel;
    try {
        histogram.assign(static_cast<std::size_t>(span), 0.0);
        kernel.resize(static_cast<std::size_t>(2 * h - 1));
    } catch (const std::bad_alloc&) {
        return refuse(ui, "Error allocating memory for the simulated spectrum");
    }

    const double simRange = std::fabs(toHz - fromHz);
    doc.sim.simRange = simRange;
    // The whole curve being built is cleared, not only the old nData: a shorter earlier data
    // set would leave stale values under the new points.
    const int clearCount = std::clamp(std::max(doc.spectrum.nData, h), 0, kCapacity);
    std::fill(doc.workCurve.begin(), doc.workCurve.begin() + clearCount, 0.0);

    if (!(doc.sim.simInteractive == 1 && doc.sim.simUpdateDocument == 0)) {
        AcqParams& p = doc.spectrum.acqPars;
        p.TD = nPoints;
        doc.spectrum.nData = nPoints;
        p.SW = simRange;
        p.AQ = nPoints / simRange;
        doc.viewLeft = 0.0;
        doc.viewRight = p.AQ;
        doc.spectrum.refIndex = truncToInt(p.TD + std::trunc(2.0 * p.offsetHz * p.AQ));
    }
    const double offsetHz = doc.spectrum.acqPars.offsetHz;

    bool any = false;
    for (std::size_t i = 0; i < freq.size(); ++i) {
        const double f = freq[i];
        if (!(intens[i] > threshold + 1e-6) || !(fromHz < f && f < toHz)) continue;
        const double steps = std::trunc((f - offsetHz) * h / simRange);
        const double centre = h - steps;
        if (!(centre >= -(h - 1.0) && centre <= 2.0 * h - 2.0)) continue;  // reaches no point
        histogram[static_cast<std::size_t>(centre + (h - 1))] += intens[i];
        any = true;
    }

    if (any) {
        // kernel[h-1+d] is the line shape d points from the centre, both sides.
        for (int k = 0; k < h; ++k) {
            const double delta = k * simRange / h;
            const double value = w / (w * w / 4.0 + delta * delta) / kTwoPi;
            kernel[static_cast<std::size_t>(h - 1 + k)] = value;
            kernel[static_cast<std::size_t>(h - 1 - k)] = value;
        }
        double* curve = doc.workCurve.data();
        for (int c = 0; c < span; ++c) {
            const double weight = histogram[static_cast<std::size_t>(c)];
            if (weight == 0.0) continue;
            const int m = c - (h - 1);
            // Points within h-1 of the centre and inside 0..h-1.
            const int lo = std::max(0, m - (h - 1));
            const int hi = std::min(h - 1, m + (h - 1));
            const double* shape = kernel.data() + (h - 1 - m + lo);
            for (int p = lo; p <= hi; ++p) curve[p] += weight * shape[p - lo];
        }
    }

    doc.spectrum.noteSpecExtent(2 * h);
    for (int j = 0; j < h; ++j) {
        doc.spectrum.specData[2 * j] += doc.workCurve[j];
        doc.spectrum.specData[2 * j + 1] = 0.0;
    }
    return true;
}

}  // namespace pelvaron::simulation
