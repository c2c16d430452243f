// The FFT's butterfly passes, two butterflies per instruction. This file alone is compiled for
// AVX (without FMA and without contraction, see CMakeLists.txt); it uses nothing but the kernels'
// own internal functions, so no AVX code can stand in for a shared inline function elsewhere.
#include "processing/fft_avx.h"

#include "processing/fft_kernels.h"

namespace pelvaron::processing::avx {

void stagePair(double* data, int len, int mmax, const double* w1, const double* w2) {
    kernels::stagePair<kernels::Quad>(data, len, mmax, w1, w2);
}

void singleStage(double* data, int len, int mmax, const double* w) {
    kernels::singleStage<kernels::Quad>(data, len, mmax, w);
}

}  // namespace pelvaron::processing::avx
