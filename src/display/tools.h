// The mouse tools of the plot as arithmetic over the document and its view: button-down, move
// and button-up update the view's tool state and say what the window must draw as the rubber band
// and which cursor to show; applyToolResult turns a finished drag into new view limits or a tool's action.
// Also the scroll bars, the keys of the plot and the view commands that touch the zoom state.
#pragma once

#include "display/view.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

/// The cursor the plot shows.
enum class ToolCursor {
    Arrow,
    Zoom,          ///< zoom tool over the plot
    OverviewZoom,  ///< zoom tool over the overview band
    Reference,     ///< picking the reference position
    Integrate,
    PeakPicking,
    MoveSpectrum,
    Suppress,
    BaselinePick,  ///< collecting multiple-point baseline points
};

/// What the window draws over the plot (in place of the inverting rubber band): nothing, a
/// horizontal line, a rectangle or a vertical line. Coordinates are plot pixels; for a
/// rectangle `from` is the anchor and `to` the opposite corner (not ordered).
struct Overlay {
    enum class Shape { None, HorizontalLine, Rectangle, VerticalLine };
    Shape shape = Shape::None;
    int x0 = 0, y0 = 0;  ///< line start, or the anchor corner
    int x1 = 0, y1 = 0;  ///< line end, or the opposite corner
    bool operator==(const Overlay&) const = default;
};

/// A dialog the window must open after a mouse event; its values are in the view.
enum class ToolRequest {
    None,
    ReferenceDialog,  ///< the view's tools.referencePickT / referencePickIndex hold the pick
    SuppressDialog,   ///< the view's tools.suppressFrom / suppressTo hold the region (indices)
    HydrogensDialog,  ///< ToolFeedback::requestIndex is the integral
    PeakReport,       ///< a region was picked: the report opens (command 40012), a refused pick too
    JCursorPlaced,    ///< the Measure J list may have a new line
};

/// The answer to every mouse event.
struct ToolFeedback {
    Overlay overlay;                        ///< what to draw over the plot now
    ToolCursor cursor = ToolCursor::Arrow;  ///< the cursor to show now
    ToolRequest request = ToolRequest::None;
    int requestIndex = -1;
};

/// Keyboard state at a button-down.
struct Modifiers {
    bool shift = false;
    bool control = false;
    bool otherButtons = false;  ///< a button other than the left one is down too
};

/// The cursor for the present state: the tool's cursor (the reference pick's included), overridden
/// by the baseline-point pick; the arrow when none applies. Over the overview band
/// (`tools.inOverview`) the zoom tool shows OverviewZoom.
[[nodiscard]] ToolCursor cursorFor(const View& view);

/// Left button down at plot pixel (x, y): grabs a comment box (and resets the tool), adds a
/// baseline point, picks the reference (warning "To reference the units must be in Hertz or
/// ppm" unless ppm or Hz), turns an armed Move Spectrum into a drag, Shift+click on an integral
/// label deletes it, and otherwise starts the drag of an active tool.
ToolFeedback leftButtonDown(Document& doc, View& view, platform::UserInterface& ui, int x, int y,
                            Modifiers mods);

/// Mouse move to (x, y), with or without a button: drags a grabbed comment box, updates the
/// read-out in part 1 of the status bar when `readoutOn`, chooses the cursor and, during a tool
/// drag, moves the rubber band with the position clamped into the client area.
ToolFeedback mouseMove(Document& doc, View& view, platform::UserInterface& ui, int x, int y);

/// Left button up: ends a comment drag; ends a tool drag: Move Spectrum sets `baselineY` to the
/// last row, a rectangle tool applies its result when a rectangle was drawn (a click without
/// movement does nothing), the J tool applies its result.
ToolFeedback leftButtonUp(Document& doc, View& view, platform::UserInterface& ui);

/// Right button down at x: over an integral label asks for the Number of Hydrogens dialog.
ToolFeedback rightButtonDown(Document& doc, View& view, platform::UserInterface& ui, int x, int y);

