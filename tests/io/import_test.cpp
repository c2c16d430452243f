// The import dispatcher: routing by file name, the Acqus retry, messages on failure, and the
// dialog-free loading used by the command line.
#include "io/import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "bruker_writer.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {
namespace {

using testing::BrukerFidSpec;
using testing::RecordingUserInterface;
using testing::TempDir;

BrukerFidSpec smallFid(double first = 11.0) {
    BrukerFidSpec spec;
    spec.values = {first, 2, 3, 4, 5, 6, 7, 8};
    spec.procOffset = 8.0;
    return spec;
}

TEST(ImportTest, AFidIsChosenReadAndSetUp) {
    TempDir dir;
    const std::string fid = testing::writeBrukerFid(dir.path().string(), smallFid());
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->specData[100] = 9.0;
    ui.files.push_back(fid);
    ASSERT_TRUE(importData(*doc, ui));
    EXPECT_EQ(doc->specData[0], 11.0);
    EXPECT_EQ(doc->specData[100], 0.0) << "the data array is cleared before reading";
    EXPECT_EQ(doc->haveDocument, 1);
    EXPECT_EQ(ui.titles.back(), "Pelvaron 1.5.0 fid");
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_FALSE(ui.fileRequests[0].save);
    EXPECT_GE(ui.repaints, 1);
}

TEST(ImportTest, CancelledOpenDialogLoadsNothing) {
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->specData[0] = 5.0;
    EXPECT_FALSE(importData(*doc, ui));
    EXPECT_EQ(doc->specData[0], 5.0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ImportTest, MissingAcqusAsksAndCancelLoadsNothing) {
    TempDir dir;
    testing::writeFile(dir.file("fid"), std::string(32, '\0'));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ui.files.push_back(dir.file("fid"));
    ui.answers.push_back(platform::Answer::Cancel);
    EXPECT_FALSE(importData(*doc, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "I cannot find the Acqus file.\n Would you select it for me?");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(doc->haveDocument, 0);
}

TEST(ImportTest, ChosenAcqusElsewhereLoadsTheFidFirstPicked) {
    TempDir dir;
    // The parameters live in another folder; the data file sits alone.
    BrukerFidSpec spec = smallFid(77.0);
    testing::writeBrukerFid(dir.file("params"), spec);
    testing::writeFile(dir.file("data/fid"), testing::encodeBrukerValues({-5, 6, 7, 8, 9, 10, 11, 12}, false, false));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ui.files.push_back(dir.file("data/fid"));
    ui.answers.push_back(platform::Answer::Ok);
    ui.files.push_back(dir.file("params/acqus"));
    ASSERT_TRUE(importData(*doc, ui));
    EXPECT_EQ(doc->specData[0], -5.0) << "the fid first picked, not the one beside the acqus";
    EXPECT_EQ(doc->filePath, dir.file("data/fid"));
    EXPECT_EQ(doc->fileTitle, "fid");
    EXPECT_EQ(ui.titles.back(), "Pelvaron 1.5.0 fid");
}

TEST(ImportTest, AcqusRetryCancelledOrUnreadableEndsWithItsMessage) {
    TempDir dir;
    testing::writeFile(dir.file("fid"), std::string(32, '\0'));
    {
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ui.files.push_back(dir.file("fid"));
        ui.answers.push_back(platform::Answer::Ok);
        ui.files.push_back(std::nullopt);
        EXPECT_FALSE(importData(*doc, ui));
        EXPECT_EQ(ui.messages.size(), 1u);
    }
    {
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ui.files.push_back(dir.file("fid"));
        ui.answers.push_back(platform::Answer::Ok);
        ui.files.push_back(dir.file("no-such-acqus"));
        EXPECT_FALSE(importData(*doc, ui));
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[1].text, "Cannot Open Acqus");
        EXPECT_EQ(ui.messages[1].caption, "Error");
    }
}

TEST(ImportTest, FileNamesRouteRawAndProcessedData) {
    TempDir dir;
    BrukerFidSpec spec = smallFid(42.0);
    spec.fidName = "ser";
    testing::writeBrukerFid(dir.path().string(), spec);
    testing::BrukerProcessedSpec processed;
    processed.real = {1, 2, 3, 4};
    processed.imag = {5, 6, 7, 8};
    testing::writeBrukerProcessed(dir.file("pdata/1"), processed);

    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ui.files.push_back(dir.file("ser"));
    ASSERT_TRUE(importData(*doc, ui));
    EXPECT_EQ(doc->specData[0], 42.0) << "any other name is a raw FID";
    EXPECT_EQ(doc->acqPars.DECIM, 1);

    ui.files.push_back(dir.file("pdata/1/1r"));
    ASSERT_TRUE(importData(*doc, ui));
    EXPECT_EQ(doc->nData, 8);
    EXPECT_EQ(doc->specData[1], 5.0) << "1r goes to the processed-data reader";
}

TEST(ImportTest, EmptyFileTitleIsTreatedAsFid) {
    TempDir dir;
    testing::writeBrukerFid(dir.path().string(), smallFid(3.0));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    doc->filePath = dir.file("fid");
    doc->fileTitle.clear();
    doc->import.importAskFile = 0;
    ASSERT_TRUE(importData(*doc, ui));
    EXPECT_EQ(doc->fileTitle, "fid");
    EXPECT_EQ(doc->import.importAskFile, 1) << "the next import asks for a file again";
}

TEST(ImportTest, DamagedExperimentsEndInAMessageAndNoCrash) {
    TempDir dir;
    // Empty fid, garbage acqus, empty acqus: each ends in a message, none reads past a buffer.
    testing::writeFile(dir.file("a/acqus"), "##$TD= 64\n##$SW_h= 100\n");
    testing::writeFile(dir.file("a/fid"), "");
    testing::writeFile(dir.file("b/acqus"), std::string("\xde\xad\xbe\xef garbage ##$TD= -3"));
    testing::writeFile(dir.file("b/fid"), "abcd");
    testing::writeFile(dir.file("c/acqus"), "");
    testing::writeFile(dir.file("c/fid"), "abcdefgh");
    for (const char* sub : {"a", "b", "c"}) {
        RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        const bool loaded = loadFile(*doc, ui, dir.file(sub), FileFormat::Bruker);
        EXPECT_FALSE(ui.messages.empty()) << sub;
        EXPECT_LE(doc->nData, kCapacity);
        if (loaded) {
            for (int i = 0; i < 64; ++i) EXPECT_EQ(doc->specData[i], 0.0) << sub << " " << i;
        }
    }
    // "a": the empty fid reads as zeros; "b" and "c" have no usable size or width.
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    EXPECT_TRUE(loadFile(*doc, ui, dir.file("a"), FileFormat::Bruker));
    doc = std::make_unique<Document>();
    EXPECT_FALSE(loadFile(*doc, ui, dir.file("c"), FileFormat::Bruker));
    EXPECT_EQ(ui.messages.back().text, "Cannot Open Acqus");
}

TEST(ImportTest, AFailedImportLeavesTheDocumentAsItWas) {
    TempDir dir;
    testing::writeBrukerFid(dir.file("good"), smallFid(21.0));
    testing::writeFile(dir.file("bad/acqus"), "##$TD= 0\n");
    testing::writeFile(dir.file("bad/fid"), "xxxx");
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    ASSERT_TRUE(loadFile(*doc, ui, dir.file("good"), FileFormat::Bruker));
    const AcqParams before = doc->acqPars;
    EXPECT_FALSE(loadFile(*doc, ui, dir.file("bad"), FileFormat::Bruker));
    EXPECT_EQ(doc->specData[0], 21.0);
    EXPECT_EQ(doc->nData, 8);
    EXPECT_EQ(doc->acqPars, before);
}

TEST(LoadTest, DetectsNativeAndBrukerAndResolvesDirectories) {
    TempDir dir;
    testing::writeBrukerFid(dir.file("exp"), smallFid());
    testing::BrukerProcessedSpec processed;
    processed.real = {1, 2};
    processed.imag = {3, 4};
    testing::writeBrukerProcessed(dir.file("proc-only/pdata/1"), processed);
    testing::writeFile(dir.file("native.plv"), "PLV000");
    testing::writeFile(dir.file("other.txt"), "hello");

    EXPECT_EQ(detectFormat(dir.file("exp")), FileFormat::Bruker);
    EXPECT_EQ(detectFormat(dir.file("exp/fid")), FileFormat::Bruker);
    EXPECT_EQ(resolveBrukerPath(dir.file("exp")), dir.file("exp/fid"));
    EXPECT_EQ(resolveBrukerPath(dir.file("proc-only")), dir.file("proc-only/pdata/1/1r"));
    EXPECT_EQ(detectFormat(dir.file("proc-only")), FileFormat::Bruker);
    EXPECT_EQ(detectFormat(dir.file("native.plv")), FileFormat::Native);
    EXPECT_EQ(detectFormat(dir.file("other.txt")), std::nullopt);
    EXPECT_EQ(detectFormat(dir.file("empty-dir-that-does-not-exist")), std::nullopt);

    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    EXPECT_FALSE(loadFile(*doc, ui, dir.file("other.txt"), std::nullopt));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Cannot Open or\n Don't know what to do with it!!");
    EXPECT_EQ(ui.messages[0].caption, "other.txt");
}

TEST(LoadTest, DirectoryWithoutDataIsAMessageNotACrash) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("empty"));
    RecordingUserInterface ui;
    auto doc = std::make_unique<Document>();
    EXPECT_FALSE(loadFile(*doc, ui, dir.file("empty"), FileFormat::Bruker));
    EXPECT_FALSE(ui.messages.empty());
    EXPECT_FALSE(loadFile(*doc, ui, dir.file("empty"), FileFormat::Native));
}

}  // namespace
}  // namespace pelvaron::io
