// The File type dialog widget.
#include "gui/dialogs/file_type_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

FileTypeDialogWidget::FileTypeDialogWidget(app::FileTypeDialogModel& model, Document& doc, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc) {
    setWindowTitle(QStringLiteral("File type"));
    auto* layout = new QVBoxLayout(this);
    auto* types = new QGroupBox(QStringLiteral("Types"), this);
    auto* typesLayout = new QVBoxLayout(types);
    auto* group = new QButtonGroup(this);
    const auto& choices = app::fileTypeChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const app::FileTypeChoice& choice = choices[i];
        auto* button = new QRadioButton(
            QString::fromUtf8(choice.caption.data(), static_cast<qsizetype>(choice.caption.size())), types);
        button->setObjectName(QStringLiteral("format%1").arg(i));
        {
            const QSignalBlocker blocker(button);
            button->setChecked(model_.isChecked(choice.format));
        }
        group->addButton(button, static_cast<int>(i));
        typesLayout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int index) {
        model_.check(app::fileTypeChoices()[static_cast<std::size_t>(index)].format);
    });
    layout->addWidget(types);
    layout->addWidget(okCancelButtons(this));
}

void FileTypeDialogWidget::accept() {
    model_.ok(doc_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
