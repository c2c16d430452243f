// The fit of the simulation in the document, and the measured points the command line fits.
#include "simulation/fit_session.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "simulation/spin_engine.h"

namespace pelvaron::simulation {

namespace {

using Kind = FitParameterId::Kind;

void refuse(Messages& said, std::string text) {
    said.push_back({std::move(text), kFitCaption, MessageIcon::Stop});
}

int subsystemCount(const SimulationState& sim) {
    if (!sim.subsystemsAllocated) return 0;
    return std::clamp(sim.lastSubsystem + 1, 0, static_cast<int>(sim.spinSubsystems.size()));
}

/// The simulation is still the one `start` was taken from: its subsystems, nuclei, values and width.
bool unchangedSince(const SimulationState& sim, const FitParameters& start) {
    if (subsystemCount(sim) != static_cast<int>(start.subsystems.size())) return false;
    for (std::size_t s = 0; s < start.subsystems.size(); ++s) {
        const SpinSubsystem& rec = sim.spinSubsystems[s];
        const FitSubsystem& was = start.subsystems[s];
        if (rec.shifts() != was.shifts || rec.couplings() != was.couplings ||
            sim.simLineWidth != was.lineWidth)
            return false;
    }
    return true;
}

/// The editing copies follow the subsystem they were loaded from (Interactive Sim., Edit Parameters).
void refreshEditCopies(SimulationState& sim) {
    const int s = sim.currentSubsystem;
    if (s < 0 || s >= subsystemCount(sim)) return;
    const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(s)];
    if (sim.editShifts.size() != rec.shifts().size()) return;
    sim.editShifts = rec.shifts();
    sim.editCouplings = rec.couplings();
}

void scaleSecondSet(Document& doc, double factor) {
    const int n = doc.spectrum.count();
    for (int i = 0; i < n; ++i) doc.secondData[i] *= factor;
}

/// Computes the simulation again as Interactive Sim. does: the axis, and with it the view, stay.
bool recomputeInPlace(Document& doc, Messages& said) {
    SimulationState& sim = doc.sim;
    const int interactive = sim.simInteractive;
    const int update = sim.simUpdateDocument;
    sim.simInteractive = 1;
    sim.simUpdateDocument = 0;
    const bool computed = recomputeSimulation(doc, said);
    sim.simInteractive = interactive;
    sim.simUpdateDocument = update;
    return computed;
}

std::string ppmText(const SpectrumDescription& s, double hz) { return cformat("%.4f", hz / s.acqPars.SF); }

}  // namespace

double pointHz(const SpectrumDescription& s, double k) {
    return s.acqPars.SW * (1.0 - 2.0 * k / s.nData) + s.offsetHz;
}

bool holdsSpectrum(const SpectrumDescription& s) {
    return s.ftInverse || s.xUnits == kPpm || s.xUnits == kHz ||
           s.referenceSource == ReferenceSource::Simulation;
}

MeasuredRegion measuredRegion(const SpectrumDescription& s, const double* data, double fromHz, double toHz) {
    const double lo = std::min(fromHz, toHz), hi = std::max(fromHz, toHz);
    MeasuredRegion out;
    const int points = s.count() / 2;
    for (int k = 0; k < points; ++k) {
        const double hz = pointHz(s, k);
        if (hz < lo || hz > hi) continue;
        if (out.points.hz.empty()) out.first = k;
        out.points.hz.push_back(hz);
        out.points.values.push_back(data[2 * k]);
    }
    return out;
}

RegionFault regionFault(const FitRegion& region) {
    if (region.hz.size() < 2) return RegionFault::TooFewPoints;
    const auto [lo, hi] = std::minmax_element(region.values.begin(), region.values.end());
    return *hi > *lo ? RegionFault::None : RegionFault::NoLines;
}

