// A user interface that passes everything on to another and counts the messages shown: a
// computation whose every message means its result is not to be trusted checks the count.
#pragma once

#include "platform/user_interface.h"

namespace pelvaron::platform {

class CountingUserInterface : public UserInterface {
public:
    explicit CountingUserInterface(UserInterface& ui) : ui_(ui) {}

    Answer message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) override {
        ++messages;
        return ui_.message(text, caption, icon, buttons);
    }
    std::optional<std::string> chooseFile(const FileRequest& request) override {
        return ui_.chooseFile(request);
    }
    void setStatusText(int part, std::string_view text) override { ui_.setStatusText(part, text); }
    void setWaitCursor(bool on) override { ui_.setWaitCursor(on); }
    void setWindowTitle(std::string_view title) override { ui_.setWindowTitle(title); }
    void enableDocumentMenus(bool enable) override { ui_.enableDocumentMenus(enable); }
    void requestRepaint() override { ui_.requestRepaint(); }
    void destroyExpansionWindows() override { ui_.destroyExpansionWindows(); }
    TextExtent measureText(std::string_view text) override { return ui_.measureText(text); }

    int messages = 0;

private:
    UserInterface& ui_;
};

}  // namespace pelvaron::platform
