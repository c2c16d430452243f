// The multiplet report: ranges and proton counts on the aspirin processed set and the bundled ethyl
// acetate, the same multiplet cut at other ends, solvent and reference lines, the refusals, the
// line's format and the editing; and the solvent and nucleus each reader records.
#include "analysis/multiplets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "cli/steps.h"
#include "io/bruker.h"
#include "io/jcamp_import.h"
#include "io/load.h"
#include "io/varian.h"
#include "jcamp_fixtures.h"
#include "recording_ui.h"
#include "temp_dir.h"
#include "varian_writer.h"

namespace pelvaron::analysis {
namespace {

std::unique_ptr<Document> loaded(const std::string& path, const std::string& steps = "") {
    auto doc = std::make_unique<Document>();
    testing::RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, testing::sourcePath(path), std::nullopt)) << path;
    std::string error;
    EXPECT_TRUE(steps.empty() || cli::runSteps(*doc, ui, steps, error)) << error;
    return doc;
}

std::vector<const MultipletRange*> signals(const MultipletState& state) {
    std::vector<const MultipletRange*> out;
    for (const MultipletRange& r : state.ranges)
        if (r.kind == RangeKind::Signal) out.push_back(&r);
    return out;
}

/// A 400 MHz spectrum of 32768 points over 0.5 % noise (SW 4000 Hz, -1 ... 9 ppm): Lorentzian
/// lines at ppm with heights and half widths (Hz).
struct Line {
    double ppm, height, halfWidthHz = 0.5;
};
Spectrum synthetic(const std::vector<Line>& lines, double noise = 0.005) {
    Spectrum s;
    const int points = 32768;
    s.nData = s.acqPars.TD = 2 * points;
    s.acqPars.SW = 4000.0;
    s.acqPars.SF = 400.0;
    s.offsetHz = -400.0;
    s.offsetPpm = -1.0;
    s.ftInverse = 1;
    std::mt19937 random(3);
    std::normal_distribution<double> gauss(0.0, noise);
    for (int k = 0; k < points; ++k) {
        const double hz = 4000.0 - 2.0 * k * 4000.0 / s.nData - 400.0;
        double v = noise > 0.0 ? gauss(random) : 0.0;
        for (const Line& l : lines) v += l.height / (1.0 + std::pow((hz - l.ppm * 400.0) / l.halfWidthHz, 2));
        s.specData[2 * k] = v;
    }
    return s;
}

TEST(MultipletReport, AspirinProcessedSetHasFourAromaticProtonsOneBroadLineAndTheMethyl) {
    const auto doc = loaded("tests/data/aspirin-1h/processed-set");
    EXPECT_EQ(doc->spectrum.solvent, "CDCl3");
    EXPECT_EQ(doc->spectrum.nucleus, "1H");
    const auto report = analyseMultiplets(doc->spectrum);
    ASSERT_TRUE(report.ok());
    const auto found = signals(*report);
    ASSERT_EQ(found.size(), 6u);
    // The broad line at 8.25, then the dd, td, td and dd of the ring, then the acetyl methyl.
    const double deltas[] = {8.246, 8.037, 7.524, 7.282, 7.069, 2.294};
    const int counts[] = {1, 1, 1, 1, 1, 3};
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_NEAR(found[i]->deltaPpm, deltas[i], 0.005) << i;
        EXPECT_EQ(found[i]->nH, counts[i]) << i;
        EXPECT_NEAR(found[i]->protons, counts[i], 0.25) << i;
    }
    // Each dd shows its four lines, the 1.1 Hz splitting included; the ripples of the cut FID
    // beside them and the methyl make none.
    EXPECT_EQ(found[1]->lines.size(), 4u);
    EXPECT_EQ(found[4]->lines.size(), 4u);
    EXPECT_EQ(found[5]->lines.size(), 1u);
    EXPECT_EQ(
        reportLine(doc->spectrum, *report),
        "1H NMR (300 MHz, CDCl3) \u03b4 8.25 (br s, 1H), 8.04 (dd, J = 7.8, 1.7 Hz, 1H), 7.53 (td, J = "
        "7.8, 1.7 Hz, 1H), 7.28 (td, J = 7.6, 1.2 Hz, 1H), 7.07 (dd, J = 8.1, 1.0 Hz, 1H), 2.29 (s, 3H).");

    // The FID processed here (the spectrometer's window, then the automatic processing) gives the
    // same multiplets, their constants within 0.15 Hz of the processed set's.
    const auto fid = loaded("tests/data/aspirin-1h/fid-set", "em=0.3,auto");
    const auto ours = analyseMultiplets(fid->spectrum);
    ASSERT_TRUE(ours.ok());
    const auto again = signals(*ours);
    ASSERT_EQ(again.size(), found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(again[i]->pattern.multiplicity, found[i]->pattern.multiplicity) << i;
        ASSERT_EQ(again[i]->pattern.J.size(), found[i]->pattern.J.size()) << i;
        for (std::size_t j = 0; j < found[i]->pattern.J.size(); ++j)
            EXPECT_NEAR(again[i]->pattern.J[j], found[i]->pattern.J[j], 0.15) << i;
        EXPECT_EQ(again[i]->nH, found[i]->nH) << i;
    }
}

