// info, dump and convert: a data set loaded, processed by --steps, and described, listed or
// written; and the options every command that reads a data set shares.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>

#include "base/format.h"
#include "cli/commands.h"
#include "cli/steps.h"
#include "io/jcamp_writer.h"
#include "io/native_file.h"
#include "io/text_export.h"

namespace pelvaron::cli {

namespace {

/// A double as info has always printed it: %.17g, exact. JSON has no word for NaN or infinity,
/// so those are null.
std::string exactNumber(double v) { return std::isfinite(v) ? cformat("%.17g", v) : "null"; }

/// The info object, keys in this order, one per line, numbers exact.
void printInfo(const Document& doc, std::string_view format, std::ostream& out) {
    const AcqParams& p = doc.spectrum.acqPars;
    const nlohmann::ordered_json info = {
        {"format", format},
        {"nData", doc.spectrum.nData},
        {"TD", p.TD},
        {"SW", p.SW},
        {"SF", p.SF},
        {"AQ", p.AQ},
        {"offsetHz", doc.spectrum.offsetHz},
        {"offsetPpm", doc.spectrum.offsetPpm},
        {"referenceSource", referenceSourceName(doc.spectrum.referenceSource)},
        {"aqMode", p.aqMode},
        {"complexData", p.complexData},
        {"DECIM", p.DECIM},
        {"DSPFVS", p.DSPFVS},
        {"groupDelay", doc.spectrum.groupDelay},
        {"refIndex", doc.spectrum.refIndex},
        {"peakValue", doc.spectrum.peakValue},
        {"peakIndex", doc.spectrum.peakIndex},
        {"phase0", doc.spectrum.phase0},
        {"phase1", doc.spectrum.phase1},
        {"xUnits", doc.spectrum.xUnits},
    };
    // The library's own dump prints the shortest text that reads back; scripts compare %.17g.
    std::string text = "{\n";
    for (auto it = info.begin(); it != info.end(); ++it) {
        const std::string value = it->is_number_float() ? exactNumber(it->get<double>()) : it->dump();
        text += "  " + nlohmann::json(it.key()).dump() + ": " + value +
                (std::next(it) == info.end() ? "\n" : ",\n");
    }
    out << text << "}\n";
}

int infoAction(DocumentOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o, *doc, ui, err)) return kExitFileError;
    printInfo(*doc, o.format ? io::formatName(*o.format) : "unknown", out);
    return kExitOk;
}

int dumpAction(DocumentOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o, *doc, ui, err)) return kExitFileError;
    for (int i = 0; i < doc->spectrum.nData; ++i) out << cformat("%.17g", doc->spectrum.specData[i]) << '\n';
    return kExitOk;
}

struct ConvertOptions {
    DocumentOptions input;
    std::string output;
    std::string to = "native";
};

int convertAction(ConvertOptions& o, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    if (o.to == "native") {
        if (io::writeNativeFile(*doc, o.output)) return kExitOk;
        ui.message("Cannot Save File", "File Error", platform::Icon::Stop, platform::Buttons::Ok);
        return kExitFileError;
    }
    bool written = false;
    if (o.to == "jcamp") {
        written = io::writeJcampNTuplesFile(*doc, o.output, io::defaultJcampExportText(*doc));
    } else if (o.to == "jcamp-real") {
        written = io::writeJcampXYDataFile(*doc, o.output, io::defaultJcampExportText(*doc));
    } else {
        written = io::writeRealPointsFile(*doc, o.output, 0, doc->spectrum.nData);
    }
    if (written) return kExitOk;
    ui.message("Error opening file", "Error", platform::Icon::None, platform::Buttons::Ok);
    return kExitFileError;
}

}  // namespace

void addDocumentOptions(CLI::App& command, DocumentOptions& o) {
    command.add_option("FILE", o.file, "the data set: a file, or a Bruker experiment's directory")
        ->required()
        ->type_name("");
    command
        .add_option_function<std::string>(
            "--format",
            [&o](const std::string& name) {
                o.format = io::formatFromName(name);
                if (!o.format) throw CLI::ValidationError("unknown format " + name);
            },
            "native, bruker, aspect, winnmr, varian, gemini, nicolet, nuts, jeol or jcamp (detected when "
            "not given)")
        ->type_name("F");
    command.add_option("--steps", o.steps, "processing run in order, e.g. em=0.3,ft,phase=12.5/-3,baseline")
        ->type_name("LIST");
}

bool loadDocument(DocumentOptions& o, Document& doc, ConsoleUserInterface& ui, std::ostream& err) {
    if (!o.format) o.format = io::detectFormat(o.file);
    if (!io::loadFile(doc, ui, o.file, o.format)) return false;
    std::string error;
    if (runSteps(doc, ui, o.steps, error)) return true;
    err << "pelvaron-cli: " << error << '\n';
    return false;
}

void addOutputType(CLI::App& command, std::string& into, const std::vector<std::string>& types,
                   const std::string& description) {
    command
        .add_option_function<std::string>(
            "--to",
            [&into, types](const std::string& type) {
                if (std::find(types.begin(), types.end(), type) == types.end())
                    throw CLI::ValidationError("unknown output type " + type);
                into = type;
            },
            description)
        ->type_name("TYPE");
}

void addInfoCommand(CommandSet& commands) {
    auto o = std::make_shared<DocumentOptions>();
    addDocumentOptions(
        commands.add("info", "print one JSON object describing the data set after loading and steps",
                     [o](std::ostream& out, std::ostream& err) { return infoAction(*o, out, err); }),
        *o);
}

void addDumpCommand(CommandSet& commands) {
    auto o = std::make_shared<DocumentOptions>();
    addDocumentOptions(
        commands.add("dump", "print the data's nData doubles, one per line, exactly",
                     [o](std::ostream& out, std::ostream& err) { return dumpAction(*o, out, err); }),
        *o);
}

void addConvertCommand(CommandSet& commands) {
    auto o = std::make_shared<ConvertOptions>();
    CLI::App& command =
        commands.add("convert", "write the data set to another file",
                     [o](std::ostream&, std::ostream& err) { return convertAction(*o, err); });
    addDocumentOptions(command, o->input);
    command.add_option("OUT", o->output, "the file to write")->required()->type_name("");
    addOutputType(command, o->to, {"native", "jcamp", "jcamp-real", "text"},
                  "native (a Pelvaron file, the default), jcamp (NTUPLES, real and imaginary), jcamp-real "
                  "(XYDATA) or text (the real data points)");
}

}  // namespace pelvaron::cli
