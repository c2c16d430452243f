// The FFT routines: sign convention, the real transform's packing, bit-identity with the textbook
// loops, and the S/N bookkeeping each transform leaves behind.
#include "processing/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

#include "fixtures.h"
#include "processing/noise_block.h"
#include "textbook_fft.h"

namespace pelvaron::processing {
namespace {

std::vector<double> randomData(int count, int seed) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::normal_distribution<double> normal(0.0, 1000.0);
    std::vector<double> v(count);
    for (double& x : v) x = normal(rng);
    return v;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(ComplexFft, ForwardPutsMinusFrequenciesAtTheirIndexAndInversePlusOnes) {
    const int points = 64;
    for (const auto& [direction, sign, bin] :
         {std::tuple{kForward, -1, 5}, {kForward, +1, points - 5}, {kInverse, +1, 5}}) {
        SCOPED_TRACE(::testing::Message() << "direction " << direction << " sign " << sign);
        std::vector<double> x(2 * points);
        for (int j = 0; j < points; ++j) {
            const std::complex<double> z = std::polar(1.0, sign * 2.0 * std::numbers::pi * 5 * j / points);
            x[2 * j] = z.real();
            x[2 * j + 1] = z.imag();
        }
        complexFft(x.data(), points, direction);
        for (int k = 0; k < points; ++k)
            EXPECT_NEAR(std::hypot(x[2 * k], x[2 * k + 1]), k == bin ? points : 0.0, 1e-9) << k;
    }
}

TEST(ComplexFft, IsBitIdenticalToTheTextbookLoopAtEverySize) {
    const auto check = [](const std::vector<double>& input, int direction) {
        const int points = static_cast<int>(input.size() / 2);
        std::vector<double> expected = input, fast = input, portable = input;
        testing::textbookComplexFft(expected.data(), points, direction);
        complexFft(fast.data(), points, direction);
        complexFftPortable(portable.data(), points, direction);
        EXPECT_TRUE(sameBits(fast, expected)) << points << " points, direction " << direction;
        EXPECT_TRUE(sameBits(portable, expected)) << points << " points, portable, direction " << direction;
    };
    for (int points = 1; points <= kCapacity / 2; points *= 2)
        for (int direction : {kForward, kInverse}) check(randomData(2 * points, points), direction);
    // Trivial twiddles (1, 0) still multiply: -0 + 0*x and inf*0 must come out the same way.
    std::vector<double> special(2 * 256, -0.0);
    special[10] = INFINITY;
    special[33] = -1.5;
    check(special, kForward);
    // Sizes that are no power of two are left alone.
    const std::vector<double> odd = randomData(2 * 100, 3);
    std::vector<double> x = odd;
    complexFft(x.data(), 100, kForward);
    EXPECT_EQ(x, odd);
}

TEST(RealFft, IsBitIdenticalToTheTextbookRoutine) {
    for (int n : {4, 8, 64, 1024, 65536}) {
        const std::vector<double> input = randomData(n, n + 1);
        for (int direction : {kForward, kInverse}) {
            std::vector<double> expected = input, x = input;
            testing::textbookRealFft(expected.data(), n, direction);
            realFft(x.data(), n, direction);
            EXPECT_TRUE(sameBits(x, expected)) << n << " samples, direction " << direction;
        }
    }
}

TEST(SignalToNoiseMarks, EachTransformRecordsTheQuietestBlockAndTheLargestRealPart) {
    // Four blocks of 128 doubles in the first half; block 2 is the quietest, block 3 ties it
    // later and loses; imaginary parts do not count. The largest real part sits in the second
    // half twice, the later one wins. Data shorter than one block pair use block 0.
    std::vector<double> values(1024, 0.0);
    for (int i = 0; i < 512; i += 4) values[i] = i / 128 == 2 || i / 128 == 3 ? 1.0 : 5.0;
    for (int i = 1; i < 512; i += 128) values[i] = 1000.0;
    values[700] = -50.0;
    values[900] = 50.0;
    for (const auto& [data, block, index] :
         {std::tuple{values, 2, 900}, {std::vector<double>(200, 1.0), 0, 198}}) {
        auto doc = testing::documentWith(data);
        doc->peakIndex = 42;
        doc->transform.noiseBlock = 7;
        refreshSignalToNoiseMarks(*doc);
        EXPECT_EQ((std::tuple{doc->transform.noiseBlock, doc->transform.snPeakIndex, doc->peakIndex}),
                  (std::tuple{block, index, 42}));
        EXPECT_EQ(doc->transform.snPeakValue, data[index]);
    }
}

}  // namespace
}  // namespace pelvaron::processing
