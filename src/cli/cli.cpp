// pelvaron-cli over CLI11: the list of commands, --help and --version, and the usage errors.
#include "cli/cli.h"

#include <algorithm>

#include "base/version.h"
#include "cli/commands.h"

namespace pelvaron::cli {

namespace {

/// Every command, in the order --help lists them. A new command is its add function and one line
/// here.
constexpr void (*kCommands[])(CommandSet&) = {
    addInfoCommand,      addDumpCommand,          addConvertCommand,     addPeaksCommand,
    addIntegrateCommand, addSignalToNoiseCommand, addApodizeScanCommand, addMultipletsCommand,
#ifdef PELVARON_HAVE_RENDER
    addRenderCommand,
#endif
    addSimulateCommand,  addTransitionsCommand,   addFitCommand,
};

int usageError(const std::string& message, const std::string& command, std::ostream& err) {
    err << "pelvaron-cli: " << message << "\nRun 'pelvaron-cli" << (command.empty() ? "" : " " + command)
        << " --help' for the arguments and options.\n";
    return kExitUsage;
}

}  // namespace

CLI::App& CommandSet::add(const std::string& name, const std::string& description, Action action) {
    CLI::App* command = app_.add_subcommand(name, description);
    commands_.emplace_back(command, std::move(action));
    return *command;
}

const Action* CommandSet::chosen() const {
    for (const auto& [command, action] : commands_)
        if (command->parsed()) return &action;
    return nullptr;
}

bool CommandSet::knows(const std::string& name) const {
    return std::any_of(commands_.begin(), commands_.end(),
                       [&](const auto& c) { return c.first->get_name() == name; });
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app("Pelvaron's data sets and spin simulations for scripts.", "pelvaron-cli");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string("pelvaron-cli ") + kVersion,
                         "print the program's name and version");
    app.require_subcommand(1);
    app.footer("Exit status: 0 success, 1 a file or data error, 2 a usage error.");
    // Given twice, the last one counts, as it always has.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.get_formatter()->column_width(26);
    CommandSet commands(app);
    for (const auto add : kCommands) add(commands);

    if (args.empty()) return usageError("no command given", "", err);
    std::vector<std::string> line = args;
    // "help" and "help COMMAND" read as --help, as the tool has always understood them.
    if (line[0] == "help") {
        line.erase(line.begin());
        line.insert(line.begin() + (line.empty() ? 0 : 1), "--help");
    }
    // Named here: CLI11 would only say that a command is missing.
    const bool option = line[0].starts_with('-');
    if (option ? app.get_option_no_throw(line[0]) == nullptr : !commands.knows(line[0]))
        return usageError((option ? "unknown option " : "unknown command ") + line[0], "", err);

    std::reverse(line.begin(), line.end());  // CLI11 takes the arguments last first
    try {
        app.parse(line);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        const auto parsed = app.get_subcommands();
        return usageError(e.what(), parsed.empty() ? "" : parsed.front()->get_name(), err);
    }
    return (*commands.chosen())(out, err);
}

}  // namespace pelvaron::cli