bool prepareCompareFit(const Document& doc, double fromHz, double toHz, FitJob& job, Messages& said) {
    const SimulationState& sim = doc.sim;
    const Spectrum& s = doc.spectrum;
    job = {};
    if (!sim.simExists || subsystemCount(sim) == 0) {
        refuse(said, kFitNoSimulationText);
        return false;
    }
    if (!checkSimulation(sim, said)) return false;
    if (!sim.compareMeasuredIsSpectrum) {
        refuse(said, kFitMeasuredFidText);
        return false;
    }
    if (!(s.acqPars.SF > 0.0) || !(s.acqPars.SW > 0.0) || s.nData < 4) {
        refuse(said, kFitNoSimulationText);
        return false;
    }

    for (int k = 0; k < subsystemCount(sim); ++k) {
        const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(k)];
        job.start.subsystems.push_back({rec.shifts(), rec.couplings(), sim.simLineWidth});
        const FitHeld& held = rec.fit.held;
        const int n = rec.nNuclei();
        for (int i = 0; i < n; ++i) {
            if (held.shift(i)) job.fixed.push_back({Kind::Shift, k, i, 0});
            for (int j = i + 1; j < n; ++j)
                if (held.coupling(i, j)) job.fixed.push_back({Kind::Coupling, k, i, j});
        }
        if (held.width) job.fixed.push_back({Kind::Width, k, 0, 0});
    }

    // The integrals say where the lines are; where none reaches into the window, the window
    // shown is what the person compares, so it is what is fitted.
    const double lo = std::min(fromHz, toHz), hi = std::max(fromHz, toHz);
    std::vector<std::pair<double, double>> spans;
    const int integrals = std::clamp(doc.integrals.integralCount, 0, kMaxIntegrals);
    for (int k = 0; k < integrals; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const double a = pointHz(s, doc.integrals.integralStart[at]);
        const double b = pointHz(s, doc.integrals.integralEnd[at]);
        const double from = std::max(std::min(a, b), lo), to = std::min(std::max(a, b), hi);
        if (from < to) spans.emplace_back(to, from);
    }
    if (spans.empty()) spans.emplace_back(hi, lo);

    for (const auto& [top, bottom] : spans) {
        MeasuredRegion region = measuredRegion(s, doc.secondData.data(), top, bottom);
        switch (regionFault(region.points)) {
            case RegionFault::TooFewPoints:
                refuse(said, cformat("The region %s to %s ppm holds fewer than 2 measured points",
                                     ppmText(s, top).c_str(), ppmText(s, bottom).c_str()));
                return false;
            case RegionFault::NoLines:
                refuse(said, cformat("The region %s to %s ppm holds no lines of the measured spectrum",
                                     ppmText(s, top).c_str(), ppmText(s, bottom).c_str()));
                return false;
            case RegionFault::None: break;
        }
        for (const double v : region.points.values) job.tallest = std::max(job.tallest, std::fabs(v));
        job.firstPoints.push_back(region.first);
        job.regions.push_back(std::move(region.points));
    }
    return true;
}

