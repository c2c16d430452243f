// simulate and transitions: spin systems described in JSON, computed by the simulation engine;
// simulate builds the document as the Simulation data dialog's OK does and writes it.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "base/format.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "document/document.h"
#include "io/jcamp_writer.h"
#include "io/native_file.h"
#include "io/text_export.h"
#include "simulation/spin_engine.h"
#include "simulation/spin_system_file.h"
#include "simulation/synthesis.h"

namespace pelvaron::cli {

namespace {

using simulation::parseSpinSystemJson;
using simulation::SpinSystemFile;

/// Writes the simulated document as `to`; false when the file cannot be written.
bool writeOutput(const Document& doc, const std::string& to, const std::string& path) {
    if (to == "native") return io::writeNativeFile(doc, path);
    // A simulated spectrum is real: JCAMP-DX XYDATA and the real points list carry all of it.
    if (to == "jcamp") return io::writeJcampXYDataFile(doc, path, io::defaultJcampExportText(doc));
    if (to == "text") return io::writeRealPointsFile(doc, path, 0, doc.spectrum.nData);
    return false;
}

struct SimulateOptions {
    std::string system;
    std::string output;
    std::string to = "native";
};

int simulateAction(const SimulateOptions& o, std::ostream& err) {
    SpinSystemFile file;
    if (!loadSpinSystem(o.system, file, err)) return kExitFileError;
    ConsoleUserInterface ui(err);
    auto doc = std::make_unique<Document>();
    simulation::Messages said;
    const bool simulated = simulation::simulateSpinSystem(*doc, said, file);
    platform::reportAll(ui, said);
    if (!simulated) return kExitFileError;
    if (!writeOutput(*doc, o.to, o.output)) {
        ui.message("Cannot Save File", "File Error", platform::Icon::Stop, platform::Buttons::Ok);
        return kExitFileError;
    }
    return kExitOk;
}

int transitionsAction(const std::string& system, std::ostream& out, std::ostream& err) {
    SpinSystemFile file;
    if (!loadSpinSystem(system, file, err)) return kExitFileError;
    ConsoleUserInterface console(err);
    // Any message of the engine means the result is not to be trusted.
    simulation::Messages said;
    // Everything is computed before anything is printed, so a failure prints no partial list.
    std::string listing;
    for (std::size_t s = 0; s < file.subsystems.size(); ++s) {
        const auto& sub = file.subsystems[s];
        std::vector<double> shifts = sub.shifts;
        for (double& v : shifts) v *= file.hzPerUnit();
        SpinSubsystem system;
        simulation::Transitions tr;
        if (!simulation::makeSubsystem(static_cast<int>(shifts.size()), shifts, sub.couplings, system,
                                       said) ||
            !simulation::computeTransitions(system, tr, said) || !said.empty()) {
            platform::reportAll(console, said);
            return kExitFileError;
        }
        for (int t = 1; t <= tr.count(); ++t) {
            // No "-0.000000" for a line at zero that rounding put a hair below it.
            const double f = std::fabs(tr.freq[t]) < 5e-7 ? 0.0 : tr.freq[t];
            listing += cformat("%d %.6f %.8f\n", static_cast<int>(s) + 1, f, tr.intens[t]);
        }
    }
    out << listing;
    return kExitOk;
}

}  // namespace

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

void addSimulateCommand(CommandSet& commands) {
    auto o = std::make_shared<SimulateOptions>();
    CLI::App& command =
        commands.add("simulate", "compute a spin system's spectrum and write it",
                     [o](std::ostream&, std::ostream& err) { return simulateAction(*o, err); });
    command.add_option("SYSTEM.json", o->system, "the spin system")->required()->type_name("");
    command.add_option("-o", o->output, "the file to write")->required()->type_name("OUT");
    addOutputType(command, o->to, {"native", "jcamp", "text"},
                  "native (a Pelvaron file, the default), jcamp (XYDATA) or text (the data points)");
}

void addTransitionsCommand(CommandSet& commands) {
    auto system = std::make_shared<std::string>();
    CLI::App& command = commands.add(
        "transitions", "print every transition of a spin system: subsystem, Hz, intensity",
        [system](std::ostream& out, std::ostream& err) { return transitionsAction(*system, out, err); });
    command.add_option("SYSTEM.json", *system, "the spin system")->required()->type_name("");
}

}  // namespace pelvaron::cli
