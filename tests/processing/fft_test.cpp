// The FFT routines: bit-identity with the textbook loops, and the S/N bookkeeping each transform
// leaves behind.
#include "processing/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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

TEST(Fft, BothTransformsAreBitIdenticalToTheTextbookLoopsAtEverySize) {
    // The complex transform (fast and portable) of every size, the real one of as many doubles.
    const auto check = [](const std::vector<double>& input, int direction) {
        const int points = static_cast<int>(input.size() / 2);
        std::vector<double> expected = input, fast = input, portable = input;
        testing::textbookComplexFft(expected.data(), points, direction);
        complexFft(fast.data(), points, direction);
        complexFftPortable(portable.data(), points, direction);
        EXPECT_TRUE(sameBits(fast, expected)) << points << " points, direction " << direction;
        EXPECT_TRUE(sameBits(portable, expected)) << points << " points, portable, direction " << direction;
        if (points < 2) return;
        std::vector<double> realExpected = input, real = input;
        testing::textbookRealFft(realExpected.data(), 2 * points, direction);
        realFft(real.data(), 2 * points, direction);
        EXPECT_TRUE(sameBits(real, realExpected)) << 2 * points << " samples, direction " << direction;
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
