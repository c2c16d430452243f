// The one way the core speaks to the person: messages, questions, file choices, the status bar,
// the wait cursor, the window title and menus. The desktop program implements
// it with Qt, the command-line tool with the console, tests with a recorder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace pelvaron::platform {

using Icon = MessageIcon;
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

/// What a file dialog is asked for. `defaultExtension` is "*" for opening, "PLV" or "txt" for
/// saving; the filter is always all files.
struct FileRequest {
    bool save = false;
    std::string defaultExtension = "*";
};

/// Size of a text in the window's default font, pixels.
struct TextExtent {
    int width = 0;
    int height = 0;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    /// A modal message box with the exact text and caption; returns the button pressed.
    virtual Answer message(std::string_view text, std::string_view caption, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;

    /// Shows the open or save dialog; the chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> chooseFile(const FileRequest& request) = 0;

    /// Status bar: part 0 holds prompts, part 1 the cursor read-out.
    virtual void setStatusText(int part, std::string_view text) = 0;
    virtual void setWaitCursor(bool on) = 0;
    virtual void setWindowTitle(std::string_view title) = 0;
    /// Enables or grays the document menu items and shows or hides the toolbar.
    virtual void enableDocumentMenus(bool enable) = 0;
    /// Closes every expansion window (document set-up does this).
    virtual void destroyExpansionWindows() = 0;
    /// Measures a text in the main window's default font.
    virtual TextExtent measureText(std::string_view text) = 0;
};

/// Shows a message of the core (the text of a failure's reason) in a box with an OK button.
inline Answer report(UserInterface& ui, const Message& m) { return ui.message(m.text, m.caption, m.icon); }

/// Shows, in order, the messages an operation gave on the way, and empties the list.
inline void reportAll(UserInterface& ui, std::vector<Message>& said) {
    for (const Message& m : said) report(ui, m);
    said.clear();
}

/// Clearing the status bar writes a string of blanks to part 0.
inline void clearStatusBar(UserInterface& ui) { ui.setStatusText(0, "                    "); }

}  // namespace pelvaron::platform
