// What the drawing code draws on: lines, pixels, rectangles and text with pens, brushes and
// fonts. The window and the PNG renderer supply a QPainter surface, tests a recording one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/geometry.h"
#include "platform/user_interface.h"

namespace pelvaron::platform {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Color&) const = default;
};

enum class PenStyle { Solid, Dot };

struct Pen {
    Color color;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    bool operator==(const Pen&) const = default;
};

/// A font by family and pixel height; an empty family is the surface's default font.
struct Font {
    std::string family;
    int pixelHeight = 0;
    bool operator==(const Font&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

/// Metrics of the current font: line height is height + externalLeading.
struct TextMetrics {
    int height = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
};

class Surface {
public:
    virtual ~Surface() = default;

    [[nodiscard]] virtual int width() const = 0;
    [[nodiscard]] virtual int height() const = 0;

    virtual void setPen(const Pen& pen) = 0;
    virtual void setFont(const Font& font) = 0;

    virtual void drawLine(Point from, Point to) = 0;
    /// A connected path through the points with the current pen.
    virtual void drawPolyline(std::span<const Point> points) = 0;
    virtual void setPixel(Point at, Color color) = 0;
    /// The outline of a rectangle with the current pen.
    virtual void drawRect(const Rect& rect) = 0;
    virtual void fillRect(const Rect& rect, Color color) = 0;
    /// Text with its top-left corner at `at`, transparent background.
    virtual void drawText(Point at, std::string_view text, Color color) = 0;

    [[nodiscard]] virtual TextMetrics textMetrics() const = 0;
    [[nodiscard]] virtual TextExtent textExtent(std::string_view text) const = 0;
    /// The colour of the window system's menus (the panel brush).
    [[nodiscard]] virtual Color panelColor() const = 0;
};

}  // namespace pelvaron::platform
