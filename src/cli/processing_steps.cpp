// Steps that run the processing commands: the same core routines as the window's menus.
#include "cli/steps.h"
#include "processing/data_ops.h"

namespace pelvaron::cli {

void addProcessingSteps(StepTable& table) {
    table["invert"] = {0, 0, [](Document& doc, platform::UserInterface&, const StepArgs&, std::string&) {
                           processing::invertData(doc);
                           return true;
                       }};
    table["baseline"] = {0, 0, [](Document& doc, platform::UserInterface&, const StepArgs&, std::string&) {
                             processing::removeLinearDrift(doc);
                             return true;
                         }};
}

}  // namespace pelvaron::cli
