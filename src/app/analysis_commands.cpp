// The commands of the baseline corrections, the data operations and the analysis tools, and the
// dialogs that the plot's picks open: Manual and Multiple Point Baseline, Reference, Shift Data,
// Suppress peaks, Signal to Noise, Peak Picking and its report, Integrate and the integral
// options, Measure J, the Peak Labels view and the Multiplet Report.
#include "analysis/integral_dialogs.h"
#include "analysis/multiplet_report_dialog.h"
#include "analysis/peaks.h"
#include "app/dispatcher.h"
#include "display/j_cursors.h"
#include "display/tool_actions.h"
#include "display/tools.h"
#include "processing/baseline.h"
#include "processing/data_ops.h"
#include "processing/noise_block.h"

namespace pelvaron::app {

using platform::clearStatusBar;

namespace {

void toggleOverlay(int& flag, const Document& doc) {
    flag = flag ? 0 : 1;
    doc.notify(kOverlaysChanged);
}

}  // namespace

void CommandDispatcher::registerAnalysisCommands() {
    registerCommand(kCmdManualBaseline, [](CommandContext& c) {
        processing::BaselineDialog model(c.doc, display::baselinePreview(c.view));
        c.dialogs.runBaselineDialog(model);
        clearStatusBar(c.ui);
        display::endReferencePick(c.view);
    });
    registerCommand(kCmdMultiPointBaseline,
                    [](CommandContext& c) { c.dialogs.showMultiPointBaselineDialog(); });
    registerCommand(kCmdReference, [](CommandContext& c) {
        processing::startReferencing(c.ui);
        display::chooseReferencePick(c.view);
        c.doc.notify(kViewChanged);
    });
    registerCommand(kCmdShiftData, [](CommandContext& c) {
        processing::ShiftDataDialog model(c.doc);
        c.dialogs.runShiftDataDialog(model);
    });
    registerCommand(kCmdSuppressPeaks, [](CommandContext& c) {
        c.doc.notify(kViewChanged);
        clearStatusBar(c.ui);
        display::chooseRegionTool(c.view, display::Tool::Suppress);
    });
    registerCommand(kCmdSignalToNoise, [](CommandContext& c) {
        // A spectrum read from a file has had no transform to note its noise and peak places.
        processing::ensureSignalToNoiseMarks(c.doc.spectrum);
        c.dialogs.showSignalToNoiseDialog(processing::signalToNoiseText(c.doc));
    });
    registerCommand(kCmdPeakPicking, [](CommandContext& c) {
        clearStatusBar(c.ui);
        display::chooseRegionTool(c.view, display::Tool::PeakPicking);
    });
    registerCommand(kCmdEditPeaks, [](CommandContext& c) {
        analysis::editPeaksCommand(c.doc, c.ui, [&c](analysis::PeakPickingDialog& model) {
            return c.dialogs.runPeakPickingDialog(model);
        });
    });
    registerCommand(kCmdIntegrate, [](CommandContext& c) { display::chooseIntegrate(c.view, c.ui); });
    registerCommand(kCmdIntegralIncrease, [](CommandContext& c) { analysis::increaseIntegralScale(c.doc); });
    registerCommand(kCmdIntegralDecrease, [](CommandContext& c) { analysis::decreaseIntegralScale(c.doc); });
    registerCommand(kCmdIntegralScaleFactor, [](CommandContext& c) {
        analysis::integralScaleFactorCommand(c.doc, [&c](analysis::IntegralFactorDialog& model) {
            return c.dialogs.runIntegralFactorDialog(model);
        });
    });
    registerCommand(kCmdDeleteIntegrals, [](CommandContext& c) { analysis::deleteAllIntegrals(c.doc); });
    registerCommand(kCmdShowCurves,
                    [](CommandContext& c) { toggleOverlay(c.doc.integrals.showIntegralCurves, c.doc); });
    registerCommand(kCmdShowValues,
                    [](CommandContext& c) { toggleOverlay(c.doc.integrals.showIntegralValues, c.doc); });
    registerCommand(kCmdIntegralBaseline, [](CommandContext& c) {
        // Stored values keep the correction they were made with; only the curves follow.
        c.doc.integrals.integralBaselineCorr = c.doc.integrals.integralBaselineCorr ? 0 : 1;
    });
    registerCommand(kCmdMeasureJ, [](CommandContext& c) {
        display::chooseMeasureJ(c.doc, c.view, c.ui);
        c.dialogs.showMeasureJDialog();
    });
    registerCommand(kCmdPeakLabels,
                    [](CommandContext& c) { toggleOverlay(c.doc.peaks.peakLabelsShown, c.doc); });
    // Chosen again with the report open, it analyses afresh. A refusal says why and leaves the
    // report as it was.
    registerCommand(kCmdMultipletReport, [](CommandContext& c) {
        if (const auto refused = analysis::makeMultipletReport(c.doc)) {
            platform::report(c.ui, *refused);
            return;
        }
        c.dialogs.showMultipletReport();
    });
}

void CommandDispatcher::toolRequested(display::ToolRequest request, int index) {
    switch (request) {
        case display::ToolRequest::ReferenceDialog: {
            const display::ToolState& pick = view_.tools;
            processing::ReferenceDialog model(doc_, {pick.referencePickT, pick.referencePickIndex});
            dialogs_.runReferenceDialog(model);
            // OK or Cancel, the pick is over.
            display::endReferencePick(view_);
            break;
        }
        case display::ToolRequest::SuppressDialog: {
            processing::SuppressPeaksDialog model(doc_, view_.tools.suppressFrom, view_.tools.suppressTo);
            dialogs_.runSuppressPeaksDialog(model);
            break;
        }
        case display::ToolRequest::HydrogensDialog: {
            // The click has made integral `index` the reference already.
            if (index < 0 || index >= doc_.integrals.integralCount) break;
            analysis::HydrogensDialog model(doc_);
            dialogs_.runHydrogensDialog(model);
            break;
        }
        case display::ToolRequest::PeakReport: dispatch(kCmdEditPeaks, CommandSource::Accelerator); break;
        case display::ToolRequest::JCursorPlaced: dialogs_.refreshMeasureJDialog(); break;
        case display::ToolRequest::None: break;
    }
    doc_.notify(kAllDrawn);
}

}  // namespace pelvaron::app
