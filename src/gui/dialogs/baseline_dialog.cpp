// The Manual Baseline Correction dialog widget. The scroll bars report what was done to them; the
// model decides the positions and the curve, and the widget passes the curve on to the window.
#include "gui/dialogs/baseline_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_scroll_bar.h"

namespace pelvaron::gui {

namespace {

constexpr const char* kHelp =
    "Drag the scroll bars to set the parameters of the polinomial that will be used for baseline "
    "correction. The correction function will be displayed over the spectrum. Try to match the "
    "correction function to the experimental baseline.";

}  // namespace

BaselineDialogWidget::BaselineDialogWidget(processing::BaselineDialog& model, QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Manual Baseline Correction"));
    model_.open();

    constexpr int limit = processing::BaselineDialog::kPositionLimit;
    auto* grid = new QGridLayout;
    for (int order = 0; order < kBaselineOrders; ++order) {
        const QByteArray name = "order" + QByteArray::number(order);
        QScrollBar* bar = dialogScrollBar(name.constData(), -limit, limit, 1, 5, this);
        {
            const QSignalBlocker blocker(bar);
            bar->setSliderPosition(model_.position(order));
        }
        connect(bar, &QScrollBar::actionTriggered, this, [this, order](int a) { scrolled(order, a); });
        bars_[static_cast<std::size_t>(order)] = bar;
        grid->addWidget(new QLabel(QStringLiteral("Order %1").arg(order), this), order, 0);
        grid->addWidget(bar, order, 1);
    }

    auto* help = helpBox(QString::fromLatin1(kHelp), this);
    help->setMinimumWidth(320);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(help);
    layout->addWidget(buttons);
}

void BaselineDialogWidget::scrolled(int order, int action) {
    processing::ScrollAction what;
    if (!toScrollAction(action, what)) return;
    QScrollBar* bar = bars_[static_cast<std::size_t>(order)];
    const processing::PreviewUpdate update = model_.scroll(order, what, bar->sliderPosition());
    {
        // The bar has moved its slider already; it shows the model's clamped position instead.
        const QSignalBlocker blocker(bar);
        bar->setSliderPosition(model_.position(order));
    }
    QVector<QPoint> polyline;
    polyline.reserve(static_cast<qsizetype>(update.draw.size()));
    for (const platform::Point& p : update.draw) polyline.append(QPoint(p.x, p.y));
    emit previewChanged(polyline);
}

void BaselineDialogWidget::accept() {
    model_.ok();
    emit previewChanged({});
    QDialog::accept();
}

void BaselineDialogWidget::reject() {
    model_.cancel();
    emit previewChanged({});
    QDialog::reject();
}

}  // namespace pelvaron::gui
