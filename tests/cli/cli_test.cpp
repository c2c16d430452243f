// pelvaron-cli end to end, in-process: each command's help, exit status and messages; info, dump
// and convert on the bundled example and on experiments the tests write; transitions and
// simulate on spin systems the tests write.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "base/format.h"
#include "io/load.h"
#include "io/native_file.h"
#include "jeol_writer.h"
#include "recording_ui.h"
#include "simulation/synthesis.h"
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

std::string example() { return testing::sourcePath("examples/ethyl-acetate/1"); }

/// The file read as the window reads it.
std::unique_ptr<Document> load(const std::string& path) {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, path, std::nullopt)) << path;
    return doc;
}

std::vector<double> lines(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<double>(in), std::istream_iterator<double>()};
}

TEST(CliTest, EachCommandAnswersWithItsExitStatusOnTheRightStream) {
    TempDir dir;
    const std::string never = dir.file("never.plv");
    const std::string system = dir.file("a.json");
    testing::writeFile(system, R"({"subsystems": [{"shifts": [100]}]})");
    testing::writeFile(dir.file("narrow.json"), R"({"lineWidth": 0, "subsystems": [{"shifts": [100]}]})");
    // An AB pair given in ppm at 300 MHz (its J in Hz), then a single nucleus.
    testing::writeFile(dir.file("ab.json"), R"({"sf": 300, "units": "ppm",
        "subsystems": [{"shifts": [1.0, 1.04], "couplings": [[2, 1, 10]]}, {"shifts": [2.5]}]})");
    // A number JSON cannot hold is null (the keys and exact numbers are in the real-data table).
    auto nan = std::make_unique<Document>();
    nan->spectrum.nData = nan->spectrum.acqPars.TD = 8;
    nan->spectrum.acqPars.SW = std::nan("");
    ASSERT_TRUE(io::writeNativeFile(*nan, dir.file("nan.plv")));
    const std::string aspirin = testing::sourcePath("tests/data/aspirin-1h/processed-set");
    const std::string fid = testing::sourcePath("tests/data/aspirin-1h/fid-set");
    const std::string jeol = testing::sourcePath("tests/data/jeol-1h/proton-meod.jdf");
    testing::writeFile(dir.file("2d.jdf"),
                       testing::jeolFile({.real = {1, 2}, .imag = {3, 4}, .dimensions = 2, .layout = 2}));
    const auto scan = [&fid](std::string path, std::string to, std::string step, std::string window = "em") {
        return std::vector<std::string>{"apodize-scan", path, "--from",   "0",   "--to", to,
                                        "--step",       step, "--window", window};
    };
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string text;  ///< on standard output for status 0, else on standard error
    };
    const Case cases[] = {
        {{"--help"}, 0, "\n  transitions "},
        {{"info", "--help"}, 0, "Usage: pelvaron-cli info [OPTIONS] FILE\n"},
        {{"help", "dump"}, 0, "\n  --steps LIST "},
        {{"info", example()}, 0, "\"format\": \"bruker\""},
        {{"info", dir.file("nan.plv")}, 0, "\"SW\": null,"},
        {{"info", jeol}, 0, "\"format\": \"jeol\""},
        {{"info", jeol, "--format", "jeol"}, 0, "\"referenceSource\": \"file header\""},
        {{"simulate", system, "-o", dir.file("ok.txt"), "--to", "text"}, 0, ""},
        {{"transitions", dir.file("narrow.json")}, 0, "1 100.000000 1.00000000\n"},  // no window needed
        // Subsystem, frequency (6 decimals) and intensity (8) a line: the AB quartet J apart in
        // pairs about 306 Hz, then 2.5 ppm.
        {{"transitions", dir.file("ab.json")},
         0,
         "1 293.189750 0.17990780\n1 303.189750 0.82009220\n1 308.810250 0.82009220\n"
         "1 318.810250 0.17990780\n2 750.000000 1.00000000\n"},
        // Two-argument steps in their order: swapped, 2 and 3 would lie outside the shift's and GB's range.
        {{"dump", example(), "--steps", "gm=2/0.3,lg=3/0.4"}, 0, ""},
        // File and data errors, in the program's own words.
        {{"info", dir.file("missing")}, 1, "Don't know what to do with it!!"},
        {{"dump", example(), "--steps", "frobnicate"}, 1, "Unknown step \"frobnicate\""},
        {{"convert", example(), never, "--steps", "invert=1"}, 1, "wrong number of arguments"},
        {{"convert", example() + "/fid", never, "--format", "native"}, 1, "This is not a Pelvaron File"},
        {{"convert", example() + "/fid", never, "--format", "jeol"}, 1, "Cannot Open this file"},
        {{"convert", dir.file("2d.jdf"), never}, 1, "2-dimensional data. Only one-dimensional"},
        {{"convert", example(), dir.file("no-dir/x.plv")}, 1, "Cannot Save File"},
        {{"simulate", dir.file("narrow.json"), "-o", never}, 1, simulation::kLineWidthText},
        {{"transitions", dir.file("missing.json")}, 1, "cannot read"},
        {{"dump", aspirin, "--steps", "suppress=1/2/zeros"}, 1, "Step \"suppress\""},
        {{"dump", aspirin, "--steps", "reference=2.29/944Hz"}, 1, "Step \"reference\""},
        {{"dump", aspirin, "--steps", "shift=x"}, 1, "Step \"shift"},
        // The automatic steps work on a spectrum: on a FID they say so and change nothing.
        {{"dump", fid, "--steps", "autophase=full"}, 1, "Automatic Phase works on a spectrum"},
        {{"dump", fid, "--steps", "autobaseline"}, 1, "Automatic Baseline works on a spectrum"},
        {{"dump", aspirin, "--steps", "autophase=half"}, 1, "expected autophase or autophase=full"},
        {scan(fid + "/missing", "1", "0.5"), 1, ""},
        {scan(aspirin, "1", "0.5"), 1, "no FID"},  // a processed spectrum has no FID behind it
        // The multiplet report: on a spectrum only, of signals, over regions of the data.
        {{"multiplets", aspirin, "--solvent", "DMSO"}, 0, "1H NMR (300 MHz, DMSO-d6) \u03b4 8.25 ("},
        {{"multiplets", aspirin, "--delta-digits", "3", "--j-digits", "2"},
         0,
         "8.038 (dd, J = 7.83, 1.70 Hz, 1H)"},
        {{"multiplets", example(), "--steps", "em=0.3,auto"},
         0,
         "1H NMR (400 MHz) \u03b4 4.12 (q, J = 7.1 Hz, 2H)"},
        {{"multiplets", aspirin, "--json", "--solvent", "\xff"}, 0, "\"solvent\": \"\xef\xbf\xbd\""},
        {{"multiplets", fid}, 1, "not a spectrum"},
        {{"multiplets", aspirin, "--total-h", "0"}, 1, "total of protons"},
        {{"multiplets", aspirin, "--total-h", "-3"}, 1, "total of protons"},
        {{"multiplets", aspirin, "--region", "30/20"}, 1, "outside the spectrum"},
        {{"multiplets", aspirin, "--steps", "suppress=15.478/-0.478"}, 1, "No signal"},
        {{"multiplets", aspirin, "--steps", "suppress=15.47/-0.47/noise"}, 1, "No signal"},
        // A fit needs a spectrum, regions on it and a system the engine computes; nothing written.
        {{"fit", system, fid, "--region", "8/7", "-o", never}, 1, "not a spectrum"},
        {{"fit", system, aspirin, "--region", "30/20", "-o", never}, 1, "outside the spectrum"},
        {{"fit", dir.file("narrow.json"), aspirin, "--region", "8.1/7.9", "-o", never},
         1,
         "cannot be computed"},
        // Usage errors name what is wrong.
        {{}, 2, "no command given"},
        {{"fit", system, aspirin, "-o", never}, 2, "--region is required"},
        {{"fit", system, aspirin, "--region", "8.1/7.9", "--fix", "shift:2", "-o", never},
         2,
         "--fix shift:2"},
        {{"explode", example()}, 2, "unknown command explode"},
        {{"--bogus", "info", example()}, 2, "unknown option --bogus"},
        {{"info"}, 2, "FILE is required"},
        {{"dump", example(), "--steps"}, 2, "--steps"},
        {{"info", example(), "--format", "pdf"}, 2, "unknown format pdf"},
        {{"convert", example(), never, "--to", "pdf"}, 2, "unknown output type pdf"},
        {{"simulate", system}, 2, "-o is required"},
        {{"simulate", system, "-o", never, "--to", "jcamp-real"}, 2, "unknown output type jcamp-real"},
        {{"transitions", system, system}, 2, "not expected: " + system},
        {{"peaks", aspirin, "--region", "2.2"}, 2, "--region"},
        {{"multiplets", aspirin, "--total-h", "many"}, 2, "--total-h"},
        {{"multiplets", aspirin, "--j-digits", "9"}, 2, "--j-digits"},
        // Scans that would never end, or not soon, and windows apodize-scan does not offer.
        {scan(fid, "1", "0"), 2, "apodize-scan"},
        {scan(fid, "1", "-0.1"), 2, "apodize-scan"},
        {scan(fid, "1e9", "1e-3"), 2, "apodize-scan"},
        {scan(fid, "nan", "0.1"), 2, "apodize-scan"},
        {scan(fid, "1", "0.5", "hamming"), 2, "apodize-scan"},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.empty() ? "(none)" : c.args[0] + " " + std::to_string(c.args.size());
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err;
        EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.text), std::string::npos) << what << "\n"
                                                                                   << r.out << r.err;
        EXPECT_TRUE(c.status == 0 || r.out.empty()) << what;
        EXPECT_TRUE(c.status != 2 || r.err.find("--help") != std::string::npos) << what << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(never)) << what;
    }
    // A reference integral past the regions is a usage error the data decide, said as the window says it.
    const CliRun reference = run({"integrate", aspirin, "--region", "8.1/7.97", "--reference", "2=3"});
    EXPECT_EQ(std::pair(reference.status, reference.err),
              std::pair(2, std::string("Error: The reference integral must lie between 1 and 1\n")));
    EXPECT_TRUE(
        std::regex_match(run({"--version"}).out, std::regex("pelvaron-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")));
}

