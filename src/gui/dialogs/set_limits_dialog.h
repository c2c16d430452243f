// The "Set limits" dialog: the two limits of the view over display::SetLimitsDialog.
#pragma once

#include "display/set_limits_dialog.h"
#include "gui/dialogs/centered_dialog.h"

class QLineEdit;

namespace pelvaron::gui {

class SetLimitsDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    SetLimitsDialogWidget(display::SetLimitsDialog& model, const Document& doc, display::View& view,
                          platform::UserInterface& ui, QWidget* owner);

    /// OK that the model refuses keeps the dialog open.
    void accept() override;
    /// Cancel, Escape and the close box give the remembered limits back.
    void reject() override;

private:
    display::SetLimitsDialog& model_;
    const Document& doc_;
    display::View& view_;
    platform::UserInterface& ui_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
};

}  // namespace pelvaron::gui
