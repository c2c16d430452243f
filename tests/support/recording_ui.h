// A UserInterface for tests: records every message, title, status text and menu change, and
// answers questions and file dialogs from a script the test sets up; and an observer that keeps
// the document's change notices.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::testing {

/// The texts of messages, recorded or handed back by an operation, for compact assertions.
template <class M>
[[nodiscard]] std::vector<std::string> messageTexts(const std::vector<M>& said) {
    std::vector<std::string> out;
    for (const M& m : said) out.push_back(m.text);
    return out;
}

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
    void destroyExpansionWindows() override {}
    platform::TextExtent measureText(std::string_view text) override {
        return {static_cast<int>(text.size()) * 8, 16};
    }

    /// The texts of all messages.
    [[nodiscard]] std::vector<std::string> messageTexts() const { return testing::messageTexts(messages); }
};

/// Listens to a document and keeps every change notice it sends, in order.
struct RecordingObserver : DocumentObserver {
    explicit RecordingObserver(Document& d) : doc(d) { doc.observers.push_back(this); }
    ~RecordingObserver() override { std::erase(doc.observers, this); }
    void documentChanged(const Document&, ChangeSet changes) override { notices.push_back(changes); }

    /// Every kind noticed since the last take(), or-ed together; forgets them.
    ChangeSet take() {
        const ChangeSet all = std::accumulate(notices.begin(), notices.end(), 0u, std::bit_or<>());
        notices.clear();
        return all;
    }

    Document& doc;
    std::vector<ChangeSet> notices;
};

}  // namespace pelvaron::testing
