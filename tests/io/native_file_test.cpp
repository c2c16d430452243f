// The native file: exact layout, bit-for-bit round trip, the hand-over of foreign files to
// Import, refused sizes and safe saving.
#include "io/native_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "document/byte_order.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::io {
namespace {

using testing::RecordingUserInterface;
using testing::TempDir;

std::unique_ptr<Document> documentWith(int n) {
    auto doc = std::make_unique<Document>();
    doc->nData = n;
    doc->acqPars.TD = n;
    doc->acqPars.SW = 5000.0;
    doc->acqPars.SF = 400.13;
    doc->acqPars.aqMode = 3;
    doc->acqPars.complexData = 1;
    doc->acqPars.AQ = n / 10000.0;
    doc->acqPars.offsetHz = -123.5;
    doc->acqPars.DECIM = 16;
    doc->acqPars.DSPFVS = 12;
    doc->acqPars.reserved24 = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < n; ++i) doc->specData[i] = std::sin(0.37 * i) * 1e6 + 1.0 / (i + 3);
    return doc;
}

TEST(NativeFileTest, SmallDataSetFillsTheMinimumSizeWithZeroCharacters) {
    TempDir dir;
    auto doc = documentWith(64);
    const std::string path = dir.file("small.plv");
    ASSERT_TRUE(writeNativeFile(*doc, path));
    const std::string bytes = testing::readFile(path);
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(bytes.substr(0, 3), "PLV");
    EXPECT_EQ(bytes.substr(3, 253), std::string(253, '0'));
    EXPECT_EQ(bytes.substr(328, 696), std::string(696, '0'));
    EXPECT_EQ(bytes.substr(1536), std::string(512, '0'));
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    EXPECT_EQ(bytes::loadLE32(raw + 256 + 32), 64u);
    EXPECT_EQ(bytes::loadLEDouble(raw + 1024 + 8 * 5), doc->specData[5]);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(NativeFileTest, FullCapacityFileIsHeaderPlusOneMebibyte) {
    TempDir dir;
    auto doc = documentWith(kCapacity);
    ASSERT_TRUE(writeNativeFile(*doc, dir.file("full.plv")));
    EXPECT_EQ(std::filesystem::file_size(dir.file("full.plv")), 1024u + 1048576u);
}

TEST(NativeFileTest, SavedDataReopenBitForBitWithParametersAndReservedBytes) {
    TempDir dir;
    RecordingUserInterface ui;
    auto saved = documentWith(2048);
    ui.files.push_back(dir.file("round.PLV"));
    ASSERT_TRUE(saveNativeFile(*saved, ui));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_TRUE(ui.fileRequests[0].save);
    EXPECT_EQ(ui.fileRequests[0].defaultExtension, "PLV");

    auto opened = std::make_unique<Document>();
    ui.files.push_back(dir.file("round.PLV"));
    ASSERT_EQ(openNativeFile(*opened, ui), NativeOpen::Loaded);
    EXPECT_EQ(opened->nData, 2048);
    AcqParams expected = saved->acqPars;
    expected.AQ = 2048 / (2.0 * 5000.0);  // set-up recomputes AQ
    EXPECT_EQ(opened->acqPars, expected);
    EXPECT_EQ(std::memcmp(opened->specData.data(), saved->specData.data(), 2048 * sizeof(double)), 0);
    EXPECT_EQ(opened->fileTitle, "round.PLV");
    EXPECT_EQ(opened->negateImag, 1);
    EXPECT_EQ(opened->fileNegateImag, 1);
    EXPECT_EQ(ui.titles.back(), "Pelvaron 1.5.0 round.PLV");
    EXPECT_TRUE(ui.messages.empty());
}

TEST(NativeFileTest, ForeignFileAsksForItsTypeAndHandsOverToImport) {
    TempDir dir;
    testing::writeFile(dir.file("fid"), std::string("plv-lowercase is not the magic"));
    RecordingUserInterface ui;
    Document doc;
    doc.specData[0] = 42.0;

    ui.files.push_back(dir.file("fid"));
    ui.answers.push_back(platform::Answer::Cancel);
    EXPECT_EQ(openNativeFile(doc, ui), NativeOpen::Cancelled);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "This is not a Pelvaron File\n Please indicate the file type");
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(doc.specData[0], 42.0);
    EXPECT_EQ(doc.import.importAskFile, 1);

    ui.files.push_back(dir.file("fid"));
    ui.answers.push_back(platform::Answer::Ok);
    doc.noSaveQuery = 0;
    EXPECT_EQ(openNativeFile(doc, ui), NativeOpen::HandToImport);
    EXPECT_EQ(doc.import.importAskFile, 0) << "Import then reads the same file without a dialog";
    EXPECT_EQ(doc.noSaveQuery, 1);
    EXPECT_EQ(doc.filePath, dir.file("fid"));
}

