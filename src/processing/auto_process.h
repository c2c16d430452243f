// Automatic Processing: a FID made a phased spectrum on a flat baseline in one step -- zero
// filling, the transform with the digital filter's whole delay taken off, Automatic Phase (0 + 1)
// and Automatic Baseline. A window function is the person's own, applied before.
#pragma once

#include <variant>

#include "base/result.h"
#include "document/document.h"
#include "processing/auto_baseline.h"
#include "processing/auto_phase.h"

namespace pelvaron::processing {

/// Shown, with nothing changed, when the data are a spectrum already.
inline constexpr const char* kAutoProcessSpectrumText =
    "Automatic Processing works on a FID; this data set is already a spectrum.";
inline constexpr const char* kAutoProcessCaption = "Automatic Processing";

enum class AutoProcessProblem {
    AlreadySpectrum,  ///< kAutoProcessSpectrumText
    NoTransform,      ///< the data could not be transformed (not reached for the sizes chosen)
};

/// What stopped the processing: its own refusal, or the refusal of the phase or the baseline
/// (the transform then stands, and one Undo still returns to the FID).
using AutoProcessError = std::variant<AutoProcessProblem, AutoPhaseProblem, AutoBaselineProblem>;

/// The program's message for what stopped the processing.
[[nodiscard]] Message autoProcessMessage(const AutoProcessError& error);

/// Zero fills the FID to at least twice its points (to the recorded SI when that is larger), up to
/// the capacity; transforms it as the Fourier transform proposes (the digital filter's whole group
/// delay taken off); finds the phase of zero and first order and the baseline. One Undo returns
/// the FID as it was. Refused, with nothing changed, on a spectrum.
Status<AutoProcessError> autoProcess(Document& doc);

}  // namespace pelvaron::processing
