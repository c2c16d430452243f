// The JCAMP Options dialog widget.
#include "gui/dialogs/jcamp_options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

namespace {

QLineEdit* makeEdit(const std::string& text, int maxLength, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setMaxLength(maxLength);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

JcampOptionsDialogWidget::JcampOptionsDialogWidget(io::JcampOptionsDialog& model, Document& doc,
                                                   platform::UserInterface& ui, QWidget* owner)
    : CenteredDialog(owner), model_(model), doc_(doc), ui_(ui) {
    setWindowTitle(QStringLiteral("JCAMP Options"));
    model_.open(doc_);

    auto* layout = new QVBoxLayout(this);
    auto* radios = new QHBoxLayout;
    fid_ = new QRadioButton(QStringLiteral("FID"), this);
    fid_->setObjectName(QStringLiteral("fid"));
    spectrum_ = new QRadioButton(QStringLiteral("Spectrum"), this);
    spectrum_->setObjectName(QStringLiteral("spectrum"));
    auto* group = new QButtonGroup(this);
    group->addButton(fid_);
    group->addButton(spectrum_);
    fid_->setChecked(model_.fid != 0);
    spectrum_->setChecked(model_.spectrum != 0 && model_.fid == 0);
    radios->addWidget(fid_);
    radios->addWidget(spectrum_);
    layout->addLayout(radios);

    realOnly_ = new QCheckBox(QStringLiteral("Export Only Real Part"), this);
    realOnly_->setObjectName(QStringLiteral("realOnly"));
    realOnly_->setChecked(model_.realOnly != 0);
    layout->addWidget(realOnly_);

    auto* form = new QFormLayout;
    title_ = makeEdit(model_.title, io::JcampOptionsDialog::kTitleLength, "title", this);
    nucleus_ = makeEdit(model_.nucleus, io::JcampOptionsDialog::kNucleusLength, "nucleus", this);
    owner_ = makeEdit(model_.owner, io::JcampOptionsDialog::kOwnerLength, "owner", this);
    form->addRow(QStringLiteral("Title:"), title_);
    form->addRow(QStringLiteral("Nucleus:"), nucleus_);
    form->addRow(QStringLiteral("Owner:"), owner_);
    layout->addLayout(form);

    layout->addWidget(okCancelButtons(this));
}

void JcampOptionsDialogWidget::accept() {
    model_.fid = fid_->isChecked() ? 1 : 0;
    model_.spectrum = spectrum_->isChecked() ? 1 : 0;
    model_.realOnly = realOnly_->isChecked() ? 1 : 0;
    model_.title = title_->text().toStdString();
    model_.nucleus = nucleus_->text().toStdString();
    model_.owner = owner_->text().toStdString();
    // The export asks for its file while this dialog is still up, then the dialog closes.
    model_.ok(doc_, ui_);
    QDialog::accept();
}

}  // namespace pelvaron::gui
