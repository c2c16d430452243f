// Writes seed inputs for the fuzz targets: the real experiments of tests/data and examples/, as
// each target takes them (their parameter files, the files of an experiment joined into one
// input, their native files and JCAMP-DX exports), and the fixture writers' small data sets in
// every layout the writers know.
//   fuzz-make-seeds OUT SOURCE_DIR         everything, into OUT/TARGET/
//   fuzz-make-seeds OUT SOURCE_DIR --small the small fixtures and the real parameter files only
//                                          (what fuzz/corpus/ holds)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "aspect_writer.h"
#include "bruker_writer.h"
#include "io/jcamp_writer.h"
#include "io/load.h"
#include "io/native_file.h"
#include "jcamp_fixtures.h"
#include "jeol_writer.h"
#include "nicolet_writer.h"
#include "nuts_writer.h"
#include "support/fuzz_support.h"
#include "temp_dir.h"
#include "varian_writer.h"
#include "winnmr_writer.h"

namespace {

using namespace pelvaron;
namespace fs = std::filesystem;

fs::path gOut;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
    testing::writeFile((gOut / target / name).string(), bytes);
}

std::optional<std::string> firstFile(const fs::path& dir, std::initializer_list<const char*> names) {
    std::error_code ec;
    for (const char* n : names)
        if (fs::is_regular_file(dir / n, ec)) return testing::readFile((dir / n).string());
    return std::nullopt;
}

/// The files of the experiment in `dir`, in the order the Bruker targets split them.
std::string packExperiment(const fs::path& dir) {
    return fuzz::joinParts({firstFile(dir, {"acqus"}), firstFile(dir, {"pdata/1/procs", "procs"}),
                            firstFile(dir, {"pdata/1/proc", "proc"}), firstFile(dir, {"fid", "ser"}),
                            firstFile(dir, {"pdata/1/1r", "1r"}), firstFile(dir, {"pdata/1/1i", "1i"})});
}

/// Every seed one experiment gives: its parameter files, and unless `paramsOnly` the joined
/// experiment and (once loaded) its native file and JCAMP-DX exports.
void experimentSeeds(const fs::path& dir, const std::string& name, bool paramsOnly = false) {
    for (const char* file : {"acqus", "pdata/1/procs", "pdata/1/proc", "procs", "proc"}) {
        if (auto text = firstFile(dir, {file})) {
            std::string flat = file;
            for (char& c : flat) c = c == '/' ? '-' : c;
            seed("params", name + "-" + flat, *text);
        }
    }
    if (paramsOnly) return;
    const std::string packed = packExperiment(dir);
    seed("bruker_fid", name, packed);
    seed("bruker_processed", name, packed);

    fuzz::NullUserInterface ui;
    auto doc = std::make_unique<Document>();
    if (!io::loadFile(*doc, ui, dir.string(), FileFormat::Bruker)) {
        std::fprintf(stderr, "fuzz-make-seeds: %s does not load\n", dir.c_str());
        return;
    }
    const std::string native = (gOut / "native" / name).string();
    fs::create_directories(gOut / "native");
    if (!io::writeNativeFile(*doc, native))
        std::fprintf(stderr, "fuzz-make-seeds: cannot write %s\n", native.c_str());
    const io::JcampExportText text = io::defaultJcampExportText(*doc);
    seed("jcamp", name + "-xydata", io::jcampXYDataText(*doc, text));
    seed("jcamp", name + "-ntuples", io::jcampNTuplesText(*doc, text));
}

std::vector<double> decayingLine(int values) {
    std::vector<double> v(static_cast<std::size_t>(values));
    for (int k = 0; k + 1 < values; k += 2) {
        const double t = k / 2 / 1000.0, decay = 1e5 * std::exp(-t * 20.0);
        v[static_cast<std::size_t>(k)] = decay * std::cos(2 * std::numbers::pi * 120.0 * t);
        v[static_cast<std::size_t>(k) + 1] = decay * std::sin(2 * std::numbers::pi * 120.0 * t);
    }
    return v;
}

