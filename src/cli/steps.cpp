// Parsing and running --steps lists over the step table.
#include "cli/steps.h"

#include <cerrno>
#include <cstdlib>

namespace pelvaron::cli {

namespace {

const StepTable& stepTable() {
    static const StepTable table = [] {
        StepTable t;
        addProcessingSteps(t);
        return t;
    }();
    return table;
}

StepTexts splitArgs(std::string_view text) {
    StepTexts parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find('/', start);
        parts.emplace_back(text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos) return parts;
        start = slash + 1;
    }
}

bool parseArgs(const StepTexts& texts, StepArgs& out) {
    for (const std::string& part : texts) {
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(part.c_str(), &end);
        if (part.empty() || end != part.c_str() + part.size() || errno == ERANGE) return false;
        out.push_back(v);
    }
    return true;
}

}  // namespace

bool runSteps(Document& doc, platform::UserInterface& ui, std::string_view list, std::string& error) {
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t comma = list.find(',', start);
        std::string_view item = list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        start = comma == std::string_view::npos ? list.size() : comma + 1;
        if (item.empty()) continue;
        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        const auto it = stepTable().find(name);
        if (it == stepTable().end()) {
            error = "Unknown step \"" + std::string(name) + "\"";
            return false;
        }
        const StepTexts texts = eq == std::string_view::npos ? StepTexts{} : splitArgs(item.substr(eq + 1));
        const Step& step = it->second;
        StepArgs args;
        if (!step.runTexts && !parseArgs(texts, args)) {
            error = "Step \"" + std::string(item) + "\": the arguments must be numbers separated by '/'";
            return false;
        }
        if (static_cast<int>(texts.size()) < step.minArgs || static_cast<int>(texts.size()) > step.maxArgs) {
            error = "Step \"" + std::string(item) + "\": wrong number of arguments";
            return false;
        }
        if (!(step.runTexts ? step.runTexts(doc, ui, texts, error) : step.run(doc, ui, args, error))) {
            if (error.empty()) error = "Step \"" + std::string(item) + "\" failed";
            return false;
        }
    }
    return true;
}

std::vector<std::string> stepNames() {
    std::vector<std::string> names;
    for (const auto& [name, step] : stepTable()) names.push_back(name);
    return names;
}

}  // namespace pelvaron::cli
