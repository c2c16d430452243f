// The commands that hand processing and data-file models to the window: Apodize, Fourier
// transform, Process as Recorded, Phase Correction, Autophase, Export JCamp, Byte Swap and Data points.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <vector>

#include "app/menu_state.h"
#include "app_fixture.h"
#include "io/load.h"
#include "processing/recorded.h"
#include "temp_dir.h"

namespace pelvaron::testing {
namespace {

using app::CommandSource;
using processing::ScrollAction;

constexpr double kPi = 3.141592653589793;

std::vector<double> dataOf(const Document& doc) {
    return {doc.specData.begin(), doc.specData.begin() + doc.nData};
}

bool sameData(const Document& doc, const std::vector<double>& data) {
    return static_cast<int>(data.size()) <= kCapacity &&
           std::equal(data.begin(), data.end(), doc.specData.begin());
}

/// Forward transform through the command, with the dialog's proposals.
void transform(AppFixture& f) {
    f.host.fourier.push_back([](processing::FourierDialog& m) {
        m.open();
        EXPECT_TRUE(m.ok());
        return true;
    });
    f.dispatcher.dispatch(app::kCmdFourier);
}

TEST(SubsystemCommands, AreServedAndOnlyExportJcampRunsBeforeALoad) {
    AppFixture f(false);
    const int ids[] = {app::kCmdApodize,     app::kCmdFourier,  app::kCmdProcessAsRecorded,
                       app::kCmdPhase,       app::kCmdAutophase, app::kCmdExportJcamp,
                       app::kCmdByteSwap,    app::kCmdDataPoints};
    for (int id : ids) {
        EXPECT_TRUE(f.dispatcher.hasCommand(id)) << id;
        EXPECT_EQ(f.dispatcher.dispatch(id, CommandSource::Accelerator), id == app::kCmdExportJcamp) << id;
    }
    EXPECT_EQ(f.host.jcampOptionsRuns, 1);
    EXPECT_EQ(f.host.fourierRuns + f.host.windowFunctionRuns + f.host.phaseShown + f.host.dataPointsRuns, 0);
}

TEST(SubsystemCommands, ApodizeAppliesTheWindowAndUndoReturnsTheDataOfItsOpening) {
    AppFixture f;
    const std::vector<double> before = dataOf(*f.doc);
    f.doc->toolMode = app::kCmdZoom;
    f.doc->toolActive = 1;
    f.host.windowFunction.push_back([](processing::WindowFunctionDialog& m) {
        m.open();
        m.selected = Window::Exponential;
        m.lbExpText = "1";
        return m.ok();
    });
    f.dispatcher.dispatch(app::kCmdApodize);
    // Double index 200, SW 1000 Hz, LB 1 Hz: exp(-pi * 200 / 2000).
    EXPECT_NEAR(f.doc->specData[200], 50.0 * std::exp(-kPi * 0.1), 1e-12);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    EXPECT_EQ(f.doc->toolActive, 0);
    ASSERT_FALSE(f.ui.statusTexts[0].empty());
    EXPECT_EQ(f.ui.statusTexts[0].back().find_first_not_of(' '), std::string::npos);

    f.dispatcher.dispatch(app::kCmdUndo);
    EXPECT_TRUE(sameData(*f.doc, before));

    // Cancel: nothing applied.
    f.dispatcher.dispatch(app::kCmdApodize);
    EXPECT_TRUE(sameData(*f.doc, before));
}

TEST(SubsystemCommands, FourierTransformThenUndoRestoresDataPeakAndTheFiveFlags) {
    AppFixture f;
    f.doc->negateImag = 1;
    f.doc->toolMode = app::kCmdZoom;
    // Cancel puts the size back: 2000 doubles were rounded up to 2048 while the dialog was open.
    f.host.fourier.push_back([&f](processing::FourierDialog& m) {
        m.open();
        EXPECT_EQ(m.pointsText(), "2048");
        m.cancel();
        return false;
    });
    f.dispatcher.dispatch(app::kCmdFourier);
    EXPECT_EQ(f.doc->nData, 2000);
    EXPECT_EQ(f.doc->acqPars.TD, 2000);

    f.doc->nData = 2048;  // what the transform will work on; the doubles beyond 2000 are zero
    const std::vector<double> fid = dataOf(*f.doc);
    f.doc->nData = 2000;
    const double peak = f.doc->peakValue;
    const int flags[5] = {f.doc->ftReal, f.doc->ftDriftCorr, f.doc->ftQuadrature, f.doc->ftInverse,
                          f.doc->negateImag};
    transform(f);
    EXPECT_EQ(f.host.fourierRuns, 2);
    EXPECT_EQ(f.doc->nData, 2048);
    EXPECT_EQ(f.doc->xUnits, kPpm);
    EXPECT_EQ(f.doc->ftInverse, 1);
    EXPECT_EQ(f.doc->negateImag, 0);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    EXPECT_FALSE(sameData(*f.doc, fid));

    f.dispatcher.dispatch(app::kCmdUndo, CommandSource::Accelerator);
    EXPECT_TRUE(sameData(*f.doc, fid));
    EXPECT_EQ(f.doc->peakValue, peak);
    const int restored[5] = {f.doc->ftReal, f.doc->ftDriftCorr, f.doc->ftQuadrature, f.doc->ftInverse,
                             f.doc->negateImag};
    EXPECT_TRUE(std::equal(std::begin(flags), std::end(flags), std::begin(restored)));
    // The size and the units stay as the transform left them.
    EXPECT_EQ(f.doc->nData, 2048);
    EXPECT_EQ(f.doc->xUnits, kPpm);
}

TEST(SubsystemCommands, ProcessAsRecordedRefusesWithoutARecordAndUndoesToTheExampleFid) {
    AppFixture f;
    const std::vector<double> synthetic = dataOf(*f.doc);
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdProcessAsRecorded, CommandSource::Accelerator));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, processing::kNoRecordedProcessingText);
    EXPECT_TRUE(sameData(*f.doc, synthetic));

    ASSERT_TRUE(io::loadFile(*f.doc, f.ui, sourcePath("examples/ethyl-acetate/1/fid"), io::FileFormat::Bruker));
    const std::vector<double> fid = dataOf(*f.doc);
    f.ui.messages.clear();
    f.dispatcher.dispatch(app::kCmdProcessAsRecorded, CommandSource::Accelerator);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(f.doc->nData, 2 * 16384);  // zero filled to SI
    EXPECT_EQ(f.doc->xUnits, kPpm);
    EXPECT_EQ(f.doc->ftInverse, 1);
    EXPECT_DOUBLE_EQ(f.doc->peakValue, 100.0);  // the example's lines come out upright
    f.dispatcher.dispatch(app::kCmdUndo, CommandSource::Accelerator);
    EXPECT_EQ(f.doc->nData, 16384);
    EXPECT_TRUE(sameData(*f.doc, fid));
}

