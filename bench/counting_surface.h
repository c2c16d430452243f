// A drawing surface for the benchmarks that only counts what it is given.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/surface.h"

namespace pelvaron::bench {

/// Counts calls and points, and folds the coordinates into a checksum so nothing is skipped.
class CountingSurface : public platform::Surface {
public:
    std::int64_t calls = 0;
    std::int64_t points = 0;
    std::int64_t checksum = 0;

    [[nodiscard]] int width() const override { return 1920; }
    [[nodiscard]] int height() const override { return 1080; }
    void setPen(const platform::Pen&) override { ++calls; }
    void setFont(const platform::Font&) override { ++calls; }
    void drawLine(platform::Point a, platform::Point b) override { add(a), add(b); }
    void drawPolyline(std::span<const platform::Point> pts) override {
        ++calls;
        for (const auto& p : pts) add(p);
    }
    void setPixel(platform::Point at, platform::Color) override { add(at); }
    void drawRect(const Rect& r) override { add({r.left, r.top}); }
    void fillRect(const Rect& r, platform::Color) override { add({r.right, r.bottom}); }
    void drawText(platform::Point at, std::string_view text, platform::Color) override {
        add(at);
        checksum += static_cast<std::int64_t>(text.size());
    }
    [[nodiscard]] platform::TextMetrics textMetrics() const override { return {16, 2, 7}; }
    [[nodiscard]] platform::TextExtent textExtent(std::string_view text) const override {
        return {static_cast<int>(text.size()) * 7, 16};
    }
    [[nodiscard]] platform::Color panelColor() const override { return {240, 240, 240}; }

private:
    void add(platform::Point p) {
        ++points;
        checksum += p.x * 31 + p.y;
    }
};

}  // namespace pelvaron::bench
