// Painting and mouse handling of the plot area.
#include "gui/plot_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "app/dispatcher.h"
#include "gui/png_renderer.h"

namespace pelvaron::gui {

namespace {

struct CursorImage {
    display::ToolCursor cursor;
    const char* resource;
    int hotX, hotY;  ///< hotspot in the 32 x 32 image
};

constexpr CursorImage kCursorImages[] = {
    {display::ToolCursor::Zoom, ":/cursors/zoom.svg", 13, 13},
    {display::ToolCursor::OverviewZoom, ":/cursors/overview_zoom.svg", 13, 13},
    {display::ToolCursor::Reference, ":/cursors/reference.svg", 16, 16},
    {display::ToolCursor::Integrate, ":/cursors/integrate.svg", 16, 16},
    {display::ToolCursor::PeakPicking, ":/cursors/peak_picking.svg", 16, 16},
    {display::ToolCursor::MoveSpectrum, ":/cursors/move_spectrum.svg", 16, 16},
    {display::ToolCursor::Suppress, ":/cursors/suppress.svg", 16, 16},
    {display::ToolCursor::BaselinePick, ":/cursors/baseline_pick.svg", 16, 16},
};

QCursor cursorFromSvg(const CursorImage& image, qreal ratio) {
    QSvgRenderer renderer(QString::fromLatin1(image.resource));
    const int side = static_cast<int>(32 * ratio + 0.5);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return QCursor(pixmap, image.hotX, image.hotY);
}

}  // namespace

PlotView::PlotView(Document& doc, display::View& view, platform::UserInterface& ui, QWidget* parent)
    : QWidget(parent), doc_(doc), view_(view), ui_(ui) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 120);
}

int PlotView::topRows() { return kTopRows; }

void PlotView::documentChanged() {
    stale_ = true;
    update();
}

void PlotView::renderIfStale() {
    const qreal ratio = devicePixelRatioF();
    const QSize device(static_cast<int>(view_.clientWidth * ratio + 0.5),
                       static_cast<int>(view_.clientHeight * ratio + 0.5));
    if (image_.size() != device || image_.devicePixelRatio() != ratio) {
        image_ = QImage(device, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        stale_ = true;
    }
    if (!stale_) return;
    image_.fill(Qt::white);
    paintDocumentImage(doc_, view_, image_, screenHeight_);
    stale_ = false;
}

QImage PlotView::plotImage() {
    renderIfStale();
    const qreal ratio = image_.devicePixelRatio();
    QImage plot = image_.copy(QRect(0, static_cast<int>(kTopRows * ratio), static_cast<int>(width() * ratio),
                                    static_cast<int>(height() * ratio)));
    plot.setDevicePixelRatio(ratio);
    return plot;
}

void PlotView::paintEvent(QPaintEvent* event) {
    renderIfStale();
    QPainter painter(this);
    const qreal ratio = image_.devicePixelRatio();
    // Only the invalid part is copied; the off-screen image holds the whole client area.
    const QRect target = event->rect();
    const QRectF source(target.x() * ratio, (target.y() + kTopRows) * ratio, target.width() * ratio,
                        target.height() * ratio);
    painter.drawImage(QRectF(target), image_, source);

    if (overlay_.shape == display::Overlay::Shape::None && preview_.isEmpty()) return;
    // The rubber band and the preview invert what lies under them, so they show on the trace as
    // on the white.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.translate(0, -kTopRows);
    if (!preview_.isEmpty()) painter.drawPolyline(preview_.constData(), static_cast<int>(preview_.size()));
    const display::Overlay& o = overlay_;
    switch (o.shape) {
        case display::Overlay::Shape::HorizontalLine:
        case display::Overlay::Shape::VerticalLine: painter.drawLine(o.x0, o.y0, o.x1, o.y1); break;
        case display::Overlay::Shape::Rectangle:
            painter.drawRect(QRect(QPoint(std::min(o.x0, o.x1), std::min(o.y0, o.y1)),
                                   QPoint(std::max(o.x0, o.x1), std::max(o.y0, o.y1))));
            break;
        case display::Overlay::Shape::None: break;
    }
}

void PlotView::setPreview(QVector<QPoint> polyline) {
    preview_ = std::move(polyline);
    update();
}

void PlotView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    display::resizeClientArea(view_, width(), height() + kTopRows + kBottomRows);
    stale_ = true;
}

QPoint PlotView::toDocument(QPointF position) const {
    return {static_cast<int>(position.x()), static_cast<int>(position.y()) + kTopRows};
}

void PlotView::showCursor(display::ToolCursor cursor) {
    if (cursor == display::ToolCursor::Arrow) {
        unsetCursor();
        return;
    }
    auto it = cursors_.find(cursor);
    if (it == cursors_.end()) {
        for (const CursorImage& image : kCursorImages) {
            if (image.cursor == cursor) {
                it = cursors_.emplace(cursor, cursorFromSvg(image, devicePixelRatioF())).first;
                break;
            }
        }
        if (it == cursors_.end()) return;
    }
    setCursor(it->second);
}

void PlotView::apply(const display::ToolFeedback& feedback) {
    if (!(feedback.overlay == overlay_)) {
        overlay_ = feedback.overlay;
        update();
    }
    showCursor(feedback.cursor);
    if (feedback.request != display::ToolRequest::None)
        emit toolRequested(feedback.request, feedback.requestIndex);
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = toDocument(event->position());
    if (event->button() == Qt::LeftButton) {
        display::Modifiers mods;
        mods.shift = event->modifiers().testFlag(Qt::ShiftModifier);
        mods.control = event->modifiers().testFlag(Qt::ControlModifier);
        mods.otherButtons = (event->buttons() & ~Qt::LeftButton) != Qt::NoButton;
        apply(display::leftButtonDown(doc_, view_, ui_, at.x(), at.y(), mods));
    } else if (event->button() == Qt::RightButton) {
        apply(display::rightButtonDown(doc_, view_, ui_, at.x(), at.y()));
    }
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    if (isActiveWindow()) setFocus(Qt::MouseFocusReason);
    const QPoint at = toDocument(event->position());
    apply(display::mouseMove(doc_, view_, ui_, at.x(), at.y()));
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    apply(display::leftButtonUp(doc_, view_, ui_));
}

void PlotView::keyPressEvent(QKeyEvent* event) {
    std::optional<display::PlotKey> key;
    switch (event->key()) {
        case Qt::Key_Left: key = display::PlotKey::Left; break;
        case Qt::Key_Right: key = display::PlotKey::Right; break;
        case Qt::Key_Delete: key = display::PlotKey::Delete; break;
        default:
            if (event->text() == QStringLiteral("+"))
                key = display::PlotKey::Plus;
            else if (event->text() == QStringLiteral("-"))
                key = display::PlotKey::Minus;
            break;
    }
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    display::keyPressed(doc_, view_, *key);
}

}  // namespace pelvaron::gui
