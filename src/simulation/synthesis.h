// The simulated spectrum: transitions become Lorentzian lines added into the document's data.
#pragma once

#include <span>

#include "document/document.h"
#include "platform/user_interface.h"

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

/// The check of the synthesis parameters: w > 0, fromHz < toHz, 2 <= P <= the capacity, all finite.
/// False after a message.
[[nodiscard]] bool checkSynthesisParams(double w, double fromHz, double toHz, double threshold, int nPoints,
                                        platform::UserInterface& ui);

/// Adds the Lorentzian lines of (freq[i], intens[i]) to the real parts of specData[0 .. 2h-1],
/// h = P/2, and sets those imaginary parts to 0. w is the full width at half height (Hz); each
/// line integrates to its intensity. Lines at or below threshold + 1e-6 and lines not strictly
/// inside (fromHz, toHz) are skipped. Point j lies at offsetHz + (h - j) * |toHz - fromHz| / h;
/// offsetHz (acqPars.offsetHz) is normally fromHz. Unless sim.simInteractive is 1 with
/// sim.simUpdateDocument 0, the axis is rewritten (TD = nData = P, SW, AQ, view, refIndex).
/// The lines are summed as a histogram of intensities on the point grid convolved with one
/// Lorentzian kernel, which equals the sum of lines up to rounding. Returns false, with a
/// message and nothing changed, when checkSynthesisParams refuses or the lists differ in size.
bool synthesizeSpectrum(Document& doc, platform::UserInterface& ui, std::span<const double> freq,
                        std::span<const double> intens, double w, double threshold, int nPoints,
                        double fromHz, double toHz);

}  // namespace pelvaron::simulation
