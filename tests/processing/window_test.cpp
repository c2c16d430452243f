// Window functions as the apodization applies them, and the "Window Function Parameters" dialog.
#include "processing/window_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fixtures.h"
#include "processing/window_function_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;
using testing::documentWith;

constexpr double kPi = std::numbers::pi;
constexpr int kN = 512;
constexpr double kAq = 0.256;  // 512 doubles at SW 1000 Hz

std::vector<double> ones() { return std::vector<double>(kN, 1.0); }

/// TD 512 at SW 1000 Hz grown to `n` doubles, all ones, weighted by the window `w`.
std::vector<double> weighted(const WindowParams& w, int n = kN) {
    auto doc = documentWith(ones());
    doc->spectrum.nData = n;
    for (int i = kN; i < n; ++i) doc->spectrum.specData[i] = 1.0;
    applyWindow(doc->spectrum, w);
    return dataOf(*doc);
}

TEST(WindowFunctions, EachWeighsPointMByItsFormulaInItsOwnTimeBase) {
    // The exponential and TRAFICANTE count time as m/(2 SW), the others as m*AQ/N: the two part
    // after zero filling to N = 1024. The Gaussian has its own pi; the exponential spares the last
    // two points; the Lorentz-Gauss with LB < 0 rises from 1 to its top at t = GB*AQ; the sine
    // bell starts at sin(phi).
    const double traf = -kPi * 3.0 / 2000.0, lg = kPi * -5.0;
    using enum Window;
    const std::pair<WindowParams, std::function<double(double, double)>> cases[] = {
        {{.lbExp = 1.0, .selected = Exponential},
         [](double m, double n) { return m >= n - 2 ? 1.0 : std::exp(-kPi * m / 2000.0); }},
        {{.lbGauss = 2.0, .shift = 0.25, .selected = Gaussian},
         [](double m, double n) {
             return std::exp(-std::pow(3.14159 * 2.0 * m * kAq / n - 0.25 * kAq, 2) / (4.0 * std::log(2.0)));
         }},
        {{.lbTraf = 3.0, .selected = Traficante},
         [=](double m, double n) {
             return std::exp(traf * m) / (std::exp(2 * traf * m) + std::exp(2 * traf * (n - m)));
         }},
        {{.lbLg = -5.0, .gb = 0.25, .selected = LorentzGauss},
         [=](double m, double n) {
             return std::exp(-lg * m * kAq / n + lg * std::pow(m * kAq / n, 2) / (2.0 * 0.25 * kAq));
         }},
        {{.sineDeg = 90.0, .selected = Sine},
         [](double m, double n) { return std::sin(kPi / 2 + kPi / 2 * m / n); }},
        {{.sineDeg = 0.0, .selected = Sine}, [](double m, double n) { return std::sin(kPi * m / n); }},
        {{.sine2Deg = 90.0, .selected = SineSquared},
         [](double m, double n) { return std::pow(std::sin(kPi / 2 + kPi / 2 * m / n), 2); }},
        {{.selected = Hanning}, [](double m, double n) { return 0.5 + 0.5 * std::cos(kPi * m / n); }},
        {{.selected = Hamming}, [](double m, double n) { return 0.54 + 0.46 * std::cos(kPi * m / n); }},
    };
    for (int n : {kN, 2 * kN}) {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const std::vector<double> x = weighted(cases[i].first, n);
            for (int m : {0, 1, 100, 128, 256, 400, n - 3, n - 2, n - 1})
                EXPECT_NEAR(x[m], cases[i].second(m, n), 1e-12)
                    << "window " << i << " of " << n << " at " << m;
        }
    }
}

/// The dialog on 512 ones with `window` selected and `set` typed in, after OK: the data, the
/// messages as "caption: text", and the dialog opened again.
struct Ok {
    std::unique_ptr<Document> doc = documentWith(ones());
    testing::RecordingUserInterface ui;
    bool accepted;
    std::vector<std::string> messages;
    std::vector<double> data;
    WindowFunctionDialog reopened{*doc, ui};
    Ok(Window window, const std::function<void(WindowFunctionDialog&)>& set) {
        auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
        dialog.selected = window;
        set(dialog);
        accepted = dialog.ok();
        for (const auto& m : ui.messages) messages.push_back(m.caption + ": " + m.text);
        data = dataOf(*doc);
        reopened.open();
    }
};

TEST(WindowFunctionDialog, OkAppliesTheSelectedWindowWithTheTypedNumbersOrRefusesThem) {
    using D = WindowFunctionDialog;
    // Text is read as far as it is a number, and as 0 where there is none.
    const Ok traf(Window::Traficante, [](D& d) { d.lbTrafText = "1.5 Hz", d.lbExpText = "abc"; });
    EXPECT_TRUE(traf.accepted && traf.messages.empty() && traf.ui.repaints > 0);
    EXPECT_EQ(traf.data, weighted({.lbTraf = 1.5, .selected = Window::Traficante}));
    EXPECT_EQ(traf.reopened.lbTrafText + " " + traf.reopened.lbExpText, "1.50 0.00");
    EXPECT_EQ(traf.reopened.selected, Window::Traficante);
    // A positive LB of the Lorentz-Gauss window is used negated after a message; GB may be 1.
    for (double gb : {0.3, 1.0}) {
        const Ok lg(Window::LorentzGauss, [gb](D& d) { d.lbLgText = "2", d.gbText = std::to_string(gb); });
        EXPECT_TRUE(lg.accepted);
        EXPECT_EQ(lg.messages,
                  std::vector<std::string>{"Error: LB must be negative for the Lorentzian/Gaussian "
                                           "function\nPelvaron will use the negative of that value."});
        EXPECT_EQ(lg.data, weighted({.lbLg = -2.0, .gb = gb, .selected = Window::LorentzGauss}));
        EXPECT_EQ(lg.reopened.lbLgText, "-2.00");
    }
    // Refused values leave the data but are stored all the same. GB = 0 would divide by zero;
    // LB = 0 passes silently.
    const Ok shift(Window::Gaussian, [](D& d) { d.lbGaussText = "1", d.shiftText = "1.5"; });
    EXPECT_FALSE(shift.accepted);
    EXPECT_EQ(shift.messages, std::vector<std::string>{"error: Shift must be a value between 0 and 1"});
    EXPECT_EQ((std::pair{shift.data, shift.reopened.shiftText}), (std::pair{ones(), std::string("1.50")}));
    for (const char* gb : {"0", "1.5", "nan"}) {
        const Ok lg(Window::LorentzGauss, [gb](D& d) { d.lbLgText = "0", d.gbText = gb; });
        EXPECT_FALSE(lg.accepted) << gb;
        EXPECT_EQ(lg.messages, std::vector<std::string>{"Error: GB must be a number between 0 and 1"}) << gb;
        EXPECT_EQ(lg.data, ones()) << gb;
    }
    const Ok gauss(Window::Gaussian, [](D& d) { d.lbGaussText = "1", d.shiftText = "1"; });
    EXPECT_TRUE(gauss.accepted && gauss.messages.empty());
    EXPECT_EQ(gauss.data, weighted({.lbGauss = 1.0, .shift = 1.0, .selected = Window::Gaussian}));
}

}  // namespace
}  // namespace pelvaron::processing
