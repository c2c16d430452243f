// The native file: exact layout, bit-for-bit round trip, the hand-over of foreign files to
// Import, what the reader makes of damaged bytes, and safe saving.
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
    doc->acqPars = AcqParams{.aqMode = 3, .complexData = 1, .SW = 5000.0, .SF = 400.13, .TD = n, .AQ = n / 10000.0,
                             .offsetHz = -123.5, .DECIM = 16, .DSPFVS = 12, .reserved24 = {1, 2, 3, 4, 5, 6, 7, 8}};
    for (int i = 0; i < n; ++i) doc->specData[i] = std::sin(0.37 * i) * 1e6 + 1.0 / (i + 3);
    return doc;
}

TEST(NativeFile, LayoutPadsSmallSetsWithZeroCharactersAndHoldsFullCapacity) {
    auto doc = documentWith(64);
    const std::string bytes = nativeFileBytes(*doc);
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(bytes.substr(0, 256), "PLV" + std::string(253, '0'));
    EXPECT_EQ(bytes.substr(328, 696), std::string(696, '0'));
    EXPECT_EQ(bytes.substr(1536), std::string(512, '0'));
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    EXPECT_EQ(bytes::loadLE32(raw + 256 + 32), 64u);
    EXPECT_EQ(bytes::loadLEDouble(raw + 1024 + 8 * 5), doc->specData[5]);
    EXPECT_EQ(nativeFileBytes(*documentWith(kCapacity)).size(), 1024u + 8u * kCapacity);
}

TEST(NativeFile, SavedDataReopenBitForBitAlsoFromALongPath) {
    Scratch s;
    std::string deep = s.dir.path().string();
    for (int i = 0; i < 8; ++i) deep += "/a-rather-long-directory-name-to-pass-128-characters";
    std::filesystem::create_directories(deep);
    auto saved = documentWith(2048);
    s.ui.files = {deep + "/round.PLV", deep + "/round.PLV"};
    ASSERT_TRUE(saveNativeFile(*saved, s.ui));
    EXPECT_EQ(std::tuple(s.ui.fileRequests[0].save, s.ui.fileRequests[0].defaultExtension), std::tuple(true, "PLV"));
    ASSERT_EQ(openNativeFile(*s.doc, s.ui), NativeOpen::Loaded);
    AcqParams expected = saved->acqPars;
    expected.AQ = 2048 / (2.0 * 5000.0);  // set-up recomputes AQ
    EXPECT_EQ(s.doc->acqPars, expected);
    EXPECT_EQ(std::memcmp(s.doc->specData.data(), saved->specData.data(), 2048 * sizeof(double)), 0);
    EXPECT_EQ(std::tuple(s.doc->nData, s.doc->fileTitle, s.doc->negateImag, s.doc->fileNegateImag),
              std::tuple(2048, "round.PLV", 1, 1));
    EXPECT_EQ(s.ui.titles.back(), "Pelvaron 1.5.0 round.PLV");
    EXPECT_TRUE(s.ui.messages.empty());

    // The file and memory entry points leave the same document.
    auto memory = std::make_unique<Document>();
    memory->fileTitle = "round.PLV";
    ASSERT_TRUE(readNativeData(*memory, s.ui, testing::readFile(deep + "/round.PLV")));
    EXPECT_EQ(memory->acqPars, s.doc->acqPars);
    EXPECT_EQ(std::tuple(memory->refIndex, memory->nData), std::tuple(s.doc->refIndex, s.doc->nData));
    EXPECT_EQ(std::memcmp(memory->specData.data(), s.doc->specData.data(), kCapacity * sizeof(double)), 0);
}

