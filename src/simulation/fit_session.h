// Between a document and the fit: the measured regions and start values of the simulation laid
// over a spectrum (Compare to current spc.), its held parameters, and a finished fit brought back
// into the simulation, with the Undo of it. The measured points on an axis are read here for the
// command line's fit too.
#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "document/document.h"
#include "simulation/fit.h"

namespace pelvaron::simulation {

inline constexpr const char* kFitCaption = "Fit";
inline constexpr const char* kFitNoSimulationText =
    "There is no simulation to fit: Compare to current spc. lays one over the measured spectrum";
inline constexpr const char* kFitMeasuredFidText =
    "The measured data are a FID: transform them before comparing a simulation with them";
inline constexpr const char* kFitChangedText =
    "The simulation was changed while it was being fitted: the fitted values are left out";

/// The frequency (Hz) of point k, real part 2k, on the axis of `s`; k may be fractional.
[[nodiscard]] double pointHz(const SpectrumDescription& s, double k);

/// A spectrum rather than a FID: transformed here, on a frequency axis, or simulated (a simulated
/// data set is never transformed; its reference says what it is).
[[nodiscard]] bool holdsSpectrum(const SpectrumDescription& s);

/// The measured points of a region and where the first lies.
struct MeasuredRegion {
    FitRegion points;
    int first = 0;  ///< point index of points.hz[0]
};

/// The real parts of `data` (laid out as the data of `s`) at the points whose frequency on the axis
/// of `s` lies between fromHz and toHz, either order, ends included.
[[nodiscard]] MeasuredRegion measuredRegion(const SpectrumDescription& s, const double* data, double fromHz,
                                            double toHz);

/// What keeps a region from being fitted.
enum class RegionFault { None, TooFewPoints, NoLines };
[[nodiscard]] RegionFault regionFault(const FitRegion& region);

/// A fit taken from a document: what fitSpinSystem is given, and where its regions lie.
struct FitJob {
    FitParameters start;
    std::vector<FitRegion> regions;
    std::vector<FitParameterId> fixed;
    std::vector<int> firstPoints;  ///< each region's first point on the document's axis
    double tallest = 0.0;          ///< the largest measured magnitude over the regions
};

/// The fit of the simulation (the document's data, every subsystem, its one line width) to the
/// measured spectrum that Compare to current spc. keeps as the two-set display's second set,
/// both on the document's axis. The regions are the integrals that reach into the window shown
/// (fromHz ... toHz), each cut to it, or the window itself when no integral does. The parameters
/// the subsystems hold stay fixed; every region gets a free scale and offset. False after a
/// message, with `job` unusable: no simulation, a measured FID, a region of fewer than 2 points
/// or without lines.
[[nodiscard]] bool prepareCompareFit(const Document& doc, double fromHz, double toHz, FitJob& job,
                                     Messages& said);

/// Brings a converged fit into the document: the shifts and couplings into the subsystems (and
/// the editing copies of the subsystem being edited), the line width, the sigmas beside them,
/// the values before the fit for Undo fit; the measured set shown at the fitted height and the
/// fitted regions kept for the residual; the simulation computed again on the axis as it is.
/// False, with nothing changed, for a fit that did not converge, or after a message when the
/// simulation is no longer the one the job was taken from.
[[nodiscard]] bool applyFit(Document& doc, const FitJob& job, const FitResult& result, Messages& said);

/// Every subsystem carries the values from before the last fit.
[[nodiscard]] bool fitUndoable(const SimulationState& sim);

/// Undo fit: the values from before the last fit, the line width and the measured set's height
/// as they were; the sigmas and the residual go. False when there is no fit to undo.
bool undoFit(Document& doc, Messages& said);

/// A value edited by hand: the sigmas of the last fit describe the values no more.
void clearFitSigmas(SimulationState& sim);

/// The sigma of the one line width the simulation draws with: the subsystems' widths are fitted
/// apart and averaged, so it is the sigma of their mean. 0 when no fit stands behind the width.
[[nodiscard]] double fitWidthSigma(const SimulationState& sim);

/// The residual of the last fit by region, while its values stand as it left them (no value
/// edited by hand since); empty otherwise.
[[nodiscard]] const std::vector<SimulationState::LastFit::Range>& fitResidual(const Document& doc);

/// "7.9512 ± 0.0021": the value with as many decimals as the sigma's first two significant
/// digits need, at least two; "7.95 ± ?" for a sigma the fit could not give.
[[nodiscard]] std::string valueWithSigma(double value, double sigma);

/// A sigma worth showing: from a fit, for a value it moved.
[[nodiscard]] inline bool shownSigma(double sigma) { return !(sigma <= 0.0); }

}  // namespace pelvaron::simulation
