// Automatic Phase (0 + 1): the zero- and first-order phase of a spectrum found from its own lines,
// applied as Phase Correction applies typed orders, so that the dialog continues from them.
#pragma once

#include <optional>

#include "base/result.h"
#include "document/spectrum.h"

namespace pelvaron::processing {

/// Shown, with nothing changed, for each refusal (AutoPhaseProblem).
inline constexpr const char* kAutoPhaseNotSpectrumText =
    "Automatic Phase works on a spectrum; transform the FID first.";
inline constexpr const char* kAutoPhaseTooFewPointsText =
    "Automatic Phase needs a spectrum of at least 16 points.";
inline constexpr const char* kAutoPhaseNotFiniteText =
    "The spectrum holds values that are not numbers; Automatic Phase leaves it as it is.";
inline constexpr const char* kAutoPhaseEmptyText = "The spectrum is empty (all its values are 0).";
inline constexpr const char* kAutoPhaseNoLineText =
    "No line stands clearly above the noise; Automatic Phase leaves the spectrum as it is.";
/// Caption of the messages.
inline constexpr const char* kAutoPhaseCaption = "Automatic Phase";

/// Why the phase could not be found.
enum class AutoPhaseProblem {
    NotSpectrum,   ///< a FID (never transformed forward): kAutoPhaseNotSpectrumText
    TooFewPoints,  ///< fewer than kAutoPhaseMinPoints complex points: kAutoPhaseTooFewPointsText
    NotFinite,     ///< a NaN or an infinity among the values: kAutoPhaseNotFiniteText
    Empty,         ///< every value 0: kAutoPhaseEmptyText
    NoLine,        ///< no line clearly above the noise: kAutoPhaseNoLineText
};

/// Complex points a spectrum needs for a first-order phase to mean anything.
inline constexpr int kAutoPhaseMinPoints = 16;

/// The program's message for a refusal (exclamation, caption kAutoPhaseCaption).
[[nodiscard]] Message autoPhaseMessage(AutoPhaseProblem problem);

struct AutoPhaseSettings {
    /// Largest |phase1| searched, degrees. 180 is the Phase Correction dialog's own range: the
    /// first-order term then spans up to two whole turns across the spectrum, a residual delay of
    /// two points, more than any transform with the filter's whole group delay leaves.
    double maxPhase1 = 180.0;
    /// The tallest line's magnitude must exceed this many times the noise level (the median
    /// magnitude); pure complex noise of 10^6 points stays below 5.
    double minLineToNoise = 12.0;
};

/// The orders found, degrees, in Phase Correction's convention (about the pivot peakIndex).
struct AutoPhaseAngles {
    double phase0 = 0.0;  ///< in (-180, 180]
    double phase1 = 0.0;  ///< within +-AutoPhaseSettings::maxPhase1
};

/// Finds the zero- and first-order phase of the unphased spectrum (phaseSource when valid, else
/// the data) and applies it as applyPhase does: phase0/phase1 become the angles found, the data
/// are the unphased copy turned by them, the copy is valid. The tallest line comes out upright.
/// Deterministic, and a second application finds the same angles (it starts from the same copy).
/// Refused, with nothing changed, on a FID, fewer than 16 points, non-finite values, an empty
/// spectrum or one without a line clearly above the noise.
[[nodiscard]] Result<AutoPhaseAngles, AutoPhaseProblem> autoPhaseFull(Spectrum& s,
                                                                      const AutoPhaseSettings& settings = {});

}  // namespace pelvaron::processing