TEST(MultipletReport, EthylAcetateCountsAndItsReferenceLine) {
    const auto doc = loaded("examples/ethyl-acetate/1", "em=0.3,auto");
    EXPECT_EQ(doc->spectrum.solvent, "");
    const auto report = analyseMultiplets(doc->spectrum);
    ASSERT_TRUE(report.ok());
    const auto found = signals(*report);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_NEAR(found[0]->deltaPpm, 4.12, 0.01);
    EXPECT_NEAR(found[1]->deltaPpm, 2.04, 0.01);
    EXPECT_NEAR(found[2]->deltaPpm, 1.26, 0.01);
    EXPECT_EQ(found[0]->lines.size(), 4u);  // the quartet
    EXPECT_EQ(found[2]->lines.size(), 3u);  // the triplet
    EXPECT_EQ((std::vector{found[0]->nH, found[1]->nH, found[2]->nH}), (std::vector{2, 3, 3}));
    // TMS is kept, marked, and takes no part in the counts or the line.
    const MultipletRange& tms = report->ranges.back();
    EXPECT_EQ(tms.kind, RangeKind::Reference);
    EXPECT_EQ(tms.nH, 0);
    EXPECT_EQ(reportLine(doc->spectrum, *report),
              "1H NMR (400 MHz) \u03b4 4.12 (q, J = 7.1 Hz, 2H), 2.04 (s, 3H), 1.26 (t, J = 7.1 Hz, 3H).");

    // A total of protons scales every count; a count the person sets scales the others instead.
    MultipletSettings settings;
    settings.totalH = 16;
    settings.solvent = "chloroform-d";
    const auto doubled = analyseMultiplets(doc->spectrum, settings);
    ASSERT_TRUE(doubled.ok());
    EXPECT_EQ(signals(*doubled)[0]->nH, 4);
    EXPECT_EQ(signals(*doubled)[2]->nH, 6);
    EXPECT_EQ(reportLine(doc->spectrum, *doubled).rfind("1H NMR (400 MHz, CDCl3) \u03b4 ", 0), 0u);
    MultipletState edited = *report;
    ASSERT_TRUE(setProtonCount(edited, 0, 4));
    EXPECT_EQ(edited.ranges[1].nH, 6);
    EXPECT_EQ(edited.ranges[2].nH, 6);
    EXPECT_FALSE(setProtonCount(edited, 3, 1));  // the reference takes no count
    ASSERT_TRUE(setProtonCount(edited, 0, 0));
    EXPECT_EQ(edited.ranges[1].nH, 3);

    // The same quartet cut at other ends: the same lines, the same integral within 3 % (the
    // narrowest cut, 17 Hz beyond the outer lines, leaves out that much of the lines' wings).
    const auto wide = analyseRange(doc->spectrum, 4.30, 3.95, *report);
    ASSERT_TRUE(wide.ok());
    for (const auto& [a, b] : {std::pair{4.25, 4.00}, std::pair{4.19, 4.05}, std::pair{4.05, 4.22}}) {
        const auto cut = analyseRange(doc->spectrum, a, b, *report);
        ASSERT_TRUE(cut.ok());
        ASSERT_EQ(cut->lines.size(), wide->lines.size()) << a;
        for (std::size_t i = 0; i < cut->lines.size(); ++i) {
            EXPECT_DOUBLE_EQ(cut->lines[i].hz, wide->lines[i].hz);
            EXPECT_DOUBLE_EQ(cut->lines[i].widthHz, wide->lines[i].widthHz);
        }
        EXPECT_NEAR(cut->integral / wide->integral, 1.0, 0.03) << a;
        EXPECT_NEAR(cut->deltaPpm, wide->deltaPpm, 1e-9);
    }
}

