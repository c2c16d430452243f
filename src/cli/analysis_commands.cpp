// peaks, integrate, sn, apodize-scan and multiplets: a data set loaded and processed by --steps,
// then analysed as the window's peak report, integrals, signal-to-noise ratio and multiplet report
// would show it.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/integrals.h"
#include "analysis/multiplets.h"
#include "analysis/peaks.h"
#include "base/format.h"
#include "cli/commands.h"
#include "cli/steps.h"
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
    const analysis::IntegrateResult result = analysis::integrateRegions(*doc, o.request);
    if (result.message) platform::report(ui, *result.message);
    using Status = analysis::IntegrateResult::Status;
    if (result.status == Status::UsageError) return kExitUsage;
    if (result.status == Status::DataError) return kExitFileError;
    for (const std::string& line : result.lines) out << line << '\n';
    return kExitOk;
}

/// The S/N of the data set as `sn` measures it; nothing when the load or a step failed.
std::optional<processing::SignalToNoise> measuredSignalToNoise(DocumentOptions& o, Document& doc,
                                                               std::ostream& err) {
    ConsoleUserInterface ui(err);
    if (!loadDocument(o, doc, ui, err)) return std::nullopt;
    processing::ensureSignalToNoiseMarks(doc.spectrum);
    return processing::measureSignalToNoise(doc);
}

int snAction(DocumentOptions& o, std::ostream& out, std::ostream& err) {
    auto doc = std::make_unique<Document>();
    const std::optional<processing::SignalToNoise> measured = measuredSignalToNoise(o, *doc, err);
    if (!measured) return kExitFileError;
    const processing::SignalToNoise& sn = *measured;
    const auto ppm = [&](int i) { return units::tToUnit(*doc, units::indexToT(*doc, i), kPpm); };
    out << cformat("%.6g", sn.ratio) << '\n'
        << cformat("noise %.4f %.4f", ppm(sn.noiseFrom), ppm(sn.noiseTo)) << '\n'
        << cformat("signal %.4f %.4f", ppm(sn.signalFrom), ppm(sn.signalTo)) << '\n';
    return kExitOk;
}

struct ApodizeScanOptions {
    DocumentOptions input;
    std::string window = "em";
    double from = 0.0, to = 0.0, step = 0.0;
};

/// The most values one scan prints.
constexpr long kMaxScanValues = 100000;

int apodizeScanAction(ApodizeScanOptions& o, std::ostream& out, std::ostream& err) {
    const auto refuse = [&](const std::string& why) {
        err << "pelvaron-cli: apodize-scan: " << why
            << "\nRun 'pelvaron-cli apodize-scan --help' for the arguments and options.\n";
        return kExitUsage;
    };
    if (!std::isfinite(o.from) || !std::isfinite(o.to) || !std::isfinite(o.step))
        return refuse("--from, --to and --step must be numbers");
    if (o.step == 0.0) return refuse("--step must not be 0");
    const double span = (o.to - o.from) / o.step;
    if (span < 0.0) return refuse("--step goes away from --to: the scan would never reach it");
    // Values a rounding error short of --to still count; the scan never passes it.
    const double count = std::floor(span + 1e-9) + 1.0;
    if (count > kMaxScanValues)
        return refuse(cformat("the scan would take %.0f values; at most %ld", count, kMaxScanValues));

    // The file is read once. Every value starts from the data as loaded, with whatever the steps
    // may change put back as the load left it, so each line is what `sn` prints for that value.
    DocumentOptions plain = o.input;
    plain.steps.clear();
    auto doc = std::make_unique<Document>();
    ConsoleUserInterface ui(err);
    if (!loadDocument(plain, *doc, ui, err)) return kExitFileError;
    // A spectrum read as such has no FID to apodize: the scan would window and transform a
    // spectrum, as the dialog refuses to.
    if (doc->fidCopyCount <= 0) {
        err << "pelvaron-cli: apodize-scan: " << o.input.file
            << " holds a spectrum, not a FID: there is no FID to apodize\n";
        return kExitFileError;
    }
    const Spectrum loaded = doc->spectrum;
    const TransformState transformAtLoad = doc->transform;
    const BaselineState baselineAtLoad = doc->baseline;
    const DataOpsState dataOpsAtLoad = doc->dataOps;
    const WindowParams windowAtLoad = doc->window;
    const std::string steps = o.input.steps.empty() ? "ft" : o.input.steps;
    for (long i = 0; i < static_cast<long>(count); ++i) {
        // The value as printed is the value the window gets: `sn --steps WINDOW=VALUE,...` on
        // the printed number gives the same ratio.
        const std::string value = cformat("%.6g", o.from + static_cast<double>(i) * o.step);
        doc->spectrum = loaded;
        doc->transform = transformAtLoad;
        doc->baseline = baselineAtLoad;
        doc->dataOps = dataOpsAtLoad;
        doc->window = windowAtLoad;
        std::string error;
        if (!runSteps(*doc, ui, o.window + "=" + value + "," + steps, error)) {
            err << "pelvaron-cli: " << error << '\n';
            return kExitFileError;
        }
        processing::ensureSignalToNoiseMarks(doc->spectrum);
        out << value << ' ' << cformat("%.6g", processing::measureSignalToNoise(*doc).ratio) << '\n';
    }
    return kExitOk;
}

