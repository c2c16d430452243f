// The "Input parameters" dialog: the number of nuclei of the next spin subsystem, over
// simulation::InputParametersDialog. Showing the error and asking again is the caller's flow.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QLineEdit;

namespace pelvaron::gui {

class InputParametersDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Shows the count entered last. exec() returns the model's result: kAccepted, kRefused (a
    /// count outside 0 ... 10) or kCancelled.
    InputParametersDialogWidget(simulation::InputParametersDialog& model, QWidget* owner);

    /// "OK": the model reads the typed count.
    void accept() override;
    /// "Cancel", Escape, the title bar: no nuclei.
    void reject() override;

private:
    simulation::InputParametersDialog& model_;
    QLineEdit* count_ = nullptr;
};

}  // namespace pelvaron::gui
