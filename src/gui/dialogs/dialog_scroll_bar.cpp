// Scroll bars of the scrolling dialogs.
#include "gui/dialogs/dialog_scroll_bar.h"

#include <QKeyEvent>

namespace pelvaron::gui {

namespace {

class DialogScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
            case Qt::Key_Right:
            case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
            case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
            case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
            case Qt::Key_Home:
            case Qt::Key_End: break;
            default: QScrollBar::keyPressEvent(event); return;
        }
        event->accept();
    }
};

}  // namespace

bool toScrollAction(int action, processing::ScrollAction& out) {
    using processing::ScrollAction;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: out = ScrollAction::LineLeft; return true;
        case QAbstractSlider::SliderSingleStepAdd: out = ScrollAction::LineRight; return true;
        case QAbstractSlider::SliderPageStepSub: out = ScrollAction::PageLeft; return true;
        case QAbstractSlider::SliderPageStepAdd: out = ScrollAction::PageRight; return true;
        case QAbstractSlider::SliderMove: out = ScrollAction::Thumb; return true;
        default: return false;
    }
}

QScrollBar* dialogScrollBar(const char* name, int minimum, int maximum, int line, int page, QWidget* parent) {
    auto* bar = new DialogScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(minimum, maximum);
    bar->setSingleStep(line);
    bar->setPageStep(page);
    bar->setMinimumWidth(240);
    // Qt's scroll bars take no focus by default; here they are the dialog's main controls, so
    // Tab reaches them and the arrow and page keys move them.
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

}  // namespace pelvaron::gui
