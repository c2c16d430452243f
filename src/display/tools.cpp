// The mouse tools: what a button-down, a move and a button-up do to the document, the rubber band
// they show, and the zoom bookkeeping that keeps each zoom relative to the present view.
#include "display/tools.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/integral_dialogs.h"
#include "base/numeric.h"
#include "display/comments.h"
#include "display/tool_actions.h"
#include "display/view_transform.h"

namespace pelvaron::display {

namespace {

Overlay overlayFor(const View& view) {
    const ToolState& ts = view.tools;
    Overlay o;
    if (!ts.dragging) return o;
    const RubberBand band = rubberBandOf(view.mouse.tool);
    if (band == RubberBand::HorizontalLine && ts.lineDrawn) {
        o = {Overlay::Shape::HorizontalLine, 0, ts.dragY, view.clientWidth, ts.dragY};
    } else if (band == RubberBand::Rectangle && ts.rectDrawn) {
        o = {Overlay::Shape::Rectangle, ts.anchorX, ts.anchorY, ts.dragX, ts.dragY};
    } else if (band == RubberBand::VerticalLine && ts.lineDrawn) {
        o = {Overlay::Shape::VerticalLine, ts.dragX, 29, ts.dragX, view.clientHeight - 65};
    }
    return o;
}

ToolFeedback feedback(const View& view) {
    ToolFeedback fb;
    fb.overlay = overlayFor(view);
    fb.cursor = cursorFor(view);
    return fb;
}

}  // namespace

ToolCursor cursorFor(const View& view) {
    if (view.mouse.baselinePick) return ToolCursor::BaselinePick;
    switch (view.mouse.tool) {
        case Tool::Zoom: return view.tools.inOverview ? ToolCursor::OverviewZoom : ToolCursor::Zoom;
        case Tool::Integrate:
        case Tool::MultipletAdd: return ToolCursor::Integrate;
        case Tool::PeakPicking: return ToolCursor::PeakPicking;
        case Tool::MoveArmed:
        case Tool::MoveDrag: return ToolCursor::MoveSpectrum;
        case Tool::Suppress: return ToolCursor::Suppress;
        case Tool::ReferencePick: return ToolCursor::Reference;
        case Tool::None:
        case Tool::MeasureJ:
        case Tool::MultipletSplit: break;
    }
    return ToolCursor::Arrow;
}

ToolFeedback leftButtonDown(Document& doc, View& view, platform::UserInterface& ui, int x, int y,
                            Modifiers mods) {
    ToolState& ts = view.tools;
    const int hit = hitComment(doc.comments, x, y);
    if (hit >= 0) {
        doc.comments.selected = hit;
        ts.commentDragging = 1;
        resetTool(view);
        doc.notify(kOverlaysChanged);
    }

    if (view.mouse.baselinePick) {
        addBaselinePoint(doc, ViewTransform::mainView(doc.spectrum, view).tAtPixel(x));
        doc.notify(kOverlaysChanged);
        return feedback(view);
    }

    if (view.mouse.tool == Tool::ReferencePick) {
        if (doc.spectrum.xUnits != kPpm && doc.spectrum.xUnits != kHz) {
            ui.message("To reference the units must be in Hertz or  ppm", "Warning",
                       platform::Icon::Exclamation);
            return feedback(view);
        }
        const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
        const double t = transform.tAtPixel(x);
        int j = truncToInt(transform.indexOfT(t));
        if (j % 2 != 0) ++j;
        ts.referencePickT = t;
        ts.referencePickIndex = j;
        ToolFeedback fb = feedback(view);
        fb.request = ToolRequest::ReferenceDialog;
        return fb;
    }

    if (view.mouse.tool == Tool::MoveArmed) view.mouse.tool = Tool::MoveDrag;

    // Shift+click on an integral label deletes that integral whatever the tool; a Shift+click
    // elsewhere starts the tool's drag like a plain click.
    if (mods.shift && !mods.control && !mods.otherButtons) {
        const int integral = hitIntegralLabel(doc, x);
        if (integral >= 0) {
            deleteIntegralAt(doc, ui, integral);
            doc.notify(kOverlaysChanged);
            return feedback(view);
        }
    }
    if (dragsWith(view.mouse.tool)) {
        ts.dragging = 1;
        ts.lineDrawn = ts.rectDrawn = 0;
        ts.anchorX = ts.dragX = std::clamp(x, 0, std::max(view.clientWidth - 1, 0));
        ts.anchorY = ts.dragY = std::clamp(y, 0, std::max(view.clientHeight - 1, 0));
        // The band the drag starts in decides how its rectangle is read.
        if (view.mouse.tool == Tool::Zoom)
            ts.inOverview = view.dualZoom && ts.anchorY <= ts.overviewBottom ? 1 : 0;
    }
    return feedback(view);
}

ToolFeedback mouseMove(Document& doc, View& view, platform::UserInterface& ui, int x, int y) {
    ToolState& ts = view.tools;
    CommentList& comments = doc.comments;
    if (ts.commentDragging && comments.selected >= 0 &&
        comments.selected < static_cast<int>(comments.boxes.size())) {
        const auto extent = ui.measureText(comments.boxes[static_cast<std::size_t>(comments.selected)].text);
        moveComment(comments, comments.selected, x, y, extent);
        doc.notify(kOverlaysChanged);
    }
    if (view.readoutOn) ui.setStatusText(1, readoutText(doc.spectrum, view, x));
    if (view.mouse.tool == Tool::Zoom && !ts.dragging)
        ts.inOverview = view.dualZoom && y <= ts.overviewBottom ? 1 : 0;
    if (ts.dragging) {
        ts.dragX = std::clamp(x, 0, std::max(view.clientWidth - 1, 0));
        ts.dragY = std::clamp(y, 0, std::max(view.clientHeight - 1, 0));
        if (rubberBandOf(view.mouse.tool) == RubberBand::Rectangle) {
            ts.rectDrawn = 1;
        } else {
            ts.lineDrawn = 1;
        }
    }
    return feedback(view);
}

ToolFeedback leftButtonUp(Document& doc, View& view, platform::UserInterface& ui) {
    ToolState& ts = view.tools;
    ts.commentDragging = 0;
    ToolRequest request = ToolRequest::None;
    // Only a drag that began in the plot ends here: a stray release must not replay an old one.
    const Tool tool = view.mouse.tool;
    if (dragsWith(tool) && ts.dragging) {
        ts.dragging = 0;
        switch (rubberBandOf(tool)) {
            case RubberBand::HorizontalLine:
                view.baselineY = ts.dragY;
                doc.notify(kViewChanged);
                break;
            case RubberBand::Rectangle:
                if (ts.rectDrawn) {
                    request = applyToolResult(doc, view, ui, tool);
                    ts.rectDrawn = 0;
                }
                break;
            case RubberBand::VerticalLine: request = applyToolResult(doc, view, ui, tool); break;
            case RubberBand::None: break;
        }
        ts.lineDrawn = ts.rectDrawn = 0;
    }
    ToolFeedback fb = feedback(view);
    fb.request = request;
    return fb;
}

ToolFeedback rightButtonDown(Document& doc, View& view, platform::UserInterface& /*ui*/, int x, int /*y*/) {
    ToolFeedback fb = feedback(view);
    const int integral = hitIntegralLabel(doc, x);
    if (integral >= 0) {
        fb.request = ToolRequest::HydrogensDialog;
        fb.requestIndex = integral;
    }
    return fb;
}

ToolRequest applyToolResult(Document& doc, View& view, platform::UserInterface& ui, Tool tool) {
    ToolState& ts = view.tools;
    const int x0 = std::min(ts.anchorX, ts.dragX);
    const int x1 = std::max(ts.anchorX, ts.dragX);
    const double w = view.clientWidth;
    const double aq = doc.spectrum.acqPars.AQ;
    const double n = doc.spectrum.nData;
    ToolRequest request = ToolRequest::None;

    if (view.fullView) {
        // The tools that only mark the data leave the full view as it is.
        if (tool != Tool::Integrate && tool != Tool::MultipletAdd && tool != Tool::MultipletSplit)
            view.fullView = 0;
        ts.zoomLeftPx = ts.zoomRightPx = 0.0;
    }
    const double base = ts.zoomLeftPx;
    ts.zoomRightPx = x1 / view.viewZoom + base;
    ts.zoomLeftPx = x0 / view.viewZoom + base;
    if (ts.panned) {
        const double pan = w * (view.viewLeft - ts.panStartLeft) / aq;
        ts.zoomLeftPx += pan;
        ts.zoomRightPx += pan;
        ts.panned = 0;
        ts.firstPan = 1;
    }
    double iL = n * ts.zoomLeftPx / w;
    double iR = n * ts.zoomRightPx / w;

    switch (tool) {
        case Tool::Zoom:
            if (!ts.fromSetLimits) {
                view.viewLeft = iL * aq / n;
                view.viewRight = iR * aq / n;
            }
            if (ts.inOverview) {
                if (!ts.fromSetLimits) {
                    view.viewLeft = x0 * aq / w;
                    view.viewRight = x1 * aq / w;
                }
                ts.zoomLeftPx = x0;
                ts.zoomRightPx = x1;
                iL = n * view.viewLeft / aq;
                iR = n * view.viewRight / aq;
            }
            view.viewZoom = computeViewZoom(aq, view.viewLeft, view.viewRight);
            view.hScrollRange = truncToInt(n - iR + iL);
            view.hScrollPos = truncToInt(iL);
            break;
        case Tool::Integrate:
            integrateRegion(doc, view, ui, x0, x1);
            doc.integrals.integralRestart = 0;
            break;
        case Tool::MeasureJ:
            placeJCursorAt(doc, view, ts.dragX);
            request = ToolRequest::JCursorPlaced;
            break;
        case Tool::MultipletAdd: (void)addMultipletRangeAt(doc, view, x0, x1); break;
        case Tool::MultipletSplit: (void)splitMultipletAt(doc, view, ts.dragX); break;
        case Tool::PeakPicking: {
            const double threshold =
                std::fabs((view.baselineY - ts.dragY) * doc.spectrum.peakValue) / view.vScale;
            pickPeakRegion(doc, ui, truncToInt(iL), truncToInt(iR), threshold);
            // The report opens after every pick, a refused one included: it is where Clear All is.
            request = ToolRequest::PeakReport;
            break;
        }
        case Tool::Suppress: {
            const ViewTransform transform = ViewTransform::mainView(doc.spectrum, view);
            auto pointAt = [&](int x) { return truncToInt(transform.indexAtPixel(x) / 2.0); };
            int p0 = pointAt(x0);
            int p1 = pointAt(x1);
            if (p1 < p0) std::swap(p0, p1);
            if (p0 % 2 != 0) --p0;
            if (p1 % 2 != 0) --p1;
            ts.suppressFrom = 2 * p0;
            ts.suppressTo = 2 * p1;
            request = ToolRequest::SuppressDialog;
            break;
        }
        default: break;
    }
    if (tool != Tool::Zoom) {
        ts.zoomLeftPx -= x0 / view.viewZoom;
        ts.zoomRightPx = ts.zoomLeftPx - x1 / view.viewZoom + x0 / view.viewZoom;
    }
    doc.notify(kViewChanged);
    return request;
}

void applyLimitsAsZoom(Document& doc, View& view, platform::UserInterface& ui) {
    view.tools.inOverview = 1;
    view.tools.fromSetLimits = 1;
    applyToolResult(doc, view, ui, Tool::Zoom);
    view.tools.fromSetLimits = 0;
    resetTool(view);
}

void resetTool(View& view) { view.mouse.tool = Tool::None; }

void putToolDown(View& view) {
    if (view.mouse.tool != Tool::ReferencePick) view.mouse.tool = Tool::None;
}

void endReferencePick(View& view) {
    if (view.mouse.tool == Tool::ReferencePick) view.mouse.tool = Tool::None;
}

bool chooseZoom(View& view) {
    view.mouse.tool = Tool::Zoom;
    if (view.tools.zoomChosenBefore) return false;
    view.tools.zoomChosenBefore = 1;
    view.dualZoom = 1;
    return true;
}

void chooseRegionTool(View& view, Tool tool) { view.mouse.tool = tool; }

void chooseMoveSpectrum(View& view) { view.mouse.tool = Tool::MoveArmed; }

void chooseIntegrate(View& view, platform::UserInterface& ui) {
    platform::clearStatusBar(ui);
    ui.setStatusText(0, analysis::kIntegratePrompt);
    chooseRegionTool(view, Tool::Integrate);
}

void chooseReferencePick(View& view) { view.mouse.tool = Tool::ReferencePick; }

void setBaselinePick(View& view, bool on) { view.mouse.baselinePick = on; }

void viewFull(const Document& doc, View& view) {
    view.fullView = 1;
    view.viewLeft = 0.0;
    view.viewRight = doc.spectrum.acqPars.AQ;
    view.tools.zoomLeftPx = view.tools.zoomRightPx = 0.0;
    // A pan made before Full must not shift the next zoom from the full view.
    view.tools.panned = 0;
    view.tools.firstPan = 1;
    view.viewZoom = computeViewZoom(doc.spectrum.acqPars.AQ, view.viewLeft, view.viewRight);
    view.hScrollPos = 0;
    doc.notify(kViewChanged);
}

void increaseScale(const Document& doc, View& view) {
    view.vScale *= view.yScaleFactor;
    doc.notify(kViewChanged);
}

void decreaseScale(const Document& doc, View& view) {
    view.vScale /= view.yScaleFactor;
    doc.notify(kViewChanged);
}

void keyPressed(Document& doc, View& view, PlotKey key) {
    switch (key) {
        case PlotKey::Left: view.secondShift -= 300; break;
        case PlotKey::Right: view.secondShift += 300; break;
        case PlotKey::Delete: deleteSelectedComment(doc.comments); break;
        case PlotKey::Plus: view.vScale *= view.yScaleFactor; break;
        case PlotKey::Minus: view.vScale /= view.yScaleFactor; break;
    }
    doc.notify(kViewChanged | kOverlaysChanged);
}

bool horizontalScroll(const Document& doc, View& view, ScrollCode code, int thumb) {
    long delta = 0;
    switch (code) {
        case ScrollCode::LineLeft: delta = -10; break;
        case ScrollCode::LineRight: delta = 10; break;
        case ScrollCode::PageLeft: delta = -50; break;
        case ScrollCode::PageRight: delta = 50; break;
        case ScrollCode::Thumb: delta = static_cast<long>(thumb) - view.hScrollPos; break;
        case ScrollCode::Other: break;
    }
    if (view.fullView || doc.spectrum.nData <= 0 || !(doc.spectrum.acqPars.AQ > 0.0)) return false;
    const double aq = doc.spectrum.acqPars.AQ;
    const double n = doc.spectrum.nData;
    long lo = -static_cast<long>(view.hScrollPos);
    long hi = static_cast<long>(view.hScrollRange) - view.hScrollPos;
    // The view never leaves the data: after a tool other than the zoom the scroll range can
    // still be the full one while the view is the whole data.
    // (A millionth of an index absorbs the rounding of limits that sit exactly on the data's
    // ends.)
    lo = std::max(lo, -static_cast<long>(truncToInt(view.viewLeft * n / aq + 1e-6)));
    hi = std::min(hi, static_cast<long>(truncToInt((aq - view.viewRight) * n / aq + 1e-6)));
    delta = std::max(lo, std::min(delta, hi));
    if (delta == 0) return false;

    view.hScrollPos += static_cast<int>(delta);
    view.tools.panned = 1;
    if (view.tools.firstPan) {
        view.tools.panStartLeft = view.viewLeft;
        view.tools.firstPan = 0;
    }
    view.viewLeft += delta * aq / n;
    view.viewRight += delta * aq / n;
    view.viewZoom = computeViewZoom(aq, view.viewLeft, view.viewRight);
    doc.notify(kViewChanged);
    return true;
}

bool verticalScroll(const Document& doc, View& view, ScrollCode code, int thumb) {
    if (!doc.integrals.integralsShown) return false;
    int& baseY = view.integralBaseY;
    switch (code) {
        case ScrollCode::LineLeft: baseY -= 2; break;
        case ScrollCode::LineRight: baseY += 2; break;
        case ScrollCode::PageLeft: baseY -= 12; break;
        case ScrollCode::PageRight: baseY += 12; break;
        case ScrollCode::Thumb: baseY = thumb; break;
        case ScrollCode::Other: return false;
    }
    baseY = std::clamp(baseY, 0, std::max(view.clientHeight, 0));
    doc.notify(kViewChanged);
    return true;
}

}  // namespace pelvaron::display
