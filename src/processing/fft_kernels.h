// The butterfly passes of the FFT, written once for any vector width: one complex value per
// vector (every x86-64 and most other processors) or two (AVX). Each translation unit that
// includes this compiles its own copy for its own instruction set, hence the internal linkage.
// A butterfly is exactly the textbook's: t = w*x[j]; x[j] = x[i] - t; x[i] = x[i] + t, with
// w*x = (wr*xr - wi*xi, wr*xi + wi*xr).
#pragma once

#include <cstring>

namespace pelvaron::processing::kernels {
namespace {

/// One complex value in a vector register; two where the translation unit is built for AVX.
using Pair = double __attribute__((vector_size(16)));
#ifdef __AVX__
using Quad = double __attribute__((vector_size(32)));
#endif

template <class V>
[[gnu::always_inline]] inline V load(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof(V));
    return v;
}

template <class V>
[[gnu::always_inline]] inline void store(double* p, V v) {
    std::memcpy(p, &v, sizeof(V));
}

[[gnu::always_inline]] inline Pair swapParts(Pair v) { return __builtin_shufflevector(v, v, 1, 0); }
#ifdef __AVX__
[[gnu::always_inline]] inline Quad swapParts(Quad v) { return __builtin_shufflevector(v, v, 1, 0, 3, 2); }
#endif

/// {wr, wr} and {-wi, wi} of the twiddle pair(s) at w.
[[gnu::always_inline]] inline void twiddle(const double* w, Pair& re, Pair& im) {
    const Pair v = load<Pair>(w);
    re = __builtin_shufflevector(v, v, 0, 0);
    im = __builtin_shufflevector(v, v, 1, 1) * Pair{-1.0, 1.0};
}

#ifdef __AVX__
[[gnu::always_inline]] inline void twiddle(const double* w, Quad& re, Quad& im) {
    const Quad v = load<Quad>(w);
    re = __builtin_shufflevector(v, v, 0, 0, 2, 2);
    im = __builtin_shufflevector(v, v, 1, 1, 3, 3) * Quad{-1.0, 1.0, -1.0, 1.0};
}
#endif

/// w*x as the textbook computes it: (wr*xr - wi*xi, wr*xi + wi*xr). Adding (-wi)*xi is the
/// same IEEE operation as subtracting wi*xi.
template <class V>
[[gnu::always_inline]] inline V rotate(V x, V re, V im) {
    return re * x + im * swapParts(x);
}

/// One stage over `len` doubles: butterflies between the two halves of every 2*mmax block.
template <class V>
[[gnu::always_inline]] inline void singleStage(double* data, int len, int mmax, const double* w) {
    constexpr int kStep = sizeof(V) / sizeof(double);
    for (int block = 0; block < len; block += 2 * mmax) {
        double* lo = data + block;
        double* hi = lo + mmax;
        for (int k = 0; k < mmax; k += kStep) {
            V re, im;
            twiddle(w + k, re, im);
            const V xi = load<V>(lo + k);
            const V t = rotate(load<V>(hi + k), re, im);
            store(hi + k, xi - t);
            store(lo + k, xi + t);
        }
    }
}

/// Stages mmax and 2*mmax in one pass: each 4*mmax block is four quarters q0..q3; the first
/// stage pairs q0/q1 and q2/q3, the second q0/q2 and q1/q3.
template <class V>
[[gnu::always_inline]] inline void stagePair(double* data, int len, int mmax, const double* w1,
                                             const double* w2) {
    constexpr int kStep = sizeof(V) / sizeof(double);
    for (int block = 0; block < len; block += 4 * mmax) {
        double* q0 = data + block;
        double* q1 = q0 + mmax;
        double* q2 = q1 + mmax;
        double* q3 = q2 + mmax;
        for (int k = 0; k < mmax; k += kStep) {
            V a = load<V>(q0 + k);
            V b = load<V>(q1 + k);
            V c = load<V>(q2 + k);
            V d = load<V>(q3 + k);
            V re, im;
            twiddle(w1 + k, re, im);
            V t = rotate(b, re, im);
            b = a - t;
            a = a + t;
            t = rotate(d, re, im);
            d = c - t;
            c = c + t;
            twiddle(w2 + k, re, im);
            t = rotate(c, re, im);
            c = a - t;
            a = a + t;
            twiddle(w2 + mmax + k, re, im);
            t = rotate(d, re, im);
            d = b - t;
            b = b + t;
            store(q0 + k, a);
            store(q1 + k, b);
            store(q2 + k, c);
            store(q3 + k, d);
        }
    }
}

}  // namespace
}  // namespace pelvaron::processing::kernels
