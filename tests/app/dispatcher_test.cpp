// The command table, the menu-enabling sets and the small commands served by the dispatcher.
#include "app/dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "app/menu_state.h"
#include "app_fixture.h"
#include "document/format.h"

namespace pelvaron::testing {
namespace {

using app::CommandSource;
using platform::Answer;

TEST(MenuState, StartsWithTheTenItemsAndFollowsTheDocumentSet) {
    const std::set<int> initial(app::initiallyEnabledCommands().begin(),
                                app::initiallyEnabledCommands().end());
    EXPECT_EQ(initial, (std::set<int>{2, 40019, 40217, 6, 40208, 40215, 40160, 40210, 60, 70}));
    EXPECT_EQ(app::documentCommands().size(), 50u);  // with Process as Recorded

    app::MenuState menus;
    EXPECT_TRUE(menus.isEnabled(app::kCmdOpen));
    EXPECT_FALSE(menus.isEnabled(app::kCmdSave));
    EXPECT_FALSE(menus.isEnabled(app::kCmdUndo));
    EXPECT_FALSE(menus.toolbarVisible());

    menus.enableDocumentMenus(true);
    for (int id : app::documentCommands()) EXPECT_TRUE(menus.isEnabled(id)) << id;
    EXPECT_TRUE(menus.toolbarVisible());
    EXPECT_FALSE(menus.isEnabled(app::kCmdInteractiveSimulation));  // the simulation's own

    // Measure J grays the document set, Open and Import included; the rest of the first set stays.
    menus.enableDocumentMenus(false);
    EXPECT_FALSE(menus.isEnabled(app::kCmdOpen));
    EXPECT_FALSE(menus.isEnabled(app::kCmdImport));
    EXPECT_FALSE(menus.isEnabled(app::kCmdSave));
    EXPECT_TRUE(menus.isEnabled(app::kCmdDotDisplay));
    EXPECT_TRUE(menus.isEnabled(app::kCmdHelp));
    EXPECT_TRUE(menus.isEnabled(app::kCmdExportJcamp));
    EXPECT_FALSE(menus.toolbarVisible());
}

TEST(Dispatcher, RunsOnlyEnabledCommandsThatHaveAHandler) {
    AppFixture f(false);
    // Before a load Undo is grayed: neither the menu nor Ctrl+Z reaches it.
    f.doc->specData[0] = 5.0;
    EXPECT_FALSE(f.dispatcher.dispatch(app::kCmdUndo, CommandSource::Accelerator));
    EXPECT_EQ(f.doc->specData[0], 5.0);

    // Ctrl+J: enabled nowhere and served by nothing.
    f.dispatcher.menus().enableDocumentMenus(true);
    const int repaints = f.ui.repaints;
    EXPECT_FALSE(f.dispatcher.hasCommand(app::kCmdCtrlJ));
    EXPECT_FALSE(f.dispatcher.dispatch(app::kCmdCtrlJ, CommandSource::Accelerator));
    EXPECT_EQ(f.ui.repaints, repaints);
    EXPECT_TRUE(f.ui.messages.empty());

    // A menu choice repaints and focuses the window first; an accelerator does not.
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdHelp, CommandSource::Menu));
    EXPECT_EQ(f.host.focusRequests, 1);
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdHelp, CommandSource::Accelerator));
    EXPECT_EQ(f.host.focusRequests, 1);
    EXPECT_EQ(f.host.helpShown, 2);

    // Subsystems add their commands to the table.
    int runs = 0;
    f.dispatcher.registerCommand(app::kCmdFourier, [&runs](app::CommandContext&) { ++runs; });
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdFourier));
    EXPECT_EQ(runs, 1);
}