TEST(CliTest, DumpAndNativeConvertKeepEveryDoubleExactly) {
    // 14-million counts need eight digits: a short format would round them.
    const auto doc = load(example());
    const std::vector<double> data(doc->spectrum.specData.begin(),
                                   doc->spectrum.specData.begin() + doc->spectrum.nData);
    EXPECT_EQ(lines(run({"dump", example()}).out), data);
    const CliRun inverted = run({"dump", example() + "/fid", "--format", "bruker", "--steps", "invert"});
    ASSERT_EQ(inverted.status, 0) << inverted.err;
    EXPECT_EQ(lines(inverted.out)[3], -data[3]);

    TempDir dir;
    const std::string native = dir.file("copy.plv");
    ASSERT_EQ(run({"convert", example(), native}).status, 0);  // native unless --to says otherwise
    EXPECT_EQ(lines(run({"dump", native}).out), data);
    const CliRun info = run({"info", native});
    EXPECT_NE(info.out.find("\"format\": \"native\""), std::string::npos) << info.out;
    // What JCAMP-DX and text conversions write is in the real-data table.
}

TEST(CliTest, SimulateWritesTheDocumentTheDialogsWouldMake) {
    TempDir dir;
    const std::string system = dir.file("abx.json");
    testing::writeFile(system, R"({"sf": 400, "from": 200, "to": 1200, "points": 4096, "lineWidth": 1.0,
        "subsystems": [{"shifts": [610, 622, 1000], "couplings": [[1, 2, 15.5], [1, 3, 3.2], [2, 3, 8.7]]}]})");
    const std::string out = dir.file("abx.plv");
    const CliRun r = run({"simulate", system, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;

    const auto doc = load(out);
    EXPECT_EQ(doc->spectrum.nData, 4096);
    EXPECT_DOUBLE_EQ(doc->spectrum.acqPars.SW, 1000.0);
    EXPECT_DOUBLE_EQ(doc->spectrum.acqPars.SF, 400.0);
    EXPECT_DOUBLE_EQ(doc->spectrum.acqPars.offsetHz, 200.0);
    const int h = 2048;
    double total = 0.0;
    for (int j = 0; j < h; ++j) total += doc->spectrum.specData[2 * j];
    EXPECT_NEAR(total, 3.0 * h / 1000.0, 0.03 * 3.0 * h / 1000.0);  // three nuclei' worth of area

    // The JCAMP-DX export reads back as a spectrum of as many points.
    ASSERT_EQ(run({"simulate", system, "-o", dir.file("abx.dx"), "--to", "jcamp"}).status, 0);
    const std::string info = run({"info", dir.file("abx.dx")}).out;
    EXPECT_NE(info.find("\"format\": \"jcamp\",\n  \"nData\": 4096,"), std::string::npos) << info;
}

TEST(CliTest, FitRecoversASimulatedAbxAndWritesAFileSimulateReads) {
    TempDir dir;
    testing::writeFile(dir.file("abx.json"),
                       R"({"sf": 400, "from": 500, "to": 800, "points": 32768, "lineWidth": 0.8,
        "subsystems": [{"shifts": [610, 622, 700], "couplings": [[1, 2, 15.5], [1, 3, 3.2], [2, 3, 8.7]]}]})");
    ASSERT_EQ(run({"simulate", dir.file("abx.json"), "-o", dir.file("abx.plv")}).status, 0);
    testing::writeFile(dir.file("start.json"), R"({"sf": 400, "units": "ppm", "lineWidth": 1.2,
        "subsystems": [{"shifts": [1.53, 1.55, 1.745], "couplings": [[1, 2, 16.3], [1, 3, 3.2], [2, 3, 9.5]]}]})");
    const std::string fitted = dir.file("fitted.json");
    const CliRun r = run({"fit", dir.file("start.json"), dir.file("abx.plv"), "--region", "1.6/1.45",
                          "--region", "1.7/1.8", "--fix", "J:1-3", "--json", "-o", fitted});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    const auto& shifts = j["system"]["subsystems"][0]["shifts"];
    // The simulated lines lie on the grid's points (0.018 Hz apart), the fitted ones anywhere.
    const double truth[] = {610.0, 622.0, 700.0};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(shifts[i].get<double>() * 400.0, truth[i], 0.03) << i;
    EXPECT_EQ(j["system"]["subsystems"][0]["couplings"][1], nlohmann::json({1, 3, 3.2}));  // held
    EXPECT_NEAR(j["system"]["subsystems"][0]["couplings"][2][2].get<double>(), 8.7, 0.05);
    EXPECT_GT(j["sigma"]["shifts"][0][2].get<double>(), 0.0);
    EXPECT_EQ(j["sigma"]["couplings"][0][1], nlohmann::json({1, 3, 0.0}));
    EXPECT_NEAR(j["lineWidth"].get<double>(), 0.8, 0.04);
    EXPECT_LT(j["relativeRms"].get<double>(), 0.05);
    EXPECT_GT(j["iterations"].get<int>(), 0);
    EXPECT_EQ(run({"simulate", fitted, "-o", dir.file("again.plv")}).status, 0);
    const CliRun table = run({"fit", dir.file("start.json"), dir.file("abx.plv"), "--region", "1.45/1.8"});
    EXPECT_NE(table.out.find("J 2-3"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("+-"), std::string::npos) << table.out;
}

