// Paper sizes, the printed rectangle and the picture type by extension.
#include "output/page_setup.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "base/format.h"
#include "base/numeric.h"

namespace pelvaron::output {

PaperSizeMm paperSizeMm(const PageSetup& setup) {
    PaperSizeMm size = setup.paper == Paper::Letter ? PaperSizeMm{215.9, 279.4} : PaperSizeMm{210.0, 297.0};
    if (setup.landscape) std::swap(size.width, size.height);
    return size;
}

PagePixels pagePixels(const PageSetup& setup) {
    const PaperSizeMm mm = paperSizeMm(setup);
    const double perMm = std::clamp(setup.dpi, kMinPictureDpi, kMaxPictureDpi) / 25.4;
    return {static_cast<int>(std::lround(mm.width * perMm)),
            static_cast<int>(std::lround(mm.height * perMm))};
}

Rect printedRect(int width, int height) {
    return {truncToInt(0.015 * width), truncToInt(0.015 * height), truncToInt(0.985 * width),
            truncToInt(0.985 * height)};
}

void setPrintFactors(display::View& view) {
    view.print.pageBaseFactor = 1.6;
    view.print.pageAxisScale = 1.8;
}

void setMetafileFactors(display::View& view) {
    view.print.pageBaseFactor = 0.8;
    view.print.pageAxisScale = 1.0;
}

void setPageScale(display::View& view, double targetDpiX, double targetDpiY, double screenDpiX,
                  double screenDpiY) {
    view.print.pageScaleX = screenDpiX > 0.0 ? targetDpiX / screenDpiX : 1.0;
    view.print.pageScaleY = screenDpiY > 0.0 ? targetDpiY / screenDpiY : 1.0;
}

std::optional<PictureFormat> pictureFormatFor(const std::string& path) {
    const std::string ext = lowerAscii(std::filesystem::path(path).extension().string());
    if (ext == ".pdf") return PictureFormat::Pdf;
    if (ext == ".svg") return PictureFormat::Svg;
    if (ext == ".png") return PictureFormat::Png;
    return std::nullopt;
}

std::string unknownPictureMessage(const std::string& path) {
    return "A picture is written as PDF, SVG or PNG: the file's name must end in .pdf, .svg or .png (" +
           path + ")";
}

}  // namespace pelvaron::output
