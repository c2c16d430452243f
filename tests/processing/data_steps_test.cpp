// The steps of --steps: each reaches its command with its arguments in order, the baseline and
// data-operation steps refuse bad input with the data untouched and read their arguments as the
// dialogs and the tools do. What the steps make of real data is in the real-data table of the
// command line.
#include "processing/data_steps.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cli/steps.h"
#include "document/units.h"
#include "fixtures.h"
#include "io/load.h"
#include "processing/data_ops.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

using testing::dataOf;
using testing::documentWith;
using testing::head;

/// 1000 points at SW 1000 Hz, SF 400, in ppm: from 2.5 ppm at the first point to 0.0025 ppm;
/// no value is 0.
std::unique_ptr<Document> spectrum() {
    std::vector<double> v(2000);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<double>(1 + i % 7);
    auto doc = documentWith(v);
    doc->spectrum.xUnits = kPpm;
    return doc;
}

double ppmAt(const Document& doc, int index) {
    return units::tToUnit(doc, units::indexToT(doc, index), kPpm);
}

TEST(DataSteps, BadInputIsRefusedWithAMessageAndTheDataUntouched) {
    using Run = std::function<bool(Document&, std::string&)>;
    const std::vector<double> six(6, 1.0), outside{1.0, 2.6}, many(301, 1.0);
    const std::pair<Run, const char*> cases[] = {
        {[&](Document& d, std::string& e) { return polynomialBaselineStep(d, six, e); }, "one to five"},
        {[&](Document& d, std::string& e) { return multiPointBaselineStep(d, outside, e); },
         "2.6 ppm lies outside the data (2.5000 ... 0.0025 ppm)"},
        {[&](Document& d, std::string& e) { return multiPointBaselineStep(d, many, e); },
         "at most 300 points"},
        {[](Document& d, std::string& e) { return referenceStep(d, 1500.0, 0.0, kHz, e); },
         "1500 Hz lies outside"},
        {[](Document& d, std::string& e) {
             d.spectrum.xUnits = kSeconds;
             return referenceStep(d, 1.0, 0.0, kPpm, e);
         },
         "To reference the units must be in Hertz or  ppm"},
        {[](Document& d, std::string& e) { return shiftStep(d, 2.5, e); }, "whole number"},
        {[](Document& d, std::string& e) { return shiftStep(d, -1001, e); }, "at most 1000 points"},
        {[](Document& d, std::string& e) {
             d.spectrum.acqPars.SF = 0.0;
             return suppressStep(d, 1.0, 2.0, false, e);
         },
         "no frequency axis"},
    };
    for (const auto& [run, words] : cases) {
        auto doc = spectrum();
        const std::vector<double> before = dataOf(*doc);
        std::string error;
        EXPECT_FALSE(run(*doc, error)) << words;
        EXPECT_NE(error.find(words), std::string::npos) << error;
        EXPECT_EQ(std::tuple(head(doc->spectrum.specData, 2000), doc->spectrum.offsetHz),
                  std::tuple(before, 0.0))
            << words;
    }
}

TEST(DataSteps, ShiftSuppressAndUnitsReadAsTheDialogsAndTheToolDo) {
    std::string error;
    auto a = spectrum(), b = spectrum();
    ASSERT_TRUE(shiftStep(*a, -3, error));  // negative: towards the start
    EXPECT_EQ(std::pair(a->spectrum.specData[0], a->spectrum.specData[1994]), std::pair(7.0, 0.0));
    undoCommand(*a);

    // Either order; the ends land on multiples of 4, as the suppress tool's do.
    ASSERT_TRUE(suppressStep(*a, 2.0, 1.0, false, error));
    ASSERT_TRUE(suppressStep(*b, 1.0, 2.0, false, error));
    EXPECT_EQ(dataOf(*a), dataOf(*b));
    int first = 0;
    while (a->spectrum.specData[first] != 0.0) ++first;
    EXPECT_EQ(first % 4, 0) << first;
    EXPECT_NEAR(ppmAt(*a, first), 2.0, 0.005);

    // A blank before the unit, or no number, is refused (0).
    for (const auto& [text, unit] :
         {std::pair("7.26", int{kPpm}), std::pair("7.26ppm", int{kPpm}), std::pair("-12.5Hz", int{kHz}),
          std::pair("7.26 Hz", 0), std::pair("nan", 0)}) {
        double v = 0;
        int u = 0;
        EXPECT_EQ(parseValueWithUnit(text, v, u) ? u : 0, unit) << text;
    }
}

TEST(ExampleSteps, EachStepActsAsItsCommandAndRefusesWhatItsDialogRefuses) {
    testing::RecordingUserInterface ui;
    std::string error;
    std::unique_ptr<Document> failed;
    // The bundled example (8192 complex points) after `steps`, or nothing where they fail.
    const auto after = [&](const std::string& steps) {
        auto doc = std::make_unique<Document>();
        EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath("examples/ethyl-acetate/1"), std::nullopt));
        if (!steps.empty() && !cli::runSteps(*doc, ui, steps, error)) failed = std::move(doc);
        return doc;
    };
    const auto fresh = after("");
    const std::vector<double> phased = dataOf(*after("ft,phase=30/-5"));
    const struct {
        const char* steps;
        const char* refusal;  // in the error or the last message; none: the steps succeed
        std::function<void(Document&)> check;
    } cases[] = {
        // The size in complex points, chosen from the size list (which leaves TD alone); the
        // window is kept for the dialog.
        {"em=0.3,ft=16384,autophase", nullptr,
         [](Document& d) {
             EXPECT_EQ(std::tuple(d.window.selected, d.window.lbExp, d.spectrum.nData, d.spectrum.acqPars.TD,
                                  d.spectrum.xUnits, d.spectrum.phaseSourceValid),
                       std::tuple(Window::Exponential, 0.3, 32768, 16384, kPpm, 1));
         }},
        {"ft=100", "the size must be", {}},
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
}  // namespace pelvaron::processing
