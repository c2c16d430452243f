// An expansion window ("Pelvaron_Child"): a child window of the main window's plot with a frame
// and caption of its own, moved by the caption and sized by the frame inside the plot, and a
// client area that shows one slot of display/expansions with its four small buttons.
//
// It is a frameless child widget that draws its own caption and border rather than a
// QMdiSubWindow: the plot is no MDI area, and a plain child behaves the same offscreen, on X11
// and on Wayland (no window manager is involved).
#pragma once

#include <QWidget>

#include "display/expansions.h"
#include "document/document.h"
#include "platform/user_interface.h"

class QPushButton;
class QToolButton;

namespace pelvaron::gui {

class ExpansionView;

class ExpansionWindow : public QWidget {
    Q_OBJECT
public:
    /// Border width and caption height, pixels.
    static constexpr int kBorder = 3;
    static constexpr int kCaption = 16;

    /// Made for a slot already claimed: placed at the slot's origin (document plot pixels, the
    /// plot widget starting `topRows` rows down), sets the slot up from the view and takes the
    /// keyboard.
    ExpansionWindow(Document& doc, display::View& mainView, platform::UserInterface& ui, int slot,
                    int screenHeight, int topRows, QWidget* plot);

    [[nodiscard]] int slot() const { return slot_; }
    [[nodiscard]] ExpansionView* view() const { return view_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Document& doc_;
    display::View& mainView_;  ///< the main plot's view, which holds the slot
    int slot_;
    int topRows_;
    ExpansionView* view_ = nullptr;
    QToolButton* close_ = nullptr;
    bool closed_ = false;
    /// The drag of the caption (move) or of the frame (resize): which edges follow the mouse.
    enum Edge { kNone = 0, kLeft = 1, kRight = 2, kTop = 4, kBottom = 8, kMove = 16 };
    int drag_ = kNone;
    QPoint pressGlobal_;
    QRect pressGeometry_;

    [[nodiscard]] int edgesAt(QPoint at) const;
    void place();
};

/// The client area: paints the slot through the QPainter surface, draws the zoom's rubber
/// rectangle inverting, and hands mouse and Shift to display/expansions.
class ExpansionView : public QWidget {
    Q_OBJECT
public:
    ExpansionView(Document& doc, display::View& mainView, platform::UserInterface& ui, int slot,
                  int screenHeight, QWidget* parent);

    [[nodiscard]] QPushButton* button(display::ExpansionButton which) const;
    /// The rubber rectangle drawn now (empty when none).
    [[nodiscard]] QRect rubber() const { return rubber_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Document& doc_;
    display::View& mainView_;
    platform::UserInterface& ui_;
    int slot_;
    int screenHeight_;
    display::ExpansionMouse mouse_;
    QRect rubber_;
    QPushButton* buttons_[4] = {nullptr, nullptr, nullptr, nullptr};

    void apply(const display::ExpansionFeedback& feedback);
};

}  // namespace pelvaron::gui
