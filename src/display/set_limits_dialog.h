// The Set limits dialog without its widget: the view's two limits typed in the present unit.
#pragma once

#include <string>

#include "display/view.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::display {

class SetLimitsDialog {
public:
    /// Opening: remembers viewLeft and viewRight and shows them in the present unit ("%.3lf";
    /// "%.0lf" for points).
    SetLimitsDialog(const Document& doc, const View& view);

    [[nodiscard]] const std::string& fromText() const { return from_; }
    [[nodiscard]] const std::string& toText() const { return to_; }
    void setFromText(std::string text) { from_ = std::move(text); }
    void setToText(std::string text) { to_ = std::move(text); }

    /// OK: reads both texts as numbers (not a number reads as 0), converts them to the time
    /// scale and orders them, so that in ppm or Hz the larger value may stand in either field.
    /// Limits inside 0..AQ are stored as viewLeft/viewRight with the zoom anchors in
    /// tools.anchorX/dragX, and true is returned: the dialog closes and the caller applies them
    /// with applyLimitsAsZoom. Otherwise the message "Error" with caption "Limits exceeded" is
    /// shown, the view keeps its limits and false is returned: the dialog stays open.
    [[nodiscard]] bool ok(const Document& doc, View& view, platform::UserInterface& ui);

    /// Cancel: the limits remembered at opening come back.
    void cancel(View& view) const;

private:
    double savedLeft_ = 0.0;
    double savedRight_ = 0.0;
    std::string from_;
    std::string to_;
};

}  // namespace pelvaron::display
