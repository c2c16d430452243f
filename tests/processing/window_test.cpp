// Window functions and the "Window Function Parameters" dialog.
#include "processing/window_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "fixtures.h"
#include "processing/window_function_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;
using testing::documentWith;
using testing::head;
using testing::RecordingUserInterface;

constexpr double kPi = std::numbers::pi;

std::vector<double> ones(int n) { return std::vector<double>(n, 1.0); }

TEST(WindowFunctions, ExponentialUsesTheSpectralWidthAndSparesTheLastPoint) {
    std::vector<double> x = ones(4096);
    exponentialWindow(x.data(), 4096, 1.0, 1000.0);
    EXPECT_EQ(x[0], 1.0);
    EXPECT_DOUBLE_EQ(x[2000], std::exp(-kPi));
    EXPECT_DOUBLE_EQ(x[4093], std::exp(-kPi * 4093 / 2000.0));
    EXPECT_EQ(x[4094], 1.0);
    EXPECT_EQ(x[4095], 1.0);

    std::vector<double> y = ones(64);
    exponentialWindow(y.data(), 64, 0.0, 1000.0);
    EXPECT_EQ(y, ones(64));
}

TEST(WindowFunctions, GaussianUsesItsOwnPiAndTheAcquisitionTime) {
    const int n = 1000;
    const double aq = 0.5;
    std::vector<double> x = ones(n);
    gaussianWindow(x.data(), n, 2.0, 0.25, aq);
    auto factor = [&](int m) {
        const double u = 3.14159 * 2.0 * (m * aq / n) - 0.25 * aq;
        return std::exp(-u * u / (4.0 * std::log(2.0)));
    };
    for (int m : {0, 1, 400, 999}) EXPECT_DOUBLE_EQ(x[m], factor(m)) << m;
    // With the full pi the value would differ noticeably at the far end.
    const double u = kPi * 2.0 * (999 * aq / n) - 0.25 * aq;
    EXPECT_NE(x[999], std::exp(-u * u / (4.0 * std::log(2.0))));
}

TEST(WindowFunctions, TraficanteLorentzGaussAndTheTrigonometricWindows) {
    const int n = 512;
    std::vector<double> t = ones(n);
    traficanteWindow(t.data(), n, 3.0, 2000.0);
    const double b = -kPi * 3.0 / 4000.0;
    for (int m : {0, 100, 511}) {
        const double e = std::exp(b * m), f = std::exp(b * (n - m));
        EXPECT_DOUBLE_EQ(t[m], e / (e * e + f * f)) << m;
    }

    // LB negative: the factor starts at 1 and rises to its top at t = GB*AQ.
    const double aq = 0.256;
    std::vector<double> lg = ones(n);
    lorentzGaussWindow(lg.data(), n, -5.0, 0.25, aq);
    EXPECT_EQ(lg[0], 1.0);
    const int top = static_cast<int>(std::max_element(lg.begin(), lg.end()) - lg.begin());
    EXPECT_EQ(top, n / 4);
    const double a = kPi * -5.0, tt = 128 * aq / n;
    EXPECT_DOUBLE_EQ(lg[128], std::exp(-a * tt + a * tt * tt / (2.0 * 0.25 * aq)));

    // Sine bell: 90 degrees starts at 1 (cosine bell), 0 degrees at 0; the squared one squares.
    std::vector<double> s90 = ones(n), s0 = ones(n), sq = ones(n);
    sineBellWindow(s90.data(), n, 90.0, false);
    sineBellWindow(s0.data(), n, 0.0, false);
    sineBellWindow(sq.data(), n, 90.0, true);
    EXPECT_DOUBLE_EQ(s90[0], 1.0);
    EXPECT_EQ(s0[0], 0.0);
    EXPECT_DOUBLE_EQ(s90[n / 2], std::sin(kPi / 2 + kPi / 4));
    EXPECT_DOUBLE_EQ(s0[n / 2], 1.0);
    EXPECT_DOUBLE_EQ(sq[n / 2], s90[n / 2] * s90[n / 2]);
    EXPECT_GT(s0[n - 1], 0.0);

    // Half windows from 1 down to just above their minimum.
    std::vector<double> hann = ones(n), hamm = ones(n);
    hanningWindow(hann.data(), n);
    hammingWindow(hamm.data(), n);
    EXPECT_EQ(hann[0], 1.0);
    EXPECT_DOUBLE_EQ(hann[n - 1], 0.5 + 0.5 * std::cos(kPi * (n - 1) / n));
    EXPECT_EQ(hamm[0], 1.0);
    EXPECT_DOUBLE_EQ(hamm[n / 2], 0.54);
}

TEST(WindowFunctions, TheTwoTimeBasesPartAfterZeroFilling) {
    // TD 512 at SW 1000 Hz: AQ = 0.256 s. Zero filled to 1024 doubles, the exponential keeps
    // m/(2 SW) while the Gaussian's t = m*AQ/N halves.
    auto doc = documentWith(ones(512), 1000.0);
    doc->nData = 1024;
    for (int i = 512; i < 1024; ++i) doc->specData[i] = 1.0;
    doc->window.selected = Window::Exponential;
    doc->window.lbExp = 2.0;
    applyWindow(*doc);
    EXPECT_DOUBLE_EQ(doc->specData[800], std::exp(-kPi * 2.0 * 800 / 2000.0));

    for (int i = 0; i < 1024; ++i) doc->specData[i] = 1.0;
    doc->window.selected = Window::Gaussian;
    doc->window.lbGauss = 2.0;
    doc->window.shift = 0.0;
    applyWindow(*doc);
    const double u = 3.14159 * 2.0 * (800 * 0.256 / 1024);
    EXPECT_DOUBLE_EQ(doc->specData[800], std::exp(-u * u / (4.0 * std::log(2.0))));
}

