// simulate and transitions: spin systems described in JSON, computed by the simulation engine;
// simulate builds the document as the Simulation data dialog's OK does and writes it.
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/json_reader.h"
#include "document/document.h"
#include "document/format.h"
#include "io/jcamp_writer.h"
#include "io/native_file.h"
#include "io/text_export.h"
#include "simulation/spin_engine.h"
#include "simulation/synthesis.h"

namespace pelvaron::cli {

namespace {

const char* const kSimulateUsage =
    "usage: pelvaron-cli simulate SYSTEM.json -o OUT [--to native|jcamp|text]\n";
const char* const kTransitionsUsage = "usage: pelvaron-cli transitions SYSTEM.json\n";

/// The content of a SYSTEM.json file, shifts and window already in Hz.
struct SpinSystemFile {
    double sf = 300.0;
    double fromHz = 0.0;
    double toHz = 3000.0;
    bool ppm = false;
    int points = 8192;
    double lineWidth = 0.3;
    double threshold = 0.001;
    struct Subsystem {
        std::vector<double> shifts;
        std::vector<std::vector<double>> couplings;
    };
    std::vector<Subsystem> subsystems;
};

bool number(const JsonValue* v, const std::string& what, double& out, std::string& error) {
    if (v == nullptr) return true;  // absent: the default stays
    if (v->kind != JsonValue::Kind::Number) {
        error = what + " must be a number, not " + jsonKindName(v->kind);
        return false;
    }
    out = v->number;
    return true;
}

bool onlyKeys(const JsonValue& object, std::initializer_list<std::string_view> keys, const std::string& where,
              std::string& error) {
    for (const std::string& name : object.keys) {
        bool known = false;
        for (std::string_view k : keys) known = known || name == k;
        if (!known) {
            error = "unknown key \"" + name + "\"" + where;
            return false;
        }
    }
    return true;
}

bool readSubsystem(const JsonValue& v, int index, SpinSystemFile::Subsystem& out, std::string& error) {
    const std::string where = "subsystem " + std::to_string(index);
    if (v.kind != JsonValue::Kind::Object) {
        error = where + " must be an object, not " + jsonKindName(v.kind);
        return false;
    }
    if (!onlyKeys(v, {"shifts", "couplings"}, " in " + where, error)) return false;
    const JsonValue* shifts = v.find("shifts");
    if (shifts == nullptr || shifts->kind != JsonValue::Kind::Array || shifts->items.empty()) {
        error = where + " needs \"shifts\", a list of one number per nucleus";
        return false;
    }
    // Checked here already: the coupling matrix below is n x n.
    if (shifts->items.size() > static_cast<std::size_t>(kMaxNuclei)) {
        error = where + ": " + simulation::kNucleiCountText;
        return false;
    }
    const int n = static_cast<int>(shifts->items.size());
    for (const JsonValue& s : shifts->items) {
        double value = 0.0;
        if (!number(&s, where + ": a shift", value, error)) return false;
        out.shifts.push_back(value);
    }
    out.couplings.assign(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n), 0.0));
    const JsonValue* couplings = v.find("couplings");
    if (couplings == nullptr) return true;
    if (couplings->kind != JsonValue::Kind::Array) {
        error = where + ": \"couplings\" must be a list of [i, j, J]";
        return false;
    }
    for (const JsonValue& c : couplings->items) {
        if (c.kind != JsonValue::Kind::Array || c.items.size() != 3 ||
            c.items[0].kind != JsonValue::Kind::Number || c.items[1].kind != JsonValue::Kind::Number ||
            c.items[2].kind != JsonValue::Kind::Number) {
            error = where + ": each coupling must be [i, j, J] with three numbers";
            return false;
        }
        const double a = c.items[0].number;
        const double b = c.items[1].number;
        if (a != std::trunc(a) || b != std::trunc(b) || a < 1 || b < 1 || a > n || b > n || a == b) {
            error = where + ": a coupling names nuclei " + cformat("%g and %g", a, b) +
                    "; nuclei are numbered 1 to " + std::to_string(n) + " and a pair needs two of them";
            return false;
        }
        // Stored both ways, as the coupling dialog does; the engine reads i < j.
        const auto i = static_cast<std::size_t>(a) - 1;
        const auto j = static_cast<std::size_t>(b) - 1;
        out.couplings[i][j] = out.couplings[j][i] = c.items[2].number;
    }
    return true;
}