void fixtureSeeds() {
    // Bruker experiments in both byte orders and value widths, raw and processed.
    int n = 0;
    for (bool big : {false, true}) {
        for (bool doubles : {false, true}) {
            testing::TempDir dir;
            testing::BrukerFidSpec fid;
            fid.values = decayingLine(128);
            fid.bigEndian = big;
            fid.doubles = doubles;
            fid.decim = 16;
            fid.dspfvs = 12;
            fid.grpdly = 67.98;
            fid.o1 = 1200.5;
            fid.procOffset = 10.2;
            fid.procsText = testing::parameterFile({{"OFFSET", "10.2"},
                                                    {"SW_p", "5000"},
                                                    {"SF", "400.13"},
                                                    {"SI", "64"},
                                                    {"WDW", "1"},
                                                    {"LB", "0.3"},
                                                    {"PHC0", "12"}});
            testing::writeBrukerFid(dir.path().string(), fid);
            experimentSeeds(dir.path(), "fid-" + std::to_string(n));

            testing::TempDir pdir;
            testing::BrukerProcessedSpec proc;
            proc.real = decayingLine(64);
            proc.imag = decayingLine(64);
            proc.bigEndian = big;
            proc.doubles = doubles;
            proc.ncProc = n - 1;
            proc.offset = 11.0;
            proc.tdeff = 64;
            proc.si = 64;
            testing::BrukerFiles files = testing::brukerProcessed(proc);
            files["procs"] += big ? "##$BYTORDP= 1\n" : "##$BYTORDP= 0\n";
            testing::writeBrukerFiles(pdir.path().string(), files);
            const std::string packed = packExperiment(pdir.path());
            seed("bruker_processed", "processed-" + std::to_string(n), packed);
            seed("bruker_fid", "processed-" + std::to_string(n), packed);
            if (auto procs = firstFile(pdir.path(), {"procs"}))
                seed("params", "processed-" + std::to_string(n) + "-procs", *procs);
            ++n;
        }
    }

    // JCAMP-DX: each ASDF form in XYDATA and NTUPLES files, a compound file, the earlier layout.
    std::vector<long> y;
    for (int k = 0; k < 40; ++k)
        y.push_back(std::lround(3000.0 * std::exp(-0.1 * k) * std::cos(0.7 * k)) + (k % 7 == 0 ? 0 : 5));
    const char* forms[] = {"affn", "sqz", "dif", "difdup"};
    for (int f = 0; f < 4; ++f) {
        testing::JcampDataSet d;
        d.real = y;
        d.imag = y;
        d.form = static_cast<testing::AsdfForm>(f);
        d.firstX = 5000.0;
        d.lastX = 0.0;
        d.extraHeader = {"##.SHIFT REFERENCE= INTERNAL, CDCl3, 1, 7.26", "##$SF= 400.13", "##$OFFSET= 12.5"};
        seed("jcamp", std::string("xydata-") + forms[f], testing::jcampXYDataFile(d));
        seed("jcamp", std::string("ntuples-") + forms[f], testing::jcampNTuplesFile(d));
        if (f == 3) {
            d.dataType = "NMR FID";
            d.xUnits = "SECONDS";
            seed("jcamp", "ntuples-fid", testing::jcampNTuplesFile(d));
            seed("jcamp", "link",
                 testing::jcampLinkFile({testing::jcampXYDataFile(d), testing::jcampNTuplesFile(d)}));
        }
    }
    const std::vector<double> elements = decayingLine(64);
    seed("jcamp", "legacy-xydata", testing::legacyExport(elements, 5000.0, 400.13, -2500.0, false));
    seed("jcamp", "legacy-ntuples", testing::legacyExport(elements, 5000.0, 400.13, -2500.0, true));

    // Spin systems as the README describes them.
    seed("spin_system", "ab.json",
         R"({"sf": 300, "subsystems": [{"shifts": [600.0, 620.0], "couplings": [[1, 2, 12.0]]}]})");
    seed(
        "spin_system", "abx.json",
        R"({"sf": 300, "units": "ppm", "from": 0.5, "to": 5.5, "points": 16384, "lineWidth": 0.5, "threshold": 0.001,)"
        R"( "subsystems": [{"shifts": [2.00, 2.06, 4.50], "couplings": [[1, 2, 16.0], [1, 3, 7.0], [2, 3, 4.0]]},)"
        R"( {"shifts": [1.2e0, -0.5E+1], "couplings": []}], "x": [null, true, false, "\u00e9\n\"", {}]})");

    // Processing lists with every step.
    seed("steps", "fid", "em=0.3,ft,phase=12.5/-3,baseline");
    seed("steps", "windows", "gm=-1/0.2,traf=1,lg=0.5/0.3,sine=90,sine2=45,hanning,hamming,invert");
    seed("steps", "sizes", "ft=256,autophase,ft=64");
    seed("steps", "recorded", "recorded,baseline,phase=-90/30");
    seed("steps", "automatic", "em=0.3,ft,autophase=full,autobaseline");
    seed("steps", "auto", "em=0.3,auto");
}