TEST(CliTest, FitOfAspirinsFourRingProtonsFromItsFidReachesTheirOrthoAndMetaCouplings) {
    // Shifts read roughly off the spectrum (to 0.01 ppm, 3 Hz here), J 8, 1.5 and 0.5 Hz; the FID
    // processed here with the spectrometer's window and the automatic processing.
    TempDir dir;
    testing::writeFile(dir.file("ring.json"), R"({"sf": 300.13, "units": "ppm", "lineWidth": 1.0,
        "subsystems": [{"shifts": [8.05, 7.52, 7.29, 7.06], "couplings": [[1, 2, 8.0], [1, 3, 1.5],
        [1, 4, 0.5], [2, 3, 8.0], [2, 4, 1.5], [3, 4, 8.0]]}]})");
    const CliRun r = run({"fit", dir.file("ring.json"), testing::sourcePath("tests/data/aspirin-1h/fid-set"),
                          "--steps", "em=0.3,auto", "--region", "8.12/7.98", "--region", "7.60/7.46",
                          "--region", "7.35/7.21", "--region", "7.12/7.00", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_LE(j["relativeRms"].get<double>(), 0.05);
    // Ortho about 7.5-8.2 Hz, meta about 1.1-1.8 Hz (0.1 Hz either side), para under 1 Hz. Which
    // pairs carry them is the fit's to find: near first order the ring's two orders give the same
    // multiplets (the start puts 8 Hz on neighbours in shift order, the ring has H6-H5-H4-H3), and
    // the sign of a coupling the lines cannot tell is left to the fit too.
    std::vector<double> J;
    for (const auto& c : j["system"]["subsystems"][0]["couplings"])
        J.push_back(std::fabs(c[2].get<double>()));
    ASSERT_EQ(J.size(), 6u);
    std::sort(J.rbegin(), J.rend());
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(J[k] >= 7.4 && J[k] <= 8.3) << "ortho " << J[k];
    for (int k = 3; k < 5; ++k) EXPECT_TRUE(J[k] >= 1.0 && J[k] <= 1.9) << "meta " << J[k];
    EXPECT_LT(J[5], 1.0) << "para";
}

TEST(CliTest, ApodizeScanPrintsWhatSnGivesForEachValue) {
    // Upwards, the steps after the window as given: each line is what sn prints for its value.
    const std::string fid = testing::sourcePath("tests/data/aspirin-1h/fid-set");
    const CliRun scan =
        run({"apodize-scan", fid, "--from", "0", "--to", "1", "--step", "0.3", "--steps", "ft,autophase"});
    ASSERT_EQ(scan.status, 0) << scan.err;
    std::string want;
    for (const char* lb : {"0", "0.3", "0.6", "0.9"}) {
        const std::string sn = run({"sn", fid, "--steps", std::string("em=") + lb + ",ft,autophase"}).out;
        want += lb + (" " + sn.substr(0, sn.find('\n') + 1));
    }
    EXPECT_EQ(scan.out, want);
    // Downwards, another window, the transform alone by default; one value when --from is --to.
    const std::string down =
        run({"apodize-scan", fid, "--window", "sine", "--from", "90", "--to", "89.5", "--step", "-0.25"}).out;
    EXPECT_EQ(std::pair(std::count(down.begin(), down.end(), '\n'), down.substr(0, down.find(' '))),
              std::pair(std::ptrdiff_t{3}, std::string("90")));
    EXPECT_EQ(down.substr(down.find('\n') + 1, 6), "89.75 ");
    const std::string one = run({"apodize-scan", fid, "--from", "1", "--to", "1", "--step", "5"}).out;
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 1) << one;
}

}  // namespace
}  // namespace pelvaron::cli
