// The page's picture formats.
#include "gui/page_writer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "gui/qpainter_surface.h"
#include "output/page.h"

namespace pelvaron::gui {

namespace {

QPageSize qPageSize(output::Paper paper) {
    return QPageSize(paper == output::Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

int clampedDpi(const output::PageSetup& setup) {
    return std::clamp(setup.dpi, output::kMinPictureDpi, output::kMaxPictureDpi);
}

QString pictureTitle(const Document& doc) {
    return doc.fileTitle.empty() ? QStringLiteral("Pelvaron") : QString::fromStdString(doc.fileTitle);
}

/// The page's picture with a palette: its pixels are greys (black, the antialiased text, grey
/// ticks) and the pure blue and red of the traces and marks. A palette image is a quarter of
/// the bytes and is written without row filters: several times faster to encode.
QImage toPageColours(const QImage& rgb) {
    if (rgb.isNull()) return rgb;
    constexpr int kGreys = 254, kBlue = 254, kRed = 255;
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    if (indexed.isNull()) return indexed;
    QList<QRgb> table;
    for (int i = 0; i < kGreys; ++i) {
        const int v = (i * 255 + (kGreys - 1) / 2) / (kGreys - 1);
        table.push_back(qRgb(v, v, v));
    }
    table.push_back(qRgb(0, 0, 255));
    table.push_back(qRgb(255, 0, 0));
    indexed.setColorTable(table);
    indexed.setDotsPerMeterX(rgb.dotsPerMeterX());
    indexed.setDotsPerMeterY(rgb.dotsPerMeterY());
    const QImage source =
        rgb.format() == QImage::Format_RGB32 ? rgb : rgb.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const int r = qRed(in[x]), g = qGreen(in[x]), b = qBlue(in[x]);
            if (r == g && g == b)
                out[x] = static_cast<uchar>((r * (kGreys - 1) + 127) / 255);
            else if (b > r && b > g)
                out[x] = kBlue;
            else if (r > g)
                out[x] = kRed;
            else
                out[x] = static_cast<uchar>(((r * 77 + g * 150 + b * 29) >> 8) * (kGreys - 1) / 255);
        }
    }
    return indexed;
}

}  // namespace

void paintPage(QPainter& painter, Document& doc, display::View& view, int width, int height, double dpiX,
               double dpiY, ScreenDpi screen, PageArea area) {
    output::setPageScale(view, dpiX, dpiY, screen.x, screen.y);
    QPainterSurface surface(painter, width, height);
    const Rect page =
        area == PageArea::Printed ? output::printedRect(width, height) : Rect{0, 0, width, height};
    output::renderPage(surface, doc, view, page);
}

QByteArray pagePdf(Document& doc, display::View& view, const output::PageSetup& setup, ScreenDpi screen,
                   PageArea area) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(clampedDpi(setup));
        writer.setPageLayout(QPageLayout(qPageSize(setup.paper),
                                         setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        writer.setTitle(pictureTitle(doc));
        writer.setCreator(QStringLiteral("Pelvaron"));
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        paintPage(painter, doc, view, writer.width(), writer.height(), writer.logicalDpiX(),
                  writer.logicalDpiY(), screen, area);
        painter.end();
    }
    return bytes;
}

QByteArray pageSvg(Document& doc, display::View& view, const output::PageSetup& setup, ScreenDpi screen,
                   PageArea area) {
    const output::PagePixels size = output::pagePixels(setup);
    const int dpi = clampedDpi(setup);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(size.width, size.height));
    generator.setViewBox(QRect(0, 0, size.width, size.height));
    generator.setResolution(dpi);
    generator.setTitle(pictureTitle(doc));
    generator.setDescription(QStringLiteral("Pelvaron"));
    QPainter painter;
    if (!painter.begin(&generator)) return {};
    paintPage(painter, doc, view, size.width, size.height, dpi, dpi, screen, area);
    painter.end();
    return bytes;
}

QImage pageImage(Document& doc, display::View& view, const output::PageSetup& setup, ScreenDpi screen,
                 PageArea area) {
    const output::PagePixels size = output::pagePixels(setup);
    const int dpi = clampedDpi(setup);
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    QPainter painter(&image);
    paintPage(painter, doc, view, size.width, size.height, dpi, dpi, screen, area);
    return image;
}

bool writePageFile(Document& doc, display::View& view, const std::string& path,
                   const output::PageSetup& setup, ScreenDpi screen, std::string& error) {
    const std::optional<output::PictureFormat> format = output::pictureFormatFor(path);
    if (!format) {
        error = output::unknownPictureMessage(path);
        return false;
    }
    // Written beside the target and renamed on success: a failure leaves no half-written file.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = "Cannot write " + path + ": " + file.errorString().toStdString();
        return false;
    }
    bool written = false;
    switch (*format) {
        case output::PictureFormat::Pdf: {
            const QByteArray bytes = pagePdf(doc, view, setup, screen, PageArea::Printed);
            written = !bytes.isEmpty() && file.write(bytes) == bytes.size();
            break;
        }
        case output::PictureFormat::Svg: {
            const QByteArray bytes = pageSvg(doc, view, setup, screen, PageArea::Printed);
            written = !bytes.isEmpty() && file.write(bytes) == bytes.size();
            break;
        }
        case output::PictureFormat::Png: {
            const QImage image = pageImage(doc, view, setup, screen, PageArea::Printed);
            QImageWriter writer(&file, "png");
            // Mostly white: a middle compression makes the file nearly as small as the best, fast.
            writer.setQuality(50);
            written = !image.isNull() && writer.write(toPageColours(image));
            break;
        }
    }
    if (!written || !file.commit()) {
        file.cancelWriting();
        error = "Cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace pelvaron::gui
