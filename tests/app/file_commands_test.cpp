// Open, Import, named and dropped files and the File type dialog's model, on the aspirin
// experiment as the spectrometer wrote it.
#include <gtest/gtest.h>

#include "app/file_type_dialog.h"
#include "app_fixture.h"
#include "simulation/spin_system_file.h"
#include "temp_dir.h"

namespace pelvaron::testing {
namespace {

using platform::Answer;

const std::string kAspirin = sourcePath("tests/data/aspirin-1h/fid-set");
const std::string kJeol = sourcePath("tests/data/jeol-1h/proton-meod.jdf");

TEST(FileCommands, OpenHandsAForeignFileToImportAndACancelledFileTypeAsksForTheFileNextTime) {
    AppFixture f(false);
    f.ui.files = {kAspirin + "/fid"};
    f.ui.answers = {Answer::Ok};           // "This is not a Pelvaron File ..."
    f.dispatcher.dispatch(app::kCmdOpen);  // File type: no script, so Cancel
    EXPECT_EQ(f.doc->haveDocument, 0);
    // OK in the File type dialog on what it proposes. The next Import shows the open dialog instead of
    // reading the old path behind the person's back.
    f.host.fileType.push([&f](app::FileTypeDialogModel& m) { return m.ok(*f.doc), true; });
    f.dispatcher.dispatch(app::kCmdImport);
    EXPECT_EQ(f.ui.fileRequests.size(), 2u);
    EXPECT_EQ(f.doc->haveDocument, 0);  // that dialog was cancelled

    // Agreed to, the Import reads the file Open chose without asking for it again.
    f.ui.files = {kAspirin + "/fid"};
    f.ui.answers = {Answer::Ok};
    f.host.fileType.push([&f](app::FileTypeDialogModel& m) { return m.ok(*f.doc), true; });
    f.dispatcher.dispatch(app::kCmdOpen);
    EXPECT_EQ(f.ui.fileRequests.size(), 3u);
    EXPECT_EQ(f.doc->spectrum.nData, 16384);
}

TEST(FileCommands, SavedNamedAndDroppedFilesOpenWithoutADialog) {
    TempDir dir;
    const std::string saved = dir.file("saved.PLV");
    AppFixture original;
    original.view.mouse.tool = display::Tool::ReferencePick;
    original.ui.files = {saved};
    original.dispatcher.dispatch(app::kCmdSave);
    EXPECT_EQ(original.view.mouse.tool, display::Tool::None);
    AppFixture opened(false);
    opened.doc->sim.simExists = 1;
    opened.ui.files = {saved};
    opened.dispatcher.dispatch(app::kCmdOpen);  // what the file holds is checked with the native file
    EXPECT_EQ(opened.doc->sim.simExists, 0);    // the file opened replaces the simulation

    const struct {
        std::string path;
        bool dropped;
        int nData;  // 0: refused
        std::optional<FileFormat> asked = std::nullopt;  // the File type dialog's choice on opening
    } cases[] = {
        {saved, false, 2000},
        {saved, true, 2000},
        {kAspirin, false, 16384},
        {kAspirin, true, 16384, FileFormat::Bruker},
        {kJeol, false, 65536},
        {kJeol, true, 65536, FileFormat::Jeol},
        {dir.file("missing"), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + (c.dropped ? " dropped" : " named"));
        AppFixture f(false);
        f.doc->import.importFormat = FileFormat::Varian;  // remembered from an earlier Import
        f.ui.answers = {Answer::Ok};  // a question on the way is agreed to, as a person would
        // A dropped file hands over to Import, whose dialog opens on the format the file names.
        std::optional<FileFormat> asked;
        f.host.fileType.push([&](app::FileTypeDialogModel& m) {
            for (const auto& choice : app::fileTypeChoices())
                if (m.isChecked(choice.format)) asked = choice.format;
            return m.ok(*f.doc), true;
        });
        const bool opened = c.dropped ? f.dispatcher.openDropped(c.path) : f.dispatcher.openPath(c.path);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(opened, c.nData != 0);
        EXPECT_TRUE(f.ui.fileRequests.empty());
        const bool refused = !f.ui.messages.empty() &&
                             f.ui.messages.back().text == "Cannot Open or\n Don't know what to do with it!!";
        EXPECT_EQ(refused, c.nData == 0);
        if (refused) continue;
        EXPECT_EQ(f.doc->spectrum.nData, c.nData);
        EXPECT_EQ(f.doc->haveDocument, 1);
    }
}

TEST(FileTypeDialog, OpensOnTheRememberedFlagAndStoresTheChoice) {
    Document doc;
    app::FileTypeDialogModel chosen(doc);
    EXPECT_TRUE(chosen.isChecked(FileFormat::Bruker));
    chosen.check(FileFormat::Jcamp);
    EXPECT_FALSE(chosen.isChecked(FileFormat::Bruker));
    chosen.ok(doc);
    EXPECT_EQ(doc.import.importFormat, FileFormat::Jcamp);
    EXPECT_TRUE(app::FileTypeDialogModel(doc).isChecked(FileFormat::Jcamp));
    // What a file's bytes name is checked when the dialog offers it; else the remembered flag stays.
    app::FileTypeDialogModel detected(doc);
    detected.checkDetected(std::nullopt);
    detected.checkDetected(FileFormat::Native);
    EXPECT_TRUE(detected.isChecked(FileFormat::Jcamp));
    detected.checkDetected(FileFormat::Jeol);
    EXPECT_TRUE(detected.isChecked(FileFormat::Jeol));
}

TEST(FileCommands, SpinSystemFilesOpenAsASimulationAndSaveBackTheSame) {
    AppFixture f;
    TempDir dir;
    const std::string ab = dir.file("ab.json"), saved = dir.file("saved.json"), bad = dir.file("bad.json");
    writeFile(ab, R"({"sf": 400, "from": 900, "to": 1300, "points": 4096, "lineWidth": 0.5,
                      "subsystems": [{"shifts": [1000, 1100], "couplings": [[1, 2, 12]]}]})");
    writeFile(bad, R"({"subsystems": []})");
    f.doc->noSaveQuery = 1;

    // Refusals leave the data set as it was: the file's own error, and Save without a simulation.
    const double before = f.doc->spectrum.specData[200];
    f.ui.files = {bad};
    f.dispatcher.dispatch(app::kCmdOpenSpinSystem);
    f.dispatcher.dispatch(app::kCmdSaveSpinSystem);
    ASSERT_EQ(f.ui.messages.size(), 2u);
    EXPECT_EQ(f.ui.messages[0].text.rfind("bad.json: subsystems", 0), 0u) << f.ui.messages[0].text;
    EXPECT_EQ(f.ui.messages[1].text, "There is no spin system to save: simulate one first.");
    EXPECT_EQ(f.doc->spectrum.specData[200], before);

    f.ui.files = {ab, saved};
    f.dispatcher.dispatch(app::kCmdOpenSpinSystem);
    EXPECT_EQ(std::tuple(f.doc->sim.simExists, f.doc->spectrum.nData, f.doc->spectrum.xUnits),
              std::tuple(1, 4096, kHz));
    f.dispatcher.dispatch(app::kCmdSaveSpinSystem);
    simulation::SpinSystemFile opened, written;
    std::string error;
    ASSERT_TRUE(simulation::parseSpinSystemJson(readFile(ab), opened, error)) << error;
    ASSERT_TRUE(simulation::parseSpinSystemJson(readFile(saved), written, error)) << error;
    EXPECT_EQ(written, opened);
    EXPECT_EQ(f.ui.messages.size(), 2u);
}

}  // namespace
}  // namespace pelvaron::testing
