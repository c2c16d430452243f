// The command-line tool's UserInterface: messages go to standard error in the program's own
// words; questions are answered with Cancel (or No), since nobody is there to answer them.
#pragma once

#include <ostream>
#include <string>

#include "platform/null_ui.h"

namespace pelvaron::cli {

/// Silent like the null interface, but for its messages, file requests and text measure.
class ConsoleUserInterface : public platform::NullUserInterface {
public:
    explicit ConsoleUserInterface(std::ostream& err) : err_(err) {}
    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons buttons) override;
    std::optional<std::string> chooseFile(const platform::FileRequest& request) override;
    platform::TextExtent measureText(std::string_view text) override;

private:
    std::ostream& err_;
};

}  // namespace pelvaron::cli
