// State of peak picking and J measurement: the peak list with its regions, the J cursors and the
// lines of the Measure J list.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace pelvaron {

/// Capacities of the peak list: entries of all regions together, and regions.
inline constexpr int kMaxPeakEntries = 131072;
inline constexpr int kMaxPeakRegions = 1000;

/// One detected peak: the signed real part at detection time and its even specData index.
struct PeakEntry {
    double value = 0.0;
    int index = 0;
};

struct PeakState {
    double peakThreshold = 2.5;  ///< threshold of the last picked region (used as |value|)
    int peakInterpolate = 1;     ///< the report shows parabola-refined positions and heights
    int peakCount = 0;           ///< entries of peakList in use, all regions together
    /// kMaxPeakEntries entries, allocated with the document and never resized.
    std::vector<PeakEntry> peakList = std::vector<PeakEntry>(kMaxPeakEntries);
    int peakRegionCount = 0;
    std::array<int, kMaxPeakRegions> peakRegionFirst{};  ///< first index of each region (even)
    std::array<int, kMaxPeakRegions> peakRegionLast{};   ///< last index of each region (even)
    std::array<int, kMaxPeakRegions> peakRegionPeaks{};  ///< entries of each region
    /// View toggle "Peak Labels": picked peaks are marked with their ppm. Not reset by set-up.
    int peakLabelsShown = 1;

    /// No peaks and no regions; the threshold and the options stay.
    void clearPicks() { peakCount = 0, peakRegionCount = 0; }
};

/// The J cursors the table holds; further clicks are ignored.
inline constexpr int kMaxJCursors = 202;

struct JState {
    int jShown = 0;
    int jCursorCount = 0;
    int jChainBreak = 0;  ///< the next cursor starts a new chain: no J against its predecessor
    std::array<int, kMaxJCursors> jCursorPos{};  ///< even specData index of each cursor
    /// The lines of the Measure J list ("J %d-%d=%.2lf"), at most one per cursor after the first.
    std::vector<std::string> jLines;

    /// No cursors and no lines.
    void clearCursors() {
        jCursorCount = 0;
        jLines.clear();
    }
    /// Nothing measured and nothing shown, the next cursor starting a chain.
    void reset() {
        clearCursors();
        jShown = 0;
        jChainBreak = 0;
    }
};

}  // namespace pelvaron