TEST(Dispatcher, FirstZoomTurnsDualDisplayZoomOnOnlyOnce) {
    AppFixture f;
    ASSERT_EQ(f.doc->dualZoom, 0);
    f.dispatcher.dispatch(app::kCmdZoom);
    EXPECT_EQ(f.doc->dualZoom, 1);
    EXPECT_EQ(f.doc->toolMode, 40007);
    EXPECT_EQ(f.doc->toolActive, 1);
    EXPECT_EQ(app::checkState(*f.doc, app::kCmdDualZoom), true);

    f.dispatcher.dispatch(app::kCmdDualZoom);
    EXPECT_EQ(f.doc->dualZoom, 0);
    f.dispatcher.dispatch(app::kCmdZoom);
    EXPECT_EQ(f.doc->dualZoom, 0);
    EXPECT_EQ(app::checkState(*f.doc, app::kCmdDualZoom), false);

    f.dispatcher.dispatch(app::kCmdDefaultMode);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    EXPECT_EQ(f.doc->toolActive, 0);
}

TEST(Dispatcher, ToggledViewFlagsAndTheirCheckMarks) {
    AppFixture f;
    EXPECT_EQ(app::checkState(*f.doc, app::kCmdShowGrid), false);
    f.dispatcher.dispatch(app::kCmdShowGrid);
    f.dispatcher.dispatch(app::kCmdDotDisplay);
    EXPECT_EQ(f.doc->showGrid, 1);
    EXPECT_EQ(f.doc->dotDisplay, 1);
    EXPECT_EQ(app::checkState(*f.doc, app::kCmdShowGrid), true);
    EXPECT_EQ(app::checkState(*f.doc, app::kCmdShowCurves), true);  // starts checked
    EXPECT_FALSE(app::checkState(*f.doc, app::kCmdZoom).has_value());
    f.dispatcher.dispatch(app::kCmdShowGrid);
    EXPECT_EQ(f.doc->showGrid, 0);
}

TEST(Dispatcher, ScaleFactorIsAskedAgainUntilItLiesBetweenOneAndTen) {
    AppFixture f;
    for (const char* text : {"0.5", "twelve", "12", "2.5"}) {
        f.host.scaleFactor.push_back([text, &f](display::ScaleFactorDialog& m) {
            m.setText(text);
            m.ok(*f.doc);
            return true;
        });
    }
    f.dispatcher.dispatch(app::kCmdScaleFactor);
    EXPECT_EQ(f.host.scaleFactorRuns, 4);
    EXPECT_DOUBLE_EQ(f.doc->yScaleFactor, 2.5);
    ASSERT_EQ(f.ui.messages.size(), 3u);
    for (const auto& m : f.ui.messages) {
        EXPECT_EQ(m.text, "The scale factor must be a value between 1 and 10");
        EXPECT_EQ(m.caption, "Warnning");
    }

    // Increase and Decrease use the new factor.
    f.dispatcher.dispatch(app::kCmdIncrease);
    EXPECT_DOUBLE_EQ(f.doc->vScale, 75.0 * 2.5);
    f.dispatcher.dispatch(app::kCmdDecrease);
    EXPECT_DOUBLE_EQ(f.doc->vScale, 75.0);
}

TEST(Dispatcher, InvertTwiceRestoresDataAndPhase) {
    AppFixture f;
    f.doc->phase0 = 30.0;
    std::vector<double> before(f.doc->specData.begin(), f.doc->specData.begin() + f.doc->nData);
    f.dispatcher.dispatch(app::kCmdInvert);
    EXPECT_DOUBLE_EQ(f.doc->specData[200], -50.0);
    EXPECT_DOUBLE_EQ(f.doc->phase0, -150.0);
    f.dispatcher.dispatch(app::kCmdInvert);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), f.doc->specData.begin()));
    EXPECT_DOUBLE_EQ(f.doc->phase0, 30.0);

    // Undo gives back the data of the last snapshot (the load).
    f.dispatcher.dispatch(app::kCmdInvert);
    f.dispatcher.dispatch(app::kCmdUndo);
    EXPECT_DOUBLE_EQ(f.doc->specData[200], 50.0);
    EXPECT_DOUBLE_EQ(f.doc->peakValue, 50.0);
}

