// pelvaron-cli: info, dump and convert over the core, for scripts and end-to-end checks.
#include "cli/cli.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/steps.h"
#include "document/document.h"
#include "document/format.h"
#include "io/jcamp_writer.h"
#include "io/load.h"
#include "io/native_file.h"
#include "io/text_export.h"

namespace pelvaron::cli {

namespace {

const char* const kUsage =
    "usage: pelvaron-cli info FILE [--format F] [--steps LIST]\n"
    "       pelvaron-cli dump FILE [--format F] [--steps LIST]\n"
    "       pelvaron-cli convert FILE OUT [--format F] [--steps LIST] [--to native|jcamp|jcamp-real|text]\n"
#ifdef PELVARON_HAVE_RENDER
    "       pelvaron-cli render FILE -o OUT.png [--width W --height H] [--format F] [--steps LIST]\n"
#endif
    "       pelvaron-cli simulate SYSTEM.json -o OUT [--to native|jcamp|text]\n"
    "       pelvaron-cli transitions SYSTEM.json\n"
    "formats: native bruker aspect winnmr varian gemini nicolet nuts jcamp\n";

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> format;
    std::string steps;
    std::string to = "native";
};

bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    o.command = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--format") {
            std::string f;
            if (!value(f)) return false;
            o.format = f;
        } else if (a == "--steps") {
            if (!value(o.steps)) return false;
        } else if (a == "--to") {
            if (!value(o.to)) return false;
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            error = "unknown option " + a;
            return false;
        } else {
            o.positional.push_back(a);
        }
    }
    return true;
}

void printInfo(const Document& doc, std::string_view format, std::ostream& out) {
    const AcqParams& p = doc.acqPars;
    out << "{\n"
        << "  \"format\": \"" << format << "\",\n"
        << "  \"nData\": " << doc.nData << ",\n"
        << "  \"TD\": " << p.TD << ",\n"
        << "  \"SW\": " << cformat("%.17g", p.SW) << ",\n"
        << "  \"SF\": " << cformat("%.17g", p.SF) << ",\n"
        << "  \"AQ\": " << cformat("%.17g", p.AQ) << ",\n"
        << "  \"offsetHz\": " << cformat("%.17g", doc.offsetHz) << ",\n"
        << "  \"offsetPpm\": " << cformat("%.17g", doc.offsetPpm) << ",\n"
        << "  \"referenceSource\": \"" << referenceSourceName(doc.referenceSource) << "\",\n"
        << "  \"aqMode\": " << p.aqMode << ",\n"
        << "  \"complexData\": " << p.complexData << ",\n"
        << "  \"DECIM\": " << p.DECIM << ",\n"
        << "  \"DSPFVS\": " << p.DSPFVS << ",\n"
        << "  \"groupDelay\": " << cformat("%.17g", doc.groupDelay) << ",\n"
        << "  \"refIndex\": " << doc.refIndex << ",\n"
        << "  \"peakValue\": " << cformat("%.17g", doc.peakValue) << ",\n"
        << "  \"peakIndex\": " << doc.peakIndex << ",\n"
        << "  \"phase0\": " << cformat("%.17g", doc.phase0) << ",\n"
        << "  \"phase1\": " << cformat("%.17g", doc.phase1) << ",\n"
        << "  \"xUnits\": " << doc.xUnits << "\n"
        << "}\n";
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
#ifdef PELVARON_HAVE_RENDER
    if (!args.empty() && args[0] == "render") return runRenderCommand(CommandArgs(args.begin() + 1, args.end()), out, err);
#endif
    if (!args.empty() && (args[0] == "simulate" || args[0] == "transitions")) {
        const CommandArgs rest(args.begin() + 1, args.end());
        return args[0] == "simulate" ? runSimulateCommand(rest, out, err)
                                     : runTransitionsCommand(rest, out, err);
    }
    Options o;
    std::string error;
    if (!parseOptions(args, o, error)) {
        err << "pelvaron-cli: " << error << '\n' << kUsage;
        return 2;
    }
    if (o.command == "--help" || o.command == "help") {
        out << kUsage;
        return 0;
    }
    const bool convert = o.command == "convert";
    if (o.command != "info" && o.command != "dump" && !convert) {
        err << "pelvaron-cli: unknown command " << o.command << '\n' << kUsage;
        return 2;
    }
    if (o.positional.size() != (convert ? 2u : 1u)) {
        err << "pelvaron-cli: " << o.command << " takes " << (convert ? "FILE OUT" : "FILE") << '\n' << kUsage;
        return 2;
    }
    std::optional<io::FileFormat> format;
    if (o.format) {
        format = io::formatFromName(*o.format);
        if (!format) {
            err << "pelvaron-cli: unknown format " << *o.format << '\n';
            return 2;
        }
    }
    if (convert && o.to != "native" && o.to != "jcamp" && o.to != "jcamp-real" && o.to != "text") {
        err << "pelvaron-cli: unknown output type " << o.to << '\n';
        return 2;
    }

    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    const std::string& file = o.positional[0];
    if (!format) format = io::detectFormat(file);
    if (!io::loadFile(*doc, ui, file, format)) return 1;
    if (!runSteps(*doc, ui, o.steps, error)) {
        err << "pelvaron-cli: " << error << '\n';
        return 1;
    }

    if (o.command == "info") {
        printInfo(*doc, format ? io::formatName(*format) : "unknown", out);
    } else if (o.command == "dump") {
        for (int i = 0; i < doc->nData; ++i) out << cformat("%.17g", doc->specData[i]) << '\n';
    } else {
        const std::string& target = o.positional[1];
        if (o.to == "native") {
            if (!io::writeNativeFile(*doc, target)) {
                ui.message("Cannot Save File", "File Error", platform::Icon::Stop, platform::Buttons::Ok);
                return 1;
            }
        } else {
            bool written = false;
            if (o.to == "jcamp") {
                written = io::writeJcampNTuplesFile(*doc, target, io::defaultJcampExportText(*doc));
            } else if (o.to == "jcamp-real") {
                written = io::writeJcampXYDataFile(*doc, target, io::defaultJcampExportText(*doc));
            } else {
                written = io::writeRealPointsFile(*doc, target, 0, doc->nData);
            }
            if (!written) {
                ui.message("Error opening file", "Error", platform::Icon::None, platform::Buttons::Ok);
                return 1;
            }
        }
    }
    return 0;
}

}  // namespace pelvaron::cli
