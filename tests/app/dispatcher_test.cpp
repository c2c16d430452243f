// The command table, the menu-enabling sets and the bookkeeping the dispatcher does around the
// commands (the page commands set the factors of their page before the window draws it; the
// Printer Options store on OK only); what each command's model computes is checked with the model.
#include "app/dispatcher.h"

#include <gtest/gtest.h>

#include <set>

#include "app/menu_state.h"
#include "app_fixture.h"
#include "processing/auto_phase.h"
#include "processing/recorded.h"

namespace pelvaron::testing {
namespace {

using app::CommandSource;
using platform::Answer;

TEST(MenuState, BeforeALoadOnlyTheFirstTenItemsRunAndMeasureJGraysTheDocumentSet) {
    AppFixture f(false);
    const std::set<int> first = {2, 40019, 40217, 6, 40208, 40215, 40160, 40210, 60, 70};
    std::set<int> ids(app::documentCommands().begin(), app::documentCommands().end());
    ids.insert(first.begin(), first.end());
    for (int id : ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(f.dispatcher.menus().isEnabled(id), first.count(id) == 1);
        if (f.dispatcher.hasCommand(id)) {
            EXPECT_EQ(f.dispatcher.dispatch(id, CommandSource::Accelerator), first.count(id) == 1);
        }
    }
    app::MenuState& menus = f.dispatcher.menus();
    menus.enableDocumentMenus(true);
    for (int id : app::documentCommands()) EXPECT_TRUE(menus.isEnabled(id)) << id;
    EXPECT_FALSE(menus.isEnabled(app::kCmdInteractiveSimulation));  // the simulation's own
    // Measure J grays the document set, Open and Import included; the rest of the first set stays.
    menus.enableDocumentMenus(false);
    for (int id : {app::kCmdOpen, app::kCmdImport, app::kCmdSave}) EXPECT_FALSE(menus.isEnabled(id)) << id;
    for (int id : {app::kCmdDotDisplay, app::kCmdHelp, app::kCmdExportJcamp})
        EXPECT_TRUE(menus.isEnabled(id)) << id;
    EXPECT_FALSE(menus.toolbarVisible());
}

TEST(MenuState, EachCheckMarkFollowsItsOwnFlag) {
    AppFixture f;
    Document& d = *f.doc;
    const std::pair<int, int*> marks[] = {
        {app::kCmdShowGrid, &f.view.showGrid},
        {app::kCmdDualZoom, &f.view.dualZoom},
        {app::kCmdDotDisplay, &f.view.dotDisplay},
        {app::kCmdShowCurves, &d.integrals.showIntegralCurves},
        {app::kCmdShowValues, &d.integrals.showIntegralValues},
        {app::kCmdIntegralBaseline, &d.integrals.integralBaselineCorr},
    };
    for (std::size_t k = 0; k < std::size(marks); ++k) {
        for (const auto& mark : marks) *mark.second = 0;
        if (k < 3)
            EXPECT_TRUE(f.dispatcher.dispatch(marks[k].first));  // the display's toggles
        else
            *marks[k].second = 1;  // set by the integrals
        for (const auto& [id, flag] : marks)
            EXPECT_EQ(*app::checkState(d, f.view, id), *flag == 1) << k << " " << id;
        EXPECT_EQ(*marks[k].second, 1) << k;
    }
}

TEST(Dispatcher, MenuChoicesFocusTheWindowAndUnservedKeysDoNothing) {
    AppFixture f;
    testing::RecordingObserver seen(*f.doc);
    EXPECT_FALSE(f.dispatcher.dispatch(app::kCmdCtrlJ, CommandSource::Accelerator));  // served by nothing
    EXPECT_EQ(seen.take(), 0u);
    // A menu choice redraws and focuses the window first; an accelerator does not.
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdHelp, CommandSource::Menu));
    EXPECT_EQ(f.host.focusRequests, 1);
    EXPECT_EQ(seen.take(), kViewChanged);
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdHelp, CommandSource::Accelerator));
    EXPECT_EQ(f.host.focusRequests, 1);
}

