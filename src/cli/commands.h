// The commands of pelvaron-cli. Each is one function that declares its subcommand, arguments and
// options and the action that runs when the command line names it; cli.cpp lists them.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/integrals.h"
#include "cli/console_ui.h"
#include "document/document.h"
#include "io/load.h"
#include "simulation/spin_system_file.h"

namespace pelvaron::cli {

/// The exit status: success, a file or data error, a usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

/// What a command does once its command line is parsed; returns the exit status.
using Action = std::function<int(std::ostream& out, std::ostream& err)>;

/// The subcommands of the tool, each with its action.
class CommandSet {
public:
    explicit CommandSet(CLI::App& app) : app_(app) {}
    /// A new subcommand with its one-line description; `action` runs when it is chosen.
    CLI::App& add(const std::string& name, const std::string& description, Action action);
    /// The action of the subcommand the parsed command line names, or null.
    [[nodiscard]] const Action* chosen() const;
    [[nodiscard]] bool knows(const std::string& name) const;

private:
    CLI::App& app_;
    std::vector<std::pair<CLI::App*, Action>> commands_;
};

/// The input of a command that reads a data set: FILE, --format and --steps.
struct DocumentOptions {
    std::string file;
    std::optional<FileFormat> format;  ///< detected from the file when not given
    std::string steps;
};

/// Declares FILE, --format F and --steps LIST on `command`, filling `o`.
void addDocumentOptions(CLI::App& command, DocumentOptions& o);

/// Loads o.file and runs o.steps; false after the program's message on standard error.
[[nodiscard]] bool loadDocument(DocumentOptions& o, Document& doc, ConsoleUserInterface& ui,
                                std::ostream& err);

/// Declares --to TYPE, one of `types` (into keeps its default when not given); another type is
/// a usage error naming it.
void addOutputType(CLI::App& command, std::string& into, const std::vector<std::string>& types,
                   const std::string& description);

/// Declares the option `name` FROM/TO (ppm, either order, several allowed), appending to `regions`.
CLI::Option* addRegionOption(CLI::App& command, const std::string& name,
                             std::vector<analysis::PpmRegion>& regions, const std::string& help);
/// Picks each region (the whole spectrum when there is none) as the peak-picking tool would;
/// false when a pick was refused (its message is out through `ui`).
bool pickRegions(Document& doc, platform::UserInterface& ui, const std::vector<analysis::PpmRegion>& regions,
                 double threshold);

/// Reads and parses a spin-system file; false after the message on `err`.
[[nodiscard]] bool loadSpinSystem(const std::string& path, simulation::SpinSystemFile& out,
                                  std::ostream& err);

void addInfoCommand(CommandSet& commands);
void addDumpCommand(CommandSet& commands);
void addConvertCommand(CommandSet& commands);
void addRenderCommand(CommandSet& commands);
void addSimulateCommand(CommandSet& commands);
void addTransitionsCommand(CommandSet& commands);
void addPeaksCommand(CommandSet& commands);
void addIntegrateCommand(CommandSet& commands);
void addSignalToNoiseCommand(CommandSet& commands);
void addApodizeScanCommand(CommandSet& commands);
void addMultipletsCommand(CommandSet& commands);
void addFitCommand(CommandSet& commands);

}  // namespace pelvaron::cli
