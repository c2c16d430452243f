// The simulated spectrum: transitions become Lorentzian lines on a point grid, added into the
// document's data.
#pragma once

#include <span>

#include "document/document.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {

// Messages of the checks made before any computation (caption "Error").
inline constexpr const char* kTooManySubsystemsText = "At most 5 spin subsystems can be simulated";
inline constexpr const char* kNucleiCountText = "A spin subsystem must have 1 to 10 nuclei";
inline constexpr const char* kLineWidthText = "The line width must be greater than 0 Hz";
inline constexpr const char* kWindowText = "The simulated window needs From lower than To";
// The upper bound is the capacity of the data buffers.
inline constexpr const char* kPointsText = "The number of points must be between 2 and 1048576";
static_assert(kCapacity == 1048576, "kPointsText names the capacity");
inline constexpr const char* kNotFiniteText = "The simulation parameters must be finite numbers";
inline constexpr const char* kIncompleteText = "The shifts and couplings do not match the number of nuclei";
inline constexpr const char* kNoSubsystemText = "No spin subsystem has been entered";
inline constexpr const char* kCurveAllocationText = "Error allocating memory for the simulated spectrum";

/// The window, resolution and width of a simulated spectrum.
struct SynthesisSettings {
    double lineWidth = 0.3;  ///< Hz, full width at half height
    double fromHz = 0.0;
    double toHz = 3000.0;
    double threshold = 0.001;
    int points = 8192;  ///< P doubles, i.e. P/2 complex points
};

/// The settings of the simulation's working parameters.
[[nodiscard]] SynthesisSettings synthesisSettingsOf(const SimulationState& sim);

/// The check of the synthesis parameters: w > 0, fromHz < toHz, 2 <= P <= the capacity, all finite.
/// False after a message.
[[nodiscard]] bool checkSynthesisParams(const SynthesisSettings& s, Messages& said);

/// The Lorentzian lines of (freq[i], intens[i]) on the point grid, written over curve[0 .. h-1],
/// h = P/2: point j lies at offsetHz + (h - j) * |toHz - fromHz| / h (offsetHz is normally
/// fromHz). w is the full width at half height (Hz); each line integrates to its intensity. Lines
/// at or below threshold + 1e-6 and lines not strictly inside (fromHz, toHz) are skipped. The
/// lines are summed as a histogram of intensities on the grid convolved with one Lorentzian
/// kernel, which equals the sum of lines up to rounding. The settings must have passed
/// checkSynthesisParams and `curve` must hold h values; false after a message when the working
/// storage cannot be had.
[[nodiscard]] bool lineCurve(std::span<double> curve, std::span<const double> freq,
                             std::span<const double> intens, const SynthesisSettings& s, double offsetHz,
                             Messages& said);

/// Zeroes specData over the larger of nData and P before a simulated spectrum is added: points
/// between the old nData and P would otherwise keep what an earlier, longer data set left there.
/// The data are the simulation's from then on (referenceSource Simulation, nothing recorded).
void zeroForSimulation(Document& doc, int nPoints);

/// simRange = |toHz - fromHz|; and unless sim.simInteractive is 1 with sim.simUpdateDocument 0,
/// the document's axis becomes the simulated one: TD = nData = P, SW, AQ and refIndex from
/// acqPars.offsetHz; the views are told (kAxisReplaced) and show it whole.
void setSimulatedAxis(Document& doc, const SynthesisSettings& s);

/// Adds curve[0 .. h-1] to the real parts of specData[0 .. 2h-1] and sets those imaginary parts
/// to 0.
void addSimulatedCurve(Document& doc, std::span<const double> curve);

/// One list of lines added into the document: lineCurve with acqPars.offsetHz, setSimulatedAxis,
/// addSimulatedCurve. Returns false, with a message and nothing changed, when
/// checkSynthesisParams refuses or the lists differ in size.
bool synthesizeSpectrum(Document& doc, Messages& said, std::span<const double> freq,
                        std::span<const double> intens, double w, double threshold, int nPoints,
                        double fromHz, double toHz);

}  // namespace pelvaron::simulation
