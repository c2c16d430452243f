// Commands of pelvaron-cli beyond info, dump and convert. Each takes the arguments after its
// own name and returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pelvaron::cli {

using CommandArgs = std::vector<std::string>;

/// simulate SYSTEM.json -o OUT [--to native|jcamp|text]
int runSimulateCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
/// transitions SYSTEM.json
int runTransitionsCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
/// render FILE -o OUT.png [--width W --height H] [--format F] [--steps LIST]
int runRenderCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);

}  // namespace pelvaron::cli
