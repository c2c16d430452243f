// Off-screen rendering of the plot.
#include "gui/png_renderer.h"

#include <unistd.h>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/numeric.h"
#include "display/paint.h"
#include "gui/qpainter_surface.h"

namespace pelvaron::gui {

std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool haveDisplay = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if ((platform == nullptr || *platform == '\0') && !haveDisplay) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Qt wants a private runtime folder; made here as Qt would, so it does not warn about it.
        std::error_code ec;
        const auto dir = std::filesystem::temp_directory_path(ec) / ("runtime-" + std::to_string(getuid()));
        std::filesystem::create_directories(dir, ec);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
        if (!ec) setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    // QGuiApplication keeps a reference to argc: both live as long as the program.
    static int argc = 1;
    static char name[] = "pelvaron";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

void paintDocumentImage(Document& doc, const display::View& view, QImage& image, int screenHeight) {
    QPainter painter(&image);
    QPainterSurface surface(painter, view.clientWidth, view.clientHeight);
    display::PaintParams params;
    params.screenHeight = screenHeight;
    display::paintDocument(surface, doc, view, params);
}

void layoutPlot(display::View& view, int width, int height) {
    const int clientHeight = height + kTopRows + kBottomRows;
    view.clientWidth = width;
    view.clientHeight = clientHeight;
    view.baselineY = clientHeight / 2;
    view.secondBaselineY = truncToInt(0.3 * clientHeight);
    view.integralBaseY = clientHeight / 2;
    view.plotRect = Rect{0, kTopRows, width, clientHeight - kBottomRows};
    view.dualRect = view.plotRect;
    view.tools.overviewBottom = truncToInt(0.25 * clientHeight);
}

QImage renderPlot(Document& doc, display::View& view, int width, int height) {
    layoutPlot(view, width, height);
    const int clientHeight = view.clientHeight;
    QImage client(width, clientHeight, QImage::Format_RGB32);
    client.fill(Qt::white);
    paintDocumentImage(doc, view, client, clientHeight);
    return client.copy(0, kTopRows, width, height);
}

bool renderPlotToPng(Document& doc, display::View& view, int width, int height, const std::string& path) {
    const QImage image = renderPlot(doc, view, width, height);
    return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace pelvaron::gui