/// A triplet (J 8 Hz, 1 : 2 : 1) centred at `ppm`.
std::vector<Line> triplet(double ppm) { return {{ppm - 0.02, 0.5}, {ppm, 1.0}, {ppm + 0.02, 0.5}}; }

TEST(MultipletReport, SolventLinesAreMarkedOnlyWhereTheyAreNarrow) {
    // CHCl3, its water (broad), TMS, a singlet and a triplet.
    std::vector<Line> lines = {{7.26, 1.0}, {1.56, 0.5, 1.5}, {0.0, 1.0}, {3.50, 2.0}};
    for (const Line& l : triplet(7.10)) lines.push_back(l);
    Spectrum s = synthetic(lines);
    s.solvent = "CDCL3";
    const auto report = analyseMultiplets(s);
    ASSERT_TRUE(report.ok());
    std::vector<std::pair<double, RangeKind>> kinds;
    for (const MultipletRange& r : report->ranges)
        kinds.emplace_back(std::round(r.deltaPpm * 100) / 100 + 0.0, r.kind);
    const std::vector<std::pair<double, RangeKind>> expected = {{7.26, RangeKind::Solvent},
                                                                {7.10, RangeKind::Signal},
                                                                {3.50, RangeKind::Signal},
                                                                {1.56, RangeKind::Solvent},
                                                                {0.0, RangeKind::Reference}};
    EXPECT_EQ(kinds, expected);
    for (const MultipletRange& r : report->ranges) EXPECT_EQ(r.nH > 0, r.kind == RangeKind::Signal);
    EXPECT_EQ(reportLine(s, *report),
              "1H NMR (400 MHz, CDCl3) \u03b4 7.10 (t, J = 8.0 Hz, 1H), 3.50 (s, 1H).");
    // Without a solvent name its lines are signals of the sample.
    s.solvent.clear();
    const auto unnamed = analyseMultiplets(s);
    ASSERT_TRUE(unnamed.ok());
    EXPECT_EQ(signals(*unnamed).size(), 4u);
    // A multiplet of the sample centred at the solvent's shift is wider than a solvent line.
    s = synthetic(triplet(7.27));
    s.solvent = "CDCl3";
    const auto sample = analyseMultiplets(s);
    ASSERT_TRUE(sample.ok());
    EXPECT_EQ(signals(*sample).size(), 1u);
}

