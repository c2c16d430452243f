// What the command dispatcher asks of the window: running the modal dialogs of its commands,
// showing the modeless Phase Correction, Multiple Point Baseline and Measure J dialogs and the
// Multiplet Report, the printed page and the clipboard, help,
// About and closing. The desktop program
// implements it with Qt widgets, tests with a scripted fake.
#pragma once

#include <string>

#include "analysis/integral_dialogs.h"
#include "analysis/peaks.h"
#include "app/file_type_dialog.h"
#include "app/parameters_dialog.h"
#include "display/scale_factor_dialog.h"
#include "display/set_limits_dialog.h"
#include "display/units_dialog.h"
#include "io/data_points_dialog.h"
#include "io/jcamp_options_dialog.h"
#include "output/printer_options_dialog.h"
#include "platform/user_interface.h"
#include "processing/baseline.h"
#include "processing/data_ops.h"
#include "processing/fourier_dialog.h"
#include "processing/window_function_dialog.h"
#include "simulation/simulation_dialogs.h"

namespace pelvaron::app {

/// What the Input comments dialog returns on OK.
struct CommentEntry {
    std::string text;
    int x = 0;  ///< the dialog's top-left corner, plot pixels
    int y = 0;
    platform::TextExtent extent;  ///< the text's size in the dialog's font
};

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Each dialog forwards its events to the model it is given; the result says whether it
    // ended with OK (the model has then written the document).

    virtual bool runUnitsDialog(display::UnitsDialog& model) = 0;
    /// OK that the model refuses keeps the dialog open; Cancel runs the model's cancel.
    virtual bool runSetLimitsDialog(display::SetLimitsDialog& model) = 0;
    virtual bool runScaleFactorDialog(display::ScaleFactorDialog& model) = 0;
    virtual bool runFileTypeDialog(FileTypeDialogModel& model) = 0;
    virtual void showParametersDialog(const ParametersFields& fields) = 0;
    /// The dialog starts with `entry.text`; on OK `entry` holds what the person typed and where.
    virtual bool runCommentDialog(CommentEntry& entry) = 0;

    /// OK that the model refuses (a parameter out of range) keeps the dialog open.
    virtual bool runWindowFunctionDialog(processing::WindowFunctionDialog& model) = 0;
    /// Opens the model; OK runs the transform, Cancel the model's cancel.
    virtual bool runFourierDialog(processing::FourierDialog& model) = 0;
    /// Opens the modeless Phase Correction dialog over the document (its opening shows the
    /// pivot and takes the Undo snapshot), or brings it forward when it is open already. The
    /// command has marked it open before; the host reports its closing through
    /// CommandDispatcher::setPhaseDialogOpen(false).
    virtual void showPhaseDialog() = 0;
    /// Opens the modeless Interactive Apodization dialog (its opening shows the S/N and takes the
    /// Undo snapshot), or brings it forward when it is open already; as showPhaseDialog, the host
    /// reports its closing through CommandDispatcher::setApodizationDialogOpen(false).
    virtual void showInteractiveApodizationDialog() = 0;
    /// OK runs the export, whatever it then writes.
    virtual bool runJcampOptionsDialog(io::JcampOptionsDialog& model) = 0;
    virtual void showDataPointsDialog(io::DataPointsDialog& model) = 0;

    /// Opens the model; while its bars move the polynomial is previewed over the plot. OK
    /// subtracts it, Cancel the model's cancel; the preview goes either way.
    virtual bool runBaselineDialog(processing::BaselineDialog& model) = 0;
    /// Opens the modeless Multiple Point Baseline Correction dialog (its opening starts the point
    /// pick), or brings it forward when it is open already.
    virtual void showMultiPointBaselineDialog() = 0;
    virtual bool runReferenceDialog(processing::ReferenceDialog& model) = 0;
    virtual bool runShiftDataDialog(processing::ShiftDataDialog& model) = 0;
    virtual bool runSuppressPeaksDialog(processing::SuppressPeaksDialog& model) = 0;
    /// The "Signal to Noise Ratio" dialog showing `text`; OK closes it.
    virtual void showSignalToNoiseDialog(const std::string& text) = 0;
    virtual bool runHydrogensDialog(analysis::HydrogensDialog& model) = 0;
    /// True when it closed with OK (the model has stored the factor).
    virtual bool runIntegralFactorDialog(analysis::IntegralFactorDialog& model) = 0;
    /// The PEAK PICKING report over the model; returns the model's result (kClosed, kReopen).
    virtual int runPeakPickingDialog(analysis::PeakPickingDialog& model) = 0;
    /// Opens the modeless Measure J dialog (its opening grays the document menus), or brings it
    /// forward when it is open already.
    virtual void showMeasureJDialog() = 0;
    /// A J cursor was placed: the open Measure J dialog shows the list as it now stands.
    virtual void refreshMeasureJDialog() = 0;
    /// Shows the Multiplet Report beside the plot over doc.multiplets (made by the command), or
    /// brings it forward showing the ranges as they now stand.
    virtual void showMultipletReport() = 0;

    // The printed page and the clipboard; the command has set the page factors before.
    /// The print dialog, then the page on the chosen printer (or PDF file); false when cancelled.
    virtual bool printPage() = 0;
    /// Copy Metafile: the page on the clipboard as SVG and PDF pictures beside a bitmap.
    virtual bool copyPageToClipboard() = 0;
    /// Copy Bitmap: the plot as an image on the clipboard.
    virtual bool copyViewToClipboard() = 0;
    /// Export Picture: the save dialog, then the page as PDF, SVG or PNG by the extension.
    virtual bool exportPicture() = 0;
    /// A text on the clipboard, as plain text and as rich text (HTML) beside it.
    virtual bool copyText(const std::string& text, const std::string& html) = 0;
    virtual bool runPrinterOptionsDialog(output::PrinterOptionsDialog& model) = 0;

    /// Makes the expansion window of `slot` (claimed already) at its place; the window sets the
    /// slot up from the view (display::initExpansionSlot) and frees it when it closes.
    virtual void openExpansionWindow(int slot) = 0;
    /// Creates (true) or removes (false) the control strip of the two-set display.
    virtual void showTwoSetControls(bool show) = 0;

    // The simulation dialogs.
    /// Input parameters; the model's result (kRefused, kAccepted or kCancelled).
    virtual int runInputParametersDialog(simulation::InputParametersDialog& model) = 0;
    /// Simulation data: opens the model, then shows it; the result of the button that closed it
    /// (kOk, kCancelled, kNewSubsystem), or kFailed when the model could not open.
    virtual int runSimulationDataDialog(simulation::SimulationDataDialog& model) = 0;
    /// True when it closed with an accepted OK (currentSubsystem chosen).
    virtual bool runSelectSubsystemDialog(simulation::SelectSubsystemDialog& model) = 0;
    /// Opens the modeless Interactive Sim. dialog on currentSubsystem; one that is open closes
    /// first.
    virtual void showInteractiveSimDialog() = 0;

    virtual void showHelp() = 0;
    virtual void showAbout() = 0;
    /// Asks the main window to close; the close passes through the save question.
    virtual void requestClose() = 0;
    /// Gives the main window the keyboard focus.
    virtual void focusMainWindow() = 0;
};

}  // namespace pelvaron::app
