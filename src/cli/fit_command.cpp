// fit: a spin system fitted to a measured spectrum over ppm regions; the fitted values with one
// sigma each, and optionally the fitted spin-system file.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "base/format.h"
#include "cli/commands.h"
#include "simulation/fit.h"
#include "simulation/fit_session.h"

namespace pelvaron::cli {

namespace {

using simulation::FitParameterId;
using simulation::FitParameters;
using simulation::SpinSystemFile;
using Kind = FitParameterId::Kind;

struct FitOptions {
    std::string system;
    DocumentOptions input;
    std::vector<analysis::PpmRegion> regions;
    std::string fix;
    std::string output;
    bool json = false;
};

int usage(const std::string& message, std::ostream& err) {
    err << "pelvaron-cli: " << message << "\nRun 'pelvaron-cli fit --help' for the arguments and options.\n";
    return kExitUsage;
}

/// The parameters --fix names: shift, shift:N, J, J:A-B, width, width:K, scale, offset; nuclei
/// are numbered from 1 through all subsystems in file order, subsystems from 1. False with
/// `error` set on a name it does not know.
bool parseFixed(const std::string& list, const FitParameters& p, int regions,
                std::vector<FitParameterId>& out, std::string& error) {
    // Global nucleus number -> (subsystem, index).
    std::vector<std::pair<int, int>> nuclei;
    for (int s = 0; s < static_cast<int>(p.subsystems.size()); ++s)
        for (int i = 0; i < static_cast<int>(p.subsystems[static_cast<std::size_t>(s)].shifts.size()); ++i)
            nuclei.emplace_back(s, i);
    const auto all = simulation::fitParameterIds(p, regions);
    auto number = [](const std::string& text, int limit) {
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        return (text.empty() || *end != '\0' || v < 1 || v > limit) ? -1 : static_cast<int>(v) - 1;
    };
    if (list.empty()) return true;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        start = comma + 1;
        const std::size_t colon = item.find(':');
        const std::string name = item.substr(0, colon),
                          arg = colon == std::string::npos ? "" : item.substr(colon + 1);
        const bool whole = colon == std::string::npos;
        const std::size_t before = out.size();
        if (name == "shift" || name == "width" || name == "scale" || name == "offset" || name == "J") {
            const Kind kind = name == "shift"   ? Kind::Shift
                              : name == "J"     ? Kind::Coupling
                              : name == "width" ? Kind::Width
                              : name == "scale" ? Kind::Scale
                                                : Kind::Offset;
            if (whole) {
                for (const auto& id : all)
                    if (id.kind == kind) out.push_back(id);
                continue;
            }
            if (kind == Kind::Shift) {
                const int n = number(arg, static_cast<int>(nuclei.size()));
                if (n >= 0)
                    out.push_back({Kind::Shift, nuclei[static_cast<std::size_t>(n)].first,
                                   nuclei[static_cast<std::size_t>(n)].second, 0});
            } else if (kind == Kind::Coupling) {
                const std::size_t dash = arg.find('-');
                const int a = number(arg.substr(0, dash), static_cast<int>(nuclei.size()));
                const int b = dash == std::string::npos
                                  ? -1
                                  : number(arg.substr(dash + 1), static_cast<int>(nuclei.size()));
                if (a >= 0 && b >= 0 && a != b &&
                    nuclei[static_cast<std::size_t>(a)].first == nuclei[static_cast<std::size_t>(b)].first) {
                    const auto [s, i] = nuclei[static_cast<std::size_t>(std::min(a, b))];
                    out.push_back(
                        {Kind::Coupling, s, i, nuclei[static_cast<std::size_t>(std::max(a, b))].second});
                }
            } else {
                const int k =
                    number(arg, kind == Kind::Width ? static_cast<int>(p.subsystems.size()) : regions);
                if (k >= 0) out.push_back({kind, k, 0, 0});
            }
        }
        if (out.size() == before) {
            error = "--fix " + item +
                    ": expected shift[:N], J[:A-B] (two nuclei of one subsystem), width[:K], scale[:R] or "
                    "offset[:R]";
            return false;
        }
    }
    return true;
}

int fitAction(FitOptions& o, std::ostream& out, std::ostream& err) {
    SpinSystemFile file;
    if (!loadSpinSystem(o.system, file, err)) return kExitFileError;
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!loadDocument(o.input, *doc, ui, err)) return kExitFileError;
    const Spectrum& s = doc->spectrum;
    if (!simulation::holdsSpectrum(s) || !(s.acqPars.SF > 0.0) || !(s.acqPars.SW > 0.0) || s.nData < 4) {
        err << "pelvaron-cli: " << o.input.file
            << " is not a spectrum; transform it first (--steps ft,...)\n";
        return kExitFileError;
    }
    // Shifts given in ppm are placed with the spectrum's frequency, so that they land on its axis;
    // shifts in Hz are Hz from 0 ppm on that axis.
    const double toHz = file.ppm ? s.acqPars.SF : 1.0;

