// The "JCAMP Options" dialog: domain radios, the real-part check box and the three texts over
// io::JcampOptionsDialog; OK runs the export.
#pragma once

#include "gui/dialogs/centered_dialog.h"
#include "io/jcamp_options_dialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pelvaron::gui {

class JcampOptionsDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// Opens the model (check states as stored, texts proposed) and shows it.
    JcampOptionsDialogWidget(io::JcampOptionsDialog& model, Document& doc, platform::UserInterface& ui,
                             QWidget* owner);

    void accept() override;

private:
    io::JcampOptionsDialog& model_;
    Document& doc_;
    platform::UserInterface& ui_;
    QRadioButton* fid_ = nullptr;
    QRadioButton* spectrum_ = nullptr;
    QCheckBox* realOnly_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* nucleus_ = nullptr;
    QLineEdit* owner_ = nullptr;
};

}  // namespace pelvaron::gui
