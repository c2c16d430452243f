// simulate and transitions: spin systems described in JSON.
#include "cli/commands.h"

namespace pelvaron::cli {

int runSimulateCommand(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "pelvaron-cli: simulate is not available in this build\n";
    return 2;
}

int runTransitionsCommand(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "pelvaron-cli: transitions is not available in this build\n";
    return 2;
}

}  // namespace pelvaron::cli
