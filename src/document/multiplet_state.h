// The multiplet report of the spectrum: its ranges, each with its lines, first-order pattern,
// integral and proton count, as the analysis found them and the person edited them.
#pragma once

#include <string>
#include <vector>

namespace pelvaron {

/// One refined line of a multiplet.
struct MultipletLine {
    double hz = 0.0;       ///< position on the spectrum's Hz axis
    double height = 0.0;   ///< height above the baseline (positive)
    double widthHz = 0.0;  ///< full width at half height, Hz
};

/// A multiplet as the report names it.
struct CouplingPattern {
    /// "s", "d", "t", "q", "quint", "sext", "sept", their combinations in the usual order of the
    /// constants, largest first ("dd", "td", "dt", "ddd", "tt", "qd", ...), "br s", or "m".
    std::string multiplicity;
    std::vector<double> J;  ///< Hz, descending; one value per multiplicity letter group
    double centreHz = 0.0;  ///< the pattern's centre (the lines' weighted centre for "m")
    double rmsHz = 0.0;     ///< rms distance of the lines from the fitted tree's, Hz
    [[nodiscard]] bool firstOrder() const { return multiplicity != "m"; }
};

/// What a range holds: a signal of the sample, the residual solvent (or its water), or the
/// reference line at 0 ppm. Only signals enter the report line and the proton counts.
enum class RangeKind { Signal, Solvent, Reference };

/// The kind's name in the report's JSON and list: "signal", "solvent", "reference".
[[nodiscard]] inline const char* rangeKindName(RangeKind kind) {
    switch (kind) {
        case RangeKind::Solvent: return "solvent";
        case RangeKind::Reference: return "reference";
        case RangeKind::Signal: break;
    }
    return "signal";
}

struct MultipletRange {
    double fromPpm = 0.0;   ///< the higher end
    double toPpm = 0.0;     ///< the lower end
    double deltaPpm = 0.0;  ///< the pattern's centre
    CouplingPattern pattern;
    std::vector<MultipletLine> lines;  ///< the refined lines, by increasing Hz
    double integral = 0.0;             ///< the range's integral, data units
    double protons = 0.0;              ///< integral over the proton scale, unrounded
    int nH = 0;                        ///< the count shown: protons rounded, or the person's
    RangeKind kind = RangeKind::Signal;
    bool patternSet = false;  ///< the person typed the multiplicity
    bool countSet = false;    ///< the person typed nH: it sets the proton scale
};

/// Digits of the report line.
struct ReportFormat {
    int deltaDigits = 2;  ///< decimals of each delta
    int jDigits = 1;      ///< decimals of each J
};

struct MultipletState {
    /// The ranges, from high to low ppm. Empty: no report.
    std::vector<MultipletRange> ranges;
    /// The person's total of protons over the signal ranges; 0: the scale that puts the ranges
    /// nearest whole numbers.
    double totalH = 0.0;
    /// The solvent as the person named it; empty: as the acquisition recorded it.
    std::string solvent;
    ReportFormat format;
    /// The labels (multiplicity and delta of each range) are drawn over the plot.
    bool labelsShown = false;

    void clear() { *this = MultipletState{}; }
};

}  // namespace pelvaron