    FitParameters start;
    for (const auto& sub : file.subsystems) {
        simulation::FitSubsystem f{sub.shifts, sub.couplings, file.lineWidth};
        for (double& v : f.shifts) v *= toHz;
        start.subsystems.push_back(std::move(f));
    }
    std::vector<simulation::FitRegion> regions;
    const double topPpm = (s.acqPars.SW + s.offsetHz) / s.acqPars.SF, bottomPpm = s.offsetHz / s.acqPars.SF;
    for (const auto& r : o.regions) {
        regions.push_back(
            simulation::measuredRegion(s, s.specData.data(), r.from * s.acqPars.SF, r.to * s.acqPars.SF)
                .points);
        const simulation::RegionFault fault = simulation::regionFault(regions.back());
        if (fault == simulation::RegionFault::TooFewPoints) {
            err << "pelvaron-cli: "
                << cformat("the region %g/%g ppm lies outside the spectrum (%g to %g ppm)\n", r.from, r.to,
                           topPpm, bottomPpm);
            return kExitFileError;
        }
        if (fault == simulation::RegionFault::NoLines) {
            err << "pelvaron-cli: " << cformat("the region %g/%g ppm holds no lines\n", r.from, r.to);
            return kExitFileError;
        }
    }
    std::vector<FitParameterId> fixed;
    std::string error;
    if (!parseFixed(o.fix, start, static_cast<int>(regions.size()), fixed, error)) return usage(error, err);

    const simulation::FitResult fit = simulation::fitSpinSystem(start, regions, fixed);
    if (fit.status != simulation::FitResult::Status::Converged) {
        err << "pelvaron-cli: " << fit.message
            << (fit.status == simulation::FitResult::Status::NotConverged ? "; the start values are kept"
                                                                          : "")
            << '\n';
        return kExitFileError;
    }

    SpinSystemFile fitted = file;
    double widthSum = 0.0;
    for (std::size_t k = 0; k < fitted.subsystems.size(); ++k) {
        fitted.subsystems[k].shifts = fit.fitted.subsystems[k].shifts;
        for (double& v : fitted.subsystems[k].shifts) v /= toHz;
        fitted.subsystems[k].couplings = fit.fitted.subsystems[k].couplings;
        widthSum += fit.fitted.subsystems[k].lineWidth;
    }
    // The file holds one width: the mean of the subsystems'.
    if (!fitted.subsystems.empty())
        fitted.lineWidth = widthSum / static_cast<double>(fitted.subsystems.size());
    const std::string text = simulation::writeSpinSystemJson(fitted);
    if (!o.output.empty()) {
        std::ofstream f(o.output, std::ios::binary);
        if (!(f << text) || !f.flush()) {
            err << "pelvaron-cli: cannot write " << o.output << '\n';
            return kExitFileError;
        }
    }

