// The command-line tool's UserInterface: messages go to standard error in the program's own
// words; questions are answered with Cancel (or No), since nobody is there to answer them.
#pragma once

#include <ostream>
#include <string>

#include "platform/user_interface.h"

namespace pelvaron::cli {

class ConsoleUserInterface : public platform::UserInterface {
public:
    explicit ConsoleUserInterface(std::ostream& err) : err_(err) {}
    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons buttons) override;
    std::optional<std::string> chooseFile(const platform::FileRequest& request) override;
    void setStatusText(int, std::string_view) override {}
    void setWaitCursor(bool) override {}
    void setWindowTitle(std::string_view) override {}
    void enableDocumentMenus(bool) override {}
    void requestRepaint() override {}
    void destroyExpansionWindows() override {}
    platform::TextExtent measureText(std::string_view text) override;

private:
    std::ostream& err_;
};

}  // namespace pelvaron::cli
