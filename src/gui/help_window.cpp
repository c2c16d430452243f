// The help window.
#include "gui/help_window.h"

#include <QFile>
#include <QTextBrowser>

namespace pelvaron::gui {

HelpWindow::HelpWindow(QWidget* owner) : QMainWindow(owner) {
    setWindowTitle(QStringLiteral("Pelvaron Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("guide"));
    browser_->setOpenExternalLinks(true);
    QFile guide(QStringLiteral(":/docs/user-guide.md"));
    if (guide.open(QIODevice::ReadOnly | QIODevice::Text)) {
        browser_->setMarkdown(QString::fromUtf8(guide.readAll()));
    } else {
        browser_->setPlainText(tr("The user guide is missing from this build."));
    }
    setCentralWidget(browser_);
    resize(720, 640);
}

QString HelpWindow::guideText() const { return browser_->toPlainText(); }

}  // namespace pelvaron::gui
