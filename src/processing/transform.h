// The Fourier transform command: the data operations around the FFT (first-point correction,
// drift correction, rotation, quadrature alternation, conjugation), the group-delay proposal,
// the size rounding and the whole transform as the "Fast Fourier Transform" dialog runs it.
#pragma once

#include <optional>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::processing {

/// Halves the first complex point, real and imaginary part.
void firstPointCorrection(Spectrum& s);

/// Subtracts the mean of the real parts from every real part and the mean of the imaginary parts
/// from every imaginary part.
void driftCorrection(Spectrum& s);

/// Circular left rotation by `count` complex points: point k+count moves to k and the first
/// `count` points go, in order, to the end. Counts outside 0 ... nData/2 are clamped into it.
void rotateData(Spectrum& s, int count);

/// Multiplies complex points 0, 2, 4, ... by -1 (puts frequency zero in the middle).
void quadratureAlternation(Spectrum& s);

/// Multiplies every imaginary part by -1.
void conjugate(Spectrum& s);

/// The group delay, in points, of the Bruker digital filter for DECIM and DSPFVS 10, 11 or 12;
/// nothing for a pair the table lacks.
[[nodiscard]] std::optional<double> groupDelayFromTable(int decim, int dspfvs);

/// Whether the data came through a digital filter: a group delay was recorded, or DECIM says so.
[[nodiscard]] inline bool digitallyFiltered(const Spectrum& s) {
    return s.groupDelay > 0.0 || s.acqPars.DECIM > 1;
}

/// The group delay to propose for the data: GRPDLY when the data carry a positive one,
/// otherwise the table's value for DECIM and DSPFVS, otherwise nothing.
[[nodiscard]] std::optional<double> groupDelayProposal(const Spectrum& s);

/// The whole-point rotation a forward transform of the data starts with: the group-delay proposal,
/// truncated, when the data were filtered (a recorded delay, or DECIM above 1); else nothing.
[[nodiscard]] std::optional<int> proposedRotation(const Spectrum& s);

/// Where 0 Hz lies in a spectrum of n doubles with the document's offset and spectral width.
[[nodiscard]] int spectrumRefIndex(const Spectrum& s, int n);

/// Smallest transform size (doubles) that holds n: a power of two from 128 up to the capacity.
/// (Sizes beyond the largest size are cut to it.)
[[nodiscard]] int roundUpTransformSize(int n);

/// The largest size the transform offers, doubles: the whole buffer, so that no data set the
/// document holds is cut by opening the transform.
inline constexpr int kMaxTransformSize = kCapacity;

/// The options of one transform, as the dialog's controls hold them.
struct TransformSettings {
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
[[nodiscard]] double residualGroupDelay(const Spectrum& s, int rotateCount);

/// Multiplies complex point k of the M = n/2 points by exp(-i*2*pi*delay*q/M), q the point's
/// frequency index: k - M/2 when `centred` (zero frequency in the middle), else k for k < M/2 and
/// k - M above. A signal delayed by `delay` points comes out of the FFT with the opposite ramp.
void groupDelayRamp(double* data, int n, double delay, bool centred);

/// What the transform proposes for the data: the flags they carry, and for a forward transform
/// of filtered data the filter's delay as the rotation (the whole points) and the ramp (the rest);
/// otherwise the rotation count the dialog remembers, unchecked.
[[nodiscard]] TransformSettings proposedTransform(const Spectrum& s, int rememberedRotation = 0);

/// The transform size (doubles) of a size given in complex points: 64, 128, ... up to the
/// capacity; nothing for any other number.
[[nodiscard]] std::optional<int> transformSizeOfPoints(double points);

/// Opening the transform: nData and TD rounded up to a transform size (the doubles beyond the
/// data taken as they stand).
void roundUpToTransformSize(Spectrum& s);

/// A size chosen from the list: nData becomes `size` at once (zero filling with what stands in
/// the buffer, or truncating); TD stays.
void chooseTransformSize(Spectrum& s, int size);

/// Why a transform did not run.
enum class TransformProblem {
    NotATransformSize,  ///< nData is not a power of two from 4 to the capacity
};

/// The transform of the present nData doubles with `t`: first-point correction, rotation, drift
/// correction, quadrature alternation, the real or complex FFT (a forward complex one followed by
/// the group-delay ramp of t.delayFraction; an inverse one first takes off the forward one's),
/// division by nData, the flags for the way back, findPeak, normalisation to +-100 (forward only)
/// and the new refIndex. Nothing changes when nData is not a transform size.
[[nodiscard]] Status<TransformProblem> transformSpectrum(Spectrum& s, const TransformSettings& t);

/// The Fourier transform command, as the dialog's OK runs it: the options kept for the next
/// opening and for Undo, the Undo snapshot, the transform, and after an inverse transform the FID
/// interactive apodization starts from.
[[nodiscard]] Status<TransformProblem> fourierTransform(Document& doc, const TransformSettings& settings);

}  // namespace pelvaron::processing
