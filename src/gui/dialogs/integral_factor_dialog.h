// The "Integral Factor Scale" dialog: the factor of the integrals' Increase and Decrease, over
// analysis::IntegralFactorDialog.
#pragma once

#include "analysis/integral_dialogs.h"
#include "gui/dialogs/centered_dialog.h"

class QLineEdit;

namespace pelvaron::gui {

class IntegralFactorDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Shows the present factor (the model is open once made).
    IntegralFactorDialogWidget(analysis::IntegralFactorDialog& model, Document& doc, QWidget* owner);

    /// "OK": stores the typed factor, unchecked (the command asks again while it is out of range).
    void accept() override;

private:
    analysis::IntegralFactorDialog& model_;
    Document& doc_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace pelvaron::gui
