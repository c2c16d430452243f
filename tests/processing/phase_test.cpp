// The "Phase Correction" dialog and Autophase. The rotation itself turns the aspirin FID into the
// spectrometer's own spectrum in the recorded-processing test.
#include "processing/phase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "fixtures.h"
#include "processing/phase_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

TEST(PhaseDialog, BarsAndTypedOrdersRephaseTheCopyOkTurnsBothPartsCancelReturnsToTheOpening) {
    const std::vector<double> original = testing::fidOf(64, 1000.0, {100.0, -230.0});
    auto doc = documentWith(original);
    doc->spectrum.peakIndex = 40;
    doc->spectrum.phase0 = 12.345;
    doc->spectrum.phase1 = -3.0;
    testing::RecordingObserver seen(*doc);
    // The unphased data turned by the present orders about the present pivot.
    const auto rephased = [&](bool imaginary) {
        std::vector<double> x = original;
        phaseRotation(x.data(), 128, doc->spectrum.phase0, doc->spectrum.phase1, doc->spectrum.peakIndex,
                      imaginary);
        return x;
    };
    auto dialog = opened<PhaseDialog>(*doc);
    // The pivot is shown: an overlay changes.
    EXPECT_EQ((Ints{doc->transform.showPivot, dialog.order0Position(), dialog.order1Position(),
                    dialog.pivotPosition(), dialog.pivotMaximum(), doc->spectrum.phaseSourceValid,
                    static_cast<int>(seen.take())}),
              (Ints{1, 1234, -300, 40, 128, 0, kOverlaysChanged}));
    EXPECT_EQ(head(doc->spectrum.phaseSource, 128), original);
    EXPECT_EQ(head(doc->undo.specData, 128), original);

    // Orders: 1 degree a line, 10 a page, within +-180. Pivot: 2 points a line, 10 a page, even
    // points from 0 to nData; moving it alone leaves the data, the next order change uses it.
    enum Bar { Order0, Order1, Pivot };
    using enum ScrollAction;
    const std::tuple<Bar, ScrollAction, int, int> steps[] = {
        {Order0, Thumb, 17950, 17950},   {Order0, LineRight, 0, 18000},  {Order0, LineRight, 0, 18000},
        {Order0, Thumb, -30000, -18000}, {Order0, PageRight, 0, -17000}, {Order0, LineLeft, 0, -17100},
        {Order1, PageLeft, 0, -1300},    {Pivot, LineRight, 0, 42},      {Pivot, PageLeft, 0, 32},
        {Pivot, Thumb, 77, 76},          {Pivot, Thumb, 500, 128},       {Pivot, Thumb, -5, 0},
        {Pivot, Thumb, 100, 100},        {Order1, LineRight, 0, -1200}};
    for (const auto& [bar, action, thumb, position] : steps) {
        SCOPED_TRACE(::testing::Message() << "bar " << bar << " to " << position);
        const std::vector<double> before = dataOf(*doc);
        if (bar == Order0) dialog.scrollOrder0(action, thumb);
        if (bar == Order1) dialog.scrollOrder1(action, thumb);
        if (bar == Pivot) dialog.scrollPivot(action, thumb);
        const int positions[] = {dialog.order0Position(), dialog.order1Position(), dialog.pivotPosition()};
        EXPECT_EQ(positions[bar], position);
        EXPECT_EQ((std::pair{doc->spectrum.phase0, doc->spectrum.phase1}),
                  (std::pair{positions[0] / 100.0, positions[1] / 100.0}));
        EXPECT_EQ(dataOf(*doc), bar == Pivot ? before : rephased(false));
        EXPECT_EQ(seen.take(), bar == Pivot ? kOverlaysChanged : kDataChanged);
    }
    EXPECT_EQ(dialog.order0Text() + " " + dialog.order1Text(), "-171.0 -12.0");

    // Typed orders are read as far as they are numbers; a huge one holds the position at the end
    // of the int range instead of overflowing.
    dialog.apply("1e300", "x");
    EXPECT_EQ((std::pair{dialog.order0Position(), doc->spectrum.phase1}),
              (std::pair{std::numeric_limits<int>::max(), 0.0}));
    EXPECT_TRUE(std::ranges::all_of(dataOf(*doc), [](double v) { return std::isfinite(v); }));
    dialog.apply("0.29", "-250.5 deg");
    EXPECT_EQ((std::pair{doc->spectrum.phase0, doc->spectrum.phase1}), (std::pair{0.29, -250.5}));
    EXPECT_EQ((Ints{dialog.order0Position(), dialog.order1Position(), doc->transform.showPivot}),
              (Ints{0, -25000, 1}));
    EXPECT_EQ(dataOf(*doc), rephased(false));
    dialog.ok();
    EXPECT_EQ((Ints{doc->transform.showPivot, doc->spectrum.phaseSourceValid, static_cast<int>(seen.take())}),
              (Ints{0, 1, kDataChanged | kOverlaysChanged}));
    EXPECT_EQ(dataOf(*doc), rephased(true));
    // Opened again on phased data beside the valid unphased copy: Cancel returns to the phased
    // data with their exact phases (0.29 degrees, not the bar's 0.28), and the copy is kept.
    const std::vector<double> atOpening = dataOf(*doc);
    auto again = opened<PhaseDialog>(*doc);
    const int shown = again.order0Position();
    again.scrollPivot(PageRight);
    again.apply("77", "8");
    again.cancel();
    EXPECT_EQ(dataOf(*doc), atOpening);
    EXPECT_EQ((std::pair{doc->spectrum.phase0, doc->spectrum.phase1}), (std::pair{0.29, -250.5}));
    EXPECT_EQ((Ints{again.order0Position(), doc->transform.showPivot, doc->spectrum.phaseSourceValid}),
              (Ints{shown, 0, 1}));
    EXPECT_EQ(head(doc->spectrum.phaseSource, 128), original);
}

