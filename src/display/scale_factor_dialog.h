// The Scale Y factor dialog without its widget: the factor of Increase, Decrease and the +/-
// keys, and the range check of the Scale Factor command.
#pragma once

#include <string>

#include "display/view.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

class ScaleFactorDialog {
public:
    /// Opening: the edit shows yScaleFactor with "%.2lf".
    explicit ScaleFactorDialog(const View& view);

    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    /// "Ok": stores the number of the text (not a number reads as 0) in yScaleFactor, unchecked.
    void ok(View& view) const;

private:
    std::string text_;
};

/// The command's check after each "Ok": true when 1 <= yScaleFactor <= 10; otherwise shows "The
/// scale factor must be a value between 1 and 10" (caption "Warnning") and returns false, and
/// the caller opens the dialog again.
[[nodiscard]] bool acceptScaleFactor(const View& view, platform::UserInterface& ui);

}  // namespace pelvaron::display
