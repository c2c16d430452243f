// The integration dialogs without their widgets, "Number of Hydrogens" and "Integral Factor
// Scale", and the Tools menu commands of the integrals: Integrate, Increase, Decrease, Scale
// factor and Delete Integrals.
#pragma once

#include <functional>
#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::analysis {

/// The prompt the Integrate command (display::chooseIntegrate) shows in part 0 of the status bar.
inline constexpr const char* kIntegratePrompt = "Keys Up/Down to increase/decrease integrals size";

/// "Number of Hydrogens", opened by a right click on a label once hitIntegralLabel has made the
/// clicked integral the reference.
class HydrogensDialog {
public:
    /// Opening: the edit shows the clicked integral's value as it was displayed, relative to the
    /// reference before the click, with "%lf"; refIntegralValueShown is that text read back.
    explicit HydrogensDialog(Document& doc);

    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    /// "OK": the typed number becomes refIntegralValue (text that is not a number reads as 0).
    void ok(Document& doc) const;
    /// "Cancel": refIntegralValue = refIntegralValueShown, so the labels read as before.
    static void cancel(Document& doc);

private:
    std::string text_;
};

/// "Integral Factor Scale": the factor of Increase and Decrease.
class IntegralFactorDialog {
public:
    /// Opening: the edit shows integralScaleStep with "%lf".
    explicit IntegralFactorDialog(const Document& doc);

    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    /// "OK": stores the typed number in integralScaleStep, unchecked (the command checks it).
    void ok(Document& doc) const;

private:
    std::string text_;
};

/// Whether integralScaleStep lies within 1.0 ... 10.0, both ends included.
[[nodiscard]] bool integralScaleStepAccepted(const Document& doc);

/// The dialog as its widget runs it: true when it closed with "OK" (and the widget has called
/// the model's ok), false when it was closed any other way.
using IntegralFactorRunner = std::function<bool(IntegralFactorDialog&)>;

/// "Scale factor...": opens the dialog again, without a message, until the factor lies within
/// 1 ... 10. A dialog closed without "OK" ends the command with the factor it began with.
void integralScaleFactorCommand(Document& doc, const IntegralFactorRunner& runDialog);

/// "Increase" (Up) and "Decrease" (Down): integralScale times or divided by integralScaleStep.
void increaseIntegralScale(Document& doc);
void decreaseIntegralScale(Document& doc);

/// "Delete Integrals": empties the list.
void deleteAllIntegrals(Document& doc);

}  // namespace pelvaron::analysis
