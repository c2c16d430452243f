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

/// What the processing left out of the record: a correction of the FID other than its DC offset
/// (BC_mod 3 to 6: polynomials and solvent filters), whose number it holds; 0 when none.
struct RecordedNotes {
    int skippedFidCorrection = 0;
};

/// "The spectrometer software also corrected the FID (BC_mod N: a polynomial or a solvent
/// filter); that correction is not repeated." (information), or none.
[[nodiscard]] std::optional<Message> recordedNote(const RecordedNotes& notes);

/// Repeats the recorded processing on the loaded FID: its first TDeff values, their DC offset
/// taken off when no digital filter made them (BC_mod 1: one mean of both parts, 2: one of each
/// part, over the last quarter), the
/// first point times FCOR, the window of WDW (EM, GM, SINE, QSINE; others none), zero filling or
/// truncation to SI complex points, the Fourier transform with the digital filter taken off
/// (rotation by the whole group delay, the rest as a ramp), the phase of PH_mod (none, PHC0 and
/// PHC1, or the modulus of each point), and the recorded ppm reference.
/// Afterwards phaseSource holds the unphased spectrum and phase0/phase1 (the program's own
/// convention, about peakIndex) describe the phase that was applied; one Undo brings back the FID
/// as it was. Refused, with nothing changed, without a record or on a spectrum.
Result<RecordedNotes, RecordedProblem> processAsRecorded(Document& doc);

}  // namespace pelvaron::processing