TEST(WindowFunctionDialog, OpeningShowsTheStoredValuesAndTakesTheSnapshot) {
    auto doc = documentWith({5, 6, 7, 8});
    doc->window.lbExp = 0.3;
    doc->window.shift = 0.125;
    doc->window.lbLg = -2.0;
    doc->window.selected = Window::Hamming;
    doc->peakValue = 8.0;
    RecordingUserInterface ui;
    auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
    EXPECT_EQ((std::vector<std::string>{dialog.lbExpText, dialog.shiftText, dialog.lbLgText, dialog.gbText}),
              (std::vector<std::string>{"0.30", "0.12", "-2.00", "0.00"}));
    EXPECT_EQ(dialog.selected, Window::Hamming);
    EXPECT_EQ(head(doc->undoData, 4), (std::vector<double>{5, 6, 7, 8}));
    EXPECT_EQ(doc->undoPeakValue, 8.0);
}

TEST(WindowFunctionDialog, GaussianShiftOutsideZeroToOneIsRefused) {
    auto doc = documentWith(ones(256));
    RecordingUserInterface ui;
    auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
    dialog.selected = Window::Gaussian;
    dialog.lbGaussText = "1";
    dialog.shiftText = "1.5";
    EXPECT_FALSE(dialog.ok());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Shift must be a value between 0 and 1");
    EXPECT_EQ(ui.messages[0].caption, "error");
    EXPECT_EQ(ui.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(dataOf(*doc), ones(256));
    EXPECT_EQ((std::pair{doc->window.shift, doc->window.lbGauss}),
              (std::pair{1.5, 1.0}));  // stored although refused

    dialog.shiftText = "1";
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(dataOf(*doc), ones(256));
    EXPECT_GT(ui.repaints, 0);
}

TEST(WindowFunctionDialog, LorentzGaussNegatesPositiveLbAndRefusesGbOutsideItsRange) {
    const std::string negated =
        "LB must be negative for the Lorentzian/Gaussian function\nPelvaron will use the negative of that "
        "value.";
    const std::string gbRange = "GB must be a number between 0 and 1";
    // GB = 0 would divide by zero: refused like 1.5, -0.1 and text that is not a number. The LB
    // message comes first when LB is positive; LB = 0 passes silently; GB = 1 is accepted.
    struct Case {
        const char *lb, *gb;
        bool accepted;
        std::vector<std::string> messages;
    };
    const Case cases[] = {{"2", "0.3", true, {negated}},  {"0", "0", false, {gbRange}},
                          {"0", "1.5", false, {gbRange}}, {"0", "-0.1", false, {gbRange}},
                          {"0", "nan", false, {gbRange}}, {"3", "1", true, {negated}}};
    for (const Case& c : cases) {
        auto doc = documentWith(ones(256));
        RecordingUserInterface ui;
        auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
        dialog.selected = Window::LorentzGauss;
        dialog.lbLgText = c.lb;
        dialog.gbText = c.gb;
        EXPECT_EQ(dialog.ok(), c.accepted) << c.lb << "/" << c.gb;
        EXPECT_EQ(ui.messageTexts(), c.messages) << c.lb << "/" << c.gb;
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.caption, "Error");
            EXPECT_EQ(m.icon, platform::Icon::Information);
        }
        if (!c.accepted) {
            EXPECT_EQ(dataOf(*doc), ones(256)) << c.gb;
        }
        if (std::string(c.gb) != "0.3") continue;
        EXPECT_EQ(doc->window.lbLg, -2.0);
        std::vector<double> expected = ones(256);
        lorentzGaussWindow(expected.data(), 256, -2.0, 0.3, doc->acqPars.AQ);
        EXPECT_EQ(dataOf(*doc), expected);
        auto reopened = testing::opened<WindowFunctionDialog>(*doc, ui);
        EXPECT_EQ(reopened.lbLgText, "-2.00");
    }
}

TEST(WindowFunctionDialog, OkAppliesTheSelectedWindowWithTheTypedNumbers) {
    auto doc = documentWith(ones(256), 500.0);
    RecordingUserInterface ui;
    auto dialog = testing::opened<WindowFunctionDialog>(*doc, ui);
    dialog.selected = Window::Traficante;
    dialog.lbTrafText = "1.5 Hz";  // leading numeric text
    dialog.lbExpText = "abc";      // not a number: 0
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(doc->window.lbTraf, 1.5);
    EXPECT_EQ(doc->window.lbExp, 0.0);
    EXPECT_EQ(doc->window.selected, Window::Traficante);
    std::vector<double> expected = ones(256);
    traficanteWindow(expected.data(), 256, 1.5, 500.0);
    EXPECT_EQ(dataOf(*doc), expected);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace pelvaron::processing