TEST(MultipletReport, RefusesWhatHoldsNoReport) {
    const Spectrum good = synthetic({{3.0, 1.0}});
    const auto refused = [](const Spectrum& s, std::vector<PpmRegion> regions = {}, double totalH = 0.0) {
        MultipletSettings settings;
        settings.regions = std::move(regions);
        settings.totalH = totalH;
        const auto r = analyseMultiplets(s, settings);
        return r.ok() ? std::optional<MultipletProblem>{} : r.error();
    };
    EXPECT_EQ(refused(good), std::nullopt);
    Spectrum fid = good;
    fid.ftInverse = 0;
    EXPECT_EQ(refused(fid), MultipletProblem::NotSpectrum);
    EXPECT_EQ(refused(synthetic({}, 0.0)), MultipletProblem::Empty);
    EXPECT_EQ(refused(synthetic({})), MultipletProblem::NoiseOnly);
    Spectrum nan = good;
    nan.specData[4000] = std::nan("");
    EXPECT_EQ(refused(nan), MultipletProblem::NotFinite);
    Spectrum tiny = good;
    tiny.nData = 40;
    EXPECT_EQ(refused(tiny), MultipletProblem::TooFewPoints);
    EXPECT_EQ(refused(good, {{20.0, 15.0}}), MultipletProblem::RegionOutside);
    EXPECT_EQ(refused(good, {}, -2.0), MultipletProblem::BadTotal);
    EXPECT_EQ(refused(good, {}, std::nan("")), MultipletProblem::BadTotal);
    // A region partly outside is cut to the data.
    EXPECT_EQ(refused(good, {{3.2, -5.0}}), std::nullopt);
}

TEST(MultipletReport, TheLineInJournalStyle) {
    Spectrum s;
    s.acqPars.SF = 499.87;
    s.solvent = "Acetone";
    MultipletState state;
    MultipletRange m;  // lines at 7.655 and 7.594 ppm, given by increasing Hz
    m.deltaPpm = 7.62, m.fromPpm = 7.70, m.toPpm = 7.55, m.nH = 2;
    m.pattern.multiplicity = "m";
    m.lines = {{7.594 * 499.87, 1, 1}, {7.655 * 499.87, 1, 1}};
    MultipletRange dd;
    dd.deltaPpm = 9.0873, dd.nH = 1;
    dd.pattern = {"dd", {1.74, 7.86}};
    MultipletRange singlet;
    singlet.deltaPpm = 2.3649, singlet.nH = 3;
    singlet.pattern.multiplicity = "s";
    MultipletRange solvent = singlet;
    solvent.kind = RangeKind::Solvent;
    state.ranges = {singlet, m, solvent, dd};
    EXPECT_EQ(reportLine(s, state),
              "1H NMR (500 MHz, acetone-d6) \u03b4 9.09 (dd, J = 7.9, 1.7 Hz, 1H), "
              "7.66\u20137.59 (m, 2H), 2.36 (s, 3H).");
    state.format = {3, 2};
    state.solvent = "<weird>";
    EXPECT_EQ(reportLineHtml(s, state),
              "<sup>1</sup>H NMR (500 MHz, &lt;weird&gt;) <i>\u03b4</i> 9.087 (dd, <i>J</i> = 7.86, 1.74 Hz, "
              "1H), 7.655\u20137.594 (m, 2H), 2.365 (s, 3H).");
    s.solvent.clear();
    state = {};
    singlet.deltaPpm = -0.001;
    state.ranges = {singlet};
    EXPECT_EQ(reportLine(s, state), "1H NMR (500 MHz) \u03b4 0.00 (s, 3H).");

    for (const auto& [sf, mhz] : {std::pair{300.13, 300}, {400.13, 400}, {499.87, 500}, {600.13, 600}})
        EXPECT_EQ(nominalFrequency(sf), mhz) << sf;
    for (const auto& [recorded, name] : {std::pair{"CDCl3", "CDCl3"},
                                         {"DMSO", "DMSO-d6"},
                                         {"MeOD", "CD3OD"},
                                         {"D2O", "D2O"},
                                         {"C6D6", "C6D6"},
                                         {" THF-d8 ", "THF-d8"},
                                         {"", ""}})
        EXPECT_EQ(solventName(recorded), name) << recorded;
    EXPECT_EQ(solventLines("DMSO-d6"), (std::vector{2.50, 3.33}));
}

