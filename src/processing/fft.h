// The two FFT routines of the Fourier transform: a radix-2 complex FFT and the real-input FFT
// built on it. Both work in place on interleaved doubles and are unscaled.
#pragma once

#include "document/document.h"

namespace pelvaron::processing {

/// Transform sign: +1 time to frequency, -1 frequency to time.
inline constexpr int kForward = 1;
inline constexpr int kInverse = -1;

/// In-place complex FFT of `points` complex points (2*points doubles, real part first):
/// X[k] = sum_j x[j] * exp(+direction * 2*pi*i * j*k / points), no scaling. `points` must be a
/// power of two (1 and 0 leave the data alone). The butterflies and the twiddle recurrence are
/// those of the textbook radix-2 loop, applied in a cache-friendly order that gives the same
/// result bit for bit.
void complexFft(double* data, int points, int direction);

/// The same transform by the code path of processors without AVX (one butterfly per
/// instruction); complexFft takes it automatically where AVX is missing.
void complexFftPortable(double* data, int points, int direction);

/// In-place real FFT of `n` real samples (`n` a power of two, at least 4; smaller sizes are
/// left alone). Forward output is packed: data[0] the value at frequency 0, data[1] the real
/// value at the Nyquist frequency, then (real, imaginary) of frequencies 1 ... n/2-1. The inverse
/// takes that packing back to n samples, scaled by n/2.
void realFft(double* data, int n, int direction);

/// The complex FFT of the first 2*points doubles of specData, then the S/N bookkeeping.
void complexFft(Spectrum& s, int points, int direction);

/// The real FFT of the first n doubles of specData, then the S/N bookkeeping.
void realFft(Spectrum& s, int n, int direction);

}  // namespace pelvaron::processing
