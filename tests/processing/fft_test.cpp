// The FFT routines: sign convention, scaling, the real transform's packing, bit-identity with the
// textbook loops, and the S/N bookkeeping each transform leaves behind.
#include "processing/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include "fixtures.h"
#include "processing/noise_block.h"
#include "textbook_fft.h"

namespace pelvaron::processing {
namespace {

using testing::textbookComplexFft;
using testing::textbookRealFft;

std::vector<double> randomData(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal(0.0, 1000.0);
    std::vector<double> v(count);
    for (double& x : v) x = normal(rng);
    return v;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

std::vector<double> exponential(int points, int freq, int sign) {
    std::vector<double> v(2 * points);
    for (int j = 0; j < points; ++j) {
        const std::complex<double> z = std::polar(1.0, sign * 2.0 * std::numbers::pi * freq * j / points);
        v[2 * j] = z.real();
        v[2 * j + 1] = z.imag();
    }
    return v;
}

TEST(ComplexFft, SignConventionPutsMinusFrequencyAtItsIndexAndPlusAtTheMirror) {
    const int points = 64;
    for (const auto& [sign, expectedBin] : {std::pair{-1, 5}, std::pair{+1, points - 5}}) {
        std::vector<double> x = exponential(points, 5, sign);
        complexFft(x.data(), points, kForward);
        for (int k = 0; k < points; ++k) {
            const double magnitude = std::hypot(x[2 * k], x[2 * k + 1]);
            EXPECT_NEAR(magnitude, k == expectedBin ? points : 0.0, 1e-9) << "sign " << sign << " bin " << k;
        }
    }
}

TEST(ComplexFft, ForwardThenInverseReturnsTheInputTimesThePointCount) {
    const int points = 512;
    const std::vector<double> input = randomData(2 * points, 7);
    std::vector<double> x = input;
    complexFft(x.data(), points, kForward);
    complexFft(x.data(), points, kInverse);
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(x[i] / points, input[i], 1e-9);
}

TEST(ComplexFft, IsBitIdenticalToTheTextbookLoopAtEverySize) {
    for (int points = 1; points <= kCapacity / 2; points *= 2) {
        const std::vector<double> input = randomData(2 * points, static_cast<unsigned>(points));
        for (int direction : {kForward, kInverse}) {
            std::vector<double> expected = input, fast = input, portable = input;
            textbookComplexFft(expected.data(), points, direction);
            complexFft(fast.data(), points, direction);
            complexFftPortable(portable.data(), points, direction);
            EXPECT_TRUE(sameBits(fast, expected)) << points << " points, direction " << direction;
            EXPECT_TRUE(sameBits(portable, expected))
                << points << " points, portable, direction " << direction;
        }
    }
    // Trivial twiddles (1, 0) still multiply: -0 + 0*x and inf*0 must come out the same way.
    std::vector<double> input(2 * 256, -0.0);
    input[10] = INFINITY;
    input[33] = -1.5;
    std::vector<double> expected = input, fast = input;
    textbookComplexFft(expected.data(), 256, kForward);
    complexFft(fast.data(), 256, kForward);
    EXPECT_TRUE(sameBits(fast, expected));

    // Sizes that are no power of two are left alone.
    const std::vector<double> odd = randomData(2 * 100, 3);
    std::vector<double> x = odd;
    complexFft(x.data(), 100, kForward);
    EXPECT_EQ(x, odd);
}

TEST(RealFft, PacksTheSpectrumOfRealSamplesAsTheComplexFftComputesIt) {
    const int n = 128;
    const std::vector<double> samples = randomData(n, 11);
    std::vector<double> complexInput(2 * n, 0.0);
    for (int j = 0; j < n; ++j) complexInput[2 * j] = samples[j];
    complexFft(complexInput.data(), n, kForward);
    std::vector<double> packed = samples;
    realFft(packed.data(), n, kForward);

    const double tolerance = 1e-9 * n * 1000.0;
    EXPECT_NEAR(packed[0], complexInput[0], tolerance);  // frequency 0
    EXPECT_NEAR(packed[1], complexInput[n], tolerance);  // Nyquist, real
    for (int k = 1; k < n / 2; ++k) {
        EXPECT_NEAR(packed[2 * k], complexInput[2 * k], tolerance) << k;
        EXPECT_NEAR(packed[2 * k + 1], complexInput[2 * k + 1], tolerance) << k;
    }

    realFft(packed.data(), n, kInverse);
    for (int j = 0; j < n; ++j) EXPECT_NEAR(packed[j] / (n / 2), samples[j], 1e-9 * 1000.0);
}

TEST(RealFft, IsBitIdenticalToTheTextbookRoutine) {
    for (int n : {4, 8, 64, 1024, 65536}) {
        const std::vector<double> input = randomData(n, static_cast<unsigned>(n) + 1);
        for (int direction : {kForward, kInverse}) {
            std::vector<double> expected = input, x = input;
            textbookRealFft(expected.data(), n, direction);
            realFft(x.data(), n, direction);
            EXPECT_TRUE(sameBits(x, expected)) << n << " samples, direction " << direction;
        }
    }
}

TEST(SignalToNoiseMarks, EachTransformRecordsTheQuietestBlockAndTheLargestRealPart) {
    // Four blocks of 128 doubles in the first half; block 2 is the quietest, block 3 ties it
    // later and loses; the largest real part sits in the second half twice, the later one wins.
    std::vector<double> values(1024, 0.0);
    for (int b = 0; b < 4; ++b) {
        const double range = b == 2 || b == 3 ? 1.0 : 5.0;
        for (int j = 0; j < 64; ++j) values[128 * b + 2 * j] = j % 2 == 0 ? range : 0.0;
        values[128 * b + 1] = 1000.0;  // imaginary parts do not count
    }
    values[700] = -50.0;
    values[900] = 50.0;
    auto doc = testing::documentWith(values);
    doc->peakIndex = 42;

    EXPECT_EQ(findNoiseBlock(*doc), 2);
    refreshSignalToNoiseMarks(*doc);
    EXPECT_EQ(doc->transform.noiseBlock, 2);
    EXPECT_EQ(doc->transform.snPeakIndex, 900);
    EXPECT_EQ(doc->transform.snPeakValue, 50.0);
    EXPECT_EQ(doc->peakIndex, 42);

    // The document transform refreshes the marks from its own output.
    doc->transform.snPeakIndex = -1;
    complexFft(*doc, 512, kForward);
    EXPECT_GE(doc->transform.snPeakIndex, 0);
    EXPECT_EQ(doc->transform.snPeakValue, doc->specData[doc->transform.snPeakIndex]);
}

TEST(SignalToNoiseMarks, DataShorterThanOneBlockPairUseBlockZero) {
    auto doc = testing::documentWith(std::vector<double>(200, 1.0));
    doc->transform.noiseBlock = 7;
    refreshSignalToNoiseMarks(*doc);
    EXPECT_EQ(doc->transform.noiseBlock, 0);
}

}  // namespace
}  // namespace pelvaron::processing
