// The "Input  comments" dialog: the text of a new comment box.
#pragma once

#include <string>

#include "gui/dialogs/centered_dialog.h"

class QPlainTextEdit;

namespace pelvaron::gui {

class CommentDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    CommentDialogWidget(const std::string& initialText, QWidget* owner);

    /// The text typed, at most 2047 characters.
    [[nodiscard]] std::string text() const;

private:
    QPlainTextEdit* edit_ = nullptr;
};

}  // namespace pelvaron::gui