/// Aspect files in both byte orders and the refused kind, WIN-NMR sets with DIS, aqs or both
/// (split as data, DIS, aqs), and a Nicolet file of each header variant.
void aspectWinNmrNicoletSeeds() {
    const std::vector<double> line = decayingLine(64);
    std::vector<std::int32_t> words(line.begin(), line.end());
    for (bool reversed : {false, true}) {
        testing::AspectFidSpec spec{.values = words, .offsetHz = -1234.5, .aqMode = 2, .reversed = reversed};
        seed("aspect", reversed ? "reversed" : "standard", testing::aspectFile(spec));
    }
    testing::AspectFidSpec refused{.values = {1, 2}};
    refused.magic = {0xC2, 0x04, 0x00};
    seed("aspect", "refused", testing::aspectFile(refused));

    const testing::WinNmrSpec w{
        .values = std::vector<float>(line.begin(), line.end()), .decim = 16, .dspfvs = 12};
    const std::string data = testing::winNmrData(w), dis = testing::winNmrDis(w), aqs = testing::winNmrAqs(w);
    seed("winnmr", "dis", fuzz::joinParts({data, dis, std::nullopt}));
    seed("winnmr", "aqs", fuzz::joinParts({data, std::nullopt, aqs}));
    seed("winnmr", "both", fuzz::joinParts({data, dis, aqs}));

    std::vector<int> real, imag;
    for (std::size_t k = 0; k + 1 < line.size(); k += 2) {
        real.push_back(static_cast<int>(line[k] / 4));
        imag.push_back(static_cast<int>(line[k + 1] / 4));
    }
    for (int header : {0x2C72, 0x3212, 0xE243})
        seed("nicolet", "header-" + std::to_string(header),
             testing::nicoletFile({.real = real, .imag = imag, .headerWord = header}));
}

/// Varian VXR/Unity (fid and procpar), Gemini (data and ACQPAR) and Nuts files from the writers:
/// each sample width, with and without the reference, the SFRQ entry and the one after it, a
/// short data file, each acquisition mode.
void varianAndNutsSeeds() {
    const std::vector<double> values = decayingLine(128);
    int n = 0;
    for (const char* dp : {"y", "n", ""}) {
        testing::VarianFidSpec spec{.values = values, .extraBlocks = n % 2};
        if (*dp)
            spec.dp = dp;
        else
            spec.dp.reset();
        if (n != 1) {
            spec.rfp = 0.0;
            spec.rfl = 1200.0;
        }
        const testing::VarianFiles f = testing::varianFid(spec);
        seed("varian", "fid-" + std::to_string(n++), fuzz::joinParts({f.at("fid"), f.at("procpar")}));
    }
    n = 0;
    for (bool named : {true, false}) {
        for (std::optional<double> points : {std::optional<double>{}, std::optional<double>{1000.0}}) {
            const testing::VarianFiles f =
                testing::geminiFid({.values = values, .points = points, .sfrqNamed = named});
            seed("gemini", "fid-" + std::to_string(n++), fuzz::joinParts({f.at("data"), f.at("ACQPAR")}));
        }
    }
    n = 0;
    for (std::int16_t mode : {1, 3, 0}) {
        seed("nuts", "fid-" + std::to_string(n++),
             testing::nutsFile(
                 {.values = values, .aqMode = mode, .complexData = static_cast<std::int16_t>(mode != 0)}));
    }
}

/// JEOL Delta files from the writer in each byte order and value width, a real FID, spectra on a
/// ppm and a Hz axis; and unless `small` the real FID of tests/data.
void jeolSeeds(const fs::path& source, bool small) {
    const std::vector<double> line = decayingLine(64);
    std::vector<double> re, im;
    for (std::size_t k = 0; k + 1 < line.size(); k += 2) {
        re.push_back(line[k]);
        im.push_back(line[k + 1]);
    }
    int n = 0;
    for (bool little : {true, false}) {
        for (bool thirtyTwo : {false, true}) {
            const auto leading = static_cast<std::uint32_t>(n % 2);
            seed("jeol", "fid-" + std::to_string(n++),
                 testing::jeolFile({.real = re,
                                    .imag = im,
                                    .littleEndian = little,
                                    .thirtyTwoBit = thirtyTwo,
                                    .leading = leading,
                                    .padding = 3}));
        }
    }
    seed("jeol", "real-fid", testing::jeolFile({.real = re}));
    seed("jeol", "spectrum-ppm",
         testing::jeolFile(
             {.real = re, .imag = im, .unit = testing::kJeolPpm, .axisStart = 12.0, .axisStop = -1.0}));
    seed(
        "jeol", "spectrum-hz",
        testing::jeolFile(
            {.real = re, .unit = testing::kJeolHertz, .unitPrefix = -1, .axisStart = -0.5, .axisStop = 4.5}));
    seed("jeol", "two-d", testing::jeolFile({.real = re, .imag = im, .dimensions = 2, .layout = 2}));
    if (small) return;
    if (auto real = firstFile(source / "tests/data/jeol-1h", {"proton-meod.jdf"}))
        seed("jeol", "proton-meod", *real);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz-make-seeds OUT SOURCE_DIR [--small]\n");
        return 2;
    }
    gOut = argv[1];
    const fs::path source = argv[2];
    const bool small = argc > 3 && std::string(argv[3]) == "--small";
    fixtureSeeds();
    aspectWinNmrNicoletSeeds();
    varianAndNutsSeeds();
    jeolSeeds(source, small);
    experimentSeeds(source / "examples/ethyl-acetate/1", "ethyl-acetate", small);
    experimentSeeds(source / "tests/data/aspirin-1h/fid-set", "aspirin-fid", small);
    experimentSeeds(source / "tests/data/aspirin-1h/processed-set", "aspirin-processed", small);
    return 0;
}