    // A sigma the covariance could not give (parameters that the data cannot tell apart) is null.
    auto sigmaJson = [](double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr); };
    if (o.json) {
        nlohmann::json shifts = nlohmann::json::array(), couplings = nlohmann::json::array(),
                       widths = nlohmann::json::array(), fittedWidths = nlohmann::json::array();
        for (std::size_t k = 0; k < fit.sigma.subsystems.size(); ++k) {
            const auto& sub = fit.sigma.subsystems[k];
            nlohmann::json sh = nlohmann::json::array(), cp = nlohmann::json::array();
            for (const double v : sub.shifts) sh.push_back(sigmaJson(v / toHz));
            for (std::size_t i = 0; i < sub.shifts.size(); ++i)
                for (std::size_t j = i + 1; j < sub.shifts.size(); ++j)
                    if (fitted.subsystems[k].couplings[i][j] != 0.0)
                        cp.push_back({i + 1, j + 1, sigmaJson(sub.couplings[i][j])});
            shifts.push_back(sh);
            couplings.push_back(cp);
            widths.push_back(sigmaJson(sub.lineWidth));
            fittedWidths.push_back(fit.fitted.subsystems[k].lineWidth);
        }
        nlohmann::json j;
        j["system"] = nlohmann::json::parse(text);
        j["sigma"] = {{"shifts", shifts}, {"couplings", couplings}, {"lineWidth", widths}};
        j["lineWidth"] = fitted.lineWidth;
        j["lineWidths"] = fittedWidths;
        j["relativeRms"] = fit.relativeRms;
        j["iterations"] = fit.iterations;
        out << j.dump(2) << '\n';
        return kExitOk;
    }
    auto row = [&](const std::string& name, double value, double sigma, const char* unit) {
        out << cformat("%-10s %14.6f +- %-12s %s\n", name.c_str(), value,
                       std::isfinite(sigma) ? cformat("%.2g", sigma).c_str() : "?", unit);
    };
    const char* shiftUnit = file.ppm ? "ppm" : "Hz";
    int nucleus = 0;
    for (std::size_t k = 0; k < fitted.subsystems.size(); ++k) {
        const int first = nucleus + 1;
        const auto& sub = fitted.subsystems[k];
        for (std::size_t i = 0; i < sub.shifts.size(); ++i)
            row(cformat("shift %d", ++nucleus), sub.shifts[i], fit.sigma.subsystems[k].shifts[i] / toHz,
                shiftUnit);
        for (std::size_t i = 0; i < sub.shifts.size(); ++i)
            for (std::size_t j = i + 1; j < sub.shifts.size(); ++j)
                if (sub.couplings[i][j] != 0.0)
                    row(cformat("J %d-%d", first + static_cast<int>(i), first + static_cast<int>(j)),
                        sub.couplings[i][j], fit.sigma.subsystems[k].couplings[i][j], "Hz");
        row(cformat("width %d", static_cast<int>(k) + 1), fit.fitted.subsystems[k].lineWidth,
            fit.sigma.subsystems[k].lineWidth, "Hz");
    }
    out << cformat("relative rms %.6f\niterations %d\n", fit.relativeRms, fit.iterations);
    return kExitOk;
}

}  // namespace

void addFitCommand(CommandSet& commands) {
    auto o = std::make_shared<FitOptions>();
    CLI::App& command =
        commands.add("fit", "fit a spin system's shifts, couplings and widths to a spectrum",
                     [o](std::ostream& out, std::ostream& err) { return fitAction(*o, out, err); });
    command.add_option("SYSTEM.json", o->system, "the spin system to start from")->required()->type_name("");
    addDocumentOptions(command, o->input);
    addRegionOption(command, "--region", o->regions, "a range in ppm to fit, either order; several allowed")
        ->required();
    command.add_option("--fix", o->fix, "parameters held, e.g. shift:3,J:1-2,width (nuclei counted from 1)")
        ->type_name("LIST");
    command.add_option("-o", o->output, "write the fitted spin system here")->type_name("FITTED.json");
    command.add_flag("--json", o->json,
                     "print one JSON object: the fitted system, the sigmas, rms, iterations");
}

}  // namespace pelvaron::cli
