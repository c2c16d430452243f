// The native file: exact layout, bit-for-bit round trip, the hand-over of foreign files to
// Import, refused sizes and safe saving.
#include "io/native_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "document/byte_order.h"
#include "io_fixture.h"

namespace pelvaron::io {
namespace {

std::unique_ptr<Document> documentWith(int n) {
    auto doc = std::make_unique<Document>();
    doc->nData = n;
    AcqParams& p = doc->acqPars;
    p.TD = n;
    p.SW = 5000.0;
    p.SF = 400.13;
    p.aqMode = 3;
    p.complexData = 1;
    p.AQ = n / 10000.0;
    p.offsetHz = -123.5;
    p.DECIM = 16;
    p.DSPFVS = 12;
    p.reserved24 = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < n; ++i) doc->specData[i] = std::sin(0.37 * i) * 1e6 + 1.0 / (i + 3);
    return doc;
}

TEST(NativeFile, LayoutPadsSmallSetsWithZeroCharactersAndHoldsFullCapacity) {
    testing::TempDir dir;
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

    ASSERT_TRUE(writeNativeFile(*documentWith(kCapacity), dir.file("full.plv")));
    EXPECT_EQ(std::filesystem::file_size(dir.file("full.plv")), 1024u + 8u * kCapacity);
}

TEST(NativeFile, SavedDataReopenBitForBitWithParametersAndReservedBytes) {
    Scratch s;
    auto saved = documentWith(2048);
    s.ui.files.push_back(s.dir.file("round.PLV"));
    ASSERT_TRUE(saveNativeFile(*saved, s.ui));
    ASSERT_EQ(s.ui.fileRequests.size(), 1u);
    EXPECT_TRUE(s.ui.fileRequests[0].save);
    EXPECT_EQ(s.ui.fileRequests[0].defaultExtension, "PLV");

    s.ui.files.push_back(s.dir.file("round.PLV"));
    ASSERT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Loaded);
    EXPECT_EQ(s.doc->nData, 2048);
    AcqParams expected = saved->acqPars;
    expected.AQ = 2048 / (2.0 * 5000.0);  // set-up recomputes AQ
    EXPECT_EQ(s.doc->acqPars, expected);
    EXPECT_EQ(std::memcmp(s.doc->specData.data(), saved->specData.data(), 2048 * sizeof(double)), 0);
    EXPECT_EQ(s.doc->fileTitle, "round.PLV");
    EXPECT_EQ(s.doc->negateImag, 1);
    EXPECT_EQ(s.doc->fileNegateImag, 1);
    EXPECT_EQ(s.ui.titles.back(), "Pelvaron 1.5.0 round.PLV");
    EXPECT_TRUE(s.ui.messages.empty());
}

TEST(NativeFile, ForeignFileAsksForItsTypeAndHandsOverToImport) {
    Scratch s;
    Document& doc = *s.doc;
    testing::writeFile(s.dir.file("fid"), std::string("plv-lowercase is not the magic"));
    doc.specData[0] = 42.0;
    s.ui.files = {s.dir.file("fid"), s.dir.file("fid")};
    s.ui.answers = {platform::Answer::Cancel, platform::Answer::Ok};
    EXPECT_EQ(openNativeFile(doc, s.ui), NativeOpen::Cancelled);
    expectOnlyMessage(s.ui, "This is not a Pelvaron File\n Please indicate the file type", "Warning");
    EXPECT_EQ(doc.specData[0], 42.0);
    EXPECT_EQ(doc.import.importAskFile, 1);

    doc.noSaveQuery = 0;
    EXPECT_EQ(openNativeFile(doc, s.ui), NativeOpen::HandToImport);
    EXPECT_EQ(doc.import.importAskFile, 0) << "Import then reads the same file without a dialog";
    EXPECT_EQ(doc.noSaveQuery, 1);
    EXPECT_EQ(doc.filePath, s.dir.file("fid"));
}

TEST(NativeFile, OutOfRangeSizesAreRefusedAndTheDocumentKept) {
    for (std::int32_t td : {-8, kCapacity + 2}) {
        Scratch s;
        auto bad = documentWith(64);
        bad->acqPars.TD = td;
        ASSERT_TRUE(writeNativeFile(*bad, s.dir.file("bad.plv")));
        s.doc = documentWith(64);
        s.doc->specData[3] = 17.0;
        s.ui.files.push_back(s.dir.file("bad.plv"));
        EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled);
        ASSERT_EQ(s.ui.messages.size(), 1u);
        EXPECT_EQ(s.ui.messages[0].caption, "Error ");
        EXPECT_NE(s.ui.messages[0].text.find("cannot be opened"), std::string::npos);
        EXPECT_EQ(s.doc->specData[3], 17.0) << "TD " << td;
        EXPECT_EQ(s.doc->nData, 64);
    }
}

