// The data operations: the Reference dialog, Shift Data, Supress Peaks and S/N, with the
// limits that keep each inside the data; and the steps of --steps: each reaches its command with
// its arguments in order, and the baseline and data-operation steps refuse bad input with the data
// untouched and read their arguments as the dialogs and the tools do. What the steps make of real
// data is in the real-data table of the command line.
#include "processing/data_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cli/steps.h"
#include "document/units.h"
#include "fixtures.h"
#include "io/load.h"
#include "processing/data_steps.h"
#include "recording_ui.h"

namespace pelvaron::processing {
namespace {

/// 0, 1, 2, ... as data of `n` doubles, with the sentinel beyond them.
std::unique_ptr<Document> counting(int n) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i;
    return testing::withSentinelBeyond(documentWith(v));
}

TEST(ReferenceDialog, OkPutsTheValueAtThePickInPpmOrHzAndTheValueShownOrCancelChangesNothing) {
    // 2000 doubles at SW 1000 Hz, SF 400: AQ 1 s; the pick at t = 0.1 s (index 200) lies 900 Hz
    // (2.25 ppm) above the last point, which is at 100 Hz. An SF of 0 has no ppm: 0 is shown.
    struct Case {
        Units units;
        const char* typed;  // nullptr: OK on the text shown
        const char* shown;
        double offsetHz;
        int refIndex;
        double sf = 400.0;
        bool cancel = false;
    };
    for (const Case& c :
         {Case{kPpm, nullptr, "2.500", 100.0, 2200}, Case{kPpm, "2.5", "2.500", 100.0, 2200},
          Case{kPpm, "3", "2.500", 300.0, 2600}, Case{kHz, "1200", "1000.000", 300.0, 2600},
          Case{kHz, "1000.0", "1000.000", 100.0, 2200}, Case{kPpm, "3", "2.500", 100.0, 2200, 400.0, true},
          Case{kPpm, "5", "0.000", 100.0, 2200, 0.0}}) {
        testing::RecordingUserInterface ui;
        auto doc = documentWith(std::vector<double>(2000));
        doc->spectrum.xUnits = c.units;
        doc->spectrum.acqPars.SF = c.sf;
        doc->spectrum.offsetHz = doc->spectrum.acqPars.offsetHz = 100.0;
        doc->spectrum.offsetPpm = 0.25;
        doc->spectrum.refIndex = 2200;
        startReferencing(ui);
        EXPECT_EQ(ui.statusTexts[0].back(), "Press  left mouse button to reference");

        ReferenceDialog d(*doc, {0.1, 200});
        d.open();
        EXPECT_EQ(d.currentText(), c.shown);
        if (c.typed) d.newText = c.typed;
        c.cancel ? d.cancel() : d.ok();
        // A new reference is said to be set by hand, and the pick then reads the typed value.
        const bool moved = c.offsetHz != 100.0;
        EXPECT_EQ(
            std::tuple(doc->spectrum.offsetHz, doc->spectrum.acqPars.offsetHz, doc->spectrum.offsetPpm,
                       doc->spectrum.refIndex, doc->spectrum.referenceSource == ReferenceSource::Manual),
            std::tuple(c.offsetHz, c.offsetHz, c.offsetHz / 400.0, c.refIndex, moved))
            << c.shown << " " << (c.typed ? c.typed : "");
        if (moved) {
            EXPECT_DOUBLE_EQ(units::tToUnit(*doc, 0.1, c.units), std::stod(c.typed));
        }
    }
}

TEST(ShiftData, ThreePointsEitherWayWithUndoAndTheCountsHeldToTheData) {
    auto doc = counting(16);
    const std::vector<double> original = dataOf(*doc);
    ShiftDataDialog d(*doc);
    d.open();
    d.countText = "3";
    d.ok();
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    undoCommand(*doc);
    EXPECT_EQ(dataOf(*doc), original);

    d.leftShift = true;
    d.ok();
    EXPECT_EQ(dataOf(*doc), (std::vector<double>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0, 0, 0, 0, 0}));
    ShiftDataDialog again(*doc);
    again.open();
    EXPECT_TRUE(again.leftShift);  // remembered

    // Four characters are read; no digits or a minus sign give 0.
    for (const auto& [text, count] : {std::pair("12345", 1234), std::pair("7x", 7), std::pair("-5", 0)}) {
        again.countText = text;
        EXPECT_EQ(again.count(), count) << text;
    }
    // 1234 points of 8: everything shifted out, nothing read or written beyond the data.
    again.countText = "12345";
    again.ok();
    EXPECT_EQ(dataOf(*doc), std::vector<double>(16, 0.0));
    expectUntouchedBeyond(*doc);
}

