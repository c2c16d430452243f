// The spin-system file and the simulate and transitions commands of pelvaron-cli.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "cli/spin_system_json.h"
#include "io/load.h"
#include "recording_ui.h"
#include "simulation/synthesis.h"
#include "temp_dir.h"

namespace pelvaron::cli {
namespace {

using testing::TempDir;

TEST(SpinSystemJson, NamesWhatIsWrongAndWhere) {
    const std::string one = R"({"shifts": [100]})";
    const std::string six =
        "{\"subsystems\": [" + one + "," + one + "," + one + "," + one + "," + one + "," + one + "]}";
    const std::string pts = "points: ";
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"{\"sf\": 300,\n \"subsystems\": [{\"shifts\": [1]}]]",
         "line 2, column 33: syntax error while parsing object - unexpected ']'; expected '}'"},
        {"{\"subsystems\": [{\"shifts\": [1]}],\n",
         "line 2, column 1: syntax error while parsing object key - "
         "unexpected end of input; expected string literal"},
        {R"({"sf": "300", "subsystems": [{"shifts": [1]}]})", "sf: expected a number, not a string"},
        {R"({"subsystems": [{"shifts": [1]}, {"shifts": [1, "2"]}]})",
         "subsystems[1].shifts[1]: expected a number, not a string"},
        {R"({"sf": 300})", "subsystems: missing; expected a list of 1 to 5 subsystems"},
        {R"({"subsystems": [{"couplings": []}]})",
         "subsystems[0].shifts: missing; expected a list of one shift per nucleus"},
        {R"({"linewidth": 1, "subsystems": [{"shifts": [1]}]})", "unknown key \"linewidth\""},
        {R"({"subsystems": [{"shifts": [1], "coupling": []}]})", "subsystems[0]: unknown key \"coupling\""},
        {R"({"subsystems": [{"shifts": [1, 2], "shifts": [3]}]})",
         "subsystems[0]: the key \"shifts\" appears twice"},
        {R"({"subsystems": [{"shifts": [1]}, {"shifts": [1, 2], "couplings": [[1, 2, 3], [1, 2]]}]})",
         "subsystems[1].couplings[1]: expected [i, j, J], three numbers, not a list of 2"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1, 3, 5]]}]})",
         "subsystems[0].couplings[0][1]: expected a nucleus from 1 to 2, not 3"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[1.5, 2, 5]]}]})",
         "subsystems[0].couplings[0][0]: expected a nucleus from 1 to 2, not 1.5"},
        {R"({"subsystems": [{"shifts": [1, 2], "couplings": [[2, 2, 5]]}]})",
         "subsystems[0].couplings[0]: names nucleus 2 twice; a coupling needs two nuclei"},
        {R"({"units": "Hertz", "subsystems": [{"shifts": [1]}]})",
         "units: expected \"Hz\" or \"ppm\", not a string"},
        {R"({"sf": 0, "subsystems": [{"shifts": [1]}]})",
         "sf: expected a frequency greater than 0 MHz, not 0"},
        {R"({"points": 100.5, "subsystems": [{"shifts": [1]}]})",
         "points: expected a whole number, not 100.5"},
        // The engine's limits, in its words.
        {R"({"points": 1048577, "subsystems": [{"shifts": [1]}]})", pts + simulation::kPointsText},
        {R"({"points": 1, "subsystems": [{"shifts": [1]}]})", pts + simulation::kPointsText},
        {R"({"points": 1e300, "subsystems": [{"shifts": [1]}]})", pts + simulation::kPointsText},
        {R"({"subsystems": [{"shifts": [1,2,3,4,5,6,7,8,9,10,11]}]})",
         std::string("subsystems[0].shifts: ") + simulation::kNucleiCountText},
        {R"({"subsystems": [{"shifts": []}]})",
         std::string("subsystems[0].shifts: ") + simulation::kNucleiCountText},
        {six, std::string("subsystems: ") + simulation::kTooManySubsystemsText},
        {R"({"subsystems": []})", std::string("subsystems: ") + simulation::kNoSubsystemText},
        {R"({"from": 1e999, "subsystems": [{"shifts": [1]}]})", "number overflow parsing '1e999'"},
    };
    for (const Case& c : cases) {
        SpinSystemFile system;
        std::string error;
        EXPECT_FALSE(parseSpinSystemJson(c.text, system, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(SpinSystemJson, WhatIsWrittenReadsBackAsTheSameSystem) {
    SpinSystemFile system;
    system.sf = 400.13;
    system.ppm = true;
    system.from = -0.5;
    system.to = 10.1;
    system.points = 1048576;  // the largest the document holds
    system.lineWidth = 0.7;
    system.threshold = 1e-5;
    system.subsystems.resize(2);
    system.subsystems[0].shifts = {2.0, 2.06, 4.5};
    system.subsystems[0].couplings = {{0, 16.1, 7.0}, {16.1, 0, 0}, {7.0, 0, 0}};
    system.subsystems[1].shifts = {1.0 / 3.0};
    system.subsystems[1].couplings = {{0}};
    const std::string text = writeSpinSystemJson(system);
    SpinSystemFile back;
    std::string error;
    ASSERT_TRUE(parseSpinSystemJson(text, back, error)) << error << "\n" << text;
    EXPECT_TRUE(back == system) << text;
    EXPECT_NE(text.find("\"couplings\":[[1,2,16.1],[1,3,7.0]]"), std::string::npos) << text;
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

    // The JCAMP-DX export reads back as a spectrum of as many points; the text export lists them.
    ASSERT_EQ(runCli({"simulate", system, "-o", dir.file("abx.dx"), "--to", "jcamp"}).status, 0);
    const std::string info = runCli({"info", dir.file("abx.dx")}).out;
    EXPECT_NE(info.find("\"format\": \"jcamp\",\n  \"nData\": 4096,"), std::string::npos) << info;
    ASSERT_EQ(runCli({"simulate", system, "-o", dir.file("abx.txt"), "--to", "text"}).status, 0);
    EXPECT_GT(std::filesystem::file_size(dir.file("abx.txt")), 4096u);
}

TEST(SimulateCli, RefusalsEndWithStatusOneAndWriteNothing) {
    TempDir dir;
    const std::string out = dir.file("out.plv");
    struct Case {
        const char* json;
        std::string message;
    };
    // The engine's refusals of the window, and a file error with the file's name.
    const Case cases[] = {
        {R"({"lineWidth": 0, "subsystems": [{"shifts": [100]}]})", simulation::kLineWidthText},
        {R"({"from": 500, "to": 400, "subsystems": [{"shifts": [100]}]})", simulation::kWindowText},
        {R"({"subsystems": [{"shifts": [1]}],)", dir.file("bad.json") + ": line 1, column 34: "},
    };
    for (const Case& c : cases) {
        testing::writeFile(dir.file("bad.json"), c.json);
        const CliRun r = runCli({"simulate", dir.file("bad.json"), "-o", out});
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.json << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.json;
    }
    // transitions ignores the window, and refuses a file it cannot read.
    testing::writeFile(dir.file("wide.json"), R"({"lineWidth": 0, "subsystems": [{"shifts": [100]}]})");
    EXPECT_EQ(runCli({"transitions", dir.file("wide.json")}).out, "1 100.000000 1.00000000\n");
    EXPECT_EQ(runCli({"transitions", dir.file("missing.json")}).status, 1);
}

}  // namespace
}  // namespace pelvaron::cli
