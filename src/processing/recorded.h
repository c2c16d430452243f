// "Process as Recorded": a Bruker FID processed the way its processed data set (pdata/1/procs)
// records it, so that the spectrum equals the spectrometer software's own 1r on the same ppm axis.
#pragma once

#include <optional>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::processing {

/// Shown, with nothing changed, when the loaded data came without a procs file.
inline constexpr const char* kNoRecordedProcessingText =
    "This data set has no record of its processing (pdata/1/procs).";
/// Shown, with nothing changed, when the data have been transformed already.
inline constexpr const char* kAlreadySpectrumText =
    "Process as Recorded works on a FID; this data set is already a spectrum.";
/// Caption of both messages.
inline constexpr const char* kProcessAsRecordedCaption = "Process as Recorded";

/// Why the data cannot be processed as recorded.
enum class RecordedProblem {
    NoRecord,         ///< kNoRecordedProcessingText
    AlreadySpectrum,  ///< kAlreadySpectrumText
    NoTransform,      ///< the transform refused the size (not reached: the sizes chosen transform)
};

/// The program's message for a refusal (information); none where nothing is said.
[[nodiscard]] std::optional<Message> recordedMessage(RecordedProblem problem);

/// Repeats the recorded processing on the loaded FID: its first TDeff values, the first point
/// times FCOR, the window of WDW (EM, GM, SINE, QSINE; others none), zero filling or truncation to
/// SI complex points, the Fourier transform with the digital filter taken off (rotation by the
/// whole group delay, the rest as a ramp), PHC0 and PHC1, and the recorded ppm reference.
/// Afterwards phaseSource holds the unphased spectrum and phase0/phase1 (the program's own
/// convention, about peakIndex) describe the phase that was applied; one Undo brings back the FID
/// as it was. Refused, with nothing changed, without a record or on a spectrum.
Status<RecordedProblem> processAsRecorded(Document& doc);

}  // namespace pelvaron::processing
