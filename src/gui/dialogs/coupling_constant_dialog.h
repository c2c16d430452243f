// The "Coupling Constant" dialog: J of one nucleus pair of the subsystem being entered, in Hz,
// over simulation::CouplingConstantDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "simulation/simulation_dialogs.h"

class QLineEdit;

namespace pelvaron::gui {

class CouplingConstantDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Shows the pair and its coupling.
    CouplingConstantDialogWidget(simulation::CouplingConstantDialog& model, QWidget* owner);

    /// "OK": the typed J is stored for the pair both ways round.
    void accept() override;

private:
    simulation::CouplingConstantDialog& model_;
    QLineEdit* coupling_ = nullptr;
};

}  // namespace pelvaron::gui
