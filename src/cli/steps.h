// The processing steps of --steps: "name" or "name=a/b/..." run in order on the document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::cli {

/// Runs a comma-separated list of steps; false (after a message on `error`) at the first step
/// that is unknown, has wrong arguments or fails.
[[nodiscard]] bool runSteps(Document& doc, platform::UserInterface& ui, std::string_view list,
                            std::string& error);

/// The names of the steps this build knows, for the usage text.
[[nodiscard]] std::vector<std::string> stepNames();

}  // namespace pelvaron::cli
