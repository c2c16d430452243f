// render: draws a data set to a PNG with the window's own drawing code, offscreen; with --page
// the printed page instead, as PDF, SVG or PNG.
#include <charconv>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "display/view.h"
#include "document/document.h"
#include "gui/page_writer.h"
#include "gui/png_renderer.h"
#include "output/page_setup.h"

namespace pelvaron::cli {

namespace {

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

struct RenderOptions {
    DocumentOptions input;
    std::string output;
    int width = 1280;
    int height = 800;
    std::vector<analysis::PpmRegion> peaks;
    std::optional<double> threshold;
    analysis::IntegrateRequest integrals;
    bool page = false;
    output::PageSetup setup;
};

int renderAction(RenderOptions& o, std::ostream& out, std::ostream& err) {
    // A picture type the page cannot be written as is refused before anything is read or written.
    if (o.page && !output::pictureFormatFor(o.output)) {
        err << "pelvaron-cli: " << output::unknownPictureMessage(o.output) << '\n';
        return kExitUsage;
    }
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    // The picture shows the data as the window would after the load: the whole of them.
    display::View view;
    const display::ViewFollower follower(*doc, view);
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    // The marks are drawn as the window draws the peaks and integrals picked with the mouse.
    if (!o.peaks.empty() && !pickRegions(*doc, ui, o.peaks, o.threshold.value_or(doc->peaks.peakThreshold)))
        return kExitFileError;
    if (!o.integrals.regions.empty()) {
        const analysis::IntegrateResult result = analysis::integrateRegions(*doc, o.integrals);
        if (result.message) platform::report(ui, *result.message);
        if (result.status == analysis::IntegrateResult::Status::UsageError) return kExitUsage;
        if (result.status == analysis::IntegrateResult::Status::DataError) return kExitFileError;
    }
    const auto application = gui::ensureGuiApplication();
    if (o.page) {
        // The page is drawn from a window of --width x --height on a screen of 96 dpi.
        gui::layoutPlot(view, o.width, o.height);
        output::setPrintFactors(view);
        std::string error;
        if (!gui::writePageFile(*doc, view, o.output, o.setup, gui::ScreenDpi{}, error)) {
            err << "pelvaron-cli: " << error << '\n';
            return kExitFileError;
        }
        out << o.output << '\n';
        return kExitOk;
    }
    if (!gui::renderPlotToPng(*doc, view, o.width, o.height, o.output)) {
        err << "pelvaron-cli: cannot write " << o.output << '\n';
        return kExitFileError;
    }
    out << o.output << '\n';
    return kExitOk;
}

void addSizeOption(CLI::App& command, const std::string& name, int& into, const std::string& description) {
    command
        .add_option_function<std::string>(
            name,
            [name, &into](const std::string& text) {
                if (!parseSize(text, into))
                    throw CLI::ValidationError(name + " must be a whole number of pixels from " +
                                               std::to_string(kMinSize) + " to " + std::to_string(kMaxSize));
            },
            description)
        ->type_name("PIXELS");
}

}  // namespace

void addRenderCommand(CommandSet& commands) {
    auto o = std::make_shared<RenderOptions>();
    CLI::App& command =
        commands.add("render", "draw the data set as the window does, to a PNG",
                     [o](std::ostream& out, std::ostream& err) { return renderAction(*o, out, err); });
    addDocumentOptions(command, o->input);
    command.add_option("-o", o->output, "the PNG file to write; with --page a .pdf, .svg or .png")
        ->required()
        ->type_name("OUT.png");
    addSizeOption(command, "--width", o->width, "the image's width (default 1280)");
    addSizeOption(command, "--height", o->height, "the image's height (default 800)");
    addRegionOption(command, "--peaks", o->peaks,
                    "pick the peaks of a region in ppm and label them; several allowed");
    command.add_option("--threshold", o->threshold, "the peaks' threshold in the data's units (default 2.5)")
        ->type_name("T");
    addRegionOption(command, "--integrate", o->integrals.regions,
                    "integrate a region in ppm; several allowed");
    CLI::Option* page =
        command.add_flag("--page", o->page, "draw the printed page (PDF, SVG or PNG by -o's extension)");
    command
        .add_option_function<std::string>(
            "--paper",
            [o](const std::string& text) {
                if (text == "a4")
                    o->setup.paper = output::Paper::A4;
                else if (text == "letter")
                    o->setup.paper = output::Paper::Letter;
                else
                    throw CLI::ValidationError("--paper must be a4 or letter, not " + text);
            },
            "the page's paper, a4 (default) or letter")
        ->type_name("a4|letter")
        ->needs(page);
    command.add_flag("--landscape", o->setup.landscape, "the page turned to landscape")->needs(page);
    command
        .add_option_function<std::string>(
            "--dpi",
            [o](const std::string& text) {
                int value = 0;
                const char* end = text.data() + text.size();
                const auto [ptr, ec] = std::from_chars(text.data(), end, value);
                if (ec != std::errc() || ptr != end || value < output::kMinPictureDpi ||
                    value > output::kMaxPictureDpi)
                    throw CLI::ValidationError("--dpi must be a whole number from " +
                                               std::to_string(output::kMinPictureDpi) + " to " +
                                               std::to_string(output::kMaxPictureDpi));
                o->setup.dpi = value;
            },
            "the page's resolution in dots per inch (default 300)")
        ->type_name("N")
        ->needs(page);
}

}  // namespace pelvaron::cli
