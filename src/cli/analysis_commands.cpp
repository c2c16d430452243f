// peaks, integrate and sn: a data set loaded and processed by --steps, then analysed as the
// window's peak report, integrals and signal-to-noise ratio would show it.
#include <cstdlib>
#include <memory>

#include "analysis/integrals.h"
#include "analysis/peaks.h"
#include "cli/commands.h"
#include "document/format.h"
#include "document/units.h"
#include "processing/data_ops.h"
#include "processing/noise_block.h"

namespace pelvaron::cli {

namespace {

/// "FROM/TO" in ppm, either order; a usage error naming `option` otherwise.
analysis::PpmRegion parseRegion(const std::string& option, const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::string from = text.substr(0, slash),
                      to = slash == std::string::npos ? "" : text.substr(slash + 1);
    char* end1 = nullptr;
    char* end2 = nullptr;
    const double a = std::strtod(from.c_str(), &end1), b = std::strtod(to.c_str(), &end2);
    if (from.empty() || to.empty() || *end1 != '\0' || *end2 != '\0')
        throw CLI::ValidationError(option + " " + text + ": expected FROM/TO in ppm");
    return {a, b};
}

}  // namespace

CLI::Option* addRegionOption(CLI::App& command, const std::string& name,
                             std::vector<analysis::PpmRegion>& regions, const std::string& help) {
    return command
        .add_option_function<std::vector<std::string>>(
            name,
            [name, &regions](const std::vector<std::string>& texts) {
                for (const std::string& t : texts) regions.push_back(parseRegion(name, t));
            },
            help)
        ->type_name("FROM/TO")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
}

bool pickRegions(Document& doc, platform::UserInterface& ui, const std::vector<analysis::PpmRegion>& regions,
                 double threshold) {
    if (regions.empty()) return analysis::pickWholeSpectrum(doc, ui, threshold);
    bool picked = true;
    for (const auto& r : regions)
        picked = analysis::pickPeaksBetween(doc, ui, r.from, r.to, threshold) && picked;
    return picked;
}

namespace {

struct PeaksOptions {
    DocumentOptions input;
    std::vector<analysis::PpmRegion> regions;
    std::optional<double> threshold;
    bool noInterpolation = false;
};

int peaksAction(PeaksOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    // Without --threshold the report's own starting value stands, as in the window.
    const double threshold = o.threshold.value_or(doc->peaks.peakThreshold);
    doc->peaks.peakInterpolate = o.noInterpolation ? 0 : 1;
    if (!pickRegions(*doc, ui, o.regions, threshold)) return kExitFileError;
    out << analysis::peakListText(*doc);
    return kExitOk;
}

struct IntegrateOptions {
    DocumentOptions input;
    analysis::IntegrateRequest request;
};

int integrateAction(IntegrateOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    const analysis::IntegrateResult result = analysis::integrateRegions(*doc, ui, o.request);
    using Status = analysis::IntegrateResult::Status;
    if (result.status == Status::UsageError) return kExitUsage;
    if (result.status == Status::DataError) return kExitFileError;
    for (const std::string& line : result.lines) out << line << '\n';
    return kExitOk;
}

int snAction(DocumentOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o, *doc, ui, err)) return kExitFileError;
    processing::ensureSignalToNoiseMarks(*doc);
    const processing::SignalToNoise sn = processing::measureSignalToNoise(*doc);
    const auto ppm = [&](int i) { return units::tToUnit(*doc, units::indexToT(*doc, i), kPpm); };
    out << cformat("%.6g", sn.ratio) << '\n'
        << cformat("noise %.4f %.4f", ppm(sn.noiseFrom), ppm(sn.noiseTo)) << '\n'
        << cformat("signal %.4f %.4f", ppm(sn.signalFrom), ppm(sn.signalTo)) << '\n';
    return kExitOk;
}

}  // namespace

void addPeaksCommand(CommandSet& commands) {
    auto o = std::make_shared<PeaksOptions>();
    CLI::App& command =
        commands.add("peaks", "pick peaks and print the Peak Picking Output text of the report's export",
                     [o](std::ostream& out, std::ostream& err) { return peaksAction(*o, out, err); });
    addDocumentOptions(command, o->input);
    addRegionOption(command, "--region", o->regions,
                    "a region in ppm, either order; several allowed (default: the whole spectrum)");
    command
        .add_option("--threshold", o->threshold,
                    "the lowest peak height, in the data's own units (default 2.5)")
        ->type_name("T");
    command.add_flag("--no-interpolation", o->noInterpolation,
                     "report the sampled maxima, not the parabola's");
}

void addIntegrateCommand(CommandSet& commands) {
    auto o = std::make_shared<IntegrateOptions>();
    CLI::App& command =
        commands.add("integrate", "integrate regions and print N FROM TO RAW SHOWN per integral",
                     [o](std::ostream& out, std::ostream& err) { return integrateAction(*o, out, err); });
    addDocumentOptions(command, o->input);
    addRegionOption(command, "--region", o->request.regions, "a region in ppm, either order; several allowed")
        ->required();
    command.add_flag("--baseline-correction", o->request.baselineCorrection,
                     "subtract the straight line between the ends of each region");
    command
        .add_option_function<std::string>(
            "--reference",
            [o](const std::string& text) {
                const std::size_t eq = text.find('=');
                char* end1 = nullptr;
                char* end2 = nullptr;
                const std::string k = text.substr(0, eq),
                                  v = eq == std::string::npos ? "" : text.substr(eq + 1);
                const long index = std::strtol(k.c_str(), &end1, 10);
                const double value = std::strtod(v.c_str(), &end2);
                if (k.empty() || v.empty() || *end1 != '\0' || *end2 != '\0' || index < 1 ||
                    index > kMaxIntegrals)
                    throw CLI::ValidationError("--reference " + text + ": expected K=VALUE, K from 1");
                o->request.referenceIntegral = static_cast<int>(index);
                o->request.referenceValue = value;
            },
            "integral K shows VALUE, the others in proportion (default 1=1)")
        ->type_name("K=VALUE");
}

void addSignalToNoiseCommand(CommandSet& commands) {
    auto o = std::make_shared<DocumentOptions>();
    addDocumentOptions(
        commands.add("sn", "print the signal-to-noise ratio, then the noise and signal regions in ppm",
                     [o](std::ostream& out, std::ostream& err) { return snAction(*o, out, err); }),
        *o);
}

}  // namespace pelvaron::cli
