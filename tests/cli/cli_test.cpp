// pelvaron-cli end to end, in-process: info, dump and convert on the bundled example and on
// experiments the tests write, and the error contract.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <sstream>

#include "bruker_writer.h"
#include "temp_dir.h"

namespace pelvaron::cli {
namespace {

using testing::TempDir;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::string example() {
    const char* root = std::getenv("PELVARON_SOURCE_DIR");
    return std::string(root ? root : ".") + "/examples/ethyl-acetate/1";
}

std::vector<double> lines(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<double>(in), std::istream_iterator<double>()};
}

TEST(CliTest, InfoDescribesTheBundledExample) {
    const CliRun r = run({"info", example()});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* field : {"\"format\": \"bruker\"", "\"nData\": 16384", "\"TD\": 16384", "\"SF\": 400.13",
                              "\"aqMode\": 3", "\"complexData\": 1", "\"DECIM\": 32", "\"DSPFVS\": 10",
                              "\"phase0\": 0", "\"xUnits\": 1", "\"AQ\":", "\"offsetHz\": -1007.99",
                              "\"refIndex\":", "\"peakValue\":", "\"peakIndex\":", "\"SW\": 6009.61"}) {
        EXPECT_NE(r.out.find(field), std::string::npos) << field << "\n" << r.out;
    }
    EXPECT_EQ(r.out.front(), '{');
}

TEST(CliTest, DumpPrintsEveryDoubleExactlyAndStepsRunInOrder) {
    TempDir dir;
    testing::BrukerFidSpec spec;
    spec.values.resize(32);
    std::iota(spec.values.begin(), spec.values.end(), 1.0);
    spec.procOffset = 5.0;
    testing::writeBrukerFid(dir.path().string(), spec);
    CliRun r = run({"dump", dir.path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out), spec.values);

    r = run({"dump", dir.file("fid"), "--format", "bruker", "--steps", "invert"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out)[3], -4.0);

    // Equal head and tail means: the drift removal subtracts only their constant, from real and
    // imaginary parts alike.
    TempDir flat;
    spec.values.assign(64, 7.0);
    spec.values[30] = 107.0;
    spec.values[31] = 57.0;
    testing::writeBrukerFid(flat.path().string(), spec);
    r = run({"dump", flat.path().string(), "--steps", "baseline"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto drift = lines(r.out);
    ASSERT_EQ(drift.size(), 64u);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(drift[i], i == 30 ? 100.0 : i == 31 ? 50.0 : 0.0) << i;

    r = run({"info", dir.path().string(), "--steps", "invert,invert,invert"});
    EXPECT_NE(r.out.find("\"phase0\": 180"), std::string::npos) << r.out;
}

TEST(CliTest, ConvertWritesANativeFileThatReadsBackBitForBit) {
    TempDir dir;
    const std::string out = dir.file("copy.plv");
    CliRun r = run({"convert", example(), out, "--to", "native"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::filesystem::file_size(out), 1024u + 16384u * 8u);
    const CliRun a = run({"dump", example()});
    const CliRun b = run({"dump", out});
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(a.out, b.out);
    r = run({"info", out});
    EXPECT_NE(r.out.find("\"format\": \"native\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"DECIM\": 32"), std::string::npos) << "the parameter block travels verbatim";
}

TEST(CliTest, ErrorsGoToStandardErrorWithANonZeroStatusAndWriteNothing) {
    TempDir dir;
    const std::string out = dir.file("never.plv");
    struct Case {
        std::vector<std::string> args;
        const char* expected;
    };
    const Case cases[] = {
        {{"convert", example(), out, "--steps", "frobnicate"}, "Unknown step \"frobnicate\""},
        {{"convert", example(), out, "--steps", "invert=x"}, "arguments must be numbers"},
        {{"convert", example(), out, "--steps", "invert=1"}, "wrong number of arguments"},
        {{"convert", example(), out, "--format", "pdf"}, "unknown format pdf"},
        {{"convert", example(), out, "--to", "pdf"}, "unknown output type pdf"},
        {{"convert", dir.file("missing"), out}, "Don't know what to do with it!!"},
        {{"convert", example() + "/fid", out, "--format", "native"}, "This is not a Pelvaron File"},
        {{"info"}, "info takes FILE"},
        {{"explode", example()}, "unknown command explode"},
        {{}, "no command given"},
        {{"convert", example(), "/nonexistent-dir/x.plv"}, "Cannot Save File"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_NE(r.status, 0) << c.expected;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << c.expected;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.expected;
    }
}

}  // namespace
}  // namespace pelvaron::cli
