// The numerical toolkit where the spin engine's tests do not reach it: ranged storage, the
// eigen-solver's report, pythag and combinatorics at the ends of their range. sort2, tred2, tqli,
// binomial and the allocation failures are checked through the engine (their one caller).
#include "simulation/toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "recording_ui.h"

namespace pelvaron::simulation {
namespace {

using testing::RecordingUserInterface;

TEST(Toolkit, RangedStorageKeepsItsIndexRangeAndRefusesAnEmptyOne) {
    RecordingUserInterface ui;
    Matrix m;
    ASSERT_TRUE(matrix(m, -2, 3, 5, 7, ui));
    m(3, 7) = 2.0;
    EXPECT_EQ(m.row(3)[2], 2.0);
    EXPECT_EQ(m(-2, 5), 0.0);  // storage starts zeroed
    Vector v;
    EXPECT_FALSE(matrix(m, 1, 0, 1, 3, ui));  // an empty range
    EXPECT_FALSE(vector(v, 5, 4, ui));
    EXPECT_EQ(ui.messageTexts(),
              (std::vector<std::string>{"Allocation failure 1 in matrix", "Allocation failure 1 in vector"}));
    EXPECT_TRUE(m.empty());
}

TEST(Toolkit, TqliReportsANonConvergingEigenvalueAndStops) {
    RecordingUserInterface ui;
    Vector d, e;
    Matrix z;
    ASSERT_TRUE(vector(d, 1, 3, ui) && vector(e, 1, 3, ui) && matrix(z, 1, 3, 1, 3, ui));
    for (int i = 1; i <= 3; ++i) e[i] = z(i, i) = 1.0;
    d[2] = std::numeric_limits<double>::quiet_NaN();
    tqli(d, e, 3, z, ui);  // must come back
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text, "Pelvaron run-time error...");
}

TEST(Toolkit, PythagAndCombinatoricsAtTheEndsOfTheirRange) {
    EXPECT_DOUBLE_EQ(pythag(1e300, 1e300), std::sqrt(2.0) * 1e300);  // no overflow
    EXPECT_DOUBLE_EQ(pythag(1e-300, 1e-300), std::sqrt(2.0) * 1e-300);
    for (int k : {-1, 5}) EXPECT_EQ(binomial(4, k), 0);
}

}  // namespace
}  // namespace pelvaron::simulation
