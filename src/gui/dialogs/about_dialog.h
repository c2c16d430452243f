// The About box and the start-up splash.
#pragma once

#include "gui/dialogs/centered_dialog.h"

class QTimer;

namespace pelvaron::gui {

/// The address the About box's web-page button opens.
inline constexpr const char* kWebPage = "https://pelvaron.org/";

class AboutDialog : public CenteredDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* owner);
};

/// Shown while the program starts: closes itself after `closeAfterMs` milliseconds, or on OK.
class SplashDialog : public CenteredDialog {
    Q_OBJECT
public:
    explicit SplashDialog(QWidget* owner, int closeAfterMs = 4000);

private:
    QTimer* timer_ = nullptr;
};

}  // namespace pelvaron::gui
