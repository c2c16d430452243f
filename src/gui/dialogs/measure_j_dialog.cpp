// The Measure J dialog widget.
#include "gui/dialogs/measure_j_dialog.h"

#include "display/tools.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/peaks.h"
#include "gui/report_printer.h"

namespace pelvaron::gui {

namespace {

/// The printed list starts at the top left corner of the page.
constexpr int kPrintTop = 0;

}  // namespace

MeasureJDialogWidget::MeasureJDialogWidget(Document& doc, display::View& view, platform::UserInterface& ui,
                                           QWidget* owner)
    : CenteredDialog(owner), model_(doc, ui), view_(view) {
    setModal(false);
    setWindowTitle(QStringLiteral("Measure J"));
    model_.open();

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lines"));
    list_->setMinimumSize(180, 200);

    QPushButton* ok = dialogButton(QStringLiteral("OK"), "ok", this);
    ok->setDefault(true);
    QPushButton* clearAll = dialogButton(QStringLiteral("Clear All"), "clearAll", this);
    QPushButton* print = dialogButton(QStringLiteral("Print"), "print", this);
    QPushButton* reset = dialogButton(QStringLiteral("Reset"), "reset", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(clearAll, &QPushButton::clicked, this, [this] {
        model_.clearAll();
        refresh();
    });
    connect(reset, &QPushButton::clicked, this, [this] { model_.reset(); });
    connect(print, &QPushButton::clicked, this, [this] {
        (void)printReport(
            this, [this](int perPage) { return model_.printPages(perPage); },
            QString::fromLatin1(analysis::kPeakPrintJobName), kPrintTop);
    });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok, clearAll, print, reset}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    refresh();
}

void MeasureJDialogWidget::refresh() {
    list_->clear();
    for (const std::string& line : model_.lines()) list_->addItem(QString::fromStdString(line));
    list_->scrollToBottom();
}

void MeasureJDialogWidget::accept() {
    if (ended_) return;
    ended_ = true;
    model_.ok();
    display::putToolDown(view_);
    list_->clear();
    QDialog::accept();
}

void MeasureJDialogWidget::reject() { accept(); }

}  // namespace pelvaron::gui
