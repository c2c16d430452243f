// The commands that hand a processing or data-file model to the window's dialogs, with the
// bookkeeping around each: Apodize, Fourier transform, Process as Recorded, Phase Correction,
// Interactive Apodization, Autophase, Export JCamp, Byte Swap and Data points.
#include "app/dispatcher.h"
#include "display/tools.h"
#include "io/byte_swap.h"
#include "io/data_points_dialog.h"
#include "io/jcamp_options_dialog.h"
#include "processing/auto_baseline.h"
#include "processing/auto_phase.h"
#include "processing/auto_process.h"
#include "processing/fourier_dialog.h"
#include "processing/phase.h"
#include "processing/recorded.h"
#include "processing/window_function_dialog.h"

namespace pelvaron::app {

using platform::clearStatusBar;

void CommandDispatcher::registerSubsystemCommands() {
    registerCommand(kCmdApodize, [](CommandContext& c) {
        // The model's opening takes the Undo snapshot; its OK applies the window.
        processing::WindowFunctionDialog model(c.doc);
        c.dialogs.runWindowFunctionDialog(model);
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdFourier, [](CommandContext& c) {
        processing::FourierDialog model(c.doc);
        // The scroll range follows the size: back to the opening's after Cancel, widened once the
        // whole buffer was chosen.
        if (!c.dialogs.runFourierDialog(model))
            c.view.hScrollRange = c.doc.spectrum.nData;
        else if (model.largestSizeChosen())
            c.view.hScrollRange = processing::kMaxTransformSize - 1;
        c.doc.notify(kAllDrawn);
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdProcessAsRecorded, [](CommandContext& c) {
        // Refused with a message (and nothing changed) without a record or on a spectrum.
        if (const auto done = processing::processAsRecorded(c.doc); !done) {
            if (const auto m = processing::recordedMessage(done.error())) platform::report(c.ui, *m);
        } else if (const auto note = processing::recordedNote(*done)) {
            platform::report(c.ui, *note);
        }
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdPhase, [](CommandContext& c) {
        // Showing the pivot, the repaint and the Undo snapshot belong to the dialog's opening, so
        // that choosing the command again while it is open only brings it forward: a second
        // snapshot would make its Cancel return to half-phased data.
        c.dispatcher.setPhaseDialogOpen(true);
        c.dialogs.showPhaseDialog();
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdInteractiveApodization, [](CommandContext& c) {
        // As Phase Correction: the opening belongs to the dialog, so that the command chosen
        // again only brings it forward.
        c.dispatcher.setApodizationDialogOpen(true);
        c.dialogs.showInteractiveApodizationDialog();
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdAutophase, [](CommandContext& c) { processing::autophaseCommand(c.doc); });
    // The automatic commands: Undo returns what they changed; a refusal says why, nothing changed.
    registerCommand(kCmdAutoPhaseFull, [](CommandContext& c) {
        takeUndoSnapshot(c.doc);
        if (const auto done = processing::autoPhaseFull(c.doc.spectrum); !done)
            platform::report(c.ui, processing::autoPhaseMessage(done.error()));
        c.doc.notify(kDataChanged);
    });
    registerCommand(kCmdAutoBaseline, [](CommandContext& c) {
        takeUndoSnapshot(c.doc);
        if (const auto done = processing::autoBaseline(c.doc.spectrum); !done)
            platform::report(c.ui, processing::autoBaselineMessage(done.error()));
        c.doc.notify(kDataChanged);
    });
    registerCommand(kCmdAutoProcess, [](CommandContext& c) {
        if (const auto done = processing::autoProcess(c.doc); !done)
            platform::report(c.ui, processing::autoProcessMessage(done.error()));
        c.view.hScrollRange = c.doc.spectrum.nData;
        c.doc.notify(kAllDrawn);
        clearStatusBar(c.ui);
        display::resetTool(c.view);
    });
    registerCommand(kCmdExportJcamp, [](CommandContext& c) {
        io::JcampOptionsDialog model;
        c.dialogs.runJcampOptionsDialog(model);
    });
    registerCommand(kCmdByteSwap, [](CommandContext& c) { io::byteSwapCommand(c.doc); });
    registerCommand(kCmdDataPoints, [](CommandContext& c) {
        io::DataPointsDialog model(io::displayedRealRange(c.doc, c.view.viewLeft, c.view.viewRight));
        c.dialogs.showDataPointsDialog(model);
    });
}

}  // namespace pelvaron::app
