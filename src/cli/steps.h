// The processing steps of --steps: "name" or "name=a/b/..." run in order on the document.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::cli {

using StepArgs = std::vector<double>;
/// The arguments as typed, for steps whose arguments carry a unit or a word.
using StepTexts = std::vector<std::string>;

/// One step: how many numeric arguments it takes, and what it does. `run` returns false after
/// putting a message into its last argument (or leaving it empty for a generic one).
struct Step {
    int minArgs = 0;
    int maxArgs = 0;
    std::function<bool(Document&, platform::UserInterface&, const StepArgs&, std::string&)> run;
    /// Set instead of `run` by a step that reads its arguments itself.
    std::function<bool(Document&, platform::UserInterface&, const StepTexts&, std::string&)> runTexts{};
};

using StepTable = std::map<std::string, Step, std::less<>>;

/// The steps of the processing commands (processing_steps.cpp).
void addProcessingSteps(StepTable& table);

/// Runs a comma-separated list of steps; false (after a message on `error`) at the first step
/// that is unknown, has wrong arguments or fails.
[[nodiscard]] bool runSteps(Document& doc, platform::UserInterface& ui, std::string_view list,
                            std::string& error);

/// The names of the steps this build knows, for the usage text.
[[nodiscard]] std::vector<std::string> stepNames();

}  // namespace pelvaron::cli
