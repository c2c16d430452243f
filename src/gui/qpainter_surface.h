// The drawing surface of the window and of the PNG renderer: platform::Surface over a QPainter.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "platform/surface.h"

namespace pelvaron::gui {

/// Draws on whatever device the painter is open on. The painter stays owned by the caller; its
/// antialiasing is switched off so that one-pixel lines stay one pixel wide.
class QPainterSurface : public platform::Surface {
public:
    /// `width` x `height` are the logical pixels the drawing code addresses.
    QPainterSurface(QPainter& painter, int width, int height);

    [[nodiscard]] int width() const override { return width_; }
    [[nodiscard]] int height() const override { return height_; }

    void setPen(const platform::Pen& pen) override;
    void setFont(const platform::Font& font) override;

    void drawLine(platform::Point from, platform::Point to) override;
    void drawPolyline(std::span<const platform::Point> points) override;
    void setPixel(platform::Point at, platform::Color color) override;
    void drawRect(const Rect& rect) override;
    void fillRect(const Rect& rect, platform::Color color) override;
    void drawText(platform::Point at, std::string_view text, platform::Color color) override;

    [[nodiscard]] platform::TextMetrics textMetrics() const override;
    [[nodiscard]] platform::TextExtent textExtent(std::string_view text) const override;
    [[nodiscard]] platform::Color panelColor() const override;

    /// The font used where the drawing code asks for the default one (axis labels, comments).
    [[nodiscard]] static QFont defaultFont();
    /// The Qt font of a platform font; an empty family is the default font.
    [[nodiscard]] static QFont toQFont(const platform::Font& font);

private:
    QPainter& painter_;
    int width_;
    int height_;
    QFont font_;
    QFontMetrics metrics_;
    std::vector<QPoint> scratch_;
};

}  // namespace pelvaron::gui
