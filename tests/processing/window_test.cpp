// Window functions and the "Window Function Parameters" dialog.
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

std::vector<double> ones(int n = kN) { return std::vector<double>(n, 1.0); }

TEST(WindowFunctions, EachWeighsPointMByItsFormula) {
    // The exponential and TRAFICANTE count time as m/(2 SW), the others as m*AQ/N; the Gaussian
    // has its own pi; the exponential spares the last two points; the Lorentz-Gauss with LB < 0
    // rises from 1 to its top at t = GB*AQ; the sine bell starts at sin(phi).
    const double traf = -kPi * 3.0 / 4000.0, lg = kPi * -5.0;
    const std::pair<std::function<void(double*)>, std::function<double(double)>> cases[] = {
        {[](double* x) { exponentialWindow(x, kN, 1.0, 1000.0); },
         [](double m) { return m >= kN - 2 ? 1.0 : std::exp(-kPi * m / 2000.0); }},
        {[](double* x) { gaussianWindow(x, kN, 2.0, 0.25, kAq); },
         [](double m) {
             return std::exp(-std::pow(3.14159 * 2.0 * m * kAq / kN - 0.25 * kAq, 2) / (4.0 * std::log(2.0)));
         }},
        {[](double* x) { traficanteWindow(x, kN, 3.0, 2000.0); },
         [=](double m) {
             return std::exp(traf * m) / (std::exp(2 * traf * m) + std::exp(2 * traf * (kN - m)));
         }},
        {[](double* x) { lorentzGaussWindow(x, kN, -5.0, 0.25, kAq); },
         [=](double m) {
             return std::exp(-lg * m * kAq / kN + lg * std::pow(m * kAq / kN, 2) / (2.0 * 0.25 * kAq));
         }},
        {[](double* x) { sineBellWindow(x, kN, 90.0, false); },
         [](double m) { return std::sin(kPi / 2 + kPi / 2 * m / kN); }},
        {[](double* x) { sineBellWindow(x, kN, 0.0, false); },
         [](double m) { return std::sin(kPi * m / kN); }},
        {[](double* x) { sineBellWindow(x, kN, 90.0, true); },
         [](double m) { return std::pow(std::sin(kPi / 2 + kPi / 2 * m / kN), 2); }},
        {[](double* x) { hanningWindow(x, kN); },
         [](double m) { return 0.5 + 0.5 * std::cos(kPi * m / kN); }},
        {[](double* x) { hammingWindow(x, kN); },
         [](double m) { return 0.54 + 0.46 * std::cos(kPi * m / kN); }},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::vector<double> x = ones();
        cases[i].first(x.data());
        for (int m : {0, 1, 100, 128, 256, 400, kN - 3, kN - 2, kN - 1})
            EXPECT_NEAR(x[m], cases[i].second(m), 1e-12) << "window " << i << " at " << m;
    }
}

TEST(WindowFunctions, TheTwoTimeBasesPartAfterZeroFilling) {
    // TD 512 zero filled to 1024 doubles: the exponential keeps m/(2 SW) while the Gaussian's
    // t = m*AQ/N halves.
    for (Window w : {Window::Exponential, Window::Gaussian}) {
        auto doc = documentWith(ones(), 1000.0);
        doc->nData = 1024;
        for (int i = 512; i < 1024; ++i) doc->specData[i] = 1.0;
        doc->window = {.lbExp = 2.0, .lbGauss = 2.0, .shift = 0.0, .selected = w};
        applyWindow(*doc);
        const double u = 3.14159 * 2.0 * (800 * kAq / 1024);
        EXPECT_DOUBLE_EQ(doc->specData[800], w == Window::Exponential
                                                 ? std::exp(-kPi * 2.0 * 800 / 2000.0)
                                                 : std::exp(-u * u / (4.0 * std::log(2.0))));
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

std::vector<double> windowed(const std::function<void(double*)>& window) {
    std::vector<double> x = ones();
    window(x.data());
    return x;
}

TEST(WindowFunctionDialog, OkAppliesTheSelectedWindowWithTheTypedNumbersOrRefusesThem) {
    using D = WindowFunctionDialog;
    // Text is read as far as it is a number, and as 0 where there is none.
    const Ok traf(Window::Traficante, [](D& d) { d.lbTrafText = "1.5 Hz", d.lbExpText = "abc"; });
    EXPECT_TRUE(traf.accepted && traf.messages.empty() && traf.ui.repaints > 0);
    EXPECT_EQ(traf.data, windowed([](double* x) { traficanteWindow(x, kN, 1.5, 1000.0); }));
    EXPECT_EQ(traf.reopened.lbTrafText + " " + traf.reopened.lbExpText, "1.50 0.00");
    EXPECT_EQ(traf.reopened.selected, Window::Traficante);
    // A positive LB of the Lorentz-Gauss window is used negated after a message; GB may be 1.
    for (double gb : {0.3, 1.0}) {
        const Ok lg(Window::LorentzGauss, [gb](D& d) { d.lbLgText = "2", d.gbText = std::to_string(gb); });
        EXPECT_TRUE(lg.accepted);
        EXPECT_EQ(lg.messages,
                  std::vector<std::string>{"Error: LB must be negative for the Lorentzian/Gaussian "
                                           "function\nPelvaron will use the negative of that value."});
        EXPECT_EQ(lg.data, windowed([gb](double* x) { lorentzGaussWindow(x, kN, -2.0, gb, kAq); }));
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
    EXPECT_EQ(gauss.data, windowed([](double* x) { gaussianWindow(x, kN, 1.0, 1.0, kAq); }));
}

}  // namespace
}  // namespace pelvaron::processing
