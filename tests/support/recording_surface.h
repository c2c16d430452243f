// A Surface for tests: records every drawing call with the pen, font and colour in force, so a
// test can ask what was drawn where.
#pragma once

#include <string>
#include <vector>

#include "platform/surface.h"

namespace pelvaron::testing {

struct SurfaceCall {
    enum class Kind { SetPen, SetFont, Line, Polyline, Pixel, Rect, FillRect, Text };
    Kind kind = Kind::Line;
    platform::Pen pen;                    ///< the pen in force (the new pen for SetPen)
    platform::Font font;                  ///< the font in force (the new font for SetFont)
    std::vector<platform::Point> points;  ///< Line: 2 ends; Polyline: all; Pixel/Text: 1
    Rect rect;                            ///< Rect, FillRect
    platform::Color color;                ///< Pixel, FillRect, Text
    std::string text;                     ///< Text
};

class RecordingSurface : public platform::Surface {
    using Kind = SurfaceCall::Kind;
    using Point = platform::Point;

public:
    RecordingSurface(int width = 1280, int height = 800) : width_(width), height_(height) {}

    std::vector<SurfaceCall> calls;
    platform::TextMetrics metrics{16, 2, 7};

    [[nodiscard]] int width() const override { return width_; }
    [[nodiscard]] int height() const override { return height_; }
    void setPen(const platform::Pen& pen) override {
        pen_ = pen;
        push(Kind::SetPen);
    }
    void setFont(const platform::Font& font) override {
        font_ = font;
        push(Kind::SetFont);
    }
    void drawLine(Point from, Point to) override { push(Kind::Line, {from, to}); }
    void drawPolyline(std::span<const Point> points) override {
        push(Kind::Polyline, {points.begin(), points.end()});
    }
    void setPixel(Point at, platform::Color color) override { push(Kind::Pixel, {at}, {}, color); }
    void drawRect(const Rect& rect) override { push(Kind::Rect, {}, rect); }
    void fillRect(const Rect& rect, platform::Color color) override { push(Kind::FillRect, {}, rect, color); }
    void drawText(Point at, std::string_view text, platform::Color color) override {
        push(Kind::Text, {at}, {}, color).text = std::string(text);
    }
    [[nodiscard]] platform::TextMetrics textMetrics() const override { return metrics; }
    [[nodiscard]] platform::TextExtent textExtent(std::string_view text) const override {
        return {static_cast<int>(text.size()) * metrics.averageCharWidth, metrics.height};
    }
    [[nodiscard]] platform::Color panelColor() const override { return {240, 240, 240}; }

    /// The recorded calls of one kind, in order.
    [[nodiscard]] std::vector<SurfaceCall> of(Kind kind) const {
        std::vector<SurfaceCall> out;
        for (const auto& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    /// The texts drawn in a colour, in order.
    [[nodiscard]] std::vector<std::string> texts(platform::Color color) const {
        std::vector<std::string> out;
        for (const auto& c : of(Kind::Text))
            if (c.color == color) out.push_back(c.text);
        return out;
    }

private:
    SurfaceCall& push(Kind kind, std::vector<Point> points = {}, Rect rect = {}, platform::Color color = {}) {
        return calls.emplace_back(SurfaceCall{kind, pen_, font_, std::move(points), rect, color, {}});
    }

    int width_;
    int height_;
    platform::Pen pen_;
    platform::Font font_;
};

}  // namespace pelvaron::testing
