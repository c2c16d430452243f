// The numerical toolkit: ranged storage and its failure messages, sort2, the eigen-solver,
// pythag and the combinatorics.
#include "simulation/toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "recording_ui.h"

namespace pelvaron::simulation {
namespace {

using testing::RecordingUserInterface;

class RefuseOne : public AllocationGate {
public:
    explicit RefuseOne(std::string message) : message_(std::move(message)) {}
    bool allow(std::string_view failureMessage) const override { return failureMessage != message_; }

private:
    std::string message_;
};

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
    const RefuseOne block("Allocation failure 2 in matrix");
    EXPECT_FALSE(intMatrix(im, 1, 3, 1, 3, ui, &block));
    EXPECT_FALSE(matrix(m, 1, 0, 1, 3, ui));  // an empty range
    IntVector iv;
    EXPECT_FALSE(intVector(iv, 5, 4, ui));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "Allocation failure 2 in matrix");
    EXPECT_EQ(ui.messages[0].caption, "error");
    EXPECT_EQ(ui.messages[1].text, "Allocation failure 1 in matrix");
    EXPECT_EQ(ui.messages[2].text, "Allocation failure 1 in vector");
    EXPECT_TRUE(m.empty());
}

TEST(Toolkit, Sort2SortsKeysAndCarriesTheSecondArray) {
    RecordingUserInterface ui;
    std::mt19937 rng(7);
    for (int n : {1, 2, 6, 7, 8, 50, 1000, 20000}) {
        Vector a, b;
        ASSERT_TRUE(vector(a, 1, n, ui));
        ASSERT_TRUE(vector(b, 1, n, ui));
        std::uniform_int_distribution<int> key(0, n / 3 + 1);  // plenty of equal keys
        for (int i = 1; i <= n; ++i) {
            a[i] = key(rng);
            b[i] = 1e6 * a[i] + i;  // remembers its key
        }
        ASSERT_TRUE(sort2(n, a, b, ui));
        for (int i = 1; i <= n; ++i) {
            if (i > 1) {
                ASSERT_LE(a[i - 1], a[i]) << n;
            }
            ASSERT_EQ(std::floor(b[i] / 1e6), a[i]) << n;
        }
    }
    // Already sorted and reversed input.
    Vector a, b;
    ASSERT_TRUE(vector(a, 1, 500, ui));
    ASSERT_TRUE(vector(b, 1, 500, ui));
    for (int i = 1; i <= 500; ++i) a[i] = b[i] = 500 - i;
    ASSERT_TRUE(sort2(500, a, b, ui));
    for (int i = 1; i <= 500; ++i) EXPECT_EQ(a[i], i - 1);
    EXPECT_TRUE(ui.messages.empty());
}

/// ||A v_j - lambda_j v_j|| and ||V^T V - I|| for a decomposition by tred2 + tqli.
void checkEigenpairs(int n, unsigned seed, bool blockStructured) {
    RecordingUserInterface ui;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-50.0, 50.0);
    Matrix a, z;
    Vector d, e;
    ASSERT_TRUE(matrix(a, 1, n, 1, n, ui));
    ASSERT_TRUE(matrix(z, 1, n, 1, n, ui));
    ASSERT_TRUE(vector(d, 1, n, ui));
    ASSERT_TRUE(vector(e, 1, n, ui));
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= i; ++j) {
            const bool sameBlock = !blockStructured || (i - 1) / 3 == (j - 1) / 3;
            a(i, j) = a(j, i) = sameBlock ? value(rng) : 0.0;
        }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) z(i, j) = a(i, j);
    tred2(z, n, d, e);
    tqli(d, e, n, z, ui);
    EXPECT_TRUE(ui.messages.empty());
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i <= n; ++i) {
            double av = 0.0;
            for (int k = 1; k <= n; ++k) av += a(i, k) * z(k, j);
            EXPECT_NEAR(av, d[j] * z(i, j), 1e-10) << "n " << n << " pair " << j;
            if (blockStructured && (i - 1) / 3 != (j - 1) / 3) {
                EXPECT_EQ(z(i, j), 0.0);
            }
        }
        for (int k = 1; k <= n; ++k) {
            double dot = 0.0;
            for (int i = 1; i <= n; ++i) dot += z(i, j) * z(i, k);
            EXPECT_NEAR(dot, j == k ? 1.0 : 0.0, 1e-12);
        }
    }
}

TEST(Toolkit, Tred2AndTqliDiagonaliseSymmetricMatrices) {
    checkEigenpairs(1, 1, false);
    checkEigenpairs(2, 2, false);
    checkEigenpairs(7, 3, false);
    checkEigenpairs(40, 4, false);
    // Block-diagonal input stays block-diagonal: each eigenvector lives in the block of its index.
    checkEigenpairs(12, 5, true);
}

TEST(Toolkit, TqliReportsANonConvergingEigenvalueAndStops) {
    RecordingUserInterface ui;
    Vector d, e;
    Matrix z;
    ASSERT_TRUE(vector(d, 1, 3, ui));
    ASSERT_TRUE(vector(e, 1, 3, ui));
    ASSERT_TRUE(matrix(z, 1, 3, 1, 3, ui));
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

    EXPECT_EQ(factorial(0), 1);
    EXPECT_EQ(factorial(1), 1);
    EXPECT_EQ(factorial(12), 479001600);
    EXPECT_EQ(factorial(20), 2432902008176640000LL);
    EXPECT_EQ(binomial(10, 5), 252);
    EXPECT_EQ(binomial(20, 9), 167960);
    EXPECT_EQ(binomial(4, 0), 1);
    EXPECT_EQ(binomial(4, 5), 0);
    EXPECT_EQ(binomial(4, -1), 0);
}

}  // namespace
}  // namespace pelvaron::simulation
