// The actions the mouse tools hand their picks to: integration, peak picking, J measurement and
// the multiple-point baseline's points, each carried out by its own subsystem.
#pragma once

#include "display/view.h"
#include "document/document.h"
#include "platform/user_interface.h"
#include "processing/baseline.h"

namespace pelvaron::display {

/// Integrate tool released between plot pixels x0 <= x1; whether an integral was added.
bool integrateRegion(Document& doc, const View& view, platform::UserInterface& ui, double x0, double x1);
/// Peak-picking tool released: indices iL..iR of specData, threshold as a data value.
void pickPeakRegion(Document& doc, platform::UserInterface& ui, int iL, int iR, double threshold);
/// J tool released at plot pixel x: a cursor on the real part at or before it.
void placeJCursorAt(Document& doc, const View& view, int x);
/// Multiplet Add released between plot pixels x0 <= x1: a new range over those columns (an
/// overlay notice); whether one was added.
bool addMultipletRangeAt(Document& doc, const View& view, int x0, int x1);
/// Multiplet Split released at plot pixel x: the range under it split there; whether it was.
bool splitMultipletAt(Document& doc, const View& view, int x);
/// Where the manual baseline's preview is drawn: the view's width, baseline row, plot rows and
/// vertical scale.
[[nodiscard]] processing::PreviewGeometry baselinePreview(const View& view);

/// A multiple-point baseline point picked at time t (seconds scale).
void addBaselinePoint(Document& doc, double t);
/// Index of the integral whose label lies under plot pixel x, or -1; a hit makes that integral
/// the reference (the one before is kept in prevRefIntegral).
[[nodiscard]] int hitIntegralLabel(Document& doc, int x);
/// Deletes integral `index` (normally the one hitIntegralLabel has just made the reference);
/// the reference returns to the one before.
void deleteIntegralAt(Document& doc, platform::UserInterface& ui, int index);

}  // namespace pelvaron::display
