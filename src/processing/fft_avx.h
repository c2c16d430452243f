// The FFT's butterfly passes built for processors with AVX (fft_avx.cpp). Only the FFT calls
// them, and only after checking that the processor has AVX.
#pragma once

namespace pelvaron::processing::avx {

/// Stages mmax and 2*mmax over `len` doubles; mmax at least 4.
void stagePair(double* data, int len, int mmax, const double* w1, const double* w2);

/// Stage mmax over `len` doubles; mmax at least 4.
void singleStage(double* data, int len, int mmax, const double* w);

}  // namespace pelvaron::processing::avx
