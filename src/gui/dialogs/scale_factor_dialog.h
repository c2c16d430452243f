// The "SCALE Y FACTOR" dialog: one edit and "Ok" over display::ScaleFactorDialog.
#pragma once

#include "display/scale_factor_dialog.h"
#include "gui/dialogs/centered_dialog.h"

class QLineEdit;

namespace pelvaron::gui {

class ScaleFactorDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    ScaleFactorDialogWidget(display::ScaleFactorDialog& model, display::View& view, QWidget* owner);

    void accept() override;

private:
    display::ScaleFactorDialog& model_;
    display::View& view_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace pelvaron::gui