struct MultipletsOptions {
    DocumentOptions input;
    analysis::MultipletSettings settings;
    std::optional<double> totalH;
    bool json = false;
};

/// A number as the JSON shows it: rounded to `digits` decimals (the dump prints the shortest text).
double rounded(double v, int digits) {
    const double f = std::pow(10.0, digits);
    return std::isfinite(v) ? std::round(v * f) / f : 0.0;
}

std::string multipletsJson(const Document& doc) {
    const Spectrum& s = doc.spectrum;
    const MultipletState& state = doc.multiplets;
    const std::string solvent = analysis::solventName(state.solvent.empty() ? s.solvent : state.solvent);
    nlohmann::ordered_json ranges = nlohmann::ordered_json::array();
    for (const MultipletRange& r : state.ranges) {
        std::vector<double> J = r.pattern.J;
        std::sort(J.begin(), J.end(), std::greater<>());
        for (double& j : J) j = rounded(j, 2);
        ranges.push_back({{"delta", rounded(r.deltaPpm, 3)},
                          {"from", rounded(r.fromPpm, 3)},
                          {"to", rounded(r.toPpm, 3)},
                          {"multiplicity", r.pattern.multiplicity},
                          {"J", J},
                          {"nH", r.nH},
                          {"integral", rounded(r.protons, 3)},
                          {"kind", rangeKindName(r.kind)}});
    }
    const nlohmann::ordered_json report = {
        {"nucleus", s.nucleus.empty() ? std::string("1H") : s.nucleus},
        {"frequency", rounded(s.acqPars.SF, 4)},
        {"solvent", solvent.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(solvent)},
        {"line", analysis::reportLine(s, state)},
        {"multiplets", ranges},
    };
    // Names read from a file may not be UTF-8: such bytes print as U+FFFD instead of failing.
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

int multipletsAction(MultipletsOptions& o, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    // An explicit total of 0 protons is a mistake, not the request for the automatic scale.
    if (o.totalH && !(*o.totalH > 0.0 && std::isfinite(*o.totalH))) {
        platform::report(ui, analysis::multipletMessage(analysis::MultipletProblem::BadTotal));
        return kExitFileError;
    }
    o.settings.totalH = o.totalH.value_or(0.0);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    auto report = analysis::analyseMultiplets(doc->spectrum, o.settings);
    if (!report) {
        platform::report(ui, analysis::multipletMessage(report.error()));
        return kExitFileError;
    }
    doc->multiplets = std::move(*report);
    if (o.json) {
        out << multipletsJson(*doc) << '\n';
    } else {
        out << analysis::reportLine(doc->spectrum, doc->multiplets) << '\n';
    }
    return kExitOk;
}

}  // namespace

void addMultipletsCommand(CommandSet& commands) {
    auto o = std::make_shared<MultipletsOptions>();
    CLI::App& command = commands.add(
        "multiplets", "print the multiplet report's line (or, with --json, every range) of a spectrum",
        [o](std::ostream& out, std::ostream& err) { return multipletsAction(*o, out, err); });
    addDocumentOptions(command, o->input);
    addRegionOption(command, "--region", o->settings.regions,
                    "a range in ppm, either order; several allowed (default: the ranges found)");
    command
        .add_option("--total-h", o->totalH,
                    "the protons of all signal ranges together (default: the "
                    "scale that puts the ranges nearest whole numbers)")
        ->type_name("N");
    command
        .add_option("--solvent", o->settings.solvent, "the solvent (default: as the acquisition recorded it)")
        ->type_name("NAME");
    command
        .add_option("--delta-digits", o->settings.format.deltaDigits, "decimals of each delta (default 2)")
        ->check(CLI::Range(0, 6))
        ->type_name("N");
    command.add_option("--j-digits", o->settings.format.jDigits, "decimals of each J (default 1)")
        ->check(CLI::Range(0, 4))
        ->type_name("N");
    command.add_flag("--json", o->json, "print one JSON object with the line and every range");
}

void addApodizeScanCommand(CommandSet& commands) {
    auto o = std::make_shared<ApodizeScanOptions>();
    CLI::App& command = commands.add(
        "apodize-scan", "print 'VALUE S/N' for each window value from --from to --to, as sn measures it",
        [o](std::ostream& out, std::ostream& err) { return apodizeScanAction(*o, out, err); });
    addDocumentOptions(command, o->input);
    command.get_option("--steps")->description(
        "processing after the window, e.g. ft,phase=12.5/-3 (default: ft)");
    command
        .add_option(
            "--window", o->window,
            "em, gm (shift 0), traf, sine or sine2 (default em): LB in Hz, or degrees for the sine bells")
        ->check(CLI::IsMember({"em", "gm", "traf", "sine", "sine2"}))
        ->type_name("W");
    command.add_option("--from", o->from, "the first value")->required()->type_name("V");
    command.add_option("--to", o->to, "the last value the scan may reach")->required()->type_name("V");
    command.add_option("--step", o->step, "the step between values; not 0, and towards --to")
        ->required()
        ->type_name("S");
}

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