TEST(Dispatcher, EachCommandRunsItsOwnAction) {
    using F = AppFixture;
    const struct {
        int id;
        void (*prepare)(F&);
        bool (*done)(F&);
    } cases[] = {
        {app::kCmdExit, nullptr, [](F& f) { return f.host.closeRequests == 1; }},
        {app::kCmdUndo, [](F& f) { f.doc->spectrum.specData[200] = 7.0; },
         [](F& f) { return f.doc->spectrum.specData[200] == 50.0; }},
        {app::kCmdDecrease, nullptr, [](F& f) { return f.view.vScale < 75.0; }},
        {app::kCmdInvert, nullptr, [](F& f) { return f.doc->spectrum.specData[200] == -50.0; }},
        {app::kCmdMoveSpectrum, nullptr, [](F& f) { return f.view.mouse.tool == display::Tool::MoveArmed; }},
        {app::kCmdDefaultMode, [](F& f) { f.view.mouse.tool = display::Tool::Zoom; },
         [](F& f) { return f.view.mouse.tool == display::Tool::None; }},
        // The line comes off (its arithmetic is checked with the baseline), and the tool goes.
        {app::kCmdLinearDrift,
         [](F& f) {
             f.doc->spectrum.specData[0] = 3.25;
             f.view.mouse.tool = display::Tool::ReferencePick;
         },
         [](F& f) {
             return f.view.mouse.tool == display::Tool::None && f.doc->spectrum.specData[0] != 3.25;
         }},
        {app::kCmdProcessAsRecorded, nullptr,
         [](F& f) { return f.ui.messages.at(0).text == processing::kNoRecordedProcessingText; }},
        // The automatic commands: on the fixture's FID the phase and the baseline refuse, and
        // Automatic Processing makes it a spectrum.
        {app::kCmdAutoPhaseFull, nullptr,
         [](F& f) { return f.ui.messages.at(0).text == processing::kAutoPhaseNotSpectrumText; }},
        {app::kCmdAutoBaseline, nullptr,
         [](F& f) { return f.ui.messages.at(0).caption == "Automatic Baseline"; }},
        {app::kCmdAutoProcess, nullptr, [](F& f) { return f.doc->spectrum.ftInverse == 1; }},
        {app::kCmdByteSwap, nullptr, [](F& f) { return f.doc->spectrum.specData[200] == 50.0 * 16777216.0; }},
        {app::kCmdPeakPicking, nullptr, [](F& f) { return f.view.mouse.tool == display::Tool::PeakPicking; }},
        {app::kCmdSuppressPeaks, nullptr, [](F& f) { return f.view.mouse.tool == display::Tool::Suppress; }},
        {app::kCmdReference, [](F& f) { f.view.mouse.tool = display::Tool::Zoom; },
         [](F& f) { return f.view.mouse.tool == display::Tool::ReferencePick; }},
        {app::kCmdMeasureJ, nullptr,
         [](F& f) { return f.host.measureJShown == 1 && f.doc->jState.jShown == 1; }},
        {app::kCmdPeakLabels, nullptr, [](F& f) { return f.doc->peaks.peakLabelsShown == 0; }},
        // The fixture is a FID: the report is refused with its message and not shown.
        {app::kCmdMultipletReport, nullptr,
         [](F& f) {
             return f.ui.messages.at(0).caption == "Multiplet Report" && f.host.multipletReportShown == 0;
         }},
        {app::kCmdShowCurves, nullptr,
         [](F& f) { return !f.doc->integrals.showIntegralCurves && f.doc->integrals.showIntegralValues; }},
        {app::kCmdShowValues, nullptr,
         [](F& f) { return f.doc->integrals.showIntegralCurves && !f.doc->integrals.showIntegralValues; }},
        {app::kCmdSignalToNoise, nullptr, [](F& f) { return f.host.signalToNoiseShown.size() == 1; }},
        // The report comes back as long as it asks to.
        {app::kCmdEditPeaks, [](F& f) { f.host.peakReport.push([](auto&) { return true; }); },
         [](F& f) { return f.host.peakReport.runs == 2; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        AppFixture f;
        f.doc->noSaveQuery = 1;
        if (c.prepare != nullptr) c.prepare(f);
        EXPECT_TRUE(f.dispatcher.dispatch(c.id));
        EXPECT_TRUE(c.done(f));
    }
}

TEST(Dispatcher, ThePlotsPicksOpenTheirDialogs) {
    // What a drag of each tool picks is checked with the tools.
    AppFixture f;
    f.dispatcher.toolRequested(display::ToolRequest::PeakReport, -1);
    f.dispatcher.toolRequested(display::ToolRequest::ReferenceDialog, -1);
    f.dispatcher.toolRequested(display::ToolRequest::SuppressDialog, -1);
    f.dispatcher.toolRequested(display::ToolRequest::JCursorPlaced, -1);
    // A label index the list does not hold opens nothing.
    f.dispatcher.toolRequested(display::ToolRequest::HydrogensDialog, 0);
    EXPECT_EQ(std::tuple(f.host.peakReport.runs, f.host.reference.runs, f.host.suppress.runs,
                         f.host.measureJRefreshes, f.host.hydrogens.runs),
              std::tuple(1, 1, 1, 1, 0));
}

TEST(Dispatcher, TheSaveQuestionBeforeOpenImportAndExit) {
    // The file dialogs asked, save (true) or open (false): Yes saves first, No goes on, Cancel stops.
    const struct {
        Answer answer;
        std::vector<bool> fileDialogs;
    } cases[] = {{Answer::Cancel, {}}, {Answer::No, {false}}, {Answer::Yes, {true, false, true, true}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        AppFixture f;
        f.ui.answers = {c.answer, c.answer, c.answer};
        f.dispatcher.dispatch(app::kCmdOpen);
        f.dispatcher.dispatch(app::kCmdImport);
        EXPECT_EQ(f.dispatcher.queryClose(), c.answer != Answer::Cancel);
        EXPECT_EQ(f.host.fileType.runs, c.answer == Answer::Cancel ? 0 : 1);
        std::vector<bool> asked;
        for (const auto& request : f.ui.fileRequests) asked.push_back(request.save);
        EXPECT_EQ(asked, c.fileDialogs);
        ASSERT_EQ(f.ui.messages.size(), 3u);
        for (const auto& m : f.ui.messages) EXPECT_EQ(m.text, "Do you want to save the current spectrum?");
    }
    AppFixture empty(false);  // nothing loaded: nothing to ask
    EXPECT_TRUE(empty.dispatcher.queryClose());
    EXPECT_TRUE(empty.ui.messages.empty());
}

TEST(Dispatcher, ScaleFactorIsAskedAgainUntilItsLeadingNumberLiesBetweenOneAndTen) {
    AppFixture f;
    for (const char* text : {"0.5", "twelve", "10.5", "10x"}) {
        f.host.scaleFactor.push([text, &f](display::ScaleFactorDialog& m) {
            m.setText(text);
            m.ok(f.view);
            return true;
        });
    }
    f.dispatcher.dispatch(app::kCmdScaleFactor);
    EXPECT_EQ(f.host.scaleFactor.runs, 4);
    EXPECT_DOUBLE_EQ(f.view.yScaleFactor, 10.0);
    EXPECT_EQ(f.ui.messages.size(), 3u);       // one refusal each
    f.dispatcher.dispatch(app::kCmdIncrease);  // with the new factor
    EXPECT_DOUBLE_EQ(f.view.vScale, 75.0 * 10.0);
}

TEST(Dispatcher, SetLimitsAppliesTheLimitsAsAZoomOnOkOnly) {
    AppFixture f;
    f.doc->spectrum.xUnits = kPpm;
    f.host.setLimits.push([&f](display::SetLimitsDialog& m) {
        m.setFromText("2.5");
        m.setToText("7.5");
        return m.ok(*f.doc, f.view, f.ui);
    });
    for (int run = 0; run < 2; ++run) {  // OK, then Cancel over the full view: that view stays
        if (run == 1) f.dispatcher.dispatch(app::kCmdFull);
        f.dispatcher.dispatch(app::kCmdZoom);
        f.dispatcher.dispatch(app::kCmdSetLimits);
        // 10 ppm span the data (SW 1000 Hz at 100 MHz, offset 0): 7.5 .. 2.5 ppm is t 0.25 .. 0.75.
        EXPECT_NEAR(f.view.viewLeft, run == 0 ? 0.25 : 0.0, 1e-12);
        EXPECT_NEAR(f.view.viewRight, run == 0 ? 0.75 : 1.0, 1e-12);
        // A zoom applied on Cancel would leave the full view.
        EXPECT_EQ(std::tuple(f.view.hScrollPos, f.view.fullView, f.view.mouse.tool),
                  std::tuple(run == 0 ? 500 : 0, run, display::Tool::None));
    }
}

TEST(Dispatcher, TheLiveDialogsHoldTheLoadsAndWhatWouldChangeTheirDataWhileTheyAreOpen) {
    const struct {
        int command;
        void (app::CommandDispatcher::*setOpen)(bool);
        std::vector<int> held;  // beyond the common set; the first is refused from its key
        int free;               // stays enabled while the dialog is open
    } cases[] = {
        {app::kCmdPhase, &app::CommandDispatcher::setPhaseDialogOpen, {app::kCmdFourier}, app::kCmdAutophase},
        {app::kCmdInteractiveApodization,
         &app::CommandDispatcher::setApodizationDialogOpen,
         {app::kCmdPhase, app::kCmdApodize, app::kCmdUndo, app::kCmdByteSwap},
         app::kCmdDotDisplay},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        AppFixture f;
        app::MenuState& menus = f.dispatcher.menus();
        std::vector<int> held(app::liveDialogHeldCommands().begin(), app::liveDialogHeldCommands().end());
        held.insert(held.end(), c.held.begin(), c.held.end());
        const auto enabled = [&] {
            std::vector<bool> e;
            for (int id : held) e.push_back(menus.isEnabled(id));
            return e;
        };
        const std::vector<bool> before = enabled();
        f.dispatcher.dispatch(c.command);
        EXPECT_EQ(enabled(), std::vector<bool>(held.size(), false));
        EXPECT_FALSE(f.dispatcher.dispatch(c.held[0], CommandSource::Accelerator));  // Ctrl+T, Ctrl+P
        // Measure J giving the document menus back does not let them go either.
        menus.enableDocumentMenus(false);
        menus.enableDocumentMenus(true);
        EXPECT_EQ(std::pair(menus.isEnabled(c.held[0]), menus.isEnabled(c.free)), std::pair(false, true));
        (f.dispatcher.*c.setOpen)(false);  // as the window reports its closing: all as before
        EXPECT_EQ(enabled(), before);
    }

    // Chosen again, the open apodization comes forward; one dialog's closing leaves the other's holds.
    AppFixture f;
    f.dispatcher.dispatch(app::kCmdInteractiveApodization);
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdInteractiveApodization, CommandSource::Accelerator));
    EXPECT_EQ(f.host.apodizationShown, 2);
    f.dispatcher.setApodizationDialogOpen(false);
    f.dispatcher.dispatch(app::kCmdPhase);
    EXPECT_EQ(std::pair(f.dispatcher.menus().isEnabled(app::kCmdInteractiveApodization),
                        f.dispatcher.menus().isEnabled(app::kCmdApodize)),
              std::pair(false, true));
    f.dispatcher.setApodizationDialogOpen(false);
    EXPECT_FALSE(f.dispatcher.menus().isEnabled(app::kCmdFourier));
}

TEST(ClientArea, ResizeMovesThePlotButNotTheTraceBaseline) {
    Document doc;
    display::View view;
    display::initClientArea(view, 1920, 1040);
    const int baseline = view.baselineY;
    display::resizeClientArea(view, 1280, 800);
    EXPECT_EQ(std::tuple(view.plotRect, view.integralBaseY, view.tools.overviewBottom, view.baselineY),
              std::tuple(Rect{0, 28, 1280, 781}, 400, 200, baseline));
}

TEST(OutputCommands, EachPageCommandSetsItsFactorsBeforeTheWindowDrawsThePage) {
    AppFixture f;
    f.view.mouse.tool = display::Tool::Zoom;
    // Command, then (copies, prints, pictures, views) and the page's base factor and axis scale.
    // The picture file is the printed page, after a metafile copy too.
    const std::tuple<int, std::tuple<int, int, int, int>, double, double> steps[] = {
        {app::kCmdCopyMetafile, {1, 0, 0, 0}, 0.8, 1.0},
        {app::kCmdPrint, {1, 1, 0, 0}, 1.6, 1.8},
        {app::kCmdCopyMetafile, {2, 1, 0, 0}, 0.8, 1.0},
        {app::kCmdExportPicture, {2, 1, 1, 0}, 1.6, 1.8},
        {app::kCmdCopyBitmap, {2, 1, 1, 1}, 1.6, 1.8}};
    for (const auto& [id, counts, base, axis] : steps) {
        ASSERT_TRUE(f.dispatcher.dispatch(id)) << id;
        EXPECT_EQ(
            std::tuple(f.host.pagesCopied, f.host.pagesPrinted, f.host.picturesExported, f.host.viewsCopied),
            counts)
            << id;
        EXPECT_EQ(std::pair(f.host.lastPageBaseFactor, f.host.lastPageAxisScale), std::pair(base, axis))
            << id;
        EXPECT_EQ(f.view.mouse.tool, display::Tool::None);
    }
    // Before a load none of them runs.
    AppFixture empty(false);
    for (int id : {app::kCmdPrint, app::kCmdCopyMetafile, app::kCmdCopyBitmap, app::kCmdExportPicture,
                   app::kCmdPrintOptions})
        EXPECT_FALSE(empty.dispatcher.dispatch(id)) << id;
}

TEST(OutputCommands, PrinterOptionsStoreTheirBoxesOnOkOnly) {
    AppFixture f;
    for (const bool ok : {false, true}) {
        f.host.printerOptions.push([&f, ok](output::PrinterOptionsDialog& m) {
            EXPECT_EQ(std::tuple(m.colour(), m.parameters(), m.expansionBorders()),
                      std::tuple(false, true, false));
            m.setColour(true);
            m.setParameters(false);
            m.setExpansionBorders(true);
            if (ok) m.ok(f.view);
            return ok;
        });
        f.dispatcher.dispatch(app::kCmdPrintOptions);
        EXPECT_EQ(
            std::tuple(f.view.print.printColour, f.view.print.printParams, f.view.print.printExpBorders),
            ok ? std::tuple(1, 0, 1) : std::tuple(0, 1, 0));
    }
}

}  // namespace
}  // namespace pelvaron::testing
