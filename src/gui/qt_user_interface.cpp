// Message boxes, file dialogs and change notices of the desktop program.
#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>

#include "gui/desktop_settings.h"
#include "gui/qpainter_surface.h"

namespace pelvaron::gui {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon toQIcon(platform::Icon icon) {
    switch (icon) {
        case platform::Icon::Information: return QMessageBox::Information;
        case platform::Icon::Exclamation: return QMessageBox::Warning;
        case platform::Icon::Stop: return QMessageBox::Critical;
        case platform::Icon::Question: return QMessageBox::Question;
        case platform::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQButtons(platform::Buttons buttons) {
    switch (buttons) {
        case platform::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case platform::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case platform::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case platform::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

platform::Answer toAnswer(int button) {
    switch (button) {
        case QMessageBox::Cancel: return platform::Answer::Cancel;
        case QMessageBox::Yes: return platform::Answer::Yes;
        case QMessageBox::No: return platform::Answer::No;
        default: return platform::Answer::Ok;
    }
}

}  // namespace

QtUserInterface::QtUserInterface(QWidget* owner) : QObject(owner), owner_(owner) {}

platform::Answer QtUserInterface::message(std::string_view text, std::string_view caption,
                                          platform::Icon icon, platform::Buttons buttons) {
    // The texts keep their own line breaks and spacing; they are shown as plain text.
    QMessageBox box(toQIcon(icon), toQString(caption), toQString(text), toQButtons(buttons), owner_);
    box.setTextFormat(Qt::PlainText);
    if (buttons == platform::Buttons::YesNoCancel) box.setDefaultButton(QMessageBox::Yes);
    // Closing the box with Escape or its title bar answers Cancel where there is one, else the
    // safe answer.
    if (buttons == platform::Buttons::OkCancel || buttons == platform::Buttons::YesNoCancel) {
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == platform::Buttons::YesNo) {
        box.setEscapeButton(QMessageBox::No);
    }
    const bool wasWaiting = waitCursor_;
    if (wasWaiting) QApplication::restoreOverrideCursor();
    const int result = box.exec();
    if (wasWaiting) QApplication::setOverrideCursor(Qt::WaitCursor);
    return toAnswer(result);
}

std::optional<std::string> QtUserInterface::chooseFile(const platform::FileRequest& request) {
    QFileDialog dialog(owner_);
    dialog.setNameFilter(tr("All files (*)"));
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (request.save && request.defaultExtension != "*") {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    }
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setWindowTitle(request.save ? tr("Save As") : tr("Open"));
    // Opening and saving each remember their own folder.
    const QString key = request.save ? QStringLiteral("save") : QStringLiteral("open");
    if (settings_ != nullptr) {
        if (const QString folder = settings_->folder(key); !folder.isEmpty()) dialog.setDirectory(folder);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    if (settings_ != nullptr) settings_->setFolder(key, QFileInfo(files.first()).absolutePath());
    return files.first().toStdString();
}

void QtUserInterface::setStatusText(int part, std::string_view text) {
    emit statusTextChanged(part, toQString(text));
}

void QtUserInterface::setWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUserInterface::setWindowTitle(std::string_view title) { emit windowTitleChanged(toQString(title)); }

void QtUserInterface::enableDocumentMenus(bool enable) { emit documentMenusEnabled(enable); }

void QtUserInterface::destroyExpansionWindows() { emit expansionWindowsClosed(); }

platform::TextExtent QtUserInterface::measureText(std::string_view text) {
    const QFontMetrics metrics(QPainterSurface::defaultFont());
    const QRect box =
        metrics.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, toQString(text));
    return {box.width(), box.height()};
}

}  // namespace pelvaron::gui
