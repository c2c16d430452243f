// Expansion windows: slots, mouse and painting.
#include "display/expansions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

#include "base/numeric.h"
#include "display/axis.h"
#include "display/integral_drawing.h"
#include "display/paint.h"
#include "display/trace.h"

namespace pelvaron::display {

namespace {

int makeEven(int index) { return index % 2 != 0 ? index - 1 : index; }

bool validSlot(int slot) { return slot >= 0 && slot < kMaxExpansions; }

ExpansionSlot& slotOf(View& view, int slot) {
    return view.expansions.windows[static_cast<std::size_t>(slot)];
}

Rect handleAt(const Rect& client, int centreY) {
    return Rect{client.left, centreY - kExpansionHandleHeight / 2, client.right,
                centreY + kExpansionHandleHeight / 2};
}

bool inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

platform::Point expansionOrigin(int slot) { return platform::Point{100 + 50 * slot, 100}; }

int claimExpansionSlot(View& view, platform::UserInterface& ui) {
    const auto free = std::find(view.expansionUsed.begin(), view.expansionUsed.end(), 0);
    if (view.nExpansions >= kMaxExpansions || free == view.expansionUsed.end()) {
        ui.message("Maximum number of expansion windows is 5.", "Warning", platform::Icon::Exclamation);
        return -1;
    }
    *free = 1;
    ++view.nExpansions;
    return static_cast<int>(free - view.expansionUsed.begin());
}

void initExpansionSlot(const Document& doc, View& view, int slot, int width, int height) {
    if (!validSlot(slot)) return;
    ExpansionSlot& e = slotOf(view, slot);
    const double aq = doc.spectrum.acqPars.AQ > 0.0 ? doc.spectrum.acqPars.AQ : 1.0;
    e.expLeftIndex = truncToInt(doc.spectrum.nData * view.viewLeft / aq);
    e.expRightIndex = truncToInt(doc.spectrum.nData * view.viewRight / aq);
    e.expSpan = e.expRightIndex - e.expLeftIndex;
    e.expLeftIndex = makeEven(e.expLeftIndex);
    e.expRightIndex = makeEven(e.expRightIndex);
    e.expVScale = view.vScale;
    e.expIntegralScale = 0.055;
    e.expIntegralY = height / 2;
    resizeExpansion(view, slot, width, height);
}

void resizeExpansion(View& view, int slot, int width, int height) {
    if (!validSlot(slot)) return;
    ExpansionSlot& e = slotOf(view, slot);
    e.expClient = Rect{0, 0, width, height};
    e.expPlotRect = Rect{0, 0, width, height - kExpansionPlotRise};
    e.expBaselineHandle = Rect{0, height - kExpansionHandleBottomRise - kExpansionHandleHeight, width,
                               height - kExpansionHandleBottomRise};
}

void placeExpansion(View& view, int slot, const Rect& frame, int captionHeight) {
    if (!validSlot(slot)) return;
    slotOf(view, slot).frame = frame;
    slotOf(view, slot).captionHeight = captionHeight;
}

void destroyExpansion(View& view, int slot) {
    if (!validSlot(slot) || view.expansionUsed[static_cast<std::size_t>(slot)] == 0) return;
    view.expansionUsed[static_cast<std::size_t>(slot)] = 0;
    view.nExpansions = std::max(0, view.nExpansions - 1);
}

void pressExpansionButton(const Document& doc, View& view, int slot, ExpansionButton button) {
    if (!validSlot(slot)) return;
    ExpansionSlot& e = slotOf(view, slot);
    const double step = doc.integrals.integralScaleStep;
    switch (button) {
        case ExpansionButton::Increase: e.expVScale *= 1.5; break;
        case ExpansionButton::Decrease: e.expVScale /= 1.5; break;
        case ExpansionButton::IntegralIncrease: e.expIntegralScale *= step; break;
        case ExpansionButton::IntegralDecrease: e.expIntegralScale /= step; break;
    }
}

ExpansionFeedback expansionShiftKey(ExpansionMouse& mouse, bool down) {
    mouse.shiftHeld = down;
    ExpansionFeedback f;
    f.cursor = down ? ExpansionCursor::IntegralMove : ExpansionCursor::Cross;
    return f;
}

ExpansionFeedback expansionButtonDown(View& view, ExpansionMouse& mouse, int slot, int x, int y) {
    ExpansionFeedback f;
    if (!validSlot(slot)) return f;
    mouse.pressX = x;
    mouse.pressY = y;
    mouse.leftDown = true;
    mouse.rectangleShown = false;
    mouse.draggingHandle = inside(slotOf(view, slot).expBaselineHandle, x, y);
    f.cursor = mouse.draggingHandle ? ExpansionCursor::Handle : ExpansionCursor::Cross;
    return f;
}

ExpansionFeedback expansionMouseMove(View& view, ExpansionMouse& mouse, int slot, int x, int y) {
    ExpansionFeedback f;
    if (!validSlot(slot)) return f;
    ExpansionSlot& e = slotOf(view, slot);
    // The grabbed mouse reports rows outside the window; the lines it moves stay inside.
    const int row = std::clamp(y, e.expClient.top, std::max(e.expClient.top, e.expClient.bottom - 1));
    if (mouse.shiftHeld) {
        e.expIntegralY = row;
        f.cursor = ExpansionCursor::IntegralMove;
        f.repaint = true;
        return f;
    }
    f.cursor = inside(e.expBaselineHandle, x, y) || mouse.draggingHandle ? ExpansionCursor::Handle
                                                                         : ExpansionCursor::Cross;
    if (mouse.draggingHandle) {
        e.expBaselineHandle = handleAt(e.expClient, row);
        f.repaint = true;
    } else if (mouse.leftDown) {
        mouse.rectangleShown = true;
        f.showRubber = true;
        f.x0 = mouse.pressX;
        f.y0 = mouse.pressY;
        f.x1 = x;
        f.y1 = y;
    }
    return f;
}

ExpansionFeedback expansionButtonUp(View& view, platform::UserInterface& ui, ExpansionMouse& mouse, int slot,
                                    int x, int /*y*/) {
    ExpansionFeedback f;
    const bool handle = mouse.draggingHandle;
    const bool wasDown = mouse.leftDown;
    mouse.leftDown = false;
    mouse.draggingHandle = false;
    mouse.rectangleShown = false;
    if (!validSlot(slot) || !wasDown) return f;
    if (handle) return f;
    f.repaint = true;  // the rubber rectangle goes either way
    if (x == mouse.pressX) {
        ui.message("You cannot expand 1 point", "Error", platform::Icon::Exclamation);
        return f;
    }
    ExpansionSlot& e = slotOf(view, slot);
    const int w = e.expClient.right;
    if (w <= 0) return f;
    const int x0 = std::clamp(std::min(x, mouse.pressX), 0, w);
    const int x1 = std::clamp(std::max(x, mouse.pressX), 0, w);
    // Indices per pixel as a real ratio: an integer one would be 0 once the region has fewer
    // doubles than the window has columns, and the zoom would stop.
    const double k = static_cast<double>(e.expSpan) / w;
    const int left = makeEven(e.expLeftIndex + truncToInt(x0 * k));
    const int right = makeEven(e.expRightIndex - truncToInt(std::abs(w - x1) * k));
    // A drag narrower than one point of the region would leave nothing to draw (and divide the
    // width by zero): refused as the click is.
    if (right - left < 2) {
        ui.message("You cannot expand 1 point", "Error", platform::Icon::Exclamation);
        return f;
    }
    e.expLeftIndex = left;
    e.expRightIndex = right;
    e.expSpan = std::abs(right - left);
    return f;
}

ExpansionFeedback expansionRightButton(const Document& doc, View& view, int slot) {
    ExpansionFeedback f;
    if (!validSlot(slot)) return f;
    ExpansionSlot& e = slotOf(view, slot);
    e.expLeftIndex = 0;
    e.expRightIndex = doc.spectrum.nData;
    e.expSpan = doc.spectrum.nData;
    f.repaint = true;
    return f;
}

namespace {
/// The tallest screen whose axis rows stay below an expansion's zero line.
constexpr int kExpansionAxisScreenRows = 800;
}  // namespace

void paintExpansion(platform::Surface& surface, const Document& doc, const View& view, int slot,
                    int screenHeight) {
    if (!validSlot(slot)) return;
    const ExpansionSlot& e = view.expansions.windows[static_cast<std::size_t>(slot)];
    surface.fillRect(e.expClient, palette::kWhite);
    if (!doc.haveDocument || doc.spectrum.nData < 2 || !(doc.spectrum.acqPars.AQ > 0.0)) return;
    const int i0 = std::clamp(std::min(e.expLeftIndex, e.expRightIndex), 0, doc.spectrum.nData);
    const int i1 = std::clamp(std::max(e.expLeftIndex, e.expRightIndex), 0, doc.spectrum.nData);
    if (i1 - i0 < 2) return;
    const auto count = static_cast<std::size_t>(doc.spectrum.nData);

    TraceParams trace;
    trace.i0 = i0;
    trace.i1 = i1;
    trace.maxAbs = std::fabs(doc.spectrum.peakValue) < kTinyPeak ? 1.0 : std::fabs(doc.spectrum.peakValue);
    trace.baseY = e.expBaselineHandle.bottom - kExpansionHandleHeight / 2;
    trace.pxPerIndex = static_cast<double>(e.expClient.right) / (i1 - i0);
    trace.rect = e.expClient;
    trace.mode = TraceMode::Main;
    trace.vScale = e.expVScale;
    surface.setPen(palette::kTracePen);
    drawTrace(surface, doc, view, std::span<const double>(doc.spectrum.specData.data(), count), trace);

    surface.setFont(platform::Font{"Courier New", 8});
    AxisParams axis;
    axis.i0 = i0;
    axis.i1 = i1;
    axis.xEnd = e.expClient.right;
    axis.height = e.expClient.bottom;
    axis.rect = e.expClient;
    axis.scale = kExpansionAxisScale;
    axis.shadowStyle = false;
    axis.panelStyle = true;
    // The axis rows lie 0.09 S / 2.5 above the bottom: on a screen taller than 800 rows the panel
    // would rise over the window's zero line (33 rows up), hiding the trace's baseline. The rows
    // are placed as on an 800-row screen at most.
    axis.screenHeight =
        std::min(screenHeight > 0 ? screenHeight : view.clientHeight, kExpansionAxisScreenRows);
    drawAxis(surface, doc, view, axis);

    const IntegralState& in = doc.integrals;
    if (in.integralsShown && in.showIntegralCurves) {
        surface.setPen(palette::kMarkPen);
        // The window's own zoom and left edge, in the time units the curves use; they place the
        // curves on the columns of the trace above.
        const double aq = doc.spectrum.acqPars.AQ;
        const double n = doc.spectrum.nData;
        const ViewTransform transform(doc.spectrum, i0 * aq / n, i1 * aq / n, n / (i1 - i0),
                                      e.expClient.width());
        (void)drawIntegralCurves(surface, doc, e.expClient, e.expIntegralY, transform, e.expIntegralScale,
                                 e.expVScale);
    }
    surface.setFont(platform::Font{});
}

}  // namespace pelvaron::display
