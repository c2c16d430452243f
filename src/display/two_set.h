// The two-set display: a second data set (secondData, red) over the working one (specData,
// blue), shifted, moved and scaled with three scroll bars, then added to or subtracted from it.
// Add/Subtract starts it over a data set read from a file, Compare over a simulated spectrum.
#pragma once

#include "display/tools.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

/// The factor bar's range at the start and the limit of its x10 steps.
inline constexpr int kFactorRangeStart = 500;
inline constexpr int kFactorRangeLimit = 50000;
/// The top of the two-set plot (below the control strip) and of the offset bar's range.
inline constexpr int kTwoSetTop = 58;

/// Before the new data arrive: the plot area below the strip, the Undo snapshot, no unphased
/// copy, no save question for the data about to be replaced, and the present data become the
/// second set.
void prepareTwoSetDisplay(Document& doc, View& view);

/// The new data are in specData: the display is on, with the bars at their start (shift 0,
/// factor range 0 .. 500) and the working curve taken from the unphased copy.
void beginTwoSetDisplay(Document& doc, View& view);

/// The second set scaled so that its real part of largest magnitude is as large as the working
/// set's peak value: a measured spectrum and a simulation, whose intensities may lie orders of
/// magnitude apart (beyond the factor bar's reach), are drawn at one height. Nothing changes
/// when either set is all but zero.
void matchSecondSetHeight(Document& doc);

/// specData += sign x secondData shifted by secondShift doubles x secondFactor / 100, over the
/// indices where both exist. An odd shift pairs real with imaginary values. A data notice.
void addScaledSecond(Document& doc, const View& view, int sign);

/// Exchanges the two data sets (and the working curve with the unphased copy) over nData.
void swapTwoSets(Document& doc);

/// x10: the factor bar's range grows tenfold while it is below 50000; then "You cannot
/// increase more the scroll bar range" (title "Warning"). True when it grew.
bool increaseFactorRange(View& view, platform::UserInterface& ui);

/// OK keeps specData; Quit puts back the data the display began with (the Undo snapshot; the
/// peak value stays). Either ends the display: factor 100, mode off. A data and view notice.
void endTwoSetDisplay(Document& doc, View& view, bool keep);

/// The three bars of the strip.
enum class TwoSetBar { Shift, Offset, Factor };
struct BarRange {
    int min = 0, max = 0;
};
[[nodiscard]] BarRange twoSetBarRange(const Document& doc, const View& view, TwoSetBar bar);
/// The variable a bar shows: secondShift, secondBaselineY or secondFactor.
[[nodiscard]] int twoSetBarValue(const View& view, TwoSetBar bar);

/// One scroll of a bar: lines of 1 / 5 / 1, pages of 25 / 10 / 10 (shift / offset / factor) or
/// the thumb position (a 16-bit value above the maximum stands for a negative one), held in the
/// bar's range. The shift and the factor show "Offset: %d" and "Factor: %lf" in part 0 of the
/// status bar. A view notice; returns the bar's new value.
int twoSetScroll(const Document& doc, View& view, platform::UserInterface& ui, TwoSetBar bar, ScrollCode code,
                 int thumb = 0);

}  // namespace pelvaron::display