TEST(SubsystemCommands, PhaseCorrectionHoldsTheLoadsAndTheTransformWhileItIsOpen) {
    AppFixture f;
    transform(f);
    const std::vector<double> spectrum = dataOf(*f.doc);
    f.doc->toolMode = app::kCmdZoom;

    f.dispatcher.dispatch(app::kCmdPhase);
    ASSERT_TRUE(f.host.phase.has_value());
    EXPECT_EQ(f.doc->transform.showPivot, 1);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    EXPECT_TRUE(f.dispatcher.phaseDialogOpen());
    for (int id : app::phaseDialogHeldCommands()) EXPECT_FALSE(f.dispatcher.menus().isEnabled(id)) << id;
    EXPECT_FALSE(f.dispatcher.dispatch(app::kCmdFourier, CommandSource::Accelerator));  // Ctrl+T
    EXPECT_FALSE(f.dispatcher.dispatch(app::kCmdOpen));
    EXPECT_EQ(f.host.fourierRuns, 1);
    // Measure J giving the document menus back does not let them go either.
    f.dispatcher.menus().enableDocumentMenus(false);
    f.dispatcher.menus().enableDocumentMenus(true);
    EXPECT_FALSE(f.dispatcher.menus().isEnabled(app::kCmdFourier));
    EXPECT_TRUE(f.dispatcher.menus().isEnabled(app::kCmdAutophase));

    // Scrolling re-phases; choosing the command again only brings the dialog forward, so Cancel
    // still returns to the data of the first opening.
    f.host.phase->scrollOrder0(ScrollAction::PageRight);
    EXPECT_DOUBLE_EQ(f.doc->phase0, 10.0);
    EXPECT_FALSE(sameData(*f.doc, spectrum));
    f.dispatcher.dispatch(app::kCmdPhase);
    EXPECT_EQ(f.host.phaseShown, 2);
    f.host.phase->scrollOrder0(ScrollAction::PageRight);
    f.closePhaseDialog(false);
    EXPECT_TRUE(sameData(*f.doc, spectrum));
    EXPECT_DOUBLE_EQ(f.doc->phase0, 0.0);
    EXPECT_EQ(f.doc->transform.showPivot, 0);
    for (int id : {app::kCmdOpen, app::kCmdImport, app::kCmdFourier, app::kCmdAddSubtract})
        EXPECT_TRUE(f.dispatcher.menus().isEnabled(id)) << id;

    // OK keeps the phase; Undo returns to the data at the opening.
    f.dispatcher.dispatch(app::kCmdPhase);
    f.host.phase->scrollOrder0(ScrollAction::LineLeft);
    f.closePhaseDialog(true);
    EXPECT_DOUBLE_EQ(f.doc->phase0, -1.0);
    EXPECT_FALSE(sameData(*f.doc, spectrum));
    f.dispatcher.dispatch(app::kCmdUndo);
    EXPECT_TRUE(sameData(*f.doc, spectrum));
}