TEST(NativeFileTest, OutOfRangeSizesAreRefusedAndTheDocumentKept) {
    TempDir dir;
    auto doc = documentWith(64);
    for (std::int32_t td : {-8, kCapacity + 2}) {
        auto other = documentWith(64);
        other->acqPars.TD = td;
        const std::string path = dir.file("bad.plv");
        ASSERT_TRUE(writeNativeFile(*other, path));
        RecordingUserInterface ui;
        ui.files.push_back(path);
        doc->specData[3] = 17.0;
        EXPECT_EQ(openNativeFile(*doc, ui), NativeOpen::Cancelled);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Error ");
        EXPECT_NE(ui.messages[0].text.find("cannot be opened"), std::string::npos);
        EXPECT_EQ(doc->specData[3], 17.0) << "TD " << td;
        EXPECT_EQ(doc->nData, 64);
    }
}

TEST(NativeFileTest, ShortFilesReadAsZerosBeyondTheirEnd) {
    TempDir dir;
    auto doc = documentWith(256);
    const std::string path = dir.file("short.plv");
    ASSERT_TRUE(writeNativeFile(*doc, path));
    std::filesystem::resize_file(path, 1024 + 8 * 100);
    RecordingUserInterface ui;
    auto opened = std::make_unique<Document>();
    opened->specData[200] = 5.0;
    opened->import.openDropped = 1;
    opened->filePath = path;
    ASSERT_EQ(openNativeFile(*opened, ui), NativeOpen::Loaded);
    EXPECT_EQ(opened->nData, 256);
    EXPECT_EQ(opened->specData[99], doc->specData[99]);
    EXPECT_EQ(opened->specData[100], 0.0);
    EXPECT_EQ(opened->specData[200], 0.0);
    EXPECT_EQ(opened->import.openDropped, 0) << "the dropped path is consumed";

    // Only the magic: no block, no data.
    testing::writeFile(path, "PLV");
    opened->import.openDropped = 1;
    ASSERT_EQ(openNativeFile(*opened, ui), NativeOpen::Loaded);
    EXPECT_EQ(opened->nData, 0);
}

TEST(NativeFileTest, UnreadableFilesAndCancelledDialogsChangeNothing) {
    TempDir dir;
    RecordingUserInterface ui;
    Document doc;
    EXPECT_EQ(openNativeFile(doc, ui), NativeOpen::Cancelled) << "no file chosen";
    EXPECT_TRUE(ui.messages.empty());
    ui.files.push_back(dir.file("missing.plv"));
    EXPECT_EQ(openNativeFile(doc, ui), NativeOpen::Cancelled);
    ui.files.push_back(dir.path().string());
    EXPECT_EQ(openNativeFile(doc, ui), NativeOpen::Cancelled);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Cannot open the file");
    EXPECT_EQ(ui.messages[0].caption, "Error ");
    EXPECT_EQ(doc.haveDocument, 0);
}

TEST(NativeFileTest, FailedSaveKeepsTheFileItWouldReplace) {
    TempDir dir;
    RecordingUserInterface ui;
    auto doc = documentWith(64);
    // The target is a directory that cannot be replaced by a file: nothing may be lost.
    const std::string target = dir.file("keep");
    std::filesystem::create_directories(target);
    testing::writeFile(target + "/inside", "precious");
    ui.files.push_back(target);
    EXPECT_FALSE(saveNativeFile(*doc, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Cannot Save File");
    EXPECT_EQ(ui.messages[0].caption, "File Error");
    EXPECT_EQ(ui.messages[0].icon, platform::Icon::Stop);
    EXPECT_EQ(testing::readFile(target + "/inside"), "precious");
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));

    // A directory that does not exist: the write itself fails.
    ui.files.push_back(dir.file("no/such/dir/file.plv"));
    EXPECT_FALSE(saveNativeFile(*doc, ui));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(NativeFileTest, LongPathsWork) {
    TempDir dir;
    std::string deep = dir.path().string();
    for (int i = 0; i < 8; ++i) deep += "/a-rather-long-directory-name-to-pass-128-characters";
    std::filesystem::create_directories(deep);
    const std::string path = deep + "/spectrum.plv";
    ASSERT_GT(path.size(), 400u);
    auto doc = documentWith(64);
    ASSERT_TRUE(writeNativeFile(*doc, path));
    RecordingUserInterface ui;
    Document opened;
    opened.import.openDropped = 1;
    opened.filePath = path;
    EXPECT_EQ(openNativeFile(opened, ui), NativeOpen::Loaded);
    EXPECT_EQ(opened.fileTitle, "spectrum.plv");
}

TEST(SaveQuestionTest, AsksOnlyForLoadedDocumentsAndCancelStops) {
    RecordingUserInterface ui;
    Document doc;
    EXPECT_TRUE(saveQuestion(doc, ui)) << "no question before the first load";
    EXPECT_TRUE(ui.messages.empty());
    doc.noSaveQuery = 0;
    ui.answers.push_back(platform::Answer::Cancel);
    EXPECT_FALSE(saveQuestion(doc, ui));
    EXPECT_EQ(ui.messages.back().text, "Do you want to save the current spectrum?");
    EXPECT_EQ(ui.messages.back().buttons, platform::Buttons::YesNoCancel);
    ui.answers.push_back(platform::Answer::No);
    EXPECT_TRUE(saveQuestion(doc, ui));
    EXPECT_TRUE(ui.fileRequests.empty());
    ui.answers.push_back(platform::Answer::Yes);
    EXPECT_TRUE(saveQuestion(doc, ui)) << "Yes saves (here the save dialog is cancelled) and goes on";
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

}  // namespace
}  // namespace pelvaron::io
