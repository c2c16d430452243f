// The "Fast Fourier Transform" dialog: five check boxes, the rotate count, the size list and
// OK/Cancel over processing::FourierDialog.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "processing/fourier_dialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace pelvaron::gui {

class FourierDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (options shown, size rounded up) and fills the controls from it.
    FourierDialogWidget(processing::FourierDialog& model, QWidget* owner);

    void accept() override;
    void reject() override;

private:
    processing::FourierDialog& model_;
    QCheckBox* real_ = nullptr;
    QCheckBox* drift_ = nullptr;
    QCheckBox* quadrature_ = nullptr;
    QCheckBox* inverse_ = nullptr;
    QCheckBox* rotate_ = nullptr;
    QLineEdit* rotateCount_ = nullptr;
    QLineEdit* points_ = nullptr;
    QListWidget* sizes_ = nullptr;
};

}  // namespace pelvaron::gui
