// The base of the program's dialogs: modal, centred over the owner when shown.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QGroupBox;
class QPushButton;

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

/// A push button named `name` that Enter does not press unless it is the default one.
QPushButton* dialogButton(const QString& text, const char* name, QWidget* parent);

/// The group box "Help" with `text` wrapped inside it.
QGroupBox* helpBox(const QString& text, QWidget* parent);

}  // namespace pelvaron::gui
