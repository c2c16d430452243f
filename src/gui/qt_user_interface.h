// platform::UserInterface for the desktop program: message boxes and file dialogs with Qt, and
// signals through which the main window follows the status bar, title and menus.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/user_interface.h"

namespace pelvaron::gui {

class DesktopSettings;

class QtUserInterface : public QObject, public platform::UserInterface {
    Q_OBJECT
public:
    /// Dialogs are owned by `owner` (the main window).
    explicit QtUserInterface(QWidget* owner);

    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons buttons) override;
    std::optional<std::string> chooseFile(const platform::FileRequest& request) override;
    void setStatusText(int part, std::string_view text) override;
    void setWaitCursor(bool on) override;
    void setWindowTitle(std::string_view title) override;
    void enableDocumentMenus(bool enable) override;
    void destroyExpansionWindows() override;
    platform::TextExtent measureText(std::string_view text) override;

    /// The file dialogs start in the folder they last used, kept in `settings` (none: the
    /// working folder, and nothing kept).
    void setSettings(DesktopSettings* settings) { settings_ = settings; }

signals:
    void statusTextChanged(int part, const QString& text);
    void windowTitleChanged(const QString& title);
    void documentMenusEnabled(bool enable);
    void expansionWindowsClosed();

private:
    QPointer<QWidget> owner_;
    DesktopSettings* settings_ = nullptr;
    bool waitCursor_ = false;
};

}  // namespace pelvaron::gui
