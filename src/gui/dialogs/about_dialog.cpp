// The About box and the splash.
#include "gui/dialogs/about_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "base/version.h"

namespace pelvaron::gui {

namespace {

/// The program's mark and name beside a short text.
QWidget* banner(QWidget* parent, const QString& text) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    auto* icon = new QLabel(row);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto* label = new QLabel(text, row);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setMinimumWidth(300);
    layout->addWidget(icon);
    layout->addWidget(label, 1);
    return row;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner) : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("About Pelvaron"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner(this, tr("<h3>Pelvaron %1</h3>"
                                      "<p>Processing and analysis of one-dimensional NMR data: "
                                      "window functions, Fourier transform, phase and baseline "
                                      "correction, peaks, integrals and spin simulation.</p>")
                                       .arg(QString::fromLatin1(kVersion))));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* web = box->addButton(QStringLiteral("Go to Pelvaron Web Page"), QDialogButtonBox::ActionRole);
    web->setObjectName(QStringLiteral("webPage"));
    connect(web, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPage)));
        accept();
    });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(box);
}

SplashDialog::SplashDialog(QWidget* owner, int closeAfterMs) : CenteredDialog(owner) {
    setWindowTitle(QStringLiteral("Pelvaron"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner(
        this, tr("<h2>Pelvaron %1</h2><p>NMR data processing</p>").arg(QString::fromLatin1(kShortVersion))));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(box);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &QDialog::accept);
    timer_->start(closeAfterMs);
}

}  // namespace pelvaron::gui
