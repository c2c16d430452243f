// Baseline correction: the polynomial's abscissae, the manual dialog's bars, preview and OK, the
// straight line, and the broken line through picked points with its knots and limits.
#include "processing/baseline.h"

#include <gtest/gtest.h>

#include "display/paint.h"
#include "display/tools.h"
#include "fixtures.h"
#include "processing/data_ops.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using platform::Point;

TEST(BaselinePolynomial, AbscissaeRunAboutTheMiddleWithZeroTwiceOnePointIsC0AndAStraightLineComesOff) {
    auto doc = documentWith(std::vector<double>(16));
    baselinePolynomial(doc->workCurve, 16, {0, 1, 0, 0, 0});
    EXPECT_EQ(head(doc->workCurve, 8), (std::vector<double>{-0.75, -0.5, -0.25, 0, 0, 0.25, 0.5, 0.75}));
    baselinePolynomial(doc->workCurve, 16, {1, 0, 0, 0, 1});
    EXPECT_EQ(head(doc->workCurve, 3), (std::vector<double>{1 + 81.0 / 256, 1 + 16.0 / 256, 1 + 1.0 / 256}));
    // A single point has H = 0: no division by it.
    baselinePolynomial(doc->workCurve, 2, {2, 5, 5, 5, 5});
    EXPECT_EQ(doc->workCurve[0], 2.0);

    // The straight line: a constant of five comes off every real and imaginary part.
    doc = documentWith(std::vector<double>(64, 5.0));
    removeLinearDrift(*doc);
    EXPECT_EQ(dataOf(*doc), std::vector<double>(64, 0.0));
}

TEST(BaselineDialog, BarsClampThePreviewRunsAtTheRowsAndOkAddsTheirValueToBothParts) {
    std::vector<double> v(64, 0.0);
    v[10] = -30.0;  // |peakValue| 30: a pixel stands for 30/75 = 0.4
    auto doc = documentWith(v);
    testing::RecordingObserver seen(*doc);
    BaselineDialog d(*doc, {16, 400, 29, 781, 75.0});  // 32 points over 16 columns: every other point
    d.open();

    const PreviewUpdate first = d.scroll(0, ScrollAction::Thumb, 10);
    EXPECT_TRUE(first.erase.empty());
    ASSERT_EQ(first.draw.size(), 16u);
    for (int j = 0; j < 16; ++j) EXPECT_EQ(first.draw[j], (Point{j, 410})) << j;
    const PreviewUpdate second = d.scroll(0, ScrollAction::LineRight);
    EXPECT_EQ(second.erase, first.draw);
    EXPECT_EQ(second.draw[0], (Point{0, 411}));
    // Rows stay within the plot: 150 below a baseline at 700 are held at its bottom, 781, and 150
    // above one at 100 at its top, 29.
    for (const auto& [baseline, thumb, row] : {std::tuple(700, 150, 781), std::tuple(100, -150, 29)}) {
        d.plot.baselineY = baseline;
        EXPECT_EQ(d.scroll(0, ScrollAction::Thumb, thumb).draw[5], (Point{5, row})) << baseline;
    }
    d.plot.baselineY = 400;

    // Bars stop at -150 and 150.
    (void)d.scroll(2, ScrollAction::Thumb, -148);
    (void)d.scroll(2, ScrollAction::PageLeft);
    (void)d.scroll(3, ScrollAction::Thumb, 400);
    EXPECT_EQ(std::pair(d.position(2), d.position(3)), std::pair(-150, 150));
    EXPECT_TRUE(d.scroll(5, ScrollAction::LineRight).draw.empty());  // no such bar

    const std::vector<double> before = dataOf(*doc);
    d.cancel();
    EXPECT_EQ(std::pair(dataOf(*doc), seen.take()), std::pair(before, ChangeSet{kOverlaysChanged}));

    d.open();
    (void)d.scroll(0, ScrollAction::Thumb, 10);
    d.ok();
    for (int i = 0; i < 64; ++i) EXPECT_DOUBLE_EQ(doc->spectrum.specData[i], before[i] + 4.0) << i;
    EXPECT_EQ(seen.notices, std::vector<ChangeSet>{kDataChanged | kOverlaysChanged});
}

/// 16 points whose real parts are 0 up to point 5 and rise by 3 per point after; imaginary 1.
/// 128 columns over AQ = 1/64 s: plot pixel x lies over index x/4 exactly, so pixel 40 is the kink.
std::unique_ptr<Document> kinked() {
    std::vector<double> v(32);
    for (int k = 0; k < 16; ++k) {
        v[2 * k] = k <= 5 ? 0.0 : 3.0 * (k - 5);
        v[2 * k + 1] = 1.0;
    }
    return testing::withSentinelBeyond(documentWith(v, 1024.0));
}

TEST(MultiPointBaseline, KnotsAtTheEndsAndEachClickPastTheDataHeldAtTheLastPointAndThreeHundredAtMost) {
    // Without clicks the line runs from x[0] = 0 to x[30] = 30: 2 per point, -6 at point 3. The
    // tick of a click right of the data stands on the last point (30 of 30).
    for (const auto& [name, clicks, realAtPoint3] :
         {std::tuple("none", std::vector<int>{}, -6.0), std::tuple("kink", std::vector<int>{40}, 0.0),
          std::tuple("twice", std::vector<int>{40, 40}, 0.0),
          std::tuple("past the data, unsorted", std::vector<int>{400, 40}, 0.0)}) {
        testing::RecordingUserInterface ui;
        auto doc = kinked();
        display::View view;
        display::initClientArea(view, 128, 800);
        MultiPointBaseline dialog(*doc);
        (void)display::leftButtonDown(*doc, view, ui, 40, 300, {});  // no pick armed: no point
        dialog.open();
        display::setBaselinePick(view, true);
        for (const int x : clicks) (void)display::leftButtonDown(*doc, view, ui, x, 300, {});
        ASSERT_EQ(dialog.pointCount(), static_cast<int>(clicks.size())) << name;
        if (!clicks.empty()) {
            EXPECT_EQ(display::baselinePickMarks(*doc, view)[0].top,
                      (Point{clicks[0], clicks[0] == 400 ? 325 : 400}))
                << name;
        }
        dialog.apply();
        EXPECT_NEAR(doc->spectrum.specData[6], realAtPoint3, 1e-12) << name;
        for (int k = 0; k < 15 && !clicks.empty(); ++k)
            EXPECT_NEAR(doc->spectrum.specData[2 * k], 0.0, 1e-12) << name << k;
        EXPECT_EQ(std::pair(doc->spectrum.specData[30], doc->spectrum.specData[31]), std::pair(0.0, 0.0))
            << name;
        testing::expectUntouchedBeyond(*doc);
    }

    // It holds 300 points, and Cancel leaves the data.
    auto doc = kinked();
    MultiPointBaseline dialog(*doc);
    dialog.open();
    int taken = 0;
    for (int i = 0; i < 305; ++i) taken += dialog.addPoint(0.001 * i) ? 1 : 0;
    const std::vector<double> before = dataOf(*doc);
    dialog.cancel();
    EXPECT_EQ(std::tuple(taken, dataOf(*doc), dialog.pointCount()), std::tuple(300, before, 0));
}

}  // namespace
}  // namespace pelvaron::processing
