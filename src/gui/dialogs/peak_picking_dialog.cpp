// The PEAK PICKING report widget.
#include "gui/dialogs/peak_picking_dialog.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/report_printer.h"

namespace pelvaron::gui {

namespace {

/// Where the printed report's lines start on the page, in device units.
constexpr int kPrintTop = 5;
constexpr int kPrintLeft = 14;

}  // namespace

PeakPickingDialogWidget::PeakPickingDialogWidget(analysis::PeakPickingDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    using analysis::PeakPickingDialog;
    setWindowTitle(QStringLiteral("PEAK PICKING"));
    model_.open();

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    threshold_ = new QLineEdit(QString::fromStdString(model_.thresholdText()), this);
    threshold_->setObjectName(QStringLiteral("threshold"));
    interpolate_ = new QCheckBox(QStringLiteral("Apply parabolic interpolation"), this);
    interpolate_->setObjectName(QStringLiteral("interpolation"));
    {
        const QSignalBlocker blocker(interpolate_);
        interpolate_->setChecked(model_.interpolate());
    }
    auto* heading = new QLabel(QString::fromLatin1(PeakPickingDialog::kColumnHeading), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(fixed);
    // The heading's trailing space belongs to its columns.
    heading->setTextFormat(Qt::PlainText);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("report"));
    list->setFont(fixed);
    for (const std::string& line : model_.lines()) list->addItem(QString::fromStdString(line));
    list->setMinimumSize(QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0')) * 60, 240);

    QPushButton* ok = dialogButton(QStringLiteral("OK"), "ok", this);
    ok->setDefault(true);
    QPushButton* cancel = dialogButton(QStringLiteral("Cancel"), "cancel", this);
    QPushButton* clearAll = dialogButton(QStringLiteral("&Clear All"), "clearAll", this);
    QPushButton* print = dialogButton(QStringLiteral("&Print"), "print", this);
    QPushButton* exportAscii = dialogButton(QStringLiteral("   Export as           ASCII"), "export", this);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clearAll, &QPushButton::clicked, this,
            [this] { done(model_.clearAll(threshold_->text().toStdString())); });
    connect(interpolate_, &QCheckBox::clicked, this,
            [this](bool checked) { done(model_.toggleInterpolation(checked)); });
    connect(exportAscii, &QPushButton::clicked, this, [this] { (void)model_.exportAscii(); });
    connect(print, &QPushButton::clicked, this, [this] {
        (void)printReport(
            this, [this](int perPage) { return model_.printPages(perPage); },
            QString::fromLatin1(analysis::kPeakPrintJobName), kPrintTop, kPrintLeft);
    });

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Report: Peaks."), this), 0, 0);
    top->addWidget(new QLabel(QStringLiteral("Threshold "), this), 1, 0);
    top->addWidget(threshold_, 1, 1);
    top->addWidget(interpolate_, 1, 2);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok, cancel, clearAll, print, exportAscii}) buttons->addWidget(b);
    buttons->addStretch();

    auto* report = new QVBoxLayout;
    report->addWidget(heading);
    report->addWidget(list);
    auto* body = new QHBoxLayout;
    body->addLayout(report, 1);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body);
}

void PeakPickingDialogWidget::accept() { done(model_.ok(interpolate_->isChecked())); }

void PeakPickingDialogWidget::reject() { done(model_.cancel()); }

}  // namespace pelvaron::gui
