// A UserInterface for tests: records every message, title, status text and menu change, and
// answers questions and file dialogs from a script the test sets up.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace pelvaron::testing {

struct RecordedMessage {
    std::string text;
    std::string caption;
    platform::Icon icon;
    platform::Buttons buttons;
};

class RecordingUserInterface : public platform::UserInterface {
public:
    /// Answers given to questions in order; when they run out, Ok/Yes... the first button.
    std::deque<platform::Answer> answers;
    /// Paths returned by file dialogs in order; an empty optional is a cancelled dialog.
    std::deque<std::optional<std::string>> files;

    std::vector<RecordedMessage> messages;
    std::vector<platform::FileRequest> fileRequests;
    std::vector<std::string> titles;
    std::vector<std::string> statusTexts[2];
    int repaints = 0;

    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons buttons) override {
        messages.push_back({std::string(text), std::string(caption), icon, buttons});
        if (answers.empty()) {
            const bool yes = buttons == platform::Buttons::YesNo || buttons == platform::Buttons::YesNoCancel;
            return yes ? platform::Answer::Yes : platform::Answer::Ok;
        }
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> chooseFile(const platform::FileRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    void setStatusText(int part, std::string_view text) override {
        statusTexts[part == 0 ? 0 : 1].emplace_back(text);
    }
    void setWaitCursor(bool) override {}
    void setWindowTitle(std::string_view title) override { titles.emplace_back(title); }
    void enableDocumentMenus(bool) override {}
    void requestRepaint() override { ++repaints; }
    void destroyExpansionWindows() override {}
    platform::TextExtent measureText(std::string_view text) override {
        return {static_cast<int>(text.size()) * 8, 16};
    }

    /// The texts of all messages, for compact assertions.
    [[nodiscard]] std::vector<std::string> messageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }
};

/// The texts of messages an operation gave, for compact assertions.
[[nodiscard]] inline std::vector<std::string> messageTexts(const std::vector<Message>& said) {
    std::vector<std::string> out;
    for (const Message& m : said) out.push_back(m.text);
    return out;
}

}  // namespace pelvaron::testing
