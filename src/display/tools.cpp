// The mouse tools: what a button-down, a move and a button-up do to the document, the rubber band
// they show, and the zoom bookkeeping that keeps each zoom relative to the present view.
#include "display/tools.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/numeric.h"
#include "display/comments.h"
#include "display/tool_actions.h"
#include "document/units.h"

namespace pelvaron::display {

namespace {

Overlay overlayFor(const Document& doc) {
    const ToolState& ts = doc.tools;
    Overlay o;
    if (!ts.dragging) return o;
    if (doc.rubberShape == kShapeHorizontalLine && ts.lineDrawn) {
        o = {Overlay::Shape::HorizontalLine, 0, ts.dragY, doc.clientWidth, ts.dragY};
    } else if (doc.rubberShape == kShapeRectangle && ts.rectDrawn) {
        o = {Overlay::Shape::Rectangle, ts.anchorX, ts.anchorY, ts.dragX, ts.dragY};
    } else if (doc.rubberShape == kShapeVerticalLine && ts.lineDrawn) {
        o = {Overlay::Shape::VerticalLine, ts.dragX, 29, ts.dragX, doc.clientHeight - 65};
    }
    return o;
}

ToolFeedback feedback(const Document& doc) {
    ToolFeedback fb;
    fb.overlay = overlayFor(doc);
    fb.cursor = cursorFor(doc);
    return fb;
}

}  // namespace

ToolCursor cursorFor(const Document& doc) {
    ToolCursor c = ToolCursor::Arrow;
    switch (doc.toolMode) {
        case kZoomTool: c = doc.tools.inOverview ? ToolCursor::OverviewZoom : ToolCursor::Zoom; break;
        case kIntegrateTool: c = ToolCursor::Integrate; break;
        case kPeakPickingTool: c = ToolCursor::PeakPicking; break;
        case kMoveArmedTool:
        case kMoveDragTool: c = ToolCursor::MoveSpectrum; break;
        case kSuppressTool: c = ToolCursor::Suppress; break;
        default: break;
    }
    if (doc.referenceMode) c = ToolCursor::Reference;
    if (doc.tools.baselinePickMode) c = ToolCursor::BaselinePick;
    return c;
}

ToolFeedback leftButtonDown(Document& doc, platform::UserInterface& ui, int x, int y, Modifiers mods) {
    ToolState& ts = doc.tools;
    const int hit = hitComment(doc.comments, x, y);
    if (hit >= 0) {
        doc.comments.selected = hit;
        ts.commentDragging = 1;
        resetTool(doc);
        ui.requestRepaint();
    }

    if (ts.baselinePickMode) {
        addBaselinePoint(doc, ui, units::pixelToT(doc, x, doc.clientWidth));
        ui.requestRepaint();
        return feedback(doc);
    }

    if (doc.referenceMode) {
        if (doc.spectrum.xUnits != kPpm && doc.spectrum.xUnits != kHz) {
            ui.message("To reference the units must be in Hertz or  ppm", "Warning",
                       platform::Icon::Exclamation);
            return feedback(doc);
        }
        const double t = units::pixelToT(doc, x, doc.clientWidth);
        int j = truncToInt(doc.spectrum.nData * t / doc.spectrum.acqPars.AQ);
        if (j % 2 != 0) ++j;
        ts.referencePickT = t;
        ts.referencePickIndex = j;
        ToolFeedback fb = feedback(doc);
        fb.request = ToolRequest::ReferenceDialog;
        return fb;
    }

    if (ts.moveArmed) {
        doc.toolActive = 1;
        doc.toolMode = kMoveDragTool;
        doc.rubberShape = kShapeHorizontalLine;
        ts.moveArmed = 0;
    }

    // Shift+click on an integral label deletes that integral whatever the tool; a Shift+click
    // elsewhere starts the tool's drag like a plain click.
    if (mods.shift && !mods.control && !mods.otherButtons) {
        const int integral = hitIntegralLabel(doc, x);
        if (integral >= 0) {
            deleteIntegralAt(doc, ui, integral);
            ui.requestRepaint();
            return feedback(doc);
        }
    }
    if (doc.toolActive) {
        ts.dragging = 1;
        ts.lineDrawn = ts.rectDrawn = 0;
        ts.anchorX = ts.dragX = std::clamp(x, 0, std::max(doc.clientWidth - 1, 0));
        ts.anchorY = ts.dragY = std::clamp(y, 0, std::max(doc.clientHeight - 1, 0));
        // The band the drag starts in decides how its rectangle is read.
        if (doc.toolMode == kZoomTool)
            ts.inOverview = doc.dualZoom && ts.anchorY <= ts.overviewBottom ? 1 : 0;
    }
    return feedback(doc);
}

ToolFeedback mouseMove(Document& doc, platform::UserInterface& ui, int x, int y) {
    ToolState& ts = doc.tools;
    CommentList& comments = doc.comments;
    if (ts.commentDragging && comments.selected >= 0 &&
        comments.selected < static_cast<int>(comments.boxes.size())) {
        const auto extent = ui.measureText(comments.boxes[static_cast<std::size_t>(comments.selected)].text);
        moveComment(comments, comments.selected, x, y, extent);
        ui.requestRepaint();
    }
    if (doc.readoutOn) ui.setStatusText(1, units::readoutText(doc, x));
    if (doc.toolMode == kZoomTool && !ts.dragging)
        ts.inOverview = doc.dualZoom && y <= ts.overviewBottom ? 1 : 0;
    if (ts.dragging) {
        ts.dragX = std::clamp(x, 0, std::max(doc.clientWidth - 1, 0));
        ts.dragY = std::clamp(y, 0, std::max(doc.clientHeight - 1, 0));
        if (doc.rubberShape == kShapeRectangle) {
            ts.rectDrawn = 1;
        } else {
            ts.lineDrawn = 1;
        }
    }
    return feedback(doc);
}

ToolFeedback leftButtonUp(Document& doc, platform::UserInterface& ui) {
    ToolState& ts = doc.tools;
    ts.commentDragging = 0;
    ToolRequest request = ToolRequest::None;
    // Only a drag that began in the plot ends here: a stray release must not replay an old one.
    if (doc.toolActive && ts.dragging) {
        ts.dragging = 0;
        switch (doc.rubberShape) {
            case kShapeHorizontalLine:
                doc.baselineY = ts.dragY;
                ui.requestRepaint();
                break;
            case kShapeRectangle:
                if (ts.rectDrawn) {
                    request = applyToolResult(doc, ui, doc.toolMode);
                    ts.rectDrawn = 0;
                }
                break;
            case kShapeVerticalLine: request = applyToolResult(doc, ui, doc.toolMode); break;
            default: break;
        }
        ts.lineDrawn = ts.rectDrawn = 0;
    }
    ToolFeedback fb = feedback(doc);
    fb.request = request;
    return fb;
}

ToolFeedback rightButtonDown(Document& doc, platform::UserInterface& /*ui*/, int x, int /*y*/) {
    ToolFeedback fb = feedback(doc);
    const int integral = hitIntegralLabel(doc, x);
    if (integral >= 0) {
        fb.request = ToolRequest::HydrogensDialog;
        fb.requestIndex = integral;
    }
    return fb;
}

ToolRequest applyToolResult(Document& doc, platform::UserInterface& ui, int tool) {
    ToolState& ts = doc.tools;
    const int x0 = std::min(ts.anchorX, ts.dragX);
    const int x1 = std::max(ts.anchorX, ts.dragX);
    const double w = doc.clientWidth;
    const double aq = doc.spectrum.acqPars.AQ;
    const double n = doc.spectrum.nData;
    ToolRequest request = ToolRequest::None;

    if (doc.fullView) {
        if (tool != kIntegrateTool) doc.fullView = 0;
        ts.zoomLeftPx = ts.zoomRightPx = 0.0;
    }
    const double base = ts.zoomLeftPx;
    ts.zoomRightPx = x1 / doc.viewZoom + base;
    ts.zoomLeftPx = x0 / doc.viewZoom + base;
    if (ts.panned) {
        const double pan = w * (doc.viewLeft - ts.panStartLeft) / aq;
        ts.zoomLeftPx += pan;
        ts.zoomRightPx += pan;
        ts.panned = 0;
        ts.firstPan = 1;
    }
    double iL = n * ts.zoomLeftPx / w;
    double iR = n * ts.zoomRightPx / w;

    switch (tool) {
        case kZoomTool:
            if (!ts.fromSetLimits) {
                doc.viewLeft = iL * aq / n;
                doc.viewRight = iR * aq / n;
            }
            if (ts.inOverview) {
                if (!ts.fromSetLimits) {
                    doc.viewLeft = x0 * aq / w;
                    doc.viewRight = x1 * aq / w;
                }
                ts.zoomLeftPx = x0;
                ts.zoomRightPx = x1;
                iL = n * doc.viewLeft / aq;
                iR = n * doc.viewRight / aq;
            }
            doc.viewZoom = computeViewZoom(aq, doc.viewLeft, doc.viewRight);
            doc.hScrollRange = truncToInt(n - iR + iL);
            doc.hScrollPos = truncToInt(iL);
            break;
        case kIntegrateTool:
            integrateRegion(doc, ui, x0, x1);
            doc.integrals.integralRestart = 0;
            break;
        case kMeasureJTool:
            placeJCursorAt(doc, ui, ts.dragX);
            request = ToolRequest::JCursorPlaced;
            break;
        case kPeakPickingTool: {
            const double threshold =
                std::fabs((doc.baselineY - ts.dragY) * doc.spectrum.peakValue) / doc.vScale;
            pickPeakRegion(doc, ui, truncToInt(iL), truncToInt(iR), threshold);
            // The report opens after every pick, a refused one included: it is where Clear All is.
            request = ToolRequest::PeakReport;
            break;
        }
        case kSuppressTool: {
            auto pointAt = [&](int x) {
                return truncToInt((x * aq / w / doc.viewZoom + doc.viewLeft) * n / 2.0 / aq);
            };
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
    if (tool != kZoomTool) {
        ts.zoomLeftPx -= x0 / doc.viewZoom;
        ts.zoomRightPx = ts.zoomLeftPx - x1 / doc.viewZoom + x0 / doc.viewZoom;
    }
    ui.requestRepaint();
    return request;
}

void applyLimitsAsZoom(Document& doc, platform::UserInterface& ui) {
    doc.tools.inOverview = 1;
    doc.tools.fromSetLimits = 1;
    applyToolResult(doc, ui, kZoomTool);
    doc.tools.fromSetLimits = 0;
    resetTool(doc);
}

void resetTool(Document& doc) {
    doc.referenceMode = 0;
    doc.toolMode = kNoTool;
    doc.toolActive = 0;
}

bool chooseZoom(Document& doc) {
    doc.referenceMode = 0;
    doc.toolActive = 1;
    doc.toolMode = kZoomTool;
    doc.rubberShape = kShapeRectangle;
    if (doc.tools.zoomChosenBefore) return false;
    doc.tools.zoomChosenBefore = 1;
    doc.dualZoom = 1;
    return true;
}

void chooseRegionTool(Document& doc, int tool) {
    doc.referenceMode = 0;
    doc.toolActive = 1;
    doc.toolMode = tool;
    doc.rubberShape = kShapeRectangle;
}

void chooseMoveSpectrum(Document& doc) {
    doc.referenceMode = 0;
    doc.tools.moveArmed = 1;
    doc.toolActive = 1;
    doc.toolMode = kMoveArmedTool;
    doc.rubberShape = kShapeRectangle;
}

void viewFull(Document& doc, platform::UserInterface& ui) {
    doc.fullView = 1;
    doc.viewLeft = 0.0;
    doc.viewRight = doc.spectrum.acqPars.AQ;
    doc.tools.zoomLeftPx = doc.tools.zoomRightPx = 0.0;
    // A pan made before Full must not shift the next zoom from the full view.
    doc.tools.panned = 0;
    doc.tools.firstPan = 1;
    doc.viewZoom = computeViewZoom(doc.spectrum.acqPars.AQ, doc.viewLeft, doc.viewRight);
    doc.hScrollPos = 0;
    ui.requestRepaint();
}

void increaseScale(Document& doc, platform::UserInterface& ui) {
    doc.vScale *= doc.yScaleFactor;
    ui.requestRepaint();
}

void decreaseScale(Document& doc, platform::UserInterface& ui) {
    doc.vScale /= doc.yScaleFactor;
    ui.requestRepaint();
}

void keyPressed(Document& doc, platform::UserInterface& ui, PlotKey key) {
    switch (key) {
        case PlotKey::Left: doc.secondShift -= 300; break;
        case PlotKey::Right: doc.secondShift += 300; break;
        case PlotKey::Delete: deleteSelectedComment(doc.comments); break;
        case PlotKey::Plus: doc.vScale *= doc.yScaleFactor; break;
        case PlotKey::Minus: doc.vScale /= doc.yScaleFactor; break;
    }
    ui.requestRepaint();
}

bool horizontalScroll(Document& doc, platform::UserInterface& ui, ScrollCode code, int thumb) {
    long delta = 0;
    switch (code) {
        case ScrollCode::LineLeft: delta = -10; break;
        case ScrollCode::LineRight: delta = 10; break;
        case ScrollCode::PageLeft: delta = -50; break;
        case ScrollCode::PageRight: delta = 50; break;
        case ScrollCode::Thumb: delta = static_cast<long>(thumb) - doc.hScrollPos; break;
        case ScrollCode::Other: break;
    }
    if (doc.fullView || doc.spectrum.nData <= 0 || !(doc.spectrum.acqPars.AQ > 0.0)) return false;
    const double aq = doc.spectrum.acqPars.AQ;
    const double n = doc.spectrum.nData;
    long lo = -static_cast<long>(doc.hScrollPos);
    long hi = static_cast<long>(doc.hScrollRange) - doc.hScrollPos;
    // The view never leaves the data: after a tool other than the zoom the scroll range can
    // still be the full one while the view is the whole data.
    // (A millionth of an index absorbs the rounding of limits that sit exactly on the data's
    // ends.)
    lo = std::max(lo, -static_cast<long>(truncToInt(doc.viewLeft * n / aq + 1e-6)));
    hi = std::min(hi, static_cast<long>(truncToInt((aq - doc.viewRight) * n / aq + 1e-6)));
    delta = std::max(lo, std::min(delta, hi));
    if (delta == 0) return false;

    doc.hScrollPos += static_cast<int>(delta);
    doc.tools.panned = 1;
    if (doc.tools.firstPan) {
        doc.tools.panStartLeft = doc.viewLeft;
        doc.tools.firstPan = 0;
    }
    doc.viewLeft += delta * aq / n;
    doc.viewRight += delta * aq / n;
    doc.viewZoom = computeViewZoom(aq, doc.viewLeft, doc.viewRight);
    ui.requestRepaint();
    return true;
}

bool verticalScroll(Document& doc, platform::UserInterface& ui, ScrollCode code, int thumb) {
    if (!doc.integrals.integralsShown) return false;
    int& baseY = doc.integrals.integralBaseY;
    switch (code) {
        case ScrollCode::LineLeft: baseY -= 2; break;
        case ScrollCode::LineRight: baseY += 2; break;
        case ScrollCode::PageLeft: baseY -= 12; break;
        case ScrollCode::PageRight: baseY += 12; break;
        case ScrollCode::Thumb: baseY = thumb; break;
        case ScrollCode::Other: return false;
    }
    baseY = std::clamp(baseY, 0, std::max(doc.clientHeight, 0));
    ui.requestRepaint();
    return true;
}

}  // namespace pelvaron::display
