// The "File type" dialog of Import: one radio button per format over app::FileTypeDialogModel.
#pragma once

#include "app/file_type_dialog.h"
#include "gui/dialogs/centered_dialog.h"

class QButtonGroup;

namespace pelvaron::gui {

class FileTypeDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    FileTypeDialogWidget(app::FileTypeDialogModel& model, Document& doc, QWidget* owner);

    void accept() override;

private:
    app::FileTypeDialogModel& model_;
    Document& doc_;
};

}  // namespace pelvaron::gui