TEST(SubsystemCommands, AutophaseTurnsANegativeLineUpright) {
    AppFixture f;
    // One Lorentzian line at point 300, turned by 150 degrees: its largest real part is negative.
    const int n = 2000;
    const std::complex<double> turn = std::polar(1.0, 150.0 * kPi / 180.0);
    for (int k = 0; k < n / 2; ++k) {
        const std::complex<double> line = 10.0 / std::complex<double>(3.0, k - 300.0) * turn;
        f.doc->specData[2 * k] = line.real();
        f.doc->specData[2 * k + 1] = line.imag();
    }
    f.doc->peakIndex = 600;
    f.doc->peakValue = f.doc->specData[600];
    ASSERT_LT(f.doc->peakValue, 0.0);

    f.dispatcher.dispatch(app::kCmdAutophase);
    // atan(-im/re) gives +30 (the line upside down), the negative maximum adds the half turn.
    EXPECT_DOUBLE_EQ(f.doc->phase0, -150.0);
    EXPECT_DOUBLE_EQ(f.doc->phase1, 0.0);
    EXPECT_NEAR(f.doc->specData[600], 10.0 / 3.0, 1e-4);
    EXPECT_NEAR(f.doc->specData[601], 0.0, 1e-4);
    EXPECT_EQ(f.doc->phaseSourceValid, 1);
}

TEST(SubsystemCommands, ExportJcampWorksBeforeAnyLoadAndKeepsItsChoices) {
    TempDir dir;
    AppFixture f(false);
    ASSERT_TRUE(f.dispatcher.menus().isEnabled(app::kCmdExportJcamp));
    const std::string first = dir.file("empty.txt");
    f.ui.files = {first};
    f.host.jcampOptions.push_back([&f](io::JcampOptionsDialog& m) {
        m.open(*f.doc);
        EXPECT_EQ(m.title, "Untitled");
        EXPECT_EQ(m.owner, "Pelvaron 1.5");
        EXPECT_EQ(m.spectrum, 1);
        m.realOnly = 1;
        return m.ok(*f.doc, f.ui) == 1;
    });
    EXPECT_TRUE(f.dispatcher.dispatch(app::kCmdExportJcamp));
    ASSERT_TRUE(std::filesystem::exists(first));
    const std::string text = readFile(first);
    EXPECT_EQ(text.rfind("##TITLE= Untitled\n", 0), 0u);
    EXPECT_NE(text.find("##DATA CLASS= XYDATA"), std::string::npos);
    EXPECT_NE(text.find("##END="), std::string::npos);
    EXPECT_TRUE(f.ui.messages.empty());

    // The next opening shows the stored check states; Cancel writes nothing.
    f.ui.files = {dir.file("never.txt")};
    f.host.jcampOptions.push_back([&f](io::JcampOptionsDialog& m) {
        m.open(*f.doc);
        EXPECT_EQ(m.realOnly, 1);
        return false;
    });
    f.dispatcher.dispatch(app::kCmdExportJcamp);
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.txt")));
}

TEST(SubsystemCommands, ByteSwapRefreshesThePeakAndTheFidCopy) {
    AppFixture f;
    for (int i = 0; i < f.doc->nData; ++i) f.doc->specData[i] = i % 3;
    f.doc->specData[0] = 1.0;
    f.doc->specData[200] = 50.0;
    const std::vector<double> before = dataOf(*f.doc);
    f.dispatcher.dispatch(app::kCmdByteSwap);
    EXPECT_EQ(f.doc->specData[0], 16777216.0);
    EXPECT_EQ(f.doc->specData[200], 50.0 * 16777216.0);
    EXPECT_EQ(f.doc->peakValue, 50.0 * 16777216.0);
    EXPECT_EQ(f.doc->peakIndex, 200);
    EXPECT_EQ(f.doc->fidCopy[1999], f.doc->specData[1999]);
    f.dispatcher.dispatch(app::kCmdByteSwap);
    EXPECT_TRUE(sameData(*f.doc, before));
}

TEST(SubsystemCommands, DataPointsListsTheDisplayedRealsAndExportsThem) {
    TempDir dir;
    AppFixture f;
    f.doc->xUnits = kPoints;
    f.ui.files = {dir.file("points.txt")};
    f.host.dataPoints.push_back([&f](io::DataPointsDialog& m) {
        m.open(*f.doc);
        EXPECT_EQ(m.columnTitle, "Point");
        EXPECT_EQ(m.lines.size(), 1000u);  // every real part of the full view
        EXPECT_TRUE(m.exportAscii(*f.doc, f.ui));
        return true;
    });
    f.dispatcher.dispatch(app::kCmdDataPoints);
    EXPECT_EQ(f.host.dataPointsRuns, 1);
    const std::string text = readFile(dir.file("points.txt"));
    EXPECT_NE(text.find("  100\t50.000\n"), std::string::npos);
}

}  // namespace
}  // namespace pelvaron::testing
