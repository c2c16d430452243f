// The processing steps of --steps on the bundled example: each reaches its command with its
// arguments in order, and a refusal is the step's error with the data as they were. What the
// commands compute is checked in their own tests.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cli/steps.h"
#include "fixtures.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::cli {
namespace {

using testing::dataOf;

TEST(ExampleSteps, EachStepActsAsItsCommandAndRefusesWhatItsDialogRefuses) {
    testing::RecordingUserInterface ui;
    std::string error;
    std::unique_ptr<Document> failed;
    // The bundled example (8192 complex points) after `steps`, or nothing where they fail.
    const auto after = [&](const std::string& steps) {
        auto doc = std::make_unique<Document>();
        EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath("examples/ethyl-acetate/1"), std::nullopt));
        if (!steps.empty() && !runSteps(*doc, ui, steps, error)) failed = std::move(doc);
        return doc;
    };
    const auto fresh = after("");
    const std::vector<double> phased = dataOf(*after("ft,phase=30/-5"));
    const struct {
        const char* steps;
        const char* refusal;  // in the error or the last message; none: the steps succeed
        std::function<void(Document&)> check;
    } cases[] = {
        // The size in complex points, chosen from the size list (which leaves TD alone).
        {"em=0.3,ft=16384,autophase", nullptr,
         [](Document& d) {
             EXPECT_EQ(std::tuple(d.window.selected, d.window.lbExp, d.spectrum.nData, d.spectrum.acqPars.TD,
                                  d.spectrum.xUnits, d.spectrum.phaseSourceValid),
                       std::tuple(Window::Exponential, 0.3, 32768, 16384, kPpm, 1));
         }},
        {"ft=100", "the size must be", {}},
        {"gm=1/0.2,traf=0.5,sine=90,sine2=45,hanning,hamming,lg=3/0.4", nullptr,
         [](Document& d) {
             EXPECT_EQ((std::tuple{d.window.lbLg, d.window.selected, d.window.sine2Deg}),
                       (std::tuple{-3.0, Window::LorentzGauss, 45.0}));
         }},
        {"lg=-1/0", "GB must be a number between 0 and 1", {}},
        // Phases are totals about the pivot, not increments; invert turns half a turn.
        {"ft,phase=30/-5,phase=30/-5,invert", nullptr,
         [&](Document& d) {
             EXPECT_EQ((std::tuple{d.spectrum.phase0, d.spectrum.phase1, d.spectrum.phaseSourceValid,
                                   d.transform.showPivot}),
                       (std::tuple{-150.0, -5.0, 1, 0}));
             for (int i = 0; i < d.spectrum.nData; i += 97)
                 EXPECT_EQ(d.spectrum.specData[i], -phased[i]) << i;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        ui.messages.clear();
        error.clear();
        auto doc = after(c.steps);
        if (!c.refusal) {
            ASSERT_TRUE(doc) << error;
            c.check(*doc);
            continue;
        }
        ASSERT_FALSE(doc);
        const std::string said = error + (ui.messages.empty() ? "" : ui.messages.back().text);
        EXPECT_NE(said.find(c.refusal), std::string::npos) << said;
        EXPECT_EQ(dataOf(*failed), dataOf(*fresh));
        EXPECT_EQ(failed->spectrum.xUnits, kSeconds);
    }
}

}  // namespace
}  // namespace pelvaron::cli
