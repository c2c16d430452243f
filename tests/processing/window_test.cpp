// Window functions as the apodization applies them, and the "Window Function Parameters" dialog.
#include "processing/window_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fixtures.h"
#include "processing/window_function_dialog.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

constexpr int kN = 512;

std::vector<double> ones() { return std::vector<double>(kN, 1.0); }

/// TD 512 at SW 1000 Hz grown to `n` doubles, all ones, weighted by the window `w`.
std::vector<double> weighted(const WindowParams& w, int n = kN) {
    auto doc = documentWith(ones());
    doc->spectrum.nData = n;
    for (int i = kN; i < n; ++i) doc->spectrum.specData[i] = 1.0;
    applyWindow(doc->spectrum, w);
    return dataOf(*doc);
}

TEST(WindowFunctions, EachWeighsPointMInItsOwnTimeBase) {
    // 512 points at SW 1000 Hz (AQ 0.256 s), and zero filled to 1024. The exponential and TRAFICANTE
    // count time as m/(2 SW), the others as m*AQ/N: the two part after zero filling. The Gaussian
    // has its own pi (3.14159); the exponential spares the last two points; the Lorentz-Gauss with
    // LB < 0 rises from 1 to its top at t = GB*AQ (point 256 of 1024). What each window makes of a
    // real FID is in the real-data table.
    using enum Window;
    const WindowParams expo{.lbExp = 1.0, .selected = Exponential},
        gauss{.lbGauss = 2.0, .shift = 0.25, .selected = Gaussian},
        traf{.lbTraf = 3.0, .selected = Traficante}, lg{.lbLg = -5.0, .gb = 0.25, .selected = LorentzGauss},
        sine90{.sineDeg = 90.0, .selected = Sine};
    const struct {
        WindowParams w;
        int n, m;
        double value;
    } cases[] = {
        {expo, kN, 100, 0.8546359991532334},
        {expo, kN, kN - 2, 1.0},
        {expo, 2 * kN, 100, 0.8546359991532334},
        {gauss, kN, 100, 0.9776820219972115},
        {gauss, 2 * kN, 100, 0.996880074200694},
        {traf, kN, 0, 0.9920411993048553},
        {traf, 2 * kN, 256, 3.3147457967784373},
        {lg, kN, 0, 1.0},
        {lg, 2 * kN, 256, 1.6531041517617928},
        {sine90, kN, 100, 0.9533060403541939},
        {{.sine2Deg = 90.0, .selected = SineSquared}, kN, 100, 0.9087924065757919},
        {{.selected = Hanning}, kN, 100, 0.9087924065757919},
        {{.selected = Hamming}, 2 * kN, 200, 0.9160890140497285},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(weighted(c.w, c.n)[c.m], c.value, 1e-12)
            << static_cast<int>(c.w.selected) << " of " << c.n << " at " << c.m;
}

/// The dialog on 512 ones with `window` selected and `set` typed in, after OK: the data, the
/// messages as "caption: text", and the dialog opened again.
struct Ok {
    std::unique_ptr<Document> doc = documentWith(ones());
    testing::RecordingObserver seen{*doc};
    bool accepted;
    std::vector<std::string> messages;
    std::vector<double> data;
    WindowFunctionDialog reopened{*doc};
    Ok(Window window, const std::function<void(WindowFunctionDialog&)>& set) {
        auto dialog = testing::opened<WindowFunctionDialog>(*doc);
        dialog.selected = window;
        set(dialog);
        const WindowCheck check = dialog.ok();
        accepted = !check.problem;
        for (const Message& m : windowMessages(check))
            messages.push_back(std::string(m.caption) + ": " + m.text);
        data = dataOf(*doc);
        reopened.open();
    }
};

TEST(WindowFunctionDialog, OkAppliesTheSelectedWindowWithTheTypedNumbersOrRefusesThem) {
    using D = WindowFunctionDialog;
    // Text is read as far as it is a number, and as 0 where there is none.
    const Ok traf(Window::Traficante, [](D& d) { d.lbTrafText = "1.5 Hz", d.lbExpText = "abc"; });
    EXPECT_TRUE(traf.accepted && traf.messages.empty() &&
                traf.seen.notices == std::vector<ChangeSet>{kDataChanged});
    EXPECT_EQ(traf.data, weighted({.lbTraf = 1.5, .selected = Window::Traficante}));
    EXPECT_EQ(traf.reopened.lbTrafText + " " + traf.reopened.lbExpText, "1.50 0.00");
    EXPECT_EQ(traf.reopened.selected, Window::Traficante);
    // A positive LB of the Lorentz-Gauss window is used negated after a message; GB may be 1.
    const Ok lg(Window::LorentzGauss, [](D& d) { d.lbLgText = "2", d.gbText = "1"; });
    EXPECT_TRUE(lg.accepted);
    EXPECT_EQ(lg.messages,
              std::vector<std::string>{"Error: LB must be negative for the Lorentzian/Gaussian "
                                       "function\nPelvaron will use the negative of that value."});
    EXPECT_EQ(std::pair(lg.data, lg.reopened.lbLgText),
              std::pair(weighted({.lbLg = -2.0, .gb = 1.0, .selected = Window::LorentzGauss}),
                        std::string("-2.00")));
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
