// The JSON reader and the simulate and transitions commands of pelvaron-cli.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "cli/json_reader.h"
#include "io/load.h"
#include "recording_ui.h"
#include "simulation/synthesis.h"
#include "temp_dir.h"

namespace pelvaron::cli {
namespace {

using testing::TempDir;

TEST(JsonReader, ReadsValuesOfEveryKind) {
    JsonValue v;
    std::string error;
    ASSERT_TRUE(parseJson(R"( {"a": [1, -2.5e2, 0.125, 0], "s": "x\"\\\/\n\u00e9\ud83d\ude00",
                              "t": true, "f": false, "n": null, "o": {}} )",
                          v, error))
        << error;
    ASSERT_EQ(v.kind, JsonValue::Kind::Object);
    const JsonValue* a = v.find("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 4u);
    EXPECT_EQ(a->items[1].number, -250.0);
    EXPECT_EQ(a->items[2].number, 0.125);
    EXPECT_EQ(v.find("s")->text, "x\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_TRUE(v.find("t")->boolean);
    EXPECT_EQ(v.find("f")->kind, JsonValue::Kind::Bool);
    EXPECT_EQ(v.find("n")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(v.find("o")->kind, JsonValue::Kind::Object);
    EXPECT_EQ(v.find("missing"), nullptr);
}

TEST(JsonReader, RefusesMalformedTextWithItsPlace) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"{\"a\": 1,}", "line 1, column 9: expected a key in double quotes"},
        {"{\"a\": 1,\n \"a\": 2}", "line 2, column 2: the key \"a\" appears twice"},
        {"[1 2]", "line 1, column 4: expected ',' or ']' in a list"},
        {"[01]", "line 1, column 3: expected ',' or ']' in a list"},
        {"[+1]", "line 1, column 2: unexpected character"},
        {"[1.]", "line 1, column 4: expected a digit after the decimal point"},
        {"[1e999]", "line 1, column 2: number out of range"},
        {"[NaN]", "line 1, column 2: unexpected character"},
        {"\"abc", "line 1, column 5: a string is not closed"},
        {"\"a\tb\"", "line 1, column 3: control character in a string"},
        {"\"\\x\"", "line 1, column 3: unknown escape in a string"},
        {"\"\\ud800x\"", "line 1, column 8: broken surrogate pair"},
        {"{} {}", "line 1, column 4: unexpected text after the end of the document"},
        {"", "line 1, column 1: unexpected end of the text"},
        {"tru", "line 1, column 1: unknown word"},
    };
    for (const Case& c : cases) {
        JsonValue v;
        std::string error;
        EXPECT_FALSE(parseJson(c.text, v, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    // Deep nesting ends in a message, not in a stack overflow.
    JsonValue v;
    std::string error;
    EXPECT_FALSE(parseJson(std::string(100000, '['), v, error));
    EXPECT_NE(error.find("nested too deeply"), std::string::npos);
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

struct Line {
    int subsystem;
    double freq;
    double intens;
};

std::vector<Line> parseListing(const std::string& text) {
    std::vector<Line> lines;
    std::istringstream in(text);
    Line l{};
    while (in >> l.subsystem >> l.freq >> l.intens) lines.push_back(l);
    return lines;
}

TEST(SimulateCli, TransitionsListsEverySubsystemInOrder) {
    TempDir dir;
    const std::string system = dir.file("ab.json");
    // An AB quartet at 300 MHz given in ppm, and a single nucleus.
    testing::writeFile(system, R"({"sf": 300, "units": "ppm",
        "subsystems": [{"shifts": [1.0, 1.04], "couplings": [[2, 1, 10]]}, {"shifts": [2.5]}]})");
    const CliRun r = runCli({"transitions", system});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = parseListing(r.out);
    ASSERT_EQ(lines.size(), 5u);
    const double d = std::sqrt(12.0 * 12.0 + 10.0 * 10.0);
    const Line want[] = {{1, 306 - 5 - d / 2, (1 - 10 / d) / 2},
                         {1, 306 + 5 - d / 2, (1 + 10 / d) / 2},
                         {1, 306 - 5 + d / 2, (1 + 10 / d) / 2},
                         {1, 306 + 5 + d / 2, (1 - 10 / d) / 2},
                         {2, 750.0, 1.0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[i].subsystem, want[i].subsystem) << i;
        EXPECT_NEAR(lines[i].freq, want[i].freq, 1e-6) << i;
        EXPECT_NEAR(lines[i].intens, want[i].intens, 1e-8) << i;
    }
    // The exact text of one line: 6 and 8 decimals.
    EXPECT_NE(r.out.find("\n2 750.000000 1.00000000\n"), std::string::npos) << r.out;
}

TEST(SimulateCli, SimulateWritesTheDocumentTheDialogsWouldMake) {
    TempDir dir;
    const std::string system = dir.file("abx.json");
    testing::writeFile(system, R"({"sf": 400, "from": 200, "to": 1200, "points": 4096, "lineWidth": 1.0,
        "subsystems": [{"shifts": [610, 622, 1000], "couplings": [[1, 2, 15.5], [1, 3, 3.2], [2, 3, 8.7]]}]})");
    const std::string out = dir.file("abx.plv");
    const CliRun r = runCli({"simulate", system, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;

    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    ASSERT_TRUE(io::loadFile(*doc, ui, out, io::FileFormat::Native));
    EXPECT_EQ(doc->nData, 4096);
    EXPECT_DOUBLE_EQ(doc->acqPars.SW, 1000.0);
    EXPECT_DOUBLE_EQ(doc->acqPars.SF, 400.0);
    EXPECT_DOUBLE_EQ(doc->acqPars.offsetHz, 200.0);
    // The X part sits at point h - (1000 - 200) * h / 1000, the strongest lines near the AB part.
    const int h = 2048;
    const int xPoint = h - static_cast<int>(800.0 * h / 1000.0);
    double xMax = 0.0;
    for (int j = xPoint - 30; j <= xPoint + 30; ++j) xMax = std::max(xMax, doc->specData[2 * j]);
    EXPECT_GT(xMax, 0.05);
    double total = 0.0;
    for (int j = 0; j < h; ++j) total += doc->specData[2 * j];
    EXPECT_NEAR(total, 3.0 * h / 1000.0, 0.03 * 3.0 * h / 1000.0);  // three nuclei' worth of area
}

TEST(SimulateCli, RefusesBadInputAndWritesNothing) {
    TempDir dir;
    const std::string out = dir.file("out.plv");
    struct Case {
        const char* json;
        const char* message;
    };
    const std::string one = R"({"shifts": [100]})";
    const std::string six =
        "{\"subsystems\": [" + one + "," + one + "," + one + "," + one + "," + one + "," + one + "]}";
    const Case cases[] = {
        {R"({"subsystems": [{"shifts": [1,2,3,4,5,6,7,8,9,10,11]}]})", simulation::kNucleiCountText},
        {six.c_str(), simulation::kTooManySubsystemsText},
        {R"({"lineWidth": 0, "subsystems": [{"shifts": [100]}]})", simulation::kLineWidthText},
        {R"({"from": 500, "to": 400, "subsystems": [{"shifts": [100]}]})", simulation::kWindowText},
        {R"({"points": 2000000, "subsystems": [{"shifts": [100]}]})", simulation::kPointsText},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1, 3, 5]]}]})", "nuclei are numbered 1 to 2"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1, 1, 5]]}]})", "a pair needs two of them"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1, 2]]}]})", "[i, j, J] with three numbers"},
        {R"({"linewidth": 1, "subsystems": [{"shifts": [100]}]})", "unknown key \"linewidth\""},
        {R"({"units": "Hertz", "subsystems": [{"shifts": [100]}]})", "\"units\" must be \"Hz\" or \"ppm\""},
        {R"({"points": 100.5, "subsystems": [{"shifts": [100]}]})", "\"points\" must be a whole number"},
        {R"({"sf": 0, "subsystems": [{"shifts": [100]}]})", "\"sf\" must be greater than 0"},
        {R"({"subsystems": []})", "at least one subsystem"},
        {R"({"subsystems": [{"shifts": ["1"]}]})", "a shift must be a number, not a string"},
        {R"({"subsystems": [{"shifts": [1]}],)", "expected a key"},
    };
    for (const Case& c : cases) {
        const std::string system = dir.file("bad.json");
        testing::writeFile(system, c.json);
        const CliRun r = runCli({"simulate", system, "-o", out});
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.json << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.json;
    }
    // transitions refuses the same systems but ignores the window.
    testing::writeFile(dir.file("bad.json"), R"({"subsystems": [{"shifts": [1,2,3,4,5,6,7,8,9,10,11]}]})");
    EXPECT_EQ(runCli({"transitions", dir.file("bad.json")}).status, 1);
    testing::writeFile(dir.file("wide.json"), R"({"lineWidth": 0, "subsystems": [{"shifts": [100]}]})");
    EXPECT_EQ(runCli({"transitions", dir.file("wide.json")}).out, "1 100.000000 1.00000000\n");
    EXPECT_EQ(runCli({"transitions", dir.file("missing.json")}).status, 1);
}

