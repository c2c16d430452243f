// The radix-2 complex FFT and the real FFT built on it.
//
// The complex FFT is the textbook decimation-in-time loop: a bit-reversal permutation, then
// log2(M) butterfly stages whose twiddle factors come from the trigonometric recurrence
//     wr <- wr*wpr - wi*wpi + wr,   wi <- wi*wpr + wr*wpi + wi.
// The textbook loop runs the twiddles in its outer loop and strides across the whole array for
// each of them, which leaves large transforms waiting on memory. Here the twiddles of every stage
// are computed once per run by that same recurrence and kept in a table, and each butterfly is
// given exactly the operands and operations of the textbook loop - only the order in which the
// independent butterflies run differs (two stages per pass over memory, one or two butterflies
// per vector instruction, a tiled permutation). The result is the textbook's, bit for bit; the
// tests compare the two. The file is compiled without floating-point contraction (see
// CMakeLists.txt), since a fused multiply-add would round differently.
#include "processing/fft.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "base/legacy_constants.h"
#include "processing/fft_avx.h"
#include "processing/fft_kernels.h"
#include "processing/noise_block.h"

namespace pelvaron::processing {

namespace {

/// Largest point count whose twiddles the shared table holds (the whole data buffer).
constexpr int kTablePoints = kCapacity / 2;

constexpr double kTwoPi = legacy::kFftTwoPi;

/// Fills the (wr, wi) pairs of the stage whose butterflies span `mmax` doubles: mmax/2 values,
/// for m = 1, 3, ..., mmax-1 of the textbook loop.
void fillStageTwiddles(double* out, int mmax, int direction) {
    const double theta = direction * (kTwoPi / mmax);
    const double s = std::sin(theta / 2.0);
    const double wpr = -2.0 * s * s;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int k = 0; k < mmax / 2; ++k) {
        out[2 * k] = wr;
        out[2 * k + 1] = wi;
        const double t = wr;
        wr = t * wpr - wi * wpi + wr;
        wi = wi * wpr + t * wpi + wi;
    }
}

/// Twiddles of all stages up to kTablePoints: the stage of h = mmax/2 twiddles starts at pair
/// h - 1. They depend only on the stage and the direction, so they are computed once per run
/// (an immutable table, 1 MiB per direction) instead of once per transform.
std::vector<double> buildTwiddleTable(int direction) {
    std::vector<double> table(2 * static_cast<std::size_t>(kTablePoints - 1));
    for (int mmax = 2; mmax <= kTablePoints; mmax *= 2) {
        fillStageTwiddles(table.data() + 2 * (mmax / 2 - 1), mmax, direction);
    }
    return table;
}

const double* twiddleTable(int direction) {
    if (direction > 0) {
        static const std::vector<double> forward = buildTwiddleTable(kForward);
        return forward.data();
    }
    static const std::vector<double> inverse = buildTwiddleTable(kInverse);
    return inverse.data();
}

/// Array access from 1, as the routines are written: element 1 is data[0].
struct OneBased {
    double* p;
    double& operator[](int i) const { return p[i - 1]; }
};

/// The permutation exactly as the textbook writes it; used for small transforms.
void bitReverseTextbook(double* data, int points) {
    const OneBased x{data};
    const int n = 2 * points;
    int j = 1;
    for (int i = 1; i < n; i += 2) {
        if (j > i) {
            std::swap(x[j], x[i]);
            std::swap(x[j + 1], x[i + 1]);
        }
        int m = points;
        while (m >= 2 && j > m) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
}

unsigned reverseBits(unsigned v, int bits) {
    unsigned r = 0;
    for (int b = 0; b < bits; ++b) {
        r = (r << 1) | (v & 1u);
        v >>= 1;
    }
    return r;
}

/// The same permutation, tile by tile: a point index is split into its top, middle and bottom
/// kTileBits bits; reversal swaps top and bottom (each reversed) and reverses the middle, so a
/// 16 x 16 tile of points moves as a whole to its partner tile, read and written in rows of
/// consecutive points instead of one scattered point at a time.
void bitReverseTiled(double* data, int bits) {
    constexpr int kTileBits = 4;
    constexpr unsigned kTile = 1u << kTileBits;
    const int middleBits = bits - 2 * kTileBits;
    const int topShift = bits - kTileBits;
    unsigned rev[kTile];
    for (unsigned i = 0; i < kTile; ++i) rev[i] = reverseBits(i, kTileBits);
    // Two tiles of complex points, (re, im) interleaved.
    double a[2 * kTile * kTile];
    double b[2 * kTile * kTile];
    auto load = [&](double* tile, unsigned middle) {
        for (unsigned top = 0; top < kTile; ++top) {
            const double* row = data + 2 * ((top << topShift) | (middle << kTileBits));
            std::memcpy(tile + 2 * top * kTile, row, 2 * kTile * sizeof(double));
        }
    };
    // Point (top, middle, bottom) goes to (rev[bottom], rev(middle), rev[top]).
    auto storeReversed = [&](const double* tile, unsigned middle) {
        for (unsigned top = 0; top < kTile; ++top) {
            double* row = data + 2 * ((top << topShift) | (middle << kTileBits));
            for (unsigned bottom = 0; bottom < kTile; ++bottom) {
                const double* from = tile + 2 * (rev[bottom] * kTile + rev[top]);
                row[2 * bottom] = from[0];
                row[2 * bottom + 1] = from[1];
            }
        }
    };
    const unsigned middles = 1u << middleBits;
    for (unsigned middle = 0; middle < middles; ++middle) {
        const unsigned partner = reverseBits(middle, middleBits);
        if (partner < middle) continue;  // that pair was exchanged already
        load(a, middle);
        if (partner != middle) {
            load(b, partner);
            storeReversed(b, middle);
        }
        storeReversed(a, partner);
    }
}

void bitReverse(double* data, int points) {
    const int bits = std::countr_zero(static_cast<unsigned>(points));
    if (bits >= 8) {
        bitReverseTiled(data, bits);
    } else {
        bitReverseTextbook(data, points);
    }
}

/// Twiddles of the stage of `mmax`: from the table, or computed into `scratch` beyond it.
const double* stageTwiddles(const double* table, int mmax, int direction, std::vector<double>& scratch) {
    if (mmax <= kTablePoints) return table + 2 * (mmax / 2 - 1);
    scratch.resize(static_cast<std::size_t>(mmax));
    fillStageTwiddles(scratch.data(), mmax, direction);
    return scratch.data();
}

void portablePair(double* data, int len, int mmax, const double* w1, const double* w2) {
    kernels::stagePair<kernels::Pair>(data, len, mmax, w1, w2);
}

void portableSingle(double* data, int len, int mmax, const double* w) {
    kernels::singleStage<kernels::Pair>(data, len, mmax, w);
}

/// All butterfly stages of an n-double transform, two at a time. With `wide`, stages whose half
/// blocks hold at least two complex values run two butterflies per instruction.
void runStages(double* data, int n, int direction, bool wide) {
    const double* table = twiddleTable(direction);
    std::vector<double> scratch1;
    std::vector<double> scratch2;
    auto pairPass = portablePair;
    auto singlePass = portableSingle;
#ifdef PELVARON_FFT_AVX
    if (wide) {
        pairPass = avx::stagePair;
        singlePass = avx::singleStage;
    }
#else
    (void)wide;
#endif
    int mmax = 2;
    while (4 * mmax <= n) {
        const double* w1 = stageTwiddles(table, mmax, direction, scratch1);
        const double* w2 = stageTwiddles(table, 2 * mmax, direction, scratch2);
        (mmax >= 4 ? pairPass : portablePair)(data, n, mmax, w1, w2);
        mmax *= 4;
    }
    if (2 * mmax <= n) {
        const double* w = stageTwiddles(table, mmax, direction, scratch1);
        (mmax >= 4 ? singlePass : portableSingle)(data, n, mmax, w);
    }
}

bool haveAvx() {
#ifdef PELVARON_FFT_AVX
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

void transform(double* data, int points, int direction, bool wide) {
    if (points < 2 || !std::has_single_bit(static_cast<unsigned>(points))) return;
    bitReverse(data, points);
    runStages(data, 2 * points, direction >= 0 ? kForward : kInverse, wide);
}

}  // namespace

void complexFft(double* data, int points, int direction) { transform(data, points, direction, haveAvx()); }

void complexFftPortable(double* data, int points, int direction) {
    transform(data, points, direction, false);
}

void realFft(double* data, int n, int direction) {
    if (n < 4 || !std::has_single_bit(static_cast<unsigned>(n))) return;
    direction = direction >= 0 ? kForward : kInverse;
    constexpr double kPi = legacy::kPi;
    const double c1 = 0.5;
    double c2;
    double theta = kPi / static_cast<double>(n / 2);
    if (direction == kForward) {
        c2 = -0.5;
        complexFft(data, n / 2, kForward);
    } else {
        c2 = 0.5;
        theta = -theta;
    }
    const double s = std::sin(theta / 2.0);
    const double wpr = -2.0 * s * s;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    double* x = data;
    for (int k = 1; k < n / 4; ++k) {
        const int i1 = 2 * k;
        const int i2 = 2 * k + 1;
        const int i3 = n - 2 * k;
        const int i4 = n - 2 * k + 1;
        const double h1r = c1 * (x[i1] + x[i3]);
        const double h1i = c1 * (x[i2] - x[i4]);
        const double h2r = -c2 * (x[i2] + x[i4]);
        const double h2i = c2 * (x[i1] - x[i3]);
        x[i1] = h1r + wr * h2r - wi * h2i;
        x[i2] = h1i + wr * h2i + wi * h2r;
        x[i3] = h1r - wr * h2r + wi * h2i;
        x[i4] = -h1i + wr * h2i + wi * h2r;
        const double t = wr;
        wr = t * wpr - wi * wpi + wr;
        wi = wi * wpr + t * wpi + wi;
    }
    const double h = x[0];
    if (direction == kForward) {
        x[0] = h + x[1];
        x[1] = h - x[1];
    } else {
        x[0] = c1 * (h + x[1]);
        x[1] = c1 * (h - x[1]);
        complexFft(data, n / 2, kInverse);
    }
}

void complexFft(Spectrum& s, int points, int direction) {
    if (points > kCapacity / 2) return;
    complexFft(s.specData.data(), points, direction);
    refreshSignalToNoiseMarks(s);
}

void realFft(Spectrum& s, int n, int direction) {
    if (n > kCapacity) return;
    realFft(s.specData.data(), n, direction);
    refreshSignalToNoiseMarks(s);
}

}  // namespace pelvaron::processing
