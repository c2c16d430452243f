// The base of the program's dialogs: modal, centred over the owner when shown.
#pragma once

#include <QDialog>

namespace pelvaron::gui {

class CenteredDialog : public QDialog {
    Q_OBJECT
public:
    explicit CenteredDialog(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace pelvaron::gui
