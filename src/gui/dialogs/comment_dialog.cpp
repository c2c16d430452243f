// The Input comments dialog widget.
#include "gui/dialogs/comment_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "display/comments.h"
#include "gui/dialogs/centered_dialog.h"
#include "gui/qpainter_surface.h"

namespace pelvaron::gui {

CommentDialogWidget::CommentDialogWidget(const std::string& initialText, QWidget* owner)
    : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("Input  comments"));
    auto* layout = new QVBoxLayout(this);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("comment"));
    // The edit writes in the plot's font, so the box placed on the plot has the size seen here.
    edit_->setFont(QPainterSurface::defaultFont());
    edit_->setPlainText(QString::fromStdString(initialText));
    const QFontMetrics metrics(edit_->font());
    edit_->setMinimumSize(metrics.averageCharWidth() * 48, metrics.lineSpacing() * 5);
    layout->addWidget(edit_);
    layout->addWidget(okCancelButtons(this));
}

std::string CommentDialogWidget::text() const {
    std::string text = edit_->toPlainText().toStdString();
    if (text.size() > display::kMaxCommentChars) text.resize(display::kMaxCommentChars);
    return text;
}

}  // namespace pelvaron::gui
