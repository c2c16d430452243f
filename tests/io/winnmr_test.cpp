// The WIN-NMR reader: parameters from DIS before aqs, what a former data set must not pass on,
// damaged sets, and the companions found beside the data file.
#include "io/winnmr.h"

#include <gtest/gtest.h>

#include "io_fixture.h"
#include "winnmr_writer.h"

namespace pelvaron::io {
namespace {

using testing::WinNmrSpec;

TEST(WinNmr, DisIsReadBeforeAqsAndNothingOfAFormerDataSetStays) {
    const WinNmrSpec dis{.values = {1.5f, -2.25f, 3e-7f, -4e9f}, .sw = 6009.6154, .sf = 400.13, .aqMode = 3};
    const WinNmrSpec aqs{.values = {9, 9}, .sw = 100.0, .sf = 50.0, .aqMode = 0, .decim = 16, .dspfvs = 12};
    Scratch s;
    Document& d = *s.doc;
    d.acqPars.DECIM = 24;  // a digitally filtered set loaded before
    d.acqPars.offsetHz = -1500.0;
    d.groupDelay = 67.98;
    d.negateImag = d.fileNegateImag = 1;
    ASSERT_TRUE(
        readWinNmrFid(d, s.ui, testing::winNmrData(dis), testing::winNmrDis(dis), testing::winNmrAqs(aqs)));
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(std::vector(d.specData.begin(), d.specData.begin() + d.nData),
              std::vector<double>({1.5f, -2.25f, 3e-7f, -4e9f}));
    EXPECT_EQ(std::tuple(d.nData, d.acqPars.TD, d.acqPars.SW, d.acqPars.SF, d.acqPars.aqMode,
                         d.acqPars.complexData),
              std::tuple(4, 4, 6009.6154, 400.13, 3, 1));
    EXPECT_EQ(std::tuple(d.acqPars.DECIM, d.groupDelay, d.acqPars.offsetHz, d.negateImag, d.fileNegateImag),
              std::tuple(1, 0.0, 0.0, 0, 0));

    // Only an aqs text: its filter parameters; DSPFVS stays as it was when it names none.
    ASSERT_TRUE(readWinNmrFid(d, s.ui, testing::winNmrData(aqs), std::nullopt, testing::winNmrAqs(aqs)));
    EXPECT_EQ(std::tuple(d.nData, d.acqPars.SW, d.acqPars.SF, d.acqPars.aqMode, d.acqPars.complexData,
                         d.acqPars.DECIM, d.acqPars.DSPFVS),
              std::tuple(2, 100.0, 50.0, 0, 0, 16, 12));
    const WinNmrSpec plain{.values = {1, 2}, .decim = std::nullopt};
    ASSERT_TRUE(readWinNmrFid(d, s.ui, testing::winNmrData(plain), std::nullopt, testing::winNmrAqs(plain)));
    EXPECT_EQ(std::tuple(d.acqPars.DECIM, d.acqPars.DSPFVS), std::tuple(1, 12));
}

TEST(WinNmr, DamagedSetsFailAndLargeOnesAreCut) {
    const WinNmrSpec spec{.values = {1, 2, 3, 4}};
    const std::string data = testing::winNmrData(spec), dis = testing::winNmrDis(spec);
    const struct {
        std::string data;
        std::optional<std::string> dis, aqs;
    } cases[] = {
        {data, std::nullopt, std::nullopt},
        {data.substr(0, 15), dis, std::nullopt},  // one byte short of TD floats
        {data, testing::winNmrDis({.values = {1, 2, 3, 4}, .td = 0}), std::nullopt},
        {data, testing::winNmrDis({.values = {1, 2, 3, 4}, .sw = 0.0}), std::nullopt},
        {data, "##$SPWIDTH= 5000\n", std::nullopt},  // no size
        {data, "", testing::winNmrAqs(spec)},        // an empty DIS outranks aqs
    };
    for (const auto& c : cases) {
        Scratch s;
        s.doc->nData = 6;
        EXPECT_FALSE(readWinNmrFid(*s.doc, s.ui, c.data, c.dis, c.aqs));
        EXPECT_EQ(std::tuple(s.doc->nData, s.doc->specData[0], s.ui.messages.size()), std::tuple(6, 0.0, 0u));
    }

    WinNmrSpec large{.values = std::vector<float>(kCapacity + 2, 0.5f)};
    large.values[kCapacity - 1] = -3.0f;
    Scratch s;
    ASSERT_TRUE(
        readWinNmrFid(*s.doc, s.ui, testing::winNmrData(large), testing::winNmrDis(large), std::nullopt));
    expectOnlyMessage(s.ui, kCapacityWarningText, "Warning");
    EXPECT_EQ(std::tuple(s.doc->nData, s.doc->specData[kCapacity - 1]), std::tuple(kCapacity, -3.0));
}

TEST(WinNmr, CompanionsAreFoundBesideTheDataFileWithoutRegardToCase) {
    testing::TempDir dir;
    const std::string data =
        testing::writeWinNmr(dir.path().string(), "EXP1.FID", {.values = {1, 2}}, false, false);
    testing::writeFile(dir.file("exp1.dis"), "x");
    testing::writeFile(dir.file("EXP1.AQS"), "y");
    testing::writeFile(dir.file("EXP2.DIS"), "z");
    const WinNmrCompanions found = findWinNmrCompanions(data);
    EXPECT_EQ(found.dis, dir.file("exp1.dis"));
    EXPECT_EQ(found.aqs, dir.file("EXP1.AQS"));
    const WinNmrCompanions none = findWinNmrCompanions(dir.file("OTHER.FID"));
    EXPECT_FALSE(none.dis || none.aqs);
}

}  // namespace
}  // namespace pelvaron::io