TEST(Dispatcher, LinearDriftWithEqualEndsRemovesOnlyTheConstant) {
    AppFixture f;
    for (int i = 0; i < f.doc->nData; ++i) f.doc->specData[i] = 3.0 + ((i / 2) % 5 == 0 ? 1.0 : 0.0);
    // Head and tail: mean 3.25 over the first and last eight real parts alike.
    for (int i = 0; i < 16; i += 2) {
        f.doc->specData[i] = 3.25;
        f.doc->specData[f.doc->nData - 16 + i] = 3.25;
    }
    std::vector<double> before(f.doc->specData.begin(), f.doc->specData.begin() + f.doc->nData);
    f.doc->referenceMode = 1;
    f.dispatcher.dispatch(app::kCmdLinearDrift);
    for (int i = 0; i < f.doc->nData; ++i) ASSERT_NEAR(f.doc->specData[i], before[i] - 3.25, 1e-12) << i;
    EXPECT_EQ(f.doc->referenceMode, 0);
}

TEST(Dispatcher, SetLimitsAppliesTheLimitsAsAZoomAndKeepsRefusedOnesOut) {
    AppFixture f;
    f.doc->xUnits = kPpm;
    // 10 ppm spans the whole data (SW 1000 Hz at 100 MHz, offset 0): 7.5 .. 2.5 ppm is t 0.25 .. 0.75.
    f.host.setLimits.push_back([&f](display::SetLimitsDialog& m) {
        m.setFromText("2.5");
        m.setToText("7.5");
        return m.ok(*f.doc, f.ui);
    });
    f.dispatcher.dispatch(app::kCmdZoom);
    f.dispatcher.dispatch(app::kCmdSetLimits);
    EXPECT_NEAR(f.doc->viewLeft, 0.25, 1e-12);
    EXPECT_NEAR(f.doc->viewRight, 0.75, 1e-12);
    EXPECT_NEAR(f.doc->viewZoom, 2.0, 1e-9);
    EXPECT_EQ(f.doc->fullView, 0);
    EXPECT_EQ(f.doc->hScrollPos, 500);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    EXPECT_EQ(f.doc->toolActive, 0);

    // The reversed entry gives the same view.
    f.dispatcher.dispatch(app::kCmdFull);
    f.host.setLimits.push_back([&f](display::SetLimitsDialog& m) {
        m.setFromText("7.5");
        m.setToText("2.5");
        return m.ok(*f.doc, f.ui);
    });
    f.dispatcher.dispatch(app::kCmdSetLimits);
    EXPECT_NEAR(f.doc->viewLeft, 0.25, 1e-12);
    EXPECT_NEAR(f.doc->viewRight, 0.75, 1e-12);

    // Beyond the data: "Error" / "Limits exceeded", the dialog stays; Cancel restores the view.
    f.host.setLimits.push_back([&f](display::SetLimitsDialog& m) {
        m.setFromText("12");
        m.setToText("2");
        EXPECT_FALSE(m.ok(*f.doc, f.ui));
        m.cancel(*f.doc);
        return false;
    });
    f.dispatcher.dispatch(app::kCmdSetLimits);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Error");
    EXPECT_EQ(f.ui.messages[0].caption, "Limits exceeded");
    EXPECT_NEAR(f.doc->viewLeft, 0.25, 1e-12);
    EXPECT_NEAR(f.doc->viewRight, 0.75, 1e-12);
}

