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
public:
    RecordingSurface(int width = 1280, int height = 800) : width_(width), height_(height) {}

    std::vector<SurfaceCall> calls;
    platform::TextMetrics metrics{16, 2, 7};
    platform::Color panel{240, 240, 240};

    [[nodiscard]] int width() const override { return width_; }
    [[nodiscard]] int height() const override { return height_; }

    void setPen(const platform::Pen& pen) override {
        pen_ = pen;
        push(SurfaceCall::Kind::SetPen);
    }
    void setFont(const platform::Font& font) override {
        font_ = font;
        push(SurfaceCall::Kind::SetFont);
    }
    void drawLine(platform::Point from, platform::Point to) override {
        push(SurfaceCall::Kind::Line).points = {from, to};
    }
    void drawPolyline(std::span<const platform::Point> points) override {
        push(SurfaceCall::Kind::Polyline).points.assign(points.begin(), points.end());
    }
    void setPixel(platform::Point at, platform::Color color) override {
        auto& c = push(SurfaceCall::Kind::Pixel);
        c.points = {at};
        c.color = color;
    }
    void drawRect(const Rect& rect) override { push(SurfaceCall::Kind::Rect).rect = rect; }
    void fillRect(const Rect& rect, platform::Color color) override {
        auto& c = push(SurfaceCall::Kind::FillRect);
        c.rect = rect;
        c.color = color;
    }
    void drawText(platform::Point at, std::string_view text, platform::Color color) override {
        auto& c = push(SurfaceCall::Kind::Text);
        c.points = {at};
        c.text = std::string(text);
        c.color = color;
    }
    [[nodiscard]] platform::TextMetrics textMetrics() const override { return metrics; }
    [[nodiscard]] platform::TextExtent textExtent(std::string_view text) const override {
        return {static_cast<int>(text.size()) * metrics.averageCharWidth, metrics.height};
    }
    [[nodiscard]] platform::Color panelColor() const override { return panel; }

    /// The recorded calls of one kind, in order.
    [[nodiscard]] std::vector<SurfaceCall> of(SurfaceCall::Kind kind) const {
        std::vector<SurfaceCall> out;
        for (const auto& c : calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    /// The texts drawn in a colour, in order.
    [[nodiscard]] std::vector<std::string> texts(platform::Color color) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.kind == SurfaceCall::Kind::Text && c.color == color) out.push_back(c.text);
        }
        return out;
    }

private:
    SurfaceCall& push(SurfaceCall::Kind kind) {
        SurfaceCall c;
        c.kind = kind;
        c.pen = pen_;
        c.font = font_;
        calls.push_back(std::move(c));
        return calls.back();
    }

    int width_;
    int height_;
    platform::Pen pen_;
    platform::Font font_;
};

}  // namespace pelvaron::testing