bool readSpinSystem(const JsonValue& root, SpinSystemFile& out, std::string& error) {
    if (root.kind != JsonValue::Kind::Object) {
        error = "the file must hold one object, not " + std::string(jsonKindName(root.kind));
        return false;
    }
    if (!onlyKeys(root, {"sf", "from", "to", "units", "points", "lineWidth", "threshold", "subsystems"}, "",
                  error))
        return false;
    if (!number(root.find("sf"), "\"sf\"", out.sf, error) ||
        !number(root.find("from"), "\"from\"", out.fromHz, error) ||
        !number(root.find("to"), "\"to\"", out.toHz, error) ||
        !number(root.find("lineWidth"), "\"lineWidth\"", out.lineWidth, error) ||
        !number(root.find("threshold"), "\"threshold\"", out.threshold, error))
        return false;
    if (!(out.sf > 0.0)) {
        error = "\"sf\" must be greater than 0";
        return false;
    }
    if (const JsonValue* units = root.find("units")) {
        if (units->kind != JsonValue::Kind::String || (units->text != "Hz" && units->text != "ppm")) {
            error = "\"units\" must be \"Hz\" or \"ppm\"";
            return false;
        }
        out.ppm = units->text == "ppm";
    }
    double points = out.points;
    if (!number(root.find("points"), "\"points\"", points, error)) return false;
    if (points != std::trunc(points) || std::fabs(points) > 1e9) {
        error = "\"points\" must be a whole number";
        return false;
    }
    out.points = static_cast<int>(points);

    const JsonValue* subsystems = root.find("subsystems");
    if (subsystems == nullptr || subsystems->kind != JsonValue::Kind::Array || subsystems->items.empty()) {
        error = "\"subsystems\" must be a list of at least one subsystem";
        return false;
    }
    for (std::size_t s = 0; s < subsystems->items.size(); ++s) {
        SpinSystemFile::Subsystem sub;
        if (!readSubsystem(subsystems->items[s], static_cast<int>(s) + 1, sub, error)) return false;
        out.subsystems.push_back(std::move(sub));
    }
    if (out.ppm) {
        out.fromHz *= out.sf;
        out.toHz *= out.sf;
        for (auto& sub : out.subsystems)
            for (double& v : sub.shifts) v *= out.sf;
    }
    return true;
}

bool loadSpinSystem(const std::string& path, SpinSystemFile& out, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        err << "pelvaron-cli: cannot read " << path << '\n';
        return false;
    }
    JsonValue root;
    std::string error;
    if (!parseJson(text.str(), root, error) || !readSpinSystem(root, out, error)) {
        err << "pelvaron-cli: " << path << ": " << error << '\n';
        return false;
    }
    return true;
}

/// Passes messages on and remembers that one was shown: any message of the engine means the
/// result is not to be trusted, so nothing is printed or written.
class CountingUserInterface : public ConsoleUserInterface {
public:
    using ConsoleUserInterface::ConsoleUserInterface;
    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons buttons) override {
        ++count;
        return ConsoleUserInterface::message(text, caption, icon, buttons);
    }
    int count = 0;
};

/// The steps of a new simulation through the dialogs: New's defaults, one Simulation data page
/// per subsystem (New stores it and opens the next), then OK.
bool simulateDocument(const SpinSystemFile& file, Document& doc, CountingUserInterface& ui) {
    SimulationState& sim = doc.sim;
    sim.simFromHz = file.fromHz;
    sim.simToHz = file.toHz;
    sim.simSF = file.sf;
    sim.simPoints = file.points;
    sim.simLineWidth = file.lineWidth;
    sim.simThreshold = file.threshold;
    sim.simUnitsPpm = file.ppm ? 1 : 0;
    sim.simNewSubsystem = 1;
    sim.lastSubsystem = 0;
    if (!simulation::allocateSpinSubsystems(doc, ui)) return false;
    for (std::size_t s = 0; s < file.subsystems.size(); ++s) {
        sim.lastSubsystem = static_cast<int>(s);
        sim.nNucleiInput = static_cast<int>(file.subsystems[s].shifts.size());
        sim.editShifts = file.subsystems[s].shifts;
        sim.editCouplings = file.subsystems[s].couplings;
        if (!simulation::storeSubsystemParams(doc, ui)) return false;
    }
    // OK of the last page.
    doc.acqPars.offsetHz = sim.simFromHz;
    if (!simulation::recomputeSimulation(doc, ui) || ui.count != 0) return false;
    doc.acqPars.SF = sim.simSF;
    setupDocument(doc, ui);
    doc.unitSeconds = 0;
    doc.unitPoints = 0;
    doc.unitHz = file.ppm ? 0 : 1;
    doc.unitPpm = file.ppm ? 1 : 0;
    doc.xUnits = file.ppm ? kPpm : kHz;
    doc.nData = sim.simPoints;
    sim.simExists = 1;
    sim.simNewSubsystem = 1;
    return ui.count == 0;
}

