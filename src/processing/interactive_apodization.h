// The modeless "Interactive Apodization" dialog without its widgets: six window functions, the
// LB (or degrees) and GB scroll bars and the S/N box. Every movement starts again from the stored
// FID (fidCopy): window, transform with the options the data were loaded with, phase with the
// present phase values, S/N. Cancel puts back everything the movements changed.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "document/document.h"
#include "processing/phase_dialog.h"

namespace pelvaron::processing {

/// The functions of the dialog, as doc.window.apoFunction holds them.
enum ApoFunction : int {
    kApoExponential = 0,
    kApoGaussian = 1,
    kApoTraficante = 2,
    kApoSine = 3,
    kApoSineSquared = 4,
    kApoLorentzGauss = 5,
};
inline constexpr int kApoFunctionCount = 6;

/// The caption painted under each function's button, by ApoFunction code.
inline constexpr std::array<const char*, kApoFunctionCount> kApoCaptions = {"Exp.", "Gauss.",   "Trafic.",
                                                                            "Sine", "Sine Sq.", "Lor./G."};

/// The buttons from left to right: exponential, Gaussian, TRAFICANTE, Lorentzian/Gaussian, sine,
/// squared sine.
inline constexpr std::array<int, kApoFunctionCount> kApoButtonOrder = {
    kApoExponential, kApoGaussian, kApoTraficante, kApoLorentzGauss, kApoSine, kApoSineSquared};

/// A movement with no FID to start from (a spectrum read from a file, a simulation).
inline constexpr const char* kApoNoFidText =
    "There is no FID to apodize: these data were read or computed as a spectrum.\n"
    "Open the FID, or transform the spectrum back, first.";
/// A movement whose window gives no usable factors (not a number, or zero throughout).
inline constexpr const char* kApoBadWindowText =
    "The window function cannot be computed with these values.\n"
    "The spectrum is left as it was.";

/// Why a movement left the spectrum as it was.
enum class ApoProblem {
    NoFid,      ///< kApoNoFidText
    BadWindow,  ///< kApoBadWindowText
};
struct ApoRefusal {
    ApoProblem problem = ApoProblem::NoFid;
    /// The movement before was refused with the same settings: a held key or a dragged thumb
    /// repeats the movement, and a message for each repeat would pile up over the bar.
    bool repeated = false;
};

/// The message of a refusal ("Interactive Apodization", exclamation); none for a repeat.
[[nodiscard]] std::optional<Message> apodizationMessage(const ApoRefusal& refusal);

/// The outline drawn on a function's button: the window's own factors at `points` instants from
/// the start to the end of the acquisition, with parameters that show its character (a decay, a
/// bell, a rise to a top), scaled to a largest value of 1.
[[nodiscard]] std::vector<double> apoWindowShape(int function, int points);

class InteractiveApodizationDialog {
public:
    static constexpr int kLbLimit = 250;    ///< LB bar: -kLbLimit ... +kLbLimit
    static constexpr int kLbPerHz = 50;     ///< positions per Hz (a width of 500 over 10 Hz)
    static constexpr int kGbMaximum = 100;  ///< GB bar: 0 ... kGbMaximum, hundredths
    static constexpr int kGbAtOpen = 50;

    explicit InteractiveApodizationDialog(Document& doc) : doc_(doc) {}

    /// Shows the S/N of the present data, remembers what Cancel returns to, takes the Undo
    /// snapshot and puts the bars at LB 0 and GB 0.50. The data are not changed.
    void open();

    /// Selects a function (an ApoFunction code; others are ignored). Nothing is recomputed until
    /// the next movement.
    void chooseFunction(int function);

    /// LB bar: line -+2, page -+25, thumb to `thumb`, clamped. Then the data are recomputed;
    /// refused (the spectrum unchanged) when there is no FID or the window fails.
    Status<ApoRefusal> scrollLb(ScrollAction action, int thumb = 0);
    /// GB bar: line -+2, page -+10, thumb to `thumb`, clamped to 0 ... 100; then as scrollLb.
    Status<ApoRefusal> scrollGb(ScrollAction action, int thumb = 0);

    /// Keeps the last spectrum: the transform options of a forward transform, ppm units.
    void ok();
    /// Puts back the data, size, flags, phase pivot and S/N marks of the opening.
    void cancel();

    [[nodiscard]] int function() const { return doc_.window.apoFunction; }
    [[nodiscard]] int lbPosition() const { return lbPosition_; }
    [[nodiscard]] int gbPosition() const { return gbPosition_; }
    /// Hz; for the Lorentzian/Gaussian the window takes -|lb()|.
    [[nodiscard]] double lb() const { return static_cast<double>(lbPosition_) / kLbPerHz; }
    /// The sine functions' start angle: (LB + 5) * 9, 0 ... 90.
    [[nodiscard]] double degrees() const { return (lb() + 5.0) * 9.0; }
    [[nodiscard]] double gb() const { return gbPosition_ / 100.0; }
    /// The GB bar, its box and its label are shown (Lorentzian/Gaussian only).
    [[nodiscard]] bool gbVisible() const { return function() == kApoLorentzGauss; }

    /// The LB box, the label beside the LB bar, the GB box and the S/N box.
    [[nodiscard]] const std::string& lbText() const { return lbText_; }
    [[nodiscard]] const std::string& lbLabel() const { return lbLabel_; }
    [[nodiscard]] const std::string& gbText() const { return gbText_; }
    [[nodiscard]] const std::string& snText() const { return snText_; }

private:
    Status<ApoRefusal> recompute();
    /// The refusal, a repeat when the last movement was refused with the same `settings`.
    Failure<ApoRefusal> refuse(ApoProblem problem, long settings);
    Status<ApoRefusal> refillAndWindow(int n);
    void transform(int n);
    void showLb();

    Document& doc_;
    int lbPosition_ = 0;
    int gbPosition_ = kGbAtOpen;
    bool firstChange_ = true;
    long refusedSettings_ = -1;  ///< what the last refused movement asked for; -1 after a success
    std::string lbText_, lbLabel_, gbText_, snText_;

    // What Cancel returns to.
    Spectrum atOpen_;
    TransformState transformAtOpen_;
    std::vector<double> scratch_;
};

}  // namespace pelvaron::processing
