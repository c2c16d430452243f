// The numerical toolkit: ranged storage and its failure messages, sort2, the eigen-solver,
// pythag and the combinatorics.
#include "simulation/toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "reference.h"

namespace pelvaron::simulation {
namespace {

using testing::RecordingUserInterface;

TEST(Toolkit, RangedStorageKeepsItsIndexRangeAndReportsFailures) {
    RecordingUserInterface ui;
    Matrix m;
    ASSERT_TRUE(matrix(m, -2, 3, 5, 7, ui));
    m(-2, 5) = 1.0;
    m(3, 7) = 2.0;
    EXPECT_EQ(m.row(3)[2], 2.0);
    EXPECT_EQ(m(0, 6), 0.0);  // storage starts zeroed
    Vector v;
    ASSERT_TRUE(vector(v, 1, 4, ui));
    v[4] = 3.0;
    EXPECT_EQ(v.data()[3], 3.0);
    EXPECT_TRUE(ui.messages.empty());

    IntMatrix im;
    const testing::RefuseOne block("Allocation failure 2 in matrix");
    EXPECT_FALSE(intMatrix(im, 1, 3, 1, 3, ui, &block));
    EXPECT_FALSE(matrix(m, 1, 0, 1, 3, ui));  // an empty range
    IntVector iv;
    EXPECT_FALSE(intVector(iv, 5, 4, ui));
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Allocation failure 2 in matrix", "Allocation failure 1 in matrix",
                                        "Allocation failure 1 in vector"}));
    EXPECT_EQ(ui.messages[0].caption, "error");
    EXPECT_TRUE(m.empty());
}

TEST(Toolkit, Sort2SortsKeysAndCarriesTheSecondArray) {
    RecordingUserInterface ui;
    std::mt19937 rng(7);
    // Random keys with plenty of ties at many sizes, then (-1) already sorted and (-2) reversed.
    for (int n : {1, 2, 6, 7, 8, 50, 1000, 20000, -1, -2}) {
        const int size = n < 0 ? 500 : n;
        Vector a, b;
        ASSERT_TRUE(vector(a, 1, size, ui));
        ASSERT_TRUE(vector(b, 1, size, ui));
        std::uniform_int_distribution<int> key(0, size / 3 + 1);
        for (int i = 1; i <= size; ++i) {
            a[i] = n == -1 ? i : n == -2 ? size - i : key(rng);
            b[i] = 1e6 * a[i] + i;  // remembers its key
        }
        ASSERT_TRUE(sort2(size, a, b, ui));
        for (int i = 1; i <= size; ++i) {
            if (i > 1) {
                ASSERT_LE(a[i - 1], a[i]) << n;
            }
            ASSERT_EQ(std::floor(b[i] / 1e6), a[i]) << n;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Toolkit, Tred2AndTqliDiagonaliseSymmetricMatrices) {
    // ||A v_j - lambda_j v_j|| and ||V^T V - I||; block-diagonal input stays block-diagonal:
    // each eigenvector lives in the block of its index.
    for (const auto& [n, blocks] : {std::pair{1, false}, {2, false}, {7, false}, {40, false}, {12, true}}) {
        RecordingUserInterface ui;
        std::mt19937 rng(n);
        std::uniform_real_distribution<double> value(-50.0, 50.0);
        Matrix a, z;
        Vector d, e;
        ASSERT_TRUE(matrix(a, 1, n, 1, n, ui) && matrix(z, 1, n, 1, n, ui));
        ASSERT_TRUE(vector(d, 1, n, ui) && vector(e, 1, n, ui));
        auto sameBlock = [&](int i, int j) { return !blocks || (i - 1) / 3 == (j - 1) / 3; };
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= i; ++j)
                z(i, j) = z(j, i) = a(i, j) = a(j, i) = sameBlock(i, j) ? value(rng) : 0.0;
        tred2(z, n, d, e);
        tqli(d, e, n, z, ui);
        EXPECT_TRUE(ui.messages.empty());
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= n; ++i) {
                double av = 0.0, dot = 0.0;
                for (int k = 1; k <= n; ++k) {
                    av += a(i, k) * z(k, j);
                    dot += z(k, i) * z(k, j);
                }
                EXPECT_NEAR(av, d[j] * z(i, j), 1e-10) << "n " << n << " pair " << j;
                EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-12) << "n " << n;
                if (!sameBlock(i, j)) {
                    EXPECT_EQ(z(i, j), 0.0);
                }
            }
    }
}

TEST(Toolkit, TqliReportsANonConvergingEigenvalueAndStops) {
    RecordingUserInterface ui;
    Vector d, e;
    Matrix z;
    ASSERT_TRUE(vector(d, 1, 3, ui) && vector(e, 1, 3, ui) && matrix(z, 1, 3, 1, 3, ui));
    for (int i = 1; i <= 3; ++i) {
        d[i] = i;
        e[i] = 1.0;
        z(i, i) = 1.0;
    }
    d[2] = std::numeric_limits<double>::quiet_NaN();
    tqli(d, e, 3, z, ui);  // must come back
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text, "Pelvaron run-time error...");
    EXPECT_EQ(ui.messages[0].caption, "");
}

TEST(Toolkit, PythagAndCombinatorics) {
    EXPECT_DOUBLE_EQ(pythag(3.0, 4.0), 5.0);
    EXPECT_DOUBLE_EQ(pythag(-4.0, 3.0), 5.0);
    EXPECT_EQ(pythag(0.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(pythag(1e300, 1e300), std::sqrt(2.0) * 1e300);  // no overflow
    EXPECT_DOUBLE_EQ(pythag(1e-300, 1e-300), std::sqrt(2.0) * 1e-300);
    for (const auto& [n, f] : {std::pair{0, 1LL}, {1, 1LL}, {12, 479001600LL}, {20, 2432902008176640000LL}})
        EXPECT_EQ(factorial(n), f) << n;
    for (const auto& [n, k, b] : {std::tuple{10, 5, 252}, {20, 9, 167960}, {4, 0, 1}, {4, 5, 0}, {4, -1, 0}})
        EXPECT_EQ(binomial(n, k), b) << n << " " << k;
}

}  // namespace
}  // namespace pelvaron::simulation
