// The Fourier transform command: the data operations around the FFT (first-point correction,
// drift correction, rotation, quadrature alternation, conjugation), the group-delay proposal,
// the size rounding and the whole transform as the "Fast Fourier Transform" dialog runs it.
#pragma once

#include <optional>

#include "document/document.h"

namespace pelvaron::processing {

/// Halves the first complex point, real and imaginary part.
void firstPointCorrection(Document& doc);

/// Subtracts the mean of the real parts from every real part and the mean of the imaginary parts
/// from every imaginary part.
void driftCorrection(Document& doc);

/// Circular left rotation by `count` complex points: point k+count moves to k and the first
/// `count` points go, in order, to the end. Counts outside 0 ... nData/2 are clamped into it.
void rotateData(Document& doc, int count);

/// Multiplies complex points 0, 2, 4, ... by -1 (puts frequency zero in the middle).
void quadratureAlternation(Document& doc);

/// Multiplies every imaginary part by -1.
void conjugate(Document& doc);

/// The group delay, in points, of the Bruker digital filter for DECIM and DSPFVS 10, 11 or 12;
/// nothing for a pair the table lacks.
[[nodiscard]] std::optional<double> groupDelayFromTable(int decim, int dspfvs);

/// The group delay to propose for the data: GRPDLY when the data carry a positive one,
/// otherwise the table's value for DECIM and DSPFVS, otherwise nothing.
[[nodiscard]] std::optional<double> groupDelayProposal(const Document& doc);

/// The whole-point rotation a forward transform of the data starts with: the group-delay proposal,
/// truncated, when the data were filtered (a recorded delay, or DECIM above 1); else nothing.
[[nodiscard]] std::optional<int> proposedRotation(const Document& doc);

/// Where 0 Hz lies in a spectrum of n doubles with the document's offset and spectral width.
[[nodiscard]] int spectrumRefIndex(const Document& doc, int n);

/// Smallest transform size (doubles) that holds n: a power of two from 128 up to the capacity.
/// (Sizes beyond the largest size are cut to it.)
[[nodiscard]] int roundUpTransformSize(int n);

/// The largest size the transform offers, doubles: the whole buffer, so that no data set the
/// document holds is cut by opening the transform.
inline constexpr int kMaxTransformSize = kCapacity;

/// The options of one transform, as the dialog's controls hold them.
struct FtOptions {
    int real = 0;
    int driftCorr = 1;
    int quadrature = 1;
    int inverse = 0;
    int rotate = 0;
    int rotateCount = 0;  ///< complex points
    /// Group delay (points) left after the rotation, taken off a forward complex transform as a
    /// first-order phase ramp so that its lines need only a zero-order correction. |value| < 1.
    double delayFraction = 0.0;
};

/// The part of the group-delay proposal that a rotation by `rotateCount` points leaves: the
/// proposal minus the count when that is less than a point, else 0 (a count the person chose
/// far from the proposal is taken as it stands).
[[nodiscard]] double residualGroupDelay(const Document& doc, int rotateCount);

/// Multiplies complex point k of the M = n/2 points by exp(-i*2*pi*delay*q/M), q the point's
/// frequency index: k - M/2 when `centred` (zero frequency in the middle), else k for k < M/2 and
/// k - M above. A signal delayed by `delay` points comes out of the FFT with the opposite ramp.
void groupDelayRamp(double* data, int n, double delay, bool centred);

/// The transform the dialog's OK runs on the present nData doubles: stores the options and
/// their Undo copies, takes the Undo snapshot, then first-point correction, rotation, drift
/// correction, quadrature alternation, the real or complex FFT (a forward complex one followed by
/// the group-delay ramp of options.delayFraction), division by nData, the flags for
/// the way back, findPeak, normalisation to +-100 (forward only) and the new refIndex. An inverse
/// transform first takes off the ramp of the forward one. False,
/// with nothing changed, when nData is not a power of two from 4 to the capacity.
[[nodiscard]] bool fourierTransform(Document& doc, const FtOptions& options);

}  // namespace pelvaron::processing