TEST(Autophase, ChoosesTheAngleWhoseRealPartsSumLargerAndTurnsANegativeMaximumUp) {
    // Data of `fill` but for the chosen points; the data turn by the exact angle, the phase shows
    // it truncated.
    struct Case {
        std::vector<std::pair<int, std::pair<double, double>>> points;
        int size;
        double fill;
        int pivot;
        double peakValue, phase0, angle;
    };
    const double deg45 = std::atan(1.0) * 180.0 / 3.14159;
    const Case cases[] = {
        // Pivot alone: atan(-im/re) = 45 degrees beats atan(-10 im/re) = 84.3 degrees.
        {{{20, {1.0, -1.0}}}, 256, 0.0, 40, 1.0, 45.0, deg45},
        // A second line turned by +90 degrees makes the ten-fold ratio's 45 degrees win over 5.7.
        {{{20, {1.0, -0.1}}, {60, {0.0, -10.0}}}, 256, 0.0, 40, 1.0, 45.0, deg45},
        // A negative largest line ends half a turn away: 45 + 180 = 225, beyond 180.
        {{{20, {-1.0, 1.0}}}, 256, 0.0, 40, -1.0, -135.0, -135.0},
        // No signal at all, and a pivot past the end of a full buffer (read at its last point).
        {{}, 256, 0.0, 0, 0.0, 0.0, 0.0},
        {{}, kCapacity, 1.0, kCapacity, 1.0, -45.0, -deg45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.phase0 << " of " << c.size);
        std::vector<double> values(c.size, c.fill);
        for (const auto& [k, z] : c.points) values[2 * k] = z.first, values[2 * k + 1] = z.second;
        auto doc = documentWith(values);
        doc->spectrum.peakIndex = c.pivot;
        doc->spectrum.peakValue = c.peakValue;
        phaseRotation(values.data(), c.size, c.angle, 0.0, c.pivot, true);
        testing::RecordingObserver seen(*doc);
        // It starts from the valid copy each time: running it again gives the same result.
        for (int run = 0; run < 2; ++run) {
            autophaseCommand(*doc);
            EXPECT_EQ(
                (std::tuple{doc->spectrum.phase0, doc->spectrum.phase1, doc->spectrum.phaseSourceValid}),
                (std::tuple{c.phase0, 0.0, 1}));
            EXPECT_EQ(seen.take(), kDataChanged);
            EXPECT_TRUE(dataOf(*doc) == values);
        }
    }
}

}  // namespace
}  // namespace pelvaron::processing