TEST(MultipletReport, EditingKeepsTheRangesOrderedAndCounted) {
    const Spectrum s = synthetic({{5.0, 1.0}, {4.9, 1.0}, {3.0, 2.0}});
    auto report = analyseMultiplets(s);
    ASSERT_TRUE(report.ok());
    MultipletState state = *report;
    ASSERT_EQ(state.ranges.size(), 3u);
    ASSERT_TRUE(mergeRanges(s, state, 1, 0));
    ASSERT_EQ(state.ranges.size(), 2u);
    EXPECT_EQ(state.ranges[0].lines.size(), 2u);
    EXPECT_EQ(state.ranges[0].nH, 1);  // 2 : 2, nearest whole numbers 1 : 1
    ASSERT_TRUE(splitRange(s, state, 0, 4.95));
    EXPECT_EQ(state.ranges.size(), 3u);
    EXPECT_GT(state.ranges[0].fromPpm, state.ranges[1].fromPpm);
    EXPECT_EQ(state.ranges[2].nH, 2);
    EXPECT_FALSE(splitRange(s, state, 0, 9.0));
    ASSERT_TRUE(addRange(s, state, 6.0, 5.5));
    EXPECT_EQ(state.ranges[0].lines.size(), 0u);
    ASSERT_TRUE(deleteRange(state, 0));
    EXPECT_FALSE(deleteRange(state, 3));
    EXPECT_FALSE(mergeRanges(s, state, 0, 0));
    EXPECT_FALSE(addRange(s, state, 30.0, 20.0));
    ASSERT_TRUE(setMultiplicity(s, state, 2, "q", {7.0}));
    EXPECT_TRUE(state.ranges[2].patternSet);
    EXPECT_NE(reportLine(s, state).find("3.00 (q, J = 7.0 Hz, 2H)"), std::string::npos);
    EXPECT_FALSE(setMultiplicity(s, state, 2, "d", {-1.0}));
    ASSERT_TRUE(setMultiplicity(s, state, 2, "", {}));
    EXPECT_FALSE(state.ranges[2].patternSet);
    EXPECT_EQ(state.ranges[2].pattern.multiplicity, "s");
}

TEST(MultipletReport, TheReadersRecordSolventAndNucleus) {
    Document doc;
    Messages said;
    io::BrukerDataFormat format;
    ASSERT_TRUE(io::parseAcqus(doc, said,
                               "##$NUC1= <13C>\n##$SOLVENT=\n##$SW_h= 100\n##$TD= 8\n"
                               "##$SOLVENT= <Acetone>\n",
                               format));
    EXPECT_EQ(doc.spectrum.solvent, "Acetone");
    EXPECT_EQ(doc.spectrum.nucleus, "13C");
    EXPECT_EQ(doc.spectrum.acqPars.SW, 100.0);  // the empty label did not swallow the next one

    testing::VarianFidSpec spec;
    spec.values = std::vector<double>(64, 1.0);
    testing::VarianFiles files = testing::varianFid(spec);
    files["procpar"] += "solvent 4 2 8 0 0 2 1 0 1 64\n1 \"dmso\"\n0\ntn 4 2 8 0 0 2 1 0 1 64\n1 \"H1\"\n0\n";
    ASSERT_TRUE(io::readVarianFid(doc, said, files["fid"], files["procpar"]));
    EXPECT_EQ(doc.spectrum.solvent, "dmso");
    EXPECT_EQ(doc.spectrum.nucleus, "1H");

    testing::JcampDataSet set;
    set.real = std::vector<long>(32, 5);
    set.firstX = 3000, set.lastX = 0;
    set.extraHeader = {"##.SOLVENT NAME= CDCl3"};
    testing::RecordingUserInterface ui;
    ASSERT_TRUE(io::importJcampText(doc, ui, testing::jcampXYDataFile(set)));
    EXPECT_EQ(doc.spectrum.solvent, "CDCl3");
    EXPECT_EQ(doc.spectrum.nucleus, "1H");
}

}  // namespace
}  // namespace pelvaron::analysis
