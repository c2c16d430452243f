// The simulated spectrum: a histogram of line intensities on the point grid, convolved with one
// Lorentzian kernel, and its addition into specData.
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

bool refuse(Messages& said, const char* text) {
    said.push_back({text, "Error", MessageIcon::Stop});
    return false;
}

}  // namespace

SynthesisSettings synthesisSettingsOf(const SimulationState& sim) {
    return {sim.simLineWidth, sim.simFromHz, sim.simToHz, sim.simThreshold, sim.simPoints};
}

bool checkSynthesisParams(const SynthesisSettings& s, Messages& said) {
    if (!std::isfinite(s.lineWidth) || !std::isfinite(s.fromHz) || !std::isfinite(s.toHz) ||
        !std::isfinite(s.threshold))
        return refuse(said, kNotFiniteText);
    // A width of 0 divides 0 by 0 at every line centre.
    if (!(s.lineWidth > 0.0)) return refuse(said, kLineWidthText);
    if (!(s.fromHz < s.toHz)) return refuse(said, kWindowText);
    if (s.points < 2 || s.points > kCapacity) return refuse(said, kPointsText);
    return true;
}

bool lineCurve(std::span<double> curve, std::span<const double> freq, std::span<const double> intens,
               const SynthesisSettings& s, double offsetHz, Messages& said) {
    const int h = s.points / 2;
    const double w = s.lineWidth;
    // Line centres lie between -(h-1) and 2h-2 when they can reach a point at all; the histogram
    // covers that range, shifted by h-1.
    const int span = 3 * h - 2;
    std::vector<double> histogram;
    std::vector<double> kernel;
    try {
        histogram.assign(static_cast<std::size_t>(span), 0.0);
        kernel.resize(static_cast<std::size_t>(2 * h - 1));
    } catch (const std::bad_alloc&) {
        return refuse(said, kCurveAllocationText);
    }
    std::fill(curve.begin(), curve.begin() + h, 0.0);
    const double simRange = std::fabs(s.toHz - s.fromHz);

    bool any = false;
    for (std::size_t i = 0; i < freq.size(); ++i) {
        const double f = freq[i];
        if (!(intens[i] > s.threshold + 1e-6) || !(s.fromHz < f && f < s.toHz)) continue;
        const double steps = std::trunc((f - offsetHz) * h / simRange);
        const double centre = h - steps;
        if (!(centre >= -(h - 1.0) && centre <= 2.0 * h - 2.0)) continue;  // reaches no point
        histogram[static_cast<std::size_t>(centre + (h - 1))] += intens[i];
        any = true;
    }
    if (!any) return true;

    // kernel[h-1+d] is the line shape d points from the centre, both sides.
    for (int k = 0; k < h; ++k) {
        const double delta = k * simRange / h;
        const double value = w / (w * w / 4.0 + delta * delta) / kTwoPi;
        kernel[static_cast<std::size_t>(h - 1 + k)] = value;
        kernel[static_cast<std::size_t>(h - 1 - k)] = value;
    }
    double* out = curve.data();
    for (int c = 0; c < span; ++c) {
        const double weight = histogram[static_cast<std::size_t>(c)];
        if (weight == 0.0) continue;
        const int m = c - (h - 1);
        // Points within h-1 of the centre and inside 0..h-1.
        const int lo = std::max(0, m - (h - 1));
        const int hi = std::min(h - 1, m + (h - 1));
        const double* shape = kernel.data() + (h - 1 - m + lo);
        for (int p = lo; p <= hi; ++p) out[p] += weight * shape[p - lo];
    }
    return true;
}

void zeroForSimulation(Document& doc, int nPoints) {
    const int count = std::clamp(std::max(doc.spectrum.nData, nPoints), 0, kCapacity);
    std::fill(doc.spectrum.specData.begin(), doc.spectrum.specData.begin() + count, 0.0);
    doc.spectrum.noteSpecExtent(count);
    // Its axis is the one the simulation was set up on, and nothing the spectrometer recorded of
    // its processing applies to the data any more.
    doc.spectrum.referenceSource = ReferenceSource::Simulation;
    doc.spectrum.recorded = {};
}

void setSimulatedAxis(Document& doc, const SynthesisSettings& s) {
    const double simRange = std::fabs(s.toHz - s.fromHz);
    doc.sim.simRange = simRange;
    if (doc.sim.simInteractive == 1 && doc.sim.simUpdateDocument == 0) return;
    AcqParams& p = doc.spectrum.acqPars;
    p.TD = s.points;
    doc.spectrum.nData = s.points;
    p.SW = simRange;
    p.AQ = s.points / simRange;
    doc.spectrum.refIndex = truncToInt(p.TD + std::trunc(2.0 * p.offsetHz * p.AQ));
    doc.notify(kAxisReplaced);
}

void addSimulatedCurve(Document& doc, std::span<const double> curve) {
    const int h = static_cast<int>(curve.size());
    doc.spectrum.noteSpecExtent(2 * h);
    for (int j = 0; j < h; ++j) {
        doc.spectrum.specData[2 * j] += curve[static_cast<std::size_t>(j)];
        doc.spectrum.specData[2 * j + 1] = 0.0;
    }
}

bool synthesizeSpectrum(Document& doc, Messages& said, std::span<const double> freq,
                        std::span<const double> intens, double w, double threshold, int nPoints,
                        double fromHz, double toHz) {
    const SynthesisSettings s{w, fromHz, toHz, threshold, nPoints};
    if (!checkSynthesisParams(s, said)) return false;
    if (freq.size() != intens.size()) return false;
    // Built apart and then added, so that nothing changes when the storage cannot be had.
    std::vector<double> curve;
    try {
        curve.resize(static_cast<std::size_t>(nPoints / 2));
    } catch (const std::bad_alloc&) {
        return refuse(said, kCurveAllocationText);
    }
    if (!lineCurve(curve, freq, intens, s, doc.spectrum.acqPars.offsetHz, said)) return false;
    setSimulatedAxis(doc, s);
    addSimulatedCurve(doc, curve);
    return true;
}

}  // namespace pelvaron::simulation
