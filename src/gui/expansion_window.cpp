// The expansion windows of the plot.
#include "gui/expansion_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "gui/qpainter_surface.h"

namespace pelvaron::gui {

namespace {

/// The smallest outer size: the caption's close button and the client's four buttons fit.
constexpr int kMinWidth = 90;
constexpr int kMinHeight = 70;

struct ButtonPlace {
    display::ExpansionButton which;
    const char* text;
    const char* name;
    int x;
};

constexpr ButtonPlace kButtons[] = {
    {display::ExpansionButton::Increase, "+", "expansionIncrease", 1},
    {display::ExpansionButton::Decrease, "-", "expansionDecrease", 16},
    {display::ExpansionButton::IntegralIncrease, "i+", "expansionIntegralIncrease", 32},
    {display::ExpansionButton::IntegralDecrease, "i-", "expansionIntegralDecrease", 48},
};

}  // namespace

ExpansionWindow::ExpansionWindow(Document& doc, display::View& mainView, platform::UserInterface& ui,
                                 int slot, int screenHeight, int topRows, QWidget* plot)
    : QWidget(plot), doc_(doc), mainView_(mainView), slot_(slot), topRows_(topRows) {
    setObjectName(QStringLiteral("expansion%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setAutoFillBackground(false);
    const platform::Point origin = display::expansionOrigin(slot);
    const int clientWidth = display::kExpansionWindowWidth - 2 * kBorder;
    const int clientHeight = display::kExpansionWindowHeight - 2 * kBorder - kCaption;
    display::initExpansionSlot(doc_, mainView_, slot_, clientWidth, clientHeight);

    view_ = new ExpansionView(doc_, mainView_, ui, slot_, screenHeight, this);
    close_ = new QToolButton(this);
    close_->setObjectName(QStringLiteral("expansionClose"));
    close_->setText(QStringLiteral("\u00d7"));
    close_->setToolTip(QStringLiteral("Close"));
    close_->setFocusPolicy(Qt::NoFocus);
    close_->setAutoRaise(true);
    connect(close_, &QToolButton::clicked, this, &QWidget::close);

    setGeometry(origin.x, origin.y - topRows_, display::kExpansionWindowWidth,
                display::kExpansionWindowHeight);
    show();
    raise();
    view_->setFocus(Qt::OtherFocusReason);
}

int ExpansionWindow::edgesAt(QPoint at) const {
    // A few pixels beyond the border still grab it: three are hard to hit.
    constexpr int kGrip = kBorder + 2;
    int edges = kNone;
    if (at.x() < kGrip) edges |= kLeft;
    if (at.x() >= width() - kGrip) edges |= kRight;
    if (at.y() < kGrip) edges |= kTop;
    if (at.y() >= height() - kGrip) edges |= kBottom;
    if (edges == kNone && at.y() < kBorder + kCaption) edges = kMove;
    return edges;
}

void ExpansionWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    // A raised frame: light above and left, dark below and right.
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    const bool active = view_ != nullptr && view_->hasFocus();
    const QRect caption(kBorder, kBorder, width() - 2 * kBorder, kCaption);
    painter.fillRect(caption, active ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid));
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(active ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Window));
    painter.drawText(caption.adjusted(4, 0, -kCaption, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Expansion %1").arg(slot_ + 1));
}

void ExpansionWindow::mousePressEvent(QMouseEvent* event) {
    raise();
    view_->setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    drag_ = edgesAt(event->position().toPoint());
    pressGlobal_ = event->globalPosition().toPoint();
    pressGeometry_ = geometry();
}

void ExpansionWindow::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == kNone) {
        const int edges = edgesAt(event->position().toPoint());
        const bool h = (edges & (kLeft | kRight)) != 0, v = (edges & (kTop | kBottom)) != 0;
        const bool diagonalDown = (edges & kLeft && edges & kTop) || (edges & kRight && edges & kBottom);
        if (h && v)
            setCursor(diagonalDown ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        else if (h)
            setCursor(Qt::SizeHorCursor);
        else if (v)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - pressGlobal_;
    const QWidget* plot = parentWidget();
    const QRect bounds = plot != nullptr ? plot->rect() : QRect(0, 0, 100000, 100000);
    QRect g = pressGeometry_;
    if (drag_ == kMove) {
        g.moveTo(g.topLeft() + delta);
        // The caption stays within the plot, so the window can always be grabbed again.
        g.moveLeft(std::clamp(g.left(), bounds.left() - g.width() + 40, bounds.right() - 40));
        g.moveTop(std::clamp(g.top(), bounds.top(), std::max(bounds.top(), bounds.bottom() - kCaption)));
    } else {
        if (drag_ & kLeft) g.setLeft(std::min(g.left() + delta.x(), g.right() - kMinWidth));
        if (drag_ & kRight) g.setRight(std::max(g.right() + delta.x(), g.left() + kMinWidth));
        if (drag_ & kTop) g.setTop(std::min(g.top() + delta.y(), g.bottom() - kMinHeight));
        if (drag_ & kBottom) g.setBottom(std::max(g.bottom() + delta.y(), g.top() + kMinHeight));
        g = g.intersected(bounds.adjusted(-10000, 0, 10000, 10000));
    }
    setGeometry(g);
}

void ExpansionWindow::mouseReleaseEvent(QMouseEvent*) { drag_ = kNone; }

void ExpansionWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    place();
}

void ExpansionWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->setGeometry(kBorder, kBorder + kCaption, std::max(1, width() - 2 * kBorder),
                       std::max(1, height() - 2 * kBorder - kCaption));
    close_->setGeometry(width() - kBorder - kCaption + 1, kBorder + 1, kCaption - 2, kCaption - 2);
    place();
}