TEST(NativeFile, ShortFilesReadAsZerosBeyondTheirEnd) {
    Scratch s;
    auto doc = documentWith(256);
    const std::string path = s.dir.file("short.plv");
    ASSERT_TRUE(writeNativeFile(*doc, path));
    std::filesystem::resize_file(path, 1024 + 8 * 100);
    Document& opened = *s.doc;
    opened.specData[200] = 5.0;
    opened.import.openDropped = 1;
    opened.filePath = path;
    ASSERT_EQ(openNativeFile(opened, s.ui), NativeOpen::Loaded);
    EXPECT_EQ(opened.nData, 256);
    EXPECT_EQ(opened.specData[99], doc->specData[99]);
    EXPECT_EQ(opened.specData[100], 0.0);
    EXPECT_EQ(opened.specData[200], 0.0);
    EXPECT_EQ(opened.import.openDropped, 0) << "the dropped path is consumed";

    // Only the magic: no block, no data.
    testing::writeFile(path, "PLV");
    opened.import.openDropped = 1;
    ASSERT_EQ(openNativeFile(opened, s.ui), NativeOpen::Loaded);
    EXPECT_EQ(opened.nData, 0);
}

TEST(NativeFile, UnreadableFilesAndCancelledDialogsChangeNothing) {
    Scratch s;
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled) << "no file chosen";
    EXPECT_TRUE(s.ui.messages.empty());
    s.ui.files = {s.dir.file("missing.plv"), s.dir.path().string()};
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled);
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Cancelled);
    ASSERT_EQ(s.ui.messages.size(), 2u);
    EXPECT_EQ(s.ui.messages[0].text, "Cannot open the file");
    EXPECT_EQ(s.ui.messages[0].caption, "Error ");
    EXPECT_EQ(s.doc->haveDocument, 0);
}

TEST(NativeFile, FailedSaveKeepsTheFileItWouldReplace) {
    Scratch s;
    auto doc = documentWith(64);
    // The target is a directory that cannot be replaced by a file: nothing may be lost.
    const std::string target = s.dir.file("keep");
    testing::writeFile(target + "/inside", "precious");
    s.ui.files = {target, s.dir.file("no/such/dir/file.plv")};
    EXPECT_FALSE(saveNativeFile(*doc, s.ui));
    expectOnlyMessage(s.ui, "Cannot Save File", "File Error");
    EXPECT_EQ(s.ui.messages[0].icon, platform::Icon::Stop);
    EXPECT_EQ(testing::readFile(target + "/inside"), "precious");
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
    // A directory that does not exist: the write itself fails.
    EXPECT_FALSE(saveNativeFile(*doc, s.ui));
    EXPECT_EQ(s.ui.messages.size(), 2u);
}

TEST(NativeFile, LongPathsWork) {
    Scratch s;
    std::string deep = s.dir.path().string();
    for (int i = 0; i < 8; ++i) deep += "/a-rather-long-directory-name-to-pass-128-characters";
    std::filesystem::create_directories(deep);
    const std::string path = deep + "/spectrum.plv";
    ASSERT_GT(path.size(), 400u);
    ASSERT_TRUE(writeNativeFile(*documentWith(64), path));
    s.doc->import.openDropped = 1;
    s.doc->filePath = path;
    EXPECT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Loaded);
    EXPECT_EQ(s.doc->fileTitle, "spectrum.plv");
}

TEST(NativeFile, AbsurdOffsetsSaturateTheReferenceIndex) {
    // 2 * offsetHz * AQ beyond the int range, either way: refIndex holds at the range's ends.
    for (double offsetHz : {1e300, -1e300, 1e12}) {
        auto saved = documentWith(64);
        saved->acqPars.offsetHz = offsetHz;
        testing::RecordingUserInterface ui;
        auto doc = std::make_unique<Document>();
        ASSERT_TRUE(readNativeData(*doc, ui, nativeFileBytes(*saved))) << offsetHz;
        EXPECT_EQ(doc->refIndex, offsetHz > 0 ? INT_MAX : INT_MIN) << offsetHz;
    }
}

TEST(SaveQuestion, AsksOnlyForLoadedDocumentsAndCancelStops) {
    testing::RecordingUserInterface ui;
    Document doc;
    EXPECT_TRUE(saveQuestion(doc, ui)) << "no question before the first load";
    EXPECT_TRUE(ui.messages.empty());
    doc.noSaveQuery = 0;
    ui.answers = {platform::Answer::Cancel, platform::Answer::No, platform::Answer::Yes};
    EXPECT_FALSE(saveQuestion(doc, ui));
    EXPECT_EQ(ui.messages.back().text, "Do you want to save the current spectrum?");
    EXPECT_EQ(ui.messages.back().buttons, platform::Buttons::YesNoCancel);
    EXPECT_TRUE(saveQuestion(doc, ui));
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(saveQuestion(doc, ui)) << "Yes saves (here the save dialog is cancelled) and goes on";
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

}  // namespace
}  // namespace pelvaron::io
