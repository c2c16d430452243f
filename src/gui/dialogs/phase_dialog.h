// The modeless "Phase Correction" dialog: the Order 0, Order 1 and pivot scroll bars, the two
// order boxes and OK/Cancel/Apply over processing::PhaseDialog, which it owns for as long as it
// is open.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "processing/phase_dialog.h"

class QLineEdit;
class QScrollBar;

namespace pelvaron::gui {

class PhaseDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Runs the menu command's part (pivot shown, Undo snapshot, unphased copy) and fills the
    /// controls. Show it with show(): it is modeless.
    PhaseDialogWidget(Document& doc, QWidget* owner);

    void accept() override;
    void reject() override;

private:
    void orderScrolled(QScrollBar* bar, int action, bool first);
    void pivotScrolled(int action);
    void apply();
    void showPositions();

    processing::PhaseDialog model_;
    QScrollBar* order0_ = nullptr;
    QScrollBar* order1_ = nullptr;
    QScrollBar* pivot_ = nullptr;
    QLineEdit* order0Edit_ = nullptr;
    QLineEdit* order1Edit_ = nullptr;
};

}  // namespace pelvaron::gui
