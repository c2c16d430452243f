// Automatic Baseline: the signal-free points of a spectrum found without the person's help, and a
// smooth curve through them subtracted, so that the lines stand on zero with their heights kept.
//
// The method, in the words the user guide gives it:
//  1. The noise level is read off the second differences of the real parts (their median
//     magnitude), which a slowly varying baseline hardly changes; it is never taken below
//     1/100000 of the largest value, so that noise-free data still have baseline points.
//  2. Points are taken as signal where the second differences, summed over a few points around
//     them, stand well above that noise, widened by a margin on each side; the others are the
//     first guess of the baseline points.
//  3. A smoothing cubic spline (equally spaced pieces across the whole spectrum, with a light
//     penalty on its third differences so that it bridges groups of lines) is fitted by least
//     squares to the baseline points. A quadratic is followed exactly, anything smooth on the
//     scale of the pieces closely.
//  4. Points that stand more than `threshold` noise levels off that curve (the lines, their feet
//     and tails) are taken as signal as well, each such run widened on both sides by its own
//     length (at most a quarter of a piece) to take in the tails below the threshold, and the fit
//     is repeated until the set of baseline points settles: no more than one point in a thousand
//     changes sides, a pass changes no fewer points than the one before, or
//     kMaxAutoBaselinePasses fits have been made.
//  5. The curve is subtracted from the real and from the imaginary part of every point, as the
//     other baseline corrections do. No Undo snapshot is taken.
// Every step is deterministic; the cost grows linearly with the number of points.
#pragma once

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::processing {

/// How closely the baseline may follow the spectrum, and what counts as signal.
struct AutoBaselineSettings {
    /// Pieces of the spline across the whole spectrum: the baseline may bend about once per piece.
    int pieces = 32;
    /// A point farther than this many noise levels from the baseline is signal.
    double threshold = 3.0;
};

/// The fewest complex points the automatic baseline works on.
inline constexpr int kMinAutoBaselinePoints = 16;
/// The most fits before the set of baseline points is taken as it stands.
inline constexpr int kMaxAutoBaselinePasses = 12;

/// Why the automatic baseline did not run; the data are then unchanged.
enum class AutoBaselineProblem {
    NotASpectrum,  ///< "Automatic Baseline works on a spectrum; transform the FID first."
    TooFewPoints,  ///< "The spectrum has too few points for an automatic baseline."
    AllZero,       ///< "The spectrum is empty (all its values are 0): there is no baseline to find."
    NotFinite,     ///< "The spectrum holds values that are not numbers: no baseline can be found."
    BadSettings,   ///< "The baseline settings are out of range." (pieces 1 ... 4096, threshold > 0)
    NoiseOnly,     ///< nothing stands kMinAutoBaselineFeature noise levels off the median: noise alone
};

/// A spectrum no value of which stands this many noise levels off the median of its real parts is
/// noise alone (complex noise of 10^6 points reaches about 5): it has no baseline to find.
inline constexpr double kMinAutoBaselineFeature = 12.0;

/// The program's message for a refusal (caption "Automatic Baseline").
[[nodiscard]] Message autoBaselineMessage(AutoBaselineProblem problem);

/// What the correction found.
struct AutoBaselineReport {
    int baselinePoints = 0;  ///< complex points the final curve was fitted to
    int passes = 0;          ///< fits made
    double noise = 0.0;      ///< the noise level found, in data units
};

/// The automatic baseline of the real parts of the present nData doubles, subtracted from both
/// parts of every point. Refused, with nothing changed, on a FID (ftInverse not set), on fewer than
/// kMinAutoBaselinePoints points, on data that are all 0, noise alone or hold a value that is not
/// finite.
[[nodiscard]] Result<AutoBaselineReport, AutoBaselineProblem> autoBaseline(
    Spectrum& s, const AutoBaselineSettings& settings = {});

}  // namespace pelvaron::processing