TEST(NativeFile, DamagedBytesAreRefusedOrReadAsZerosBeyondTheirEnd) {
    struct Case {
        const char* what;
        int td;
        std::size_t keep;  // bytes of the file kept
        double offsetHz;
        bool loads;
        int refIndex;  // checked when loaded and not 0
    };
    const std::size_t all = std::string::npos;
    const Case cases[] = {
        {"negative size", -8, all, 0.0, false, 0},
        {"over the capacity", kCapacity + 2, all, 0.0, false, 0},
        {"data cut short", 256, 1024 + 8 * 100, 0.0, true, 0},
        {"only the magic", 256, 3, 0.0, true, 0},
        {"no magic", 256, 0, 0.0, false, 0},
        // 2 offsetHz AQ beyond the int range: refIndex saturates at the range's ends.
        {"absurd offset", 256, all, 1e300, true, INT_MAX},
        {"absurd negative offset", 256, all, -1e300, true, INT_MIN},
    };
    for (const Case& c : cases) {
        auto source = documentWith(256);
        source->acqPars.TD = c.td;
        source->acqPars.offsetHz = c.offsetHz;
        const std::string bytes = nativeFileBytes(*source).substr(0, c.keep);
        testing::RecordingUserInterface ui;
        auto doc = documentWith(64);
        doc->specData[200] = 17.0;
        doc->noteSpecExtent(256);
        EXPECT_EQ(readNativeData(*doc, ui, bytes), c.loads) << c.what;
        if (!c.loads) {
            EXPECT_EQ(std::tuple(doc->specData[200], doc->nData), std::tuple(17.0, 64)) << c.what;
            EXPECT_EQ(ui.messages.size(), c.keep == 0 ? 0u : 1u) << c.what;
            if (!ui.messages.empty()) {
                EXPECT_EQ(ui.messages[0].caption, "Error ") << c.what;
            }
            continue;
        }
        const bool header = c.keep >= 1024;
        EXPECT_EQ(doc->nData, header ? 256 : 0) << c.what;
        EXPECT_EQ(doc->specData[99], header ? source->specData[99] : 0.0) << c.what;
        EXPECT_EQ(doc->specData[200], c.keep == all ? source->specData[200] : 0.0) << c.what;
        if (c.refIndex != 0) {
            EXPECT_EQ(doc->refIndex, c.refIndex) << c.what;
        }
        EXPECT_TRUE(ui.messages.empty()) << c.what;
    }
}

TEST(NativeFile, ForeignFilesAreHandedToImportAndUnreadableOnesChangeNothing) {
    Scratch s;
    Document& doc = *s.doc;
    testing::writeFile(s.dir.file("fid"), "plv-lowercase is not the magic");
    doc.specData[0] = 42.0;
    s.ui.answers = {platform::Answer::Cancel, platform::Answer::Ok};
    EXPECT_EQ(openNativePath(doc, s.ui, s.dir.file("fid")), NativeOpen::Cancelled);
    expectOnlyMessage(s.ui, "This is not a Pelvaron File\n Please indicate the file type", "Warning");
    EXPECT_EQ(std::tuple(doc.specData[0], doc.import.importAskFile), std::tuple(42.0, 1));
    doc.noSaveQuery = 0;
    EXPECT_EQ(openNativePath(doc, s.ui, s.dir.file("fid")), NativeOpen::HandToImport);
    EXPECT_EQ(std::tuple(doc.import.importAskFile, doc.noSaveQuery, doc.filePath), std::tuple(0, 1, s.dir.file("fid")))
        << "Import then reads the same file without a dialog";

    Scratch u;
    EXPECT_EQ(openNativeFile(*u.doc, u.ui), NativeOpen::Cancelled) << "no file chosen";
    EXPECT_TRUE(u.ui.messages.empty());
    u.ui.files = {u.dir.file("missing.plv"), u.dir.path().string()};
    EXPECT_EQ(openNativeFile(*u.doc, u.ui), NativeOpen::Cancelled);
    EXPECT_EQ(openNativeFile(*u.doc, u.ui), NativeOpen::Cancelled);
    EXPECT_EQ(u.ui.messageTexts(), (std::vector<std::string>(2, "Cannot open the file")));
    EXPECT_EQ(std::tuple(u.ui.messages[0].caption, u.doc->haveDocument), std::tuple("Error ", 0));
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
    EXPECT_FALSE(saveNativeFile(*doc, s.ui)) << "a directory that does not exist";
    EXPECT_EQ(s.ui.messages.size(), 2u);
}

TEST(SaveQuestion, AsksOnlyForLoadedDocumentsAndCancelStops) {
    testing::RecordingUserInterface ui;
    Document doc;
    EXPECT_TRUE(saveQuestion(doc, ui)) << "no question before the first load";
    EXPECT_TRUE(ui.messages.empty());
    doc.noSaveQuery = 0;
    ui.answers = {platform::Answer::Cancel, platform::Answer::No, platform::Answer::Yes};
    EXPECT_FALSE(saveQuestion(doc, ui));
    EXPECT_EQ(std::tuple(ui.messages.back().text, ui.messages.back().buttons),
              std::tuple("Do you want to save the current spectrum?", platform::Buttons::YesNoCancel));
    EXPECT_TRUE(saveQuestion(doc, ui));
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(saveQuestion(doc, ui)) << "Yes saves (here the save dialog is cancelled) and goes on";
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

}  // namespace
}  // namespace pelvaron::io