TEST(SuppressPeaks, NoiseRepeatsEvery128DoublesZerosFillAndTheRegionStaysInTheData) {
    struct Case {
        int from, to;
        int block;   // noise block noted by the last FFT; -1: by zeros
        int source;  // first double of the noise copied
    };
    // From 192 the region runs over the block itself: the block's own values still repeat. A
    // block beyond the data (a smaller set loaded since) is block 0.
    for (const Case& c : {Case{512, 1024, 2, 256}, Case{192, 640, 2, 256}, Case{900, 5000, 2, 256},
                          Case{512, 800, 20, 0}, Case{8, 5000, -1, 0}}) {
        auto doc = counting(1024);
        for (int j = 0; j < 128; ++j) doc->spectrum.specData[256 + j] = 1000.0 + j;
        doc->spectrum.noiseBlock = c.block;
        const std::vector<double> before = dataOf(*doc);
        SuppressPeaksDialog d(*doc, c.from, c.to);
        d.open();
        EXPECT_FALSE(d.byZeros);
        d.byZeros = c.block < 0;
        d.ok();
        for (int i = 0; i < 1024; ++i) {
            double expected = before[static_cast<std::size_t>(i)];
            if (i >= c.from && i < c.to)
                expected =
                    c.block < 0 ? 0.0 : before[static_cast<std::size_t>(c.source + (i - c.from) % 128)];
            ASSERT_EQ(doc->spectrum.specData[i], expected) << c.from << " " << i;
        }
        expectUntouchedBeyond(*doc);
        undoCommand(*doc);
        EXPECT_EQ(dataOf(*doc), before);
        d.open();
        EXPECT_EQ(d.byZeros, c.block < 0);  // remembered
    }
}

TEST(SignalToNoise, NoiseFreeDataUse1e7AndTheWindowIsHeldToTheData) {
    // Noise-free: 2.5 * 6 / 1e-7 with the larger line the window finds, 2.5 * 4 / 1e-7 (the value at
    // the noted peak) without.
    // Beside either end the window stops at the data; a peak noted beyond the data (a smaller set
    // since) reads the last point.
    for (const auto& [peak, larger, text] :
         {std::tuple(0, 48, "150000000.0"), std::tuple(1022, 1000, "150000000.0"),
          std::tuple(5000, 1022, "150000000.0"), std::tuple(500, 560, "100000000.0")}) {
        auto doc = documentWith(std::vector<double>(1024));
        for (int i = 1024; i < 1200; ++i) doc->spectrum.specData[i] = 1e9;  // never read
        doc->spectrum.noiseBlock = 6;  // doubles 768 ... 895, away from every line here
        doc->spectrum.snPeakIndex = peak;
        doc->spectrum.snPeakValue = 1e9;  // noted before a scaling: the search starts from the data
        doc->spectrum.specData[std::min(peak, 1022)] = 4.0;
        doc->spectrum.specData[larger] = -6.0;
        EXPECT_EQ(measureSignalToNoise(*doc).noise, 1e-7) << peak;
        EXPECT_EQ(signalToNoiseText(*doc), text) << peak;
    }
    // Data holding no numbers show 0.0, not "nan" or "inf".
    auto doc = documentWith(std::vector<double>(1024));
    doc->spectrum.specData[0] = std::numeric_limits<double>::infinity();
    doc->spectrum.snPeakValue = 1.0;
    EXPECT_EQ(signalToNoiseText(*doc), "0.0");
}

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
        {[&](auto& d, auto& e) { return polynomialBaselineStep(d, six, e); }, "one to five"},
        {[&](auto& d, auto& e) { return multiPointBaselineStep(d, outside, e); },
         "2.6 ppm lies outside the data (2.5000 ... 0.0025 ppm)"},
        {[&](auto& d, auto& e) { return multiPointBaselineStep(d, many, e); }, "at most 300 points"},
        {[](auto& d, auto& e) { return referenceStep(d, 1500.0, 0.0, kHz, e); }, "1500 Hz lies outside"},
        {[](Document& d, auto& e) {
             d.spectrum.xUnits = kSeconds;
             return referenceStep(d, 1.0, 0.0, kPpm, e);
         },
         "To reference the units must be in Hertz or  ppm"},
        {[](auto& d, auto& e) { return shiftStep(d, 2.5, e); }, "whole number"},
        {[](auto& d, auto& e) { return shiftStep(d, -1001, e); }, "at most 1000 points"},
        {[](Document& d, auto& e) {
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