/// The output types simulate knows.
bool outputTypeAvailable(const std::string& to) { return to == "native" || to == "jcamp" || to == "text"; }

/// Writes the simulated document as `to`; false when the file cannot be written.
bool writeOutput(const Document& doc, const std::string& to, const std::string& path) {
    if (to == "native") return io::writeNativeFile(doc, path);
    // A simulated spectrum is real: JCAMP-DX XYDATA and the real points list carry all of it.
    if (to == "jcamp") return io::writeJcampXYDataFile(doc, path, io::defaultJcampExportText(doc));
    if (to == "text") return io::writeRealPointsFile(doc, path, 0, doc.nData);
    return false;
}

}  // namespace

int runSimulateCommand(const CommandArgs& args, std::ostream&, std::ostream& err) {
    std::vector<std::string> positional;
    std::string output;
    std::string to = "native";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--to") {
            if (i + 1 >= args.size()) {
                err << "pelvaron-cli: " << a << " needs a value\n" << kSimulateUsage;
                return 2;
            }
            (a == "-o" ? output : to) = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            err << "pelvaron-cli: unknown option " << a << '\n' << kSimulateUsage;
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1 || output.empty()) {
        err << kSimulateUsage;
        return 2;
    }
    if (!outputTypeAvailable(to)) {
        err << "pelvaron-cli: unknown output type " << to << '\n' << kSimulateUsage;
        return 2;
    }

    SpinSystemFile file;
    if (!loadSpinSystem(positional[0], file, err)) return 1;
    CountingUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    if (!simulateDocument(file, *doc, ui)) return 1;
    if (!writeOutput(*doc, to, output)) {
        ui.message("Cannot Save File", "File Error", platform::Icon::Stop, platform::Buttons::Ok);
        return 1;
    }
    return 0;
}

int runTransitionsCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    for (const std::string& a : args) {
        if (a.size() > 1 && a[0] == '-') {
            err << "pelvaron-cli: unknown option " << a << '\n' << kTransitionsUsage;
            return 2;
        }
    }
    if (args.size() != 1) {
        err << kTransitionsUsage;
        return 2;
    }
    SpinSystemFile file;
    if (!loadSpinSystem(args[0], file, err)) return 1;
    CountingUserInterface ui(err);
    if (file.subsystems.size() > static_cast<std::size_t>(kMaxSubsystems)) {
        ui.message(simulation::kTooManySubsystemsText, "Error", platform::Icon::Stop, platform::Buttons::Ok);
        return 1;
    }
    // Everything is computed before anything is printed, so a failure prints no partial list.
    std::string listing;
    for (std::size_t s = 0; s < file.subsystems.size(); ++s) {
        const auto& sub = file.subsystems[s];
        simulation::Transitions tr;
        if (!simulation::computeTransitions(static_cast<int>(sub.shifts.size()), sub.shifts, sub.couplings,
                                            tr, ui) ||
            ui.count != 0)
            return 1;
        for (int t = 1; t <= tr.count(); ++t) {
            // No "-0.000000" for a line at zero that rounding put a hair below it.
            const double f = std::fabs(tr.freq[t]) < 5e-7 ? 0.0 : tr.freq[t];
            listing += cformat("%d %.6f %.8f\n", static_cast<int>(s) + 1, f, tr.intens[t]);
        }
    }
    out << listing;
    return 0;
}

}  // namespace pelvaron::cli