/// The action of a finished drag of `tool` between tools.anchorX and tools.dragX (ordered),
/// with the zoom bookkeeping (zoomLeftPx, zoomRightPx, the pan since the last tool) that keeps
/// zooms inside zooms and zooms after pans relative to the present view. The zoom sets
/// viewLeft, viewRight, viewZoom, hScrollRange and hScrollPos (the window reflects the last two
/// on its scroll bar); from the overview band it maps the rectangle onto the whole data. The
/// other tools call their actions. A view notice.
ToolRequest applyToolResult(Document& doc, View& view, platform::UserInterface& ui, Tool tool);

/// Applies limits already stored by the Set limits dialog as a zoom: the zoom state, scroll
/// range and position follow them; then no tool is selected.
void applyLimitsAsZoom(Document& doc, View& view, platform::UserInterface& ui);

// --- Commands that arm or reset tools and touch the view.

/// No tool (a reference pick ends too); the baseline-point pick stays with its dialog.
void resetTool(View& view);
/// The tool is put down, as after a page command or the end of Measure J; a reference pick
/// under way stays.
void putToolDown(View& view);
/// A reference pick under way ends (Save, the manual and linear baselines, the Reference dialog
/// closed); any other tool stays.
void endReferencePick(View& view);
/// Zoom chosen: the rectangle zoom tool; the first time since start-up also turns `dualZoom`
/// on. Returns whether dualZoom was turned on now (the window checks its menu item).
bool chooseZoom(View& view);
/// Peak Picking or Suppress peaks chosen: `tool` with its rectangle, no reference pick.
void chooseRegionTool(View& view, Tool tool);
/// Move Spectrum chosen: armed until the next button-down.
void chooseMoveSpectrum(View& view);
/// Integrate chosen: clears part 0 of the status bar and shows analysis::kIntegratePrompt there,
/// ends a reference pick and arms the integrate tool with its rectangle. The window then puts its
/// vertical scroll bar on integralBaseY.
void chooseIntegrate(View& view, platform::UserInterface& ui);
/// Reference chosen: the next left click on the plot picks the reference position; no other tool.
void chooseReferencePick(View& view);
/// Multiple Point Baseline opened (on) or closed (off): left clicks on the plot add its points.
void setBaselinePick(View& view, bool on);
/// Full view: the whole data, the zoom and pan bookkeeping back to the start; a view notice.
void viewFull(const Document& doc, View& view);
/// Vertical scale up (Increase, "+") or down (Decrease, "-") by `yScaleFactor`; a view notice.
void increaseScale(const Document& doc, View& view);
void decreaseScale(const Document& doc, View& view);

/// Keys the plot handles itself.
enum class PlotKey { Left, Right, Delete, Plus, Minus };
/// Left/Right shift the second data set by 300 indices, Delete removes the selected comment,
/// "+"/"-" scale vertically; each a view notice.
void keyPressed(Document& doc, View& view, PlotKey key);

/// Scroll-bar codes; on the vertical bar LineLeft and PageLeft are the steps up.
enum class ScrollCode { LineLeft, LineRight, PageLeft, PageRight, Thumb, Other };

/// Horizontal scroll bar: pans a zoomed view by 10 (line), 50 (page) or to the thumb value,
/// scroll units being data indices, within 0..hScrollRange. Inert in the full view. Returns
/// whether the view moved (then viewLeft, viewRight, viewZoom and hScrollPos changed and the
/// document's observers had a view notice).
bool horizontalScroll(const Document& doc, View& view, ScrollCode code, int thumb = 0);

/// Vertical scroll bar: moves `integralBaseY` by 2 (line), 12 (page) or to the thumb value,
/// within 0..clientHeight; only while integrals are shown. Returns whether it acted.
bool verticalScroll(const Document& doc, View& view, ScrollCode code, int thumb = 0);

}  // namespace pelvaron::display
