// The base of the program's dialogs: modal, centred over the owner when shown.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QGroupBox;

namespace pelvaron::gui {

class CenteredDialog : public QDialog {
    Q_OBJECT
public:
    explicit CenteredDialog(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;
};

/// The "OK" and "Cancel" buttons every dialog ends with, wired to accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

/// The group box "Help" with `text` wrapped inside it.
QGroupBox* helpBox(const QString& text, QWidget* parent);

}  // namespace pelvaron::gui
