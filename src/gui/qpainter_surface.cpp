// platform::Surface over QPainter.
#include "gui/qpainter_surface.h"

#include <QGuiApplication>
#include <QPalette>
#include <QString>

namespace pelvaron::gui {

namespace {

QColor toQColor(platform::Color c) { return QColor(c.r, c.g, c.b); }

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, int width, int height)
    : painter_(painter), width_(width), height_(height), font_(defaultFont()), metrics_(font_) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(font_);
    painter_.setBrush(Qt::NoBrush);
}

QFont QPainterSurface::defaultFont() {
    // A clean sans-serif at a pixel size that reads well beside the axis at any screen density.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    return font;
}

QFont QPainterSurface::toQFont(const platform::Font& font) {
    if (font.family.empty()) {
        QFont f = defaultFont();
        if (font.pixelHeight > 0) f.setPixelSize(font.pixelHeight);
        return f;
    }
    QFont f(toQString(font.family));
    // The classic Windows families map onto what the system has that looks alike.
    if (font.family == "Courier New")
        f.setStyleHint(QFont::Monospace);
    else
        f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(font.pixelHeight > 0 ? font.pixelHeight : 12);
    return f;
}

void QPainterSurface::setPen(const platform::Pen& pen) {
    QPen p(toQColor(pen.color));
    p.setWidth(pen.width);
    p.setStyle(pen.style == platform::PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    p.setCapStyle(Qt::FlatCap);
    painter_.setPen(p);
}

void QPainterSurface::setFont(const platform::Font& font) {
    font_ = toQFont(font);
    metrics_ = QFontMetrics(font_);
    painter_.setFont(font_);
}

void QPainterSurface::drawLine(platform::Point from, platform::Point to) {
    painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QPainterSurface::drawPolyline(std::span<const platform::Point> points) {
    if (points.empty()) return;
    scratch_.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) scratch_[i] = QPoint(points[i].x, points[i].y);
    painter_.drawPolyline(scratch_.data(), static_cast<int>(scratch_.size()));
}

void QPainterSurface::setPixel(platform::Point at, platform::Color color) {
    const QPen saved = painter_.pen();
    painter_.setPen(QPen(toQColor(color), 1));
    painter_.drawPoint(at.x, at.y);
    painter_.setPen(saved);
}

void QPainterSurface::drawRect(const Rect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const QBrush saved = painter_.brush();
    painter_.setBrush(Qt::NoBrush);
    // The outline covers the pixels left .. right-1 and top .. bottom-1.
    painter_.drawRect(QRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1));
    painter_.setBrush(saved);
}

void QPainterSurface::fillRect(const Rect& rect, platform::Color color) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    painter_.fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), toQColor(color));
}

void QPainterSurface::drawText(platform::Point at, std::string_view text, platform::Color color) {
    const QPen saved = painter_.pen();
    painter_.setPen(toQColor(color));
    painter_.drawText(QPoint(at.x, at.y + metrics_.ascent()), toQString(text));
    painter_.setPen(saved);
}

platform::TextMetrics QPainterSurface::textMetrics() const {
    platform::TextMetrics m;
    m.height = metrics_.height();
    m.externalLeading = metrics_.leading();
    m.averageCharWidth = metrics_.averageCharWidth();
    return m;
}

platform::TextExtent QPainterSurface::textExtent(std::string_view text) const {
    return {metrics_.horizontalAdvance(toQString(text)), metrics_.height()};
}

platform::Color QPainterSurface::panelColor() const {
    // A light neutral grey: the panel colour of the classic menus, steady across desktop themes.
    return {240, 240, 240};
}

}  // namespace pelvaron::gui
