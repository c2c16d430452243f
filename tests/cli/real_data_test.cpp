// Real spectrometer data through whole command lines, against what this program printed when each
// result was last checked by hand (tests/data/golden). One line of a table is one person's task: a
// data set, the processing, the analysis. A fault anywhere on the way -- reader, window function,
// transform, phase, baseline, reference, peak picking, integration, multiplet report, S/N, export -- changes
// a number of some line. The independent checks of the same steps (the spectrometer's own spectrum, the
// textbook transform, fixed window weights) stay in the tests of each step.
//
// After a deliberate change of a result, PELVARON_WRITE_GOLDEN=1 writes the files anew (golden.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "base/format.h"
#include "cli/cli.h"
#include "golden.h"
#include "temp_dir.h"

namespace pelvaron::cli {
namespace {

using testing::sourcePath;

const std::string kAspirinFid = "tests/data/aspirin-1h/fid-set";
const std::string kAspirin1r = "tests/data/aspirin-1h/processed-set";
const std::string kCoffee = "tests/data/coffee-1h-baseopt";

/// The output of a dump reduced to what a page of numbers would show a person: the size, the sums
/// and every 97th value (a prime, so that no period of the data hides).
std::string fingerprint(const std::string& dump) {
    std::istringstream in(dump);
    std::vector<double> v;
    for (double x = 0; in >> x;) v.push_back(x);
    double sum = 0, abs = 0;
    for (double x : v) sum += x, abs += std::fabs(x);
    std::string out = cformat("points %zu\nsum %.17g\nabs %.17g\n", v.size(), sum, abs);
    for (std::size_t i = 0; i < v.size(); i += 97) out += cformat("%zu %.17g\n", i, v[i]);
    return out;
}

/// A written file as a person would check it: every label line (but the program's version, which
/// moves on its own), and every 97th line of the data.
std::string fingerprintFile(const std::string& text) {
    std::istringstream in(text);
    std::string out;
    int data = 0;
    for (std::string line; std::getline(in, line);) {
        const bool label = !line.empty() && !std::isdigit(static_cast<unsigned char>(line[0])) &&
                           line[0] != '-' && line[0] != '+' && line[0] != '.';
        if (label ? line.find("Pelvaron ") == std::string::npos : data++ % 97 == 0) out += line + '\n';
    }
    return out;
}

struct Task {
    const char* name;                ///< the golden file, tests/data/golden/NAME.txt
    std::vector<std::string> args;   ///< the command line; "@" + a data path is that data set
    bool dump = false;               ///< the output is a dump, kept as its fingerprint
    std::string convertedTo = "";    ///< the command writes this file (in a fresh folder): keep it
};

const Task kTasks[] = {
    {"aspirin-em-ft-autophase", {"dump", "@" + kAspirinFid, "--steps", "em=0.3,ft,autophase"}, true},
    {"aspirin-info", {"info", "@" + kAspirinFid, "--steps", "em=0.3,ft,autophase"}},
    {"aspirin-recorded", {"dump", "@" + kAspirinFid, "--steps", "recorded"}, true},
    {"aspirin-gm-zerofill-phase-reference",
     {"dump", "@" + kAspirinFid, "--steps", "gm=1/0.2,ft=32768,phase=30/-5,reference=2.29/2.36"},
     true},
    {"aspirin-windows",
     {"dump", "@" + kAspirinFid, "--steps", "traf=0.5,sine=90,sine2=45,hanning,hamming,lg=3/0.4,ft"},
     true},
    {"aspirin-inverse", {"dump", "@" + kAspirinFid, "--steps", "em=1,ft,ft,invert"}, true},
    {"aspirin-1r-baselines",
     {"dump", "@" + kAspirin1r, "--steps", "baseline,polybaseline=1/2/3,mpbaseline=9/7/5/1,shift=7"},
     true},
    {"aspirin-1r-data-steps",
     {"dump", "@" + kAspirin1r, "--steps",
      "shift=3,shift=-3,suppress=9.5/9/noise,suppress=0/-0.4,reference=2.29/2.36,reference=916Hz/944Hz"},
     true},
    {"aspirin-1r-peaks", {"peaks", "@" + kAspirin1r, "--region", "8.2/6.9", "--region", "2.4/2.2"}},
    {"aspirin-1r-integrals",
     {"integrate", "@" + kAspirin1r, "--region", "8.10/7.97", "--region", "7.7/7.5", "--region", "7.4/7.0",
      "--region", "2.4/2.2", "--reference", "4=3"}},
    {"aspirin-1r-integrals-baseline",
     {"integrate", "@" + kAspirin1r, "--baseline-correction", "--region", "8.10/7.97", "--region",
      "2.4/2.2"}},
    {"aspirin-1r-peaks-whole", {"peaks", "@" + kAspirin1r, "--threshold", "5e6", "--no-interpolation"}},
    {"aspirin-1r-sn", {"sn", "@" + kAspirin1r}},
    {"aspirin-1r-multiplets", {"multiplets", "@" + kAspirin1r, "--json"}},
    {"coffee-em-ft-autophase", {"dump", "@" + kCoffee, "--steps", "em=0.3,ft,autophase"}, true},
    {"coffee-info", {"info", "@" + kCoffee}},
    {"coffee-peaks", {"peaks", "@" + kCoffee, "--steps", "em=0.3,ft,autophase", "--region", "8/6"}},
    {"coffee-integrals",
     {"integrate", "@" + kCoffee, "--steps", "em=0.3,ft,autophase,baseline", "--region", "4/3", "--region",
      "8/7.5", "--reference", "1=3"}},
    {"coffee-sn", {"sn", "@" + kCoffee, "--steps", "em=0.3,ft,autophase"}},
    {"coffee-automatic", {"dump", "@" + kCoffee, "--steps", "ft=32768,autophase=full,autobaseline"}, true},
    {"coffee-recorded", {"dump", "@" + kCoffee, "--steps", "recorded"}, true},
    {"coffee-scan",
     {"apodize-scan", "@" + kCoffee, "--from", "0", "--to", "1", "--step", "0.5", "--steps", "ft,autophase"}},
    {"aspirin-jcamp",
     {"convert", "@" + kAspirinFid, "@out", "--steps", "em=0.3,ft,autophase", "--to", "jcamp"},
     false,
     "out.dx"},
    {"aspirin-text", {"convert", "@" + kAspirin1r, "@out", "--to", "text"}, false, "out.txt"},
    {"coffee-fid-jcamp", {"convert", "@" + kCoffee, "@out", "--to", "jcamp"}, false, "out.dx"},
    {"coffee-jcamp-real",
     {"convert", "@" + kCoffee, "@out", "--steps", "em=0.3,ft,autophase", "--to", "jcamp-real"},
     false,
     "out.dx"},
};

TEST(RealData, EachTaskPrintsWhatItPrintedWhenItWasChecked) {
    for (const Task& task : kTasks) {
        SCOPED_TRACE(task.name);
        testing::TempDir dir;
        std::vector<std::string> args;
        for (const std::string& a : task.args)
            args.push_back(a == "@out" ? dir.file(task.convertedTo) : a[0] == '@' ? sourcePath(a.substr(1)) : a);
        std::ostringstream out, err;
        ASSERT_EQ(runCli(args, out, err), 0) << err.str();
        std::string got = task.dump ? fingerprint(out.str()) : out.str();
        if (!task.convertedTo.empty()) got = fingerprintFile(testing::readFile(dir.file(task.convertedTo)));
        testing::expectGolden(task.name, got);
    }
}

}  // namespace
}  // namespace pelvaron::cli
