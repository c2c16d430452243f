// The "Select Subsystem" dialog: which of the entered spin subsystems Edit Parameters and
// Interactive Simulation work on, over simulation::SelectSubsystemDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QLineEdit;

namespace pelvaron::gui {

class SelectSubsystemDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Lists the subsystems, the chosen one marked.
    SelectSubsystemDialogWidget(simulation::SelectSubsystemDialog& model, QWidget* owner);

    /// "OK": accepted when the model chose a subsystem, rejected when there was none to choose.
    void accept() override;

private:
    simulation::SelectSubsystemDialog& model_;
    QLineEdit* current_ = nullptr;
};

}  // namespace pelvaron::gui
