// The help window: the user guide shipped with the program.
#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace pelvaron::gui {

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);

    /// The guide's text as shown.
    [[nodiscard]] QString guideText() const;

private:
    QTextBrowser* browser_ = nullptr;
};

}  // namespace pelvaron::gui
