// render: draws a data set to a PNG with the window's own drawing code, offscreen.
#include <charconv>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/steps.h"
#include "document/document.h"
#include "gui/png_renderer.h"
#include "io/load.h"

namespace pelvaron::cli {

namespace {

const char* const kRenderUsage =
    "usage: pelvaron-cli render FILE -o OUT.png [--width W --height H] [--format F] [--steps LIST]\n";

/// Sizes from 16 to 8192 pixels: large enough for an axis, small enough for one image in memory.
constexpr int kMinSize = 16;
constexpr int kMaxSize = 8192;

bool parseSize(const std::string& text, int& out) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < kMinSize || value > kMaxSize) return false;
    out = value;
    return true;
}

}  // namespace

int runRenderCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string output;
    std::string steps;
    std::optional<io::FileFormat> format;
    int width = 1280;
    int height = 800;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue =
            a == "-o" || a == "--width" || a == "--height" || a == "--format" || a == "--steps";
        if (takesValue && i + 1 >= args.size()) {
            err << "pelvaron-cli: " << a << " needs a value\n" << kRenderUsage;
            return 2;
        }
        if (a == "-o") {
            output = args[++i];
        } else if (a == "--width" || a == "--height") {
            int& into = a == "--width" ? width : height;
            if (!parseSize(args[++i], into)) {
                err << "pelvaron-cli: " << a << " must be a whole number of pixels from " << kMinSize
                    << " to " << kMaxSize << '\n';
                return 2;
            }
        } else if (a == "--format") {
            format = io::formatFromName(args[++i]);
            if (!format) {
                err << "pelvaron-cli: unknown format " << args[i] << '\n';
                return 2;
            }
        } else if (a == "--steps") {
            steps = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            err << "pelvaron-cli: unknown option " << a << '\n' << kRenderUsage;
            return 2;
        } else if (file.empty()) {
            file = a;
        } else {
            err << "pelvaron-cli: render takes one FILE\n" << kRenderUsage;
            return 2;
        }
    }
    if (file.empty() || output.empty()) {
        err << kRenderUsage;
        return 2;
    }

    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!io::loadFile(*doc, ui, file, format)) return 1;
    std::string error;
    if (!runSteps(*doc, ui, steps, error)) {
        err << "pelvaron-cli: " << error << '\n';
        return 1;
    }

    const auto application = gui::ensureGuiApplication();
    if (!gui::renderPlotToPng(*doc, width, height, output)) {
        err << "pelvaron-cli: cannot write " << output << '\n';
        return 1;
    }
    out << output << '\n';
    return 0;
}

}  // namespace pelvaron::cli
