// The multiplet report of a processed spectrum: its signal ranges found from the noise level, the
// first-order pattern of each, the proton counts, and the line a chemist pastes into a paper:
//   1H NMR (500 MHz, acetone-d6) δ 9.09 (d, J = 8.7 Hz, 1H), …, 7.66–7.59 (m, 2H).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/integrals.h"
#include "base/result.h"
#include "document/document.h"
#include "document/multiplet_state.h"

namespace pelvaron::analysis {

/// Why there is no report; nothing changes.
enum class MultipletProblem {
    NotSpectrum,    ///< a FID
    TooFewPoints,   ///< too few points to find a noise level
    NotFinite,      ///< a value that is not a number
    Empty,          ///< every value 0
    NoiseOnly,      ///< nothing but solvent and reference lines stands clearly above the noise
    RegionOutside,  ///< a region given lies outside the data
    BadTotal,       ///< a total of protons that is not a positive number
};

/// The program's message for a refusal (caption "Multiplet Report").
[[nodiscard]] Message multipletMessage(MultipletProblem problem);

struct MultipletSettings {
    /// Regions to analyse instead of the automatic ranges (either end first).
    std::vector<PpmRegion> regions;
    double totalH = 0.0;  ///< see MultipletState::totalH; negative or not finite: BadTotal
    std::string solvent;  ///< see MultipletState::solvent
    ReportFormat format;
};

/// The ranges of `s` (found, or settings.regions), each analysed and counted; solvent and reference
/// ranges marked. Deterministic.
[[nodiscard]] Result<MultipletState, MultipletProblem> analyseMultiplets(
    const Spectrum& s, const MultipletSettings& settings = {});

/// The range between two ppm values (either order) analysed as analyseMultiplets analyses each:
/// its lines, pattern, integral and kind (its proton count is countProtons').
[[nodiscard]] Result<MultipletRange, MultipletProblem> analyseRange(const Spectrum& s, double ppmA,
                                                                    double ppmB, const MultipletState& state);

/// The proton count of every signal range from its integral: by a range whose count the person
/// set, else by state.totalH, else by the scale that puts the ranges nearest whole numbers.
/// Solvent and reference ranges take no part in the scale and get nH 0; every range's `protons`
/// is its integral on that scale.
void countProtons(MultipletState& state);

// --- Editing, as the window offers it. Each keeps the ranges ordered and the counts current;
// an index out of range or a change that leaves no data changes nothing and returns false.

bool mergeRanges(const Spectrum& s, MultipletState& state, int first, int second);
bool splitRange(const Spectrum& s, MultipletState& state, int range, double atPpm);
bool addRange(const Spectrum& s, MultipletState& state, double ppmA, double ppmB);
bool deleteRange(MultipletState& state, int range);
/// The multiplicity typed for a range ("dd", "m", ...), with its J values (Hz, any order); an
/// empty text returns the range to its analysed pattern.
bool setMultiplicity(const Spectrum& s, MultipletState& state, int range, const std::string& multiplicity,
                     std::vector<double> J);
/// The person's proton count for a range (> 0): it sets the scale of every other; 0 clears it.
bool setProtonCount(MultipletState& state, int range, int nH);

// --- The report line.

/// The name papers give the solvent recorded as `recorded` ("CDCl3", "Acetone" -> "acetone-d6",
/// "DMSO" -> "DMSO-d6", "MeOD" -> "CD3OD", ...); the recorded text itself when unknown; empty for
/// an empty one.
[[nodiscard]] std::string solventName(std::string_view recorded);
/// The residual solvent line and its water line of a named solvent, ppm (none for unknown ones).
[[nodiscard]] std::vector<double> solventLines(std::string_view name);
/// The frequency as spectrometers are named: 300.13 -> 300, 400.13 -> 400, 499.87 -> 500.
[[nodiscard]] int nominalFrequency(double sfMHz);

/// `value` with `digits` decimals (0 ... 6); a value that rounds to zero prints without a sign.
[[nodiscard]] std::string fixedText(double value, int digits);
/// A range's delta as the line quotes it: the centre, or for "m" the span of its lines
/// ("7.66–7.59"); `sf` MHz turns the lines' Hz into ppm.
[[nodiscard]] std::string deltaText(const MultipletRange& r, double sf, int digits);

/// "1H NMR (500 MHz, acetone-d6) δ 9.09 (d, J = 8.7 Hz, 1H), …." in UTF-8; signals only, from
/// high to low ppm; "δ" and "–" as in print.
[[nodiscard]] std::string reportLine(const Spectrum& s, const MultipletState& state);
/// The same line as rich text (HTML): δ and J in italics, the mass number of 1H as a superscript.
[[nodiscard]] std::string reportLineHtml(const Spectrum& s, const MultipletState& state);

}  // namespace pelvaron::analysis
