// Console messages for the command-line tool.
#include "cli/console_ui.h"

namespace pelvaron::cli {

namespace {

/// Message texts carry "\n " line breaks meant for a box; on a console one line reads better.
std::string oneLine(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
            while (i + 1 < text.size() && text[i + 1] == ' ') ++i;
        } else {
            out += text[i];
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

platform::Answer ConsoleUserInterface::message(std::string_view text, std::string_view caption,
                                               platform::Icon, platform::Buttons buttons) {
    err_ << oneLine(caption) << ": " << oneLine(text) << '\n';
    switch (buttons) {
        case platform::Buttons::Ok: return platform::Answer::Ok;
        case platform::Buttons::YesNo: return platform::Answer::No;
        default: return platform::Answer::Cancel;
    }
}

std::optional<std::string> ConsoleUserInterface::chooseFile(const platform::FileRequest&) {
    return std::nullopt;
}

platform::TextExtent ConsoleUserInterface::measureText(std::string_view text) {
    // A nominal 7 x 16 pixel cell per character stands in for a font.
    return {static_cast<int>(text.size()) * 7, 16};
}

}  // namespace pelvaron::cli
