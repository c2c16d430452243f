// The expansion windows as arithmetic over their slots: choosing a slot, setting it up from the
// view, resizing, the four scale buttons, the mouse (baseline handle, integral position, zoom by
// drag, right click for all) and the painting of one window onto a Surface.
#pragma once

#include "display/view.h"
#include "document/document.h"
#include "platform/surface.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

/// Outer size of a new expansion window, pixels.
inline constexpr int kExpansionWindowWidth = 200;
inline constexpr int kExpansionWindowHeight = 150;
/// Rows between the client's bottom and the bottom of the baseline handle, and its height.
inline constexpr int kExpansionHandleBottomRise = 30;
inline constexpr int kExpansionHandleHeight = 6;
/// Rows of the client's bottom left out of the repaint area of the buttons.
inline constexpr int kExpansionPlotRise = 21;
/// The expansion's axis labels: 8-pixel Courier New, rows placed with this scale.
inline constexpr double kExpansionAxisScale = 2.5;

/// The top-left corner of a new window of `slot`, plot pixels of the document.
[[nodiscard]] platform::Point expansionOrigin(int slot);

/// Create Expansions: with five windows open, "Maximum number of expansion windows is 5."
/// (title "Warning") and -1. Otherwise the lowest free slot, now counted and marked used; the
/// window that is then made for it calls initExpansionSlot.
int claimExpansionSlot(View& view, platform::UserInterface& ui);

/// The window of `slot` was made with a client area of `width` x `height`: the region is the
/// main view's (indices made even; the span taken before the rounding), the vertical scale the
/// main one, the integral scale 0.055 and the integral row the middle of the client.
void initExpansionSlot(const Document& doc, View& view, int slot, int width, int height);

/// The client area is now `width` x `height`: client, repaint area and baseline handle follow
/// (the handle goes back to its rows above the bottom).
void resizeExpansion(View& view, int slot, int width, int height);

/// Where the window stands: outer rectangle in the document's plot pixels and the rows of its
/// frame and caption (outer height less client height). The printed page places its inset there.
void placeExpansion(View& view, int slot, const Rect& frame, int captionHeight);

/// The window of `slot` is gone: the slot is free again. A slot already freed (the document
/// view frees them all for a new data set) is left alone.
void destroyExpansion(View& view, int slot);

/// The four small buttons: "+" and "-" scale the trace by 1.5, "i+" and "i-" the integrals by
/// the integral scale step.
enum class ExpansionButton { Increase, Decrease, IntegralIncrease, IntegralDecrease };
void pressExpansionButton(const Document& doc, View& view, int slot, ExpansionButton button);

/// The cursors of an expansion window.
enum class ExpansionCursor {
    Cross,         ///< anywhere else
    Handle,        ///< over the baseline handle
    IntegralMove,  ///< Shift held: the mouse moves the integral row
};

/// The mouse state of one window (press point, what the drag does, Shift held).
struct ExpansionMouse {
    int pressX = 0, pressY = 0;
    bool leftDown = false;
    bool draggingHandle = false;
    bool rectangleShown = false;
    bool shiftHeld = false;
};

/// What the window does after a mouse or key event.
struct ExpansionFeedback {
    bool repaint = false;  ///< the slot changed: paint again
    ExpansionCursor cursor = ExpansionCursor::Cross;
    bool showRubber = false;  ///< the inverted rectangle from (x0, y0) to (x1, y1)
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

/// Shift pressed or released.
ExpansionFeedback expansionShiftKey(ExpansionMouse& mouse, bool down);
/// Left button down at client pixel (x, y): a press inside the handle starts its drag.
ExpansionFeedback expansionButtonDown(View& view, ExpansionMouse& mouse, int slot, int x, int y);
/// Mouse move: with Shift held the integral row follows y; a handle drag moves the handle; a
/// left-button drag shows the rubber rectangle from the press point.
ExpansionFeedback expansionMouseMove(View& view, ExpansionMouse& mouse, int slot, int x, int y);
/// Left button up at x: ends a handle drag; otherwise zooms into the columns between the press
/// and the release ("You cannot expand 1 point", title "Error", when they are the same).
ExpansionFeedback expansionButtonUp(View& view, platform::UserInterface& ui, ExpansionMouse& mouse, int slot,
                                    int x, int y);
/// Right button: the whole data set.
ExpansionFeedback expansionRightButton(const Document& doc, View& view, int slot);

/// Paints the window of `slot` onto `surface` (its client area): white ground, the trace of its
/// region, the axis in 8-pixel Courier New, and the integral curves at the window's own zoom
/// when integrals and their curves are shown. `screenHeight` places the axis rows (0 or less:
/// the view's client height), as on the main plot, but as on an 800-row screen at most, so
/// that the axis panel stays below the window's zero line.
void paintExpansion(platform::Surface& surface, const Document& doc, const View& view, int slot,
                    int screenHeight);

}  // namespace pelvaron::display