bool applyFit(Document& doc, const FitJob& job, const FitResult& result, Messages& said) {
    if (result.status != FitResult::Status::Converged) return false;
    SimulationState& sim = doc.sim;
    if (!unchangedSince(sim, job.start) || result.fitted.subsystems.size() != job.start.subsystems.size() ||
        result.sigma.subsystems.size() != job.start.subsystems.size() ||
        job.firstPoints.size() != job.regions.size()) {
        said.push_back({kFitChangedText, kFitCaption, MessageIcon::Exclamation});
        return false;
    }
    double widthSum = 0.0;
    for (std::size_t k = 0; k < job.start.subsystems.size(); ++k) {
        SpinSubsystem& rec = sim.spinSubsystems[k];
        const FitSubsystem& fitted = result.fitted.subsystems[k];
        const FitSubsystem& sigma = result.sigma.subsystems[k];
        rec.fit.shiftsBefore = rec.shifts();
        rec.fit.couplingsBefore = rec.couplings();
        const int n = rec.nNuclei();
        for (int i = 0; i < n; ++i) {
            (void)rec.setShift(i, fitted.shifts[static_cast<std::size_t>(i)]);
            for (int j = i + 1; j < n; ++j)
                (void)rec.setCoupling(
                    i, j, fitted.couplings[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
        rec.fit.sigmas = {sigma.shifts, sigma.couplings, sigma.lineWidth};
        widthSum += fitted.lineWidth;
    }
    sim.lastFit.lineWidthBefore = sim.simLineWidth;
    // The document draws every subsystem with one width: the mean of the fitted ones.
    const double width = widthSum / static_cast<double>(job.start.subsystems.size());
    if (std::isfinite(width) && width > 0.0) sim.simLineWidth = width;
    refreshEditCopies(sim);

    // The measured set is shown at the height of the fitted model, so that the two overlay.
    double scale = 0.0;
    for (const double v : result.fitted.scale) scale += v;
    scale = result.fitted.scale.empty() ? 0.0 : scale / static_cast<double>(result.fitted.scale.size());
    if (!(std::isfinite(scale) && scale > 0.0)) scale = 1.0;
    scaleSecondSet(doc, 1.0 / scale);
    sim.lastFit.secondScale = scale;
    // The residual is the model's, not the drawn simulation's, whose lines sit on grid points.
    sim.lastFit.ranges.clear();
    std::vector<std::vector<double>> model;
    if (fitModelValues(result.fitted, job.regions, model)) {
        for (std::size_t r = 0; r < job.regions.size(); ++r) {
            SimulationState::LastFit::Range range{job.firstPoints[r], {}};
            for (std::size_t k = 0; k < model[r].size(); ++k)
                range.residual.push_back((job.regions[r].values[k] - model[r][k]) / scale);
            sim.lastFit.ranges.push_back(std::move(range));
        }
    }
    if (!recomputeInPlace(doc, said)) {
        (void)undoFit(doc, said);
        return false;
    }
    return true;
}

bool fitUndoable(const SimulationState& sim) {
    const int count = subsystemCount(sim);
    if (count == 0) return false;
    for (int k = 0; k < count; ++k) {
        const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(k)];
        if (rec.empty() || rec.fit.shiftsBefore.size() != rec.shifts().size() ||
            rec.fit.couplingsBefore.size() != rec.couplings().size())
            return false;
    }
    return true;
}

bool undoFit(Document& doc, Messages& said) {
    SimulationState& sim = doc.sim;
    if (!fitUndoable(sim)) return false;
    for (int k = 0; k < subsystemCount(sim); ++k) {
        SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(k)];
        const int n = rec.nNuclei();
        for (int i = 0; i < n; ++i) {
            (void)rec.setShift(i, rec.fit.shiftsBefore[static_cast<std::size_t>(i)]);
            for (int j = i + 1; j < n; ++j)
                (void)rec.setCoupling(
                    i, j, rec.fit.couplingsBefore[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
        rec.fit.shiftsBefore.clear();
        rec.fit.couplingsBefore.clear();
        rec.fit.sigmas = {};
    }
    sim.simLineWidth = sim.lastFit.lineWidthBefore;
    scaleSecondSet(doc, sim.lastFit.secondScale);
    sim.lastFit.secondScale = 1.0;
    sim.lastFit.ranges.clear();
    refreshEditCopies(sim);
    return recomputeInPlace(doc, said);
}

void clearFitSigmas(SimulationState& sim) {
    for (SpinSubsystem& rec : sim.spinSubsystems) rec.fit.sigmas = {};
}

double fitWidthSigma(const SimulationState& sim) {
    const int count = subsystemCount(sim);
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        const FitSigmas& sigmas = sim.spinSubsystems[static_cast<std::size_t>(k)].fit.sigmas;
        if (sigmas.empty()) return 0.0;
        sum += sigmas.width * sigmas.width;
    }
    // Fitted apart, the widths' errors add in quadrature in their mean.
    return count > 0 ? std::sqrt(sum) / count : 0.0;
}

const std::vector<SimulationState::LastFit::Range>& fitResidual(const Document& doc) {
    static const std::vector<SimulationState::LastFit::Range> none;
    const SimulationState& sim = doc.sim;
    if (!fitUndoable(sim) || sim.spinSubsystems[0].fit.sigmas.empty()) return none;
    const int points = doc.spectrum.count() / 2;
    for (const auto& r : sim.lastFit.ranges)
        if (r.first < 0 || r.first + static_cast<long>(r.residual.size()) > points) return none;
    return sim.lastFit.ranges;
}

std::string valueWithSigma(double value, double sigma) {
    if (!std::isfinite(sigma)) return cformat("%.2f ± ?", value);
    const int decimals =
        sigma > 0.0 ? std::clamp(1 - static_cast<int>(std::floor(std::log10(sigma))), 2, 8) : 2;
    return cformat("%.*f ± %.*f", decimals, value, decimals, sigma);
}

}  // namespace pelvaron::simulation
