// Open, Import, drag and drop and the dialog models of the File menu.
#include <gtest/gtest.h>

#include <cmath>

#include "app/file_type_dialog.h"
#include "app/parameters_dialog.h"
#include "app_fixture.h"
#include "bruker_writer.h"
#include "io/native_file.h"
#include "temp_dir.h"

namespace pelvaron::testing {
namespace {

using platform::Answer;

BrukerFidSpec smallFid() {
    BrukerFidSpec spec;
    for (int k = 0; k < 64; ++k) {
        spec.values.push_back(1000.0 * std::cos(0.3 * k) * std::exp(-0.05 * k));
        spec.values.push_back(1000.0 * std::sin(0.3 * k) * std::exp(-0.05 * k));
    }
    spec.sw = 4000.0;
    return spec;
}

TEST(FileCommands, OpenHandsAForeignFileToImportWithoutAskingForItAgain) {
    TempDir dir;
    const std::string fid = writeBrukerFid(dir.file("exp"), smallFid());
    AppFixture f(false);
    f.ui.files = {fid};
    f.ui.answers = {Answer::Ok};  // "This is not a Pelvaron File ..."
    f.host.fileType.push_back([&f](app::FileTypeDialogModel& m) {
        EXPECT_TRUE(m.isChecked(io::ImportFormat::BrukerXwin));
        m.ok(*f.doc);
        return true;
    });
    f.dispatcher.dispatch(app::kCmdOpen);
    EXPECT_EQ(f.ui.fileRequests.size(), 1u);  // only Open's dialog
    EXPECT_EQ(f.host.fileTypeRuns, 1);
    EXPECT_TRUE(f.dispatcher.lastOpenSucceeded());
    EXPECT_EQ(f.doc->haveDocument, 1);
    EXPECT_EQ(f.doc->nData, 128);
    EXPECT_EQ(f.doc->toolMode, kNoTool);
    ASSERT_FALSE(f.ui.titles.empty());
    EXPECT_EQ(f.ui.titles.back(), "Pelvaron 1.5.0 fid");
}

TEST(FileCommands, CancellingTheFileTypeAfterAnOpenHandOverAsksForTheFileNextTime) {
    TempDir dir;
    const std::string fid = writeBrukerFid(dir.file("exp"), smallFid());
    AppFixture f(false);
    f.ui.files = {fid};
    f.ui.answers = {Answer::Ok};
    f.dispatcher.dispatch(app::kCmdOpen);  // File type: no script, so Cancel
    EXPECT_EQ(f.doc->haveDocument, 0);
    EXPECT_EQ(f.doc->import.importAskFile, 1);

    // The next Import shows the open dialog instead of reading the old path behind the person's back.
    f.host.fileType.push_back([&f](app::FileTypeDialogModel& m) {
        m.ok(*f.doc);
        return true;
    });
    f.dispatcher.dispatch(app::kCmdImport);
    EXPECT_EQ(f.ui.fileRequests.size(), 2u);
    EXPECT_EQ(f.doc->haveDocument, 0);  // that dialog was cancelled
}

TEST(FileCommands, OpenAndImportAskToSaveFirstAndCancelAbandons) {
    AppFixture f;
    f.ui.answers = {Answer::Cancel, Answer::Cancel};
    f.dispatcher.dispatch(app::kCmdOpen);
    f.dispatcher.dispatch(app::kCmdImport);
    EXPECT_EQ(f.ui.messages.size(), 2u);
    EXPECT_TRUE(f.ui.fileRequests.empty());
    EXPECT_EQ(f.host.fileTypeRuns, 0);
}

TEST(FileCommands, SaveThenOpenAndDropGiveTheSameData) {
    TempDir dir;
    AppFixture f;
    f.doc->referenceMode = 1;
    f.ui.files = {dir.file("saved.PLV")};
    f.dispatcher.dispatch(app::kCmdSave);
    EXPECT_EQ(f.doc->referenceMode, 0);

    AppFixture g(false);
    g.ui.files = {dir.file("saved.PLV")};
    g.dispatcher.dispatch(app::kCmdOpen);
    EXPECT_EQ(g.doc->nData, 2000);
    EXPECT_DOUBLE_EQ(g.doc->specData[200], 50.0);

    // A dropped file opens without a dialog; so does a dropped experiment folder, through Import.
    AppFixture h(false);
    EXPECT_TRUE(h.dispatcher.openDropped(dir.file("saved.PLV")));
    EXPECT_TRUE(h.ui.fileRequests.empty());
    EXPECT_DOUBLE_EQ(h.doc->specData[200], 50.0);

    writeBrukerFid(dir.file("exp"), smallFid());
    AppFixture k(false);
    k.ui.answers = {Answer::Ok};
    k.host.fileType.push_back([&k](app::FileTypeDialogModel& m) {
        m.ok(*k.doc);
        return true;
    });
    EXPECT_TRUE(k.dispatcher.openDropped(dir.file("exp")));
    EXPECT_EQ(k.doc->nData, 128);
    EXPECT_TRUE(k.ui.fileRequests.empty());
}

TEST(FileCommands, OpenPathDetectsTheFormat) {
    TempDir dir;
    writeBrukerFid(dir.file("exp"), smallFid());
    AppFixture f(false);
    EXPECT_TRUE(f.dispatcher.openPath(dir.file("exp")));
    EXPECT_EQ(f.doc->nData, 128);
    f.ui.messages.clear();  // the experiment has no proc file: only a warning
    EXPECT_FALSE(f.dispatcher.openPath(dir.file("missing")));
    ASSERT_FALSE(f.ui.messages.empty());
    EXPECT_EQ(f.ui.messages[0].text, "Cannot Open or\n Don't know what to do with it!!");
}

TEST(FileTypeDialog, OpensOnTheRememberedFlagAndStoresTheChoice) {
    Document doc;
    app::FileTypeDialogModel opened(doc);
    EXPECT_TRUE(opened.isChecked(io::ImportFormat::BrukerXwin));
    EXPECT_TRUE(opened.isAvailable(io::ImportFormat::BrukerXwin));
    ASSERT_EQ(app::fileTypeChoices().size(), 8u);
    EXPECT_EQ(app::fileTypeChoices()[3].caption, "&Varian VXR/Unity ");
    EXPECT_EQ(app::fileTypeChoices()[5].caption, "GE/&NICOLET (NT, QE, GN)");

    app::FileTypeDialogModel chosen(doc);
    chosen.check(io::ImportFormat::Jcamp);
    EXPECT_FALSE(chosen.isChecked(io::ImportFormat::BrukerXwin));
    chosen.ok(doc);
    EXPECT_EQ(doc.import.fmtJcamp, 1);
    EXPECT_EQ(doc.import.fmtBrukerXwin, 0);
    EXPECT_TRUE(app::FileTypeDialogModel(doc).isChecked(io::ImportFormat::Jcamp));

    // No flag set: no button checked, and OK keeps it that way.
    doc.import.fmtJcamp = 0;
    app::FileTypeDialogModel none(doc);
    for (const auto& c : app::fileTypeChoices()) EXPECT_FALSE(none.isChecked(c.format));
}

TEST(ParametersDialog, ShowsTheParametersInTheirFormats) {
    AppFixture f;
    app::ParametersFields p = app::parametersFields(*f.doc);
    EXPECT_EQ(p.sf, "100.000");
    EXPECT_EQ(p.sw, "1000.000");
    EXPECT_EQ(p.swPpm, "10.000");
    EXPECT_EQ(p.aq, "1.00");
    EXPECT_EQ(p.td, "2000");
    EXPECT_EQ(p.mode, "Complex");
    f.doc->ftReal = 1;
    f.doc->acqPars.TD = 0;
    p = app::parametersFields(*f.doc);
    EXPECT_EQ(p.mode, "Real");
    EXPECT_EQ(p.td, "");

    f.dispatcher.dispatch(app::kCmdParameters);
    ASSERT_EQ(f.host.parametersShown.size(), 1u);
}

}  // namespace
}  // namespace pelvaron::testing