TEST(Dispatcher, UnitsAndFullView) {
    AppFixture f;
    f.host.units.push_back([&f](display::UnitsDialog& m) {
        m.select(kHz);
        m.ok(*f.doc, f.ui);
        return true;
    });
    f.dispatcher.dispatch(app::kCmdUnits);
    EXPECT_EQ(f.doc->xUnits, kHz);
    EXPECT_EQ(f.doc->unitHz, 1);
    EXPECT_EQ(f.doc->unitSeconds, 0);

    // Cancel changes nothing.
    f.dispatcher.dispatch(app::kCmdUnits);
    EXPECT_EQ(f.doc->xUnits, kHz);

    f.doc->viewLeft = 0.2;
    f.doc->viewRight = 0.4;
    f.doc->fullView = 0;
    f.doc->hScrollPos = 400;
    f.dispatcher.dispatch(app::kCmdFull, CommandSource::Accelerator);
    EXPECT_EQ(f.doc->fullView, 1);
    EXPECT_DOUBLE_EQ(f.doc->viewLeft, 0.0);
    EXPECT_DOUBLE_EQ(f.doc->viewRight, 1.0);
    EXPECT_DOUBLE_EQ(f.doc->viewZoom, 1.0);
    EXPECT_EQ(f.doc->hScrollPos, 0);
}

TEST(Dispatcher, InsertCommentsPlacesTheBoxWhereTheDialogStood) {
    AppFixture f;
    f.doc->jcamp.lastJcampText = "ethyl acetate";
    f.host.comment.push_back([](app::CommentEntry& e) {
        EXPECT_EQ(e.text, "ethyl acetate");
        e.text = "CDCl3, 25 C";
        e.x = 120;
        e.y = 200;
        e.extent = {88, 16};
        return true;
    });
    f.dispatcher.dispatch(app::kCmdInsertComments);
    ASSERT_EQ(f.doc->comments.boxes.size(), 1u);
    EXPECT_EQ(f.doc->comments.boxes[0].text, "CDCl3, 25 C");
    EXPECT_EQ(f.doc->comments.boxes[0].rect, (Rect{120, 200, 208, 216}));

    f.dispatcher.dispatch(app::kCmdInsertComments);  // Cancel
    EXPECT_EQ(f.doc->comments.boxes.size(), 1u);
}

TEST(Dispatcher, MoveSpectrumArmsTheToolUntilTheNextPress) {
    AppFixture f;
    f.dispatcher.dispatch(app::kCmdMoveSpectrum);
    EXPECT_EQ(f.doc->tools.moveArmed, 1);
    EXPECT_EQ(f.doc->toolMode, 40015);
    EXPECT_EQ(f.doc->toolActive, 1);
}

TEST(Dispatcher, ExitAsksToSaveUnlessNothingWasLoaded) {
    AppFixture f;
    f.dispatcher.dispatch(app::kCmdExit);
    EXPECT_EQ(f.host.closeRequests, 1);

    f.ui.answers = {Answer::Cancel};
    EXPECT_FALSE(f.dispatcher.queryClose());
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Do you want to save the current spectrum?");
    EXPECT_EQ(f.ui.messages[0].caption, "Warning");
    EXPECT_EQ(f.ui.messages[0].buttons, platform::Buttons::YesNoCancel);

    f.ui.answers = {Answer::No};
    EXPECT_TRUE(f.dispatcher.queryClose());

    AppFixture empty(false);
    EXPECT_TRUE(empty.dispatcher.queryClose());
    EXPECT_TRUE(empty.ui.messages.empty());
}

TEST(ClientArea, ResizeMovesThePlotButNotTheTraceBaseline) {
    Document doc;
    doc.initClientArea(1920, 1040);
    const int baseline = doc.baselineY;
    app::resizeClientArea(doc, 1280, 800);
    EXPECT_EQ(doc.clientWidth, 1280);
    EXPECT_EQ(doc.clientHeight, 800);
    EXPECT_EQ(doc.plotRect, (Rect{0, 28, 1280, 781}));
    EXPECT_EQ(doc.integrals.integralBaseY, 400);
    EXPECT_EQ(doc.tools.overviewBottom, 200);
    EXPECT_EQ(doc.baselineY, baseline);
}

}  // namespace
}  // namespace pelvaron::testing
