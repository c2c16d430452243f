// The JEOL Delta reader: the real FID of tests/data (parameters, first values, the solvent line
// after the transform), a written file of each layout the reader takes, and the files it refuses
// with the document kept.
#include "io/jeol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cli/steps.h"
#include "document/units.h"
#include "io_fixture.h"
#include "jeol_writer.h"

namespace pelvaron::io {
namespace {

using testing::JeolFileSpec;
using testing::JeolParam;

double ppmOf(const Document& doc, int index) {
    return units::tToUnit(doc, units::indexToT(doc, index), kPpm);
}

/// The even index of the largest real part between two ppm values.
int largestBetween(const Document& doc, double highPpm, double lowPpm) {
    int best = -1;
    for (int i = 0; i < doc.spectrum.nData; i += 2) {
        const double ppm = ppmOf(doc, i);
        if (ppm > highPpm || ppm < lowPpm) continue;
        if (best < 0 || doc.spectrum.specData[i] > doc.spectrum.specData[best]) best = i;
    }
    return best;
}

TEST(JeolFile, TheRealFidReadsItsParametersAndItsSolventLineComesOutUprightWhereItsReferencePutsIt) {
    const std::string path = testing::sourcePath("tests/data/jeol-1h/proton-meod.jdf");
    EXPECT_EQ(detectFormat(path), FileFormat::Jeol);
    for (const char* steps : {"em=0.3,ft,autophase", "em=0.3,auto"}) {
        SCOPED_TRACE(steps);
        Scratch s;
        s.former();
        ASSERT_TRUE(loadFile(*s.doc, s.ui, path, std::nullopt));
        EXPECT_TRUE(s.ui.messages.empty());
        const Spectrum& d = s.doc->spectrum;
        const AcqParams& p = d.acqPars;
        EXPECT_EQ(std::tuple(d.nData, p.TD, p.aqMode, p.complexData, p.DECIM, d.negateImag, d.xUnits),
                  std::tuple(65536, 65536, 1, 1, 1, 1, kSeconds));
        EXPECT_EQ(std::tuple(p.SW, p.SF, d.groupDelay),
                  std::tuple(7494.00479616307, 399782198.37825 / 1e6, 19.65625));
        EXPECT_NEAR(p.AQ, 4.37256192, 1e-8);
        // The carrier stands 5 ppm above the reference in the middle of the sweep.
        EXPECT_NEAR(d.offsetHz, 5.0 * p.SF - p.SW / 2.0, 1e-9);
        EXPECT_EQ(std::tuple(d.referenceSource, d.solvent, d.nucleus),
                  std::tuple(ReferenceSource::DataHeader, "METHANOL-D4", "1H"));
        EXPECT_EQ(std::vector<double>(d.specData.begin(), d.specData.begin() + 4),
                  (std::vector<double>{-5.212352444269217e-06, -1.3378429435430656e-05, 0.0007272659408552371,
                                       0.001884781940391975}));
        EXPECT_EQ(std::tuple(s.re(20), s.im(20)), std::tuple(48.355368239047564, 118.98238759638241));

        std::string error;
        ASSERT_TRUE(cli::runSteps(*s.doc, s.ui, steps, error)) << error;
        // The CHD2 quintet's centre: where the spectrometer's own reference puts it, 0.026 ppm below
        // the table's 3.31 as in Delta's own spectra (next test), upright and with no dispersive
        // wing; the water line above it. A mirrored spectrum would put them at 6.72 and 5.15.
        const int solvent = largestBetween(*s.doc, 3.40, 3.20);
        EXPECT_NEAR(ppmOf(*s.doc, solvent), 3.284, 0.002);
        const double height = d.specData[solvent];
        EXPECT_GT(height, 0.0);
        const int wing = 2 * static_cast<int>(15.0 / (p.SW / (d.nData / 2)));  // 15 Hz, in doubles
        for (int i = solvent - wing; i <= solvent + wing; i += 2)
            EXPECT_GT(d.specData[i], -0.05 * height) << i;
        EXPECT_NEAR(ppmOf(*s.doc, largestBetween(*s.doc, 5.0, 4.7)), 4.85, 0.01);
    }
}

/// The ppm of the parabola through the largest real part between two ppm values and its neighbours.
double lineBetween(const Document& doc, double highPpm, double lowPpm) {
    const int k = largestBetween(doc, highPpm, lowPpm);
    const auto& y = doc.spectrum.specData;
    const double shift = 0.5 * (y[k - 2] - y[k + 2]) / (y[k - 2] - 2.0 * y[k] + y[k + 2]);
    return ppmOf(doc, k) + shift * (ppmOf(doc, k + 2) - ppmOf(doc, k));
}

TEST(JeolFile, ASpectrumDeltaTransformedReadsOnItsAxisAndPutsTheSolventLineWhereOurTransformOfTheFidDoes) {
    // Delta's own spectrum of another sample on the same spectrometer: the real part of points 3 to
    // 104860 of the 104864 stored, from 12.498 down to -2.498 ppm.
    const std::string path = testing::sourcePath("tests/data/jeol-1h/processed-proton-meod.jdf");
    Scratch s;
    s.former();
    ASSERT_TRUE(loadFile(*s.doc, s.ui, path, std::nullopt));
    EXPECT_TRUE(s.ui.messages.empty());
    const Spectrum& d = s.doc->spectrum;
    EXPECT_EQ(std::tuple(d.nData, d.xUnits, d.ftInverse, d.groupDelay, d.referenceSource, d.solvent),
              std::tuple(2 * 104858, kPpm, 1, 0.0, ReferenceSource::DataHeader, "METHANOL-D4"));
    EXPECT_NEAR(ppmOf(*s.doc, 0), 12.498116138160077, 1e-9);
    EXPECT_NEAR(ppmOf(*s.doc, d.nData - 2), -2.4979731234899862, 1e-9);
    EXPECT_EQ(
        std::tuple(s.re(0), s.im(0), s.re(1), s.re(104857), s.im(104857)),
        std::tuple(-2.3905832606478075e-05, 0.0, -2.6193778325698445e-05, -3.0048836764963113e-05, 0.0));
    const double delta = lineBetween(*s.doc, 3.40, 3.20);
    EXPECT_NEAR(delta, 3.2833, 0.0003);
    EXPECT_NEAR(lineBetween(*s.doc, 5.0, 4.7), 4.8130, 0.0003);

    // The FID of tests/data, transformed here: the same solvent, the same spectrometer, the same
    // reference. Its CHD2 line lands within a fifth of a hertz of Delta's, not at the table's 3.31.
    Scratch f;
    ASSERT_TRUE(
        loadFile(*f.doc, f.ui, testing::sourcePath("tests/data/jeol-1h/proton-meod.jdf"), std::nullopt));
    std::string error;
    ASSERT_TRUE(cli::runSteps(*f.doc, f.ui, "em=0.3,ft,autophase", error)) << error;
    EXPECT_NEAR(lineBetween(*f.doc, 3.40, 3.20), delta, 0.0008);
}

std::vector<double> ramp(int n, double from, double step) {
    std::vector<double> v;
    for (int k = 0; k < n; ++k) v.push_back(from + step * k);
    return v;
}

TEST(JeolFile, EachLayoutReadsItsValuesAndItsAxis) {
    const std::vector<double> re = ramp(16, -8.5, 1.25), im = ramp(16, 100.0, -3.5);
    std::vector<double> interleaved;
    for (std::size_t k = 0; k < re.size(); ++k) interleaved.insert(interleaved.end(), {re[k], im[k]});
    std::vector<double> reversed;
    for (std::size_t k = re.size(); k-- > 0;) reversed.insert(reversed.end(), {re[k], 0.0});
    // Parameters with prefixes: the sweep in kHz, the frequency in MHz.
    const std::vector<JeolParam> prefixed = {{"X_SWEEP", 5.0, testing::kJeolHertz, -1},
                                             {"X_FREQ", 400.13, testing::kJeolHertz, -2},
                                             {"X_OFFSET", 4500.0, testing::kJeolPpm, 1},
                                             {"x_domain", std::string("Carbon13")}};
    constexpr double sf = 400.13, fidOffset = 4.5 * sf - 2500.0, spacing = 12.0 * sf / 15.0;
    // By default an FID of the writer's parameters: 5000 Hz wide, its carrier 4.5 ppm up.
    const struct Case {
        const char* name;
        JeolFileSpec spec;
        std::vector<double> values;
        double sw = 5000.0, offsetHz = fidOffset, groupDelay = 19.65625;
        ReferenceSource source = ReferenceSource::DataHeader;
        std::string nucleus = "1H";
    } cases[] = {
        {"fid, 64-bit little-endian", {.real = re, .imag = im}, interleaved},
        {"fid, 64-bit big-endian, within its section",
         {.real = re, .imag = im, .littleEndian = false, .leading = 3, .padding = 5},
         interleaved},
        {"fid, 32-bit little-endian", {.real = re, .imag = im, .thirtyTwoBit = true}, interleaved},
        {.name = "fid, 32-bit big-endian, prefixed parameters",
         .spec = {.real = re, .imag = im, .littleEndian = false, .thirtyTwoBit = true, .params = prefixed},
         .values = interleaved,
         .groupDelay = 0.0,
         .nucleus = "13C"},
        // Without parameters: the width from the axis, SF from the header, no reference.
        {"fid without parameters",
         {.real = re, .imag = im, .axisStop = 15.0 / 4000.0, .noParams = true},
         interleaved,
         4000.0,
         0.0,
         0.0,
         ReferenceSource::None,
         ""},
        {"real fid", {.real = re}, re},
        {"spectrum, ppm downwards",
         {.real = re, .imag = im, .unit = testing::kJeolPpm, .axisStart = 10.0, .axisStop = -2.0},
         interleaved,
         16 * spacing,
         10.0 * sf - 16 * spacing,
         0.0},
        {"spectrum, ppm upwards, real only",
         {.real = re, .unit = testing::kJeolPpm, .axisStart = -2.0, .axisStop = 10.0, .leading = 2},
         reversed,
         16 * spacing,
         10.0 * sf - 16 * spacing,
         0.0},
        {"spectrum, kHz",
         {.real = re,
          .imag = im,
          .unit = testing::kJeolHertz,
          .unitPrefix = -1,
          .axisStart = 4.0,
          .axisStop = -0.8},
         interleaved,
         16 * 320.0,
         4000.0 - 16 * 320.0,
         0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch s;
        s.former();
        const std::string path = s.dir.file("data.jdf");
        testing::writeFile(path, testing::jeolFile(c.spec));
        EXPECT_EQ(detectFormat(path), FileFormat::Jeol);
        ASSERT_TRUE(loadFile(*s.doc, s.ui, path, std::nullopt));
        EXPECT_TRUE(s.ui.messages.empty());
        const Spectrum& d = s.doc->spectrum;
        EXPECT_EQ(s.values(), c.values);
        EXPECT_NEAR(d.acqPars.SW, c.sw, 1e-9);
        EXPECT_NEAR(d.offsetHz, c.offsetHz, 1e-9);
        EXPECT_NEAR(d.acqPars.SF, c.spec.noParams ? 400.13 : sf, 1e-12);
        EXPECT_EQ(std::tuple(d.groupDelay, d.referenceSource, d.nucleus, d.acqPars.DSPFVS),
                  std::tuple(c.groupDelay, c.source, c.nucleus, 0));
        const bool spectrum = c.spec.unit != testing::kJeolSecond, complex = !c.spec.imag.empty() || spectrum;
        // A spectrum opens as one, the inverse transform proposed; an FID's imaginary parts are
        // conjugated by the transform.
        EXPECT_EQ(std::tuple(d.xUnits, d.ftInverse, s.doc->import.spectrumLoaded),
                  std::tuple(spectrum ? kPpm : kSeconds, spectrum ? 1 : 0, 0));
        EXPECT_EQ(std::tuple(d.acqPars.aqMode, d.acqPars.complexData, d.negateImag),
                  std::tuple(complex ? 1 : 0, complex ? 1 : 0, complex && !spectrum ? 1 : 0));
    }
}

TEST(JeolFile, ALargerFidIsCutToTheCapacityFromBothSections) {
    const int points = kCapacity / 2 + 3;
    const JeolFileSpec spec{.real = ramp(points, 1.0, 1.0), .imag = ramp(points, -1.0, -1.0)};
    Scratch s;
    ASSERT_TRUE(readJeolFile(*s.doc, s.said, testing::jeolFile(spec)));
    EXPECT_EQ(testing::messageTexts(s.said), std::vector<std::string>{kCapacityWarningText});
    const int last = kCapacity / 2 - 1;
    EXPECT_EQ(std::tuple(s.doc->spectrum.nData, s.re(0), s.im(0), s.re(last), s.im(last)),
              std::tuple(kCapacity, 1.0, -1.0, last + 1.0, -last - 1.0));
}

TEST(JeolFile, DamagedAndTwoDimensionalFilesAreRefusedAndTheDocumentKept) {
    const JeolFileSpec good{.real = ramp(16, 1.0, 2.0), .imag = ramp(16, 0.5, 1.0)};
    const std::string bytes = testing::jeolFile(good);
    const auto with = [&](auto change) {
        JeolFileSpec spec = good;
        change(spec);
        return testing::jeolFile(spec);
    };
    std::string reservedType = bytes, unknownAxis = bytes, notJeol = bytes;
    reservedType[14] = static_cast<char>(2 << 6 | 1);
    unknownAxis[24] = 0;
    notJeol[7] = 'X';
    const std::string twoD =
        "This JEOL Delta file holds 2-dimensional data.\n"
        "Only one-dimensional FIDs and spectra can be read.";
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> says;
    } cases[] = {
        {"the header cut", bytes.substr(0, 1359), {}},
        {"the last value cut", bytes.substr(0, bytes.size() - 1), {}},
        {"more points than the data", with([](JeolFileSpec& s) { s.points = 40; }), {}},
        {"a data length short of the sections", with([](JeolFileSpec& s) { s.dataLength = 255; }), {}},
        {"the last point outside the section", with([](JeolFileSpec& s) { s.points = 15; }), {}},
        {"an endianness flag of 2", with([](JeolFileSpec& s) { s.endianFlag = 2; }), {}},
        {"parameters past the end", with([](JeolFileSpec& s) { s.paramRecords = 1000; }), {}},
        {"no parameter records", with([](JeolFileSpec& s) { s.paramRecords = 0; }), {}},
        {"a reserved value type", reservedType, {}},
        {"no axis type", unknownAxis, {}},
        {"an axis in points", with([](JeolFileSpec& s) { s.unit = 25; }), {}},
        {"a spectrum of no width",
         with([](JeolFileSpec& s) { s.unit = testing::kJeolPpm, s.axisStop = 0.0; }),
         {}},
        {"a sweep of NaN",
         with([](JeolFileSpec& s) {
             s.params = {{"X_SWEEP", std::numeric_limits<double>::quiet_NaN(), testing::kJeolHertz}};
             s.axisStop = 0.0;
         }),
         {}},
        {"another signature", notJeol, {}},
        {"two dimensions", with([](JeolFileSpec& s) { s.dimensions = 2, s.layout = 2; }), {twoD}},
    };
    Scratch s;
    const std::string goodPath = s.dir.file("good.jdf"), badPath = s.dir.file("bad.jdf");
    testing::writeFile(goodPath, bytes);
    ASSERT_TRUE(loadFile(*s.doc, s.ui, goodPath, FileFormat::Jeol));
    const std::vector<double> values = s.values();
    const AcqParams params = s.doc->spectrum.acqPars;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.ui.messages.clear();
        testing::writeFile(badPath, c.bytes);
        EXPECT_FALSE(loadFile(*s.doc, s.ui, badPath, FileFormat::Jeol));
        std::vector<std::string> says = c.says;
        says.push_back("Cannot Open this file");
        EXPECT_EQ(s.ui.messageTexts(), says);
        EXPECT_EQ(std::tuple(s.values(), s.doc->spectrum.acqPars), std::tuple(values, params));
    }
}

}  // namespace
}  // namespace pelvaron::io
