// A user interface that shows nothing: every question answered Ok (or Yes), every file dialog
// cancelled, the status bar, cursor, title and menus ignored, text measured as 8 x 16
// pixels a character. Interfaces that keep or print only some of it derive from it.
#pragma once

#include "platform/user_interface.h"

namespace pelvaron::platform {

class NullUserInterface : public UserInterface {
public:
    Answer message(std::string_view, std::string_view, Icon, Buttons buttons) override {
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
    void setStatusText(int, std::string_view) override {}
    void setWaitCursor(bool) override {}
    void setWindowTitle(std::string_view) override {}
    void enableDocumentMenus(bool) override {}
    void destroyExpansionWindows() override {}
    TextExtent measureText(std::string_view text) override { return {static_cast<int>(text.size()) * 8, 16}; }
};

}  // namespace pelvaron::platform
