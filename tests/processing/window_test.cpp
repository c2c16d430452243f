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
         [](double m) { return std::exp(-std::pow(3.14159 * 2.0 * m * kAq / kN - 0.25 * kAq, 2) / (4.0 * std::log(2.0))); }},
        {[](double* x) { traficanteWindow(x, kN, 3.0, 2000.0); },
         [=](double m) { return std::exp(traf * m) / (std::exp(2 * traf * m) + std::exp(2 * traf * (kN - m))); }},
        {[](double* x) { lorentzGaussWindow(x, kN, -5.0, 0.25, kAq); },
         [=](double m) { return std::exp(-lg * m * kAq / kN + lg * std::pow(m * kAq / kN, 2) / (2.0 * 0.25 * kAq)); }},
        {[](double* x) { sineBellWindow(x, kN, 90.0, false); }, [](double m) { return std::sin(kPi / 2 + kPi / 2 * m / kN); }},
        {[](double* x) { sineBellWindow(x, kN, 0.0, false); }, [](double m) { return std::sin(kPi * m / kN); }},
        {[](double* x) { sineBellWindow(x, kN, 90.0, true); },
         [](double m) { return std::pow(std::sin(kPi / 2 + kPi / 2 * m / kN), 2); }},
        {[](double* x) { hanningWindow(x, kN); }, [](double m) { return 0.5 + 0.5 * std::cos(kPi * m / kN); }},
        {[](double* x) { hammingWindow(x, kN); }, [](double m) { return 0.54 + 0.46 * std::cos(kPi * m / kN); }},
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
        EXPECT_DOUBLE_EQ(doc->specData[800], w == Window::Exponential ? std::exp(-kPi * 2.0 * 800 / 2000.0)
                                                                       : std::exp(-u * u / (4.0 * std::log(2.0))));
    }
}

TEST(WindowFunctionDialog, OkAppliesTheSelectedWindowWithTheTypedNumbersOrRefusesThem) {
    using Message = std::tuple<std::string, std::string, platform::Icon>;
    const Message shift{"Shift must be a value between 0 and 1", "error", platform::Icon::Exclamation};
    const Message gbRange{"GB must be a number between 0 and 1", "Error", platform::Icon::Information};
    const Message negated{"LB must be negative for the Lorentzian/Gaussian function\nPelvaron will use the "
                          "negative of that value.",
                          "Error", platform::Icon::Information};
    using D = WindowFunctionDialog;
    // The first field is the window's LB, the second its shift or GB. Refused values are stored
    // all the same; reopening shows the stored value of `shown` as "%.2f". GB = 0 would divide by
    // zero; LB = 0 passes silently; text is read as far as it is a number, and as 0 where none.
    const struct {
        Window window;
        std::string D::*lbField, D::*secondField;
        const char *lb, *second;
        std::vector<Message> messages;
        std::function<void(double*)> expected;  // none: refused, data unchanged
        std::string D::*shown;
        const char* shownText;
    } cases[] = {
        {Window::Gaussian, &D::lbGaussText, &D::shiftText, "1", "1.5", {shift}, nullptr, &D::shiftText, "1.50"},
        {Window::Gaussian, &D::lbGaussText, &D::shiftText, "1", "1", {},
         [](double* x) { gaussianWindow(x, kN, 1.0, 1.0, kAq); }, &D::lbGaussText, "1.00"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "2", "0.3", {negated},
         [](double* x) { lorentzGaussWindow(x, kN, -2.0, 0.3, kAq); }, &D::lbLgText, "-2.00"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "3", "1", {negated},
         [](double* x) { lorentzGaussWindow(x, kN, -3.0, 1.0, kAq); }, &D::gbText, "1.00"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "0", "0", {gbRange}, nullptr, &D::gbText, "0.00"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "0", "1.5", {gbRange}, nullptr, &D::lbLgText, "0.00"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "0", "-0.1", {gbRange}, nullptr, &D::gbText, "-0.10"},
        {Window::LorentzGauss, &D::lbLgText, &D::gbText, "0", "nan", {gbRange}, nullptr, &D::lbLgText, "0.00"},
        {Window::Traficante, &D::lbTrafText, &D::lbExpText, "1.5 Hz", "abc", {},
         [](double* x) { traficanteWindow(x, kN, 1.5, 1000.0); }, &D::lbExpText, "0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.lb << " / " << c.second);
        auto doc = documentWith(ones());
        testing::RecordingUserInterface ui;
        auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
        dialog.selected = c.window;
        dialog.*c.lbField = c.lb;
        dialog.*c.secondField = c.second;
        EXPECT_EQ(dialog.ok(), c.expected != nullptr);
        std::vector<Message> seen;
        for (const auto& m : ui.messages) seen.emplace_back(m.text, m.caption, m.icon);
        EXPECT_EQ(seen, c.messages);
        std::vector<double> expected = ones();
        if (c.expected) c.expected(expected.data());
        EXPECT_EQ(dataOf(*doc), expected);
        EXPECT_EQ(ui.repaints > 0, c.expected != nullptr);
        const auto reopened = testing::opened<WindowFunctionDialog>(*doc, ui);
        EXPECT_EQ((std::pair{reopened.selected, reopened.*c.shown}), (std::pair{c.window, std::string(c.shownText)}));
    }
}

}  // namespace
}  // namespace pelvaron::processing