TEST(SimulateCli, UsageErrorsAndEveryOutputType) {
    TempDir dir;
    const std::string system = dir.file("a.json");
    testing::writeFile(system, R"({"subsystems": [{"shifts": [100]}]})");
    const std::string x = dir.file("x");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"simulate", system},
                                                 {"simulate", system, "-o"},
                                                 {"simulate", system, "-o", x, "--bogus"},
                                                 {"simulate", system, "-o", x, "--to", "pdf"},
                                                 {"transitions"},
                                                 {"transitions", system, system}})
        EXPECT_EQ(runCli(args).status, 2) << args.size();
    EXPECT_FALSE(std::filesystem::exists(dir.file("x")));
    EXPECT_EQ(runCli({"simulate", system, "-o", dir.file("x"), "--to", "native"}).status, 0);
    // The JCAMP-DX export reads back as the same spectrum; the text export lists every point.
    ASSERT_EQ(runCli({"simulate", system, "-o", dir.file("x.dx"), "--to", "jcamp"}).status, 0);
    const CliRun native = runCli({"info", dir.file("x")});
    const CliRun jcamp = runCli({"info", dir.file("x.dx")});
    ASSERT_EQ(jcamp.status, 0) << jcamp.err;
    EXPECT_NE(jcamp.out.find("\"format\": \"jcamp\""), std::string::npos);
    EXPECT_NE(native.out.find("\"peakIndex\""), std::string::npos);
    ASSERT_EQ(runCli({"simulate", system, "-o", dir.file("x.txt"), "--to", "text"}).status, 0);
    EXPECT_GT(std::filesystem::file_size(dir.file("x.txt")), 8192u);
}

}  // namespace
}  // namespace pelvaron::cli
