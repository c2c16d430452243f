// The Input parameters dialog widget, with a drawn picture of a spin system: six numbered nuclei
// on a ring.
#include "gui/dialogs/input_parameters_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QtMath>
#include <cmath>

namespace pelvaron::gui {

namespace {

QPixmap spinSystemPicture() {
    constexpr int kSize = 96;
    constexpr int kNuclei = 6;
    constexpr double kRing = 32.0;
    constexpr double kRadius = 11.0;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPointF centres[kNuclei];
    for (int i = 0; i < kNuclei; ++i) {
        const double angle = qDegreesToRadians(60.0 * i);
        centres[i] = QPointF(kSize / 2.0 + kRing * std::sin(angle), kSize / 2.0 - kRing * std::cos(angle));
    }
    painter.setPen(QPen(QColor(0, 0, 160), 2));
    for (int i = 0; i < kNuclei; ++i) painter.drawLine(centres[i], centres[(i + 1) % kNuclei]);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < kNuclei; ++i) {
        const QRectF disc(centres[i].x() - kRadius, centres[i].y() - kRadius, 2 * kRadius, 2 * kRadius);
        painter.setPen(QPen(QColor(0, 0, 160), 1.5));
        painter.setBrush(QColor(255, 255, 200));
        painter.drawEllipse(disc);
        painter.setPen(Qt::black);
        painter.drawText(disc, Qt::AlignCenter, QString::number(i + 1));
    }
    return pixmap;
}

}  // namespace

InputParametersDialogWidget::InputParametersDialogWidget(simulation::InputParametersDialog& model,
                                                         QWidget* owner)
    : CenteredDialog(owner), model_(model) {
    setWindowTitle(QStringLiteral("Input parameters"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(spinSystemPicture());
    count_ = new QLineEdit(QString::fromStdString(model_.countText()), this);
    count_->setObjectName(QStringLiteral("count"));
    count_->setMaximumWidth(80);

    auto* grid = new QGridLayout;
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Number of non-equivalent spin systems"), this), 0, 1);
    grid->addWidget(count_, 1, 1, Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    count_->selectAll();
    count_->setFocus();
}

void InputParametersDialogWidget::accept() { done(model_.ok(count_->text().toStdString())); }

void InputParametersDialogWidget::reject() { done(model_.cancel()); }

}  // namespace pelvaron::gui
