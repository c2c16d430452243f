// simulate and transitions: spin systems described in JSON, computed by the simulation engine;
// simulate builds the document as the Simulation data dialog's OK does and writes it.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/spin_system_json.h"
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

bool loadSpinSystem(const std::string& path, SpinSystemFile& out, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        err << "pelvaron-cli: cannot read " << path << '\n';
        return false;
    }
    // Read whole, an empty file included: that one is a syntax error, not an unreadable file.
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    if (in.bad() || !parseSpinSystemJson(text, out, error)) {
        err << "pelvaron-cli: " << path << ": " << (in.bad() ? "cannot be read" : error) << '\n';
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
    const double hz = file.hzPerUnit();
    sim.simFromHz = file.from * hz;
    sim.simToHz = file.to * hz;
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
        for (double& v : sim.editShifts) v *= hz;
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
    // Everything is computed before anything is printed, so a failure prints no partial list.
    std::string listing;
    for (std::size_t s = 0; s < file.subsystems.size(); ++s) {
        const auto& sub = file.subsystems[s];
        std::vector<double> shifts = sub.shifts;
        for (double& v : shifts) v *= file.hzPerUnit();
        simulation::Transitions tr;
        if (!simulation::computeTransitions(static_cast<int>(shifts.size()), shifts, sub.couplings, tr, ui) ||
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
