// What the command dispatcher asks of the window: running the modal dialogs of its commands,
// showing the modeless Phase Correction dialog, help, About and closing. The desktop program
// implements it with Qt widgets, tests with a scripted fake.
#pragma once

#include <string>

#include "app/file_type_dialog.h"
#include "app/parameters_dialog.h"
#include "display/scale_factor_dialog.h"
#include "display/set_limits_dialog.h"
#include "display/units_dialog.h"
#include "io/data_points_dialog.h"
#include "io/jcamp_options_dialog.h"
#include "platform/user_interface.h"
#include "processing/fourier_dialog.h"
#include "processing/window_function_dialog.h"

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
    /// OK runs the export, whatever it then writes.
    virtual bool runJcampOptionsDialog(io::JcampOptionsDialog& model) = 0;
    virtual void showDataPointsDialog(io::DataPointsDialog& model) = 0;

    virtual void showHelp() = 0;
    virtual void showAbout() = 0;
    /// Asks the main window to close; the close passes through the save question.
    virtual void requestClose() = 0;
    /// Gives the main window the keyboard focus.
    virtual void focusMainWindow() = 0;
};

}  // namespace pelvaron::app
