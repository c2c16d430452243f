// The command-line tool as a function, so that tests run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pelvaron::cli {

/// Runs `pelvaron-cli` with `args` (without the program name); returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace pelvaron::cli