void ExpansionWindow::place() {
    const QRect g = geometry();
    display::placeExpansion(
        mainView_, slot_,
        Rect{g.left(), g.top() + topRows_, g.left() + g.width(), g.top() + topRows_ + g.height()},
        height() - view_->height());
}

void ExpansionWindow::closeEvent(QCloseEvent* event) {
    // The slot is free as soon as the window is closed, not when Qt deletes it later: the
    // document set-up and a Create Expansions right after count on it.
    if (!closed_) display::destroyExpansion(mainView_, slot_);
    closed_ = true;
    event->accept();
}

ExpansionView::ExpansionView(Document& doc, display::View& mainView, platform::UserInterface& ui, int slot,
                             int screenHeight, QWidget* parent)
    : QWidget(parent), doc_(doc), mainView_(mainView), ui_(ui), slot_(slot), screenHeight_(screenHeight) {
    setObjectName(QStringLiteral("expansionView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    QFont small = font();
    small.setPixelSize(9);
    for (std::size_t k = 0; k < std::size(kButtons); ++k) {
        const ButtonPlace& place = kButtons[k];
        auto* b = new QPushButton(QString::fromLatin1(place.text), this);
        b->setObjectName(QString::fromLatin1(place.name));
        b->setFont(small);
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::ArrowCursor);
        b->setGeometry(place.x, 1, 15, 15);
        const display::ExpansionButton which = place.which;
        connect(b, &QPushButton::clicked, this, [this, which] {
            display::pressExpansionButton(doc_, mainView_, slot_, which);
            const Rect& r = mainView_.expansions.windows[static_cast<std::size_t>(slot_)].expPlotRect;
            update(QRect(r.left, r.top, r.width(), r.height()));
        });
        buttons_[k] = b;
    }
}

QPushButton* ExpansionView::button(display::ExpansionButton which) const {
    for (std::size_t k = 0; k < std::size(kButtons); ++k)
        if (kButtons[k].which == which) return buttons_[k];
    return nullptr;
}

void ExpansionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPainterSurface surface(painter, width(), height());
    display::paintExpansion(surface, doc_, mainView_, slot_, screenHeight_);
    if (rubber_.isNull()) return;
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rubber_);
}

void ExpansionView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    display::resizeExpansion(mainView_, slot_, width(), height());
    // "+" and "-" move back to the corner as a pair; "i+" and "i-" stay where they were made.
    buttons_[0]->setGeometry(1, 1, 15, 15);
    buttons_[1]->setGeometry(17, 1, 15, 15);
}

void ExpansionView::apply(const display::ExpansionFeedback& feedback) {
    switch (feedback.cursor) {
        case display::ExpansionCursor::Cross: setCursor(Qt::CrossCursor); break;
        case display::ExpansionCursor::Handle: setCursor(Qt::SizeVerCursor); break;
        case display::ExpansionCursor::IntegralMove: setCursor(Qt::SplitVCursor); break;
    }
    if (feedback.showRubber) {
        rubber_ = QRect(QPoint(feedback.x0, feedback.y0), QPoint(feedback.x1, feedback.y1)).normalized();
        update();
    }
    if (feedback.repaint) update();
}

void ExpansionView::mousePressEvent(QMouseEvent* event) {
    if (parentWidget() != nullptr) parentWidget()->raise();
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        apply(display::expansionButtonDown(mainView_, mouse_, slot_, at.x(), at.y()));
    else if (event->button() == Qt::RightButton)
        apply(display::expansionRightButton(doc_, mainView_, slot_));
}

void ExpansionView::mouseMoveEvent(QMouseEvent* event) {
    if (isActiveWindow() && !hasFocus()) setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    apply(display::expansionMouseMove(mainView_, mouse_, slot_, at.x(), at.y()));
}

void ExpansionView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    rubber_ = QRect();
    update();
    apply(display::expansionButtonUp(mainView_, ui_, mouse_, slot_, at.x(), at.y()));
}

void ExpansionView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        if (!event->isAutoRepeat()) apply(display::expansionShiftKey(mouse_, true));
        return;
    }
    QWidget::keyPressEvent(event);
}

void ExpansionView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        if (!event->isAutoRepeat()) apply(display::expansionShiftKey(mouse_, false));
        return;
    }
    QWidget::keyReleaseEvent(event);
}

// The caption shows whether this window has the keyboard.
void ExpansionView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (parentWidget() != nullptr) parentWidget()->update();
}

void ExpansionView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (parentWidget() != nullptr) parentWidget()->update();
}

}  // namespace pelvaron::gui
