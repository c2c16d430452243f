// Peak picking: detection of the local maxima of the real parts inside picked regions, their
// refinement by a three-point parabola, and the report of the list (dialog lines, printed pages,
// the "Peak Picking Output" text).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/report_pages.h"
#include "base/result.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::analysis {

/// What a pick of one region stored.
struct PeakPick {
    int kept = 0;     ///< peaks stored for the region
    int notKept = 0;  ///< peaks found after the list's 131072 entries ran out
};
/// Why a region was not picked at all.
enum class PeakPickProblem { RegionTableFull };

/// Appends one region of specData indices first..last (odd ends are lowered to the real part
/// before; the ends are swapped when first > last) and the peaks whose magnitude reaches |threshold|,
/// in increasing index order, to `peaks`; stores the threshold as peakThreshold. A peak is a point
/// not smaller than each of the next three real parts; the last peak found is not kept (its
/// falling flank did not come back to the threshold inside the region). With 1000 regions
/// already picked the region is refused; when the list's entries run out the region keeps the
/// peaks that fit.
Result<PeakPick, PeakPickProblem> pickPeaks(const Spectrum& spectrum, PeakState& peaks, int first, int last,
                                            double threshold);

/// The message of a refused pick or of one that left peaks out; none when every peak was kept.
[[nodiscard]] std::optional<Message> peakPickMessage(const Result<PeakPick, PeakPickProblem>& pick);

/// pickPeaks on the document's spectrum and list, its message shown through `ui`; false when the
/// region was refused.
bool pickPeaksInRegion(Document& doc, platform::UserInterface& ui, int first, int last, double threshold);

/// A peak refined by the parabola through its highest sample and the two neighbours.
struct PeakFit {
    double position = 0.0;  ///< fractional complex-point index
    double height = 0.0;    ///< magnitude corrected by the parabola's offset; never negative
    double width = 0.0;     ///< points at half height
};

/// Refines the peak nearest complex point `pos` (rounded): climbs to the local maximum of
/// |real part|, fits the parabola and walks down both flanks to half height (a walk stops where
/// the curve rises again two points back). Always finite: see the comments for flat tops.
[[nodiscard]] PeakFit refinePeak(const Document& doc, double pos);

/// Position and intensity of one entry as the report shows them: without interpolation the
/// stored index and signed value, with it the refined position and height.
struct PeakValues {
    double index = 0.0;  ///< data index (doubles) of the position: fractional when refined
    double hz = 0.0;
    double ppm = 0.0;
    double intensity = 0.0;
};
[[nodiscard]] PeakValues peakValues(const Document& doc, const PeakEntry& entry);

/// ppm of the first and last index of region r (FROM is the higher ppm).
[[nodiscard]] double regionFromPpm(const Document& doc, int r);
[[nodiscard]] double regionToPpm(const Document& doc, int r);

/// The lines of the report's list: per region " ", "FROM:%7.2lf ppm   TO:%7.2lf ppm", " ", then
/// one line per peak "%6d    %10.2lf    %9.2lf     %10.3lf" (number from 1, Hz, ppm, intensity).
[[nodiscard]] std::vector<std::string> peakReportLines(const Document& doc);

/// The "Peak Picking Output" text of the ASCII export (and of pelvaron-cli peaks).
[[nodiscard]] std::string peakListText(const Document& doc);

/// The export button: the save dialog proposing "txt", then the file ("Error opening file" /
/// "Error" when it cannot be created). True when the file was written.
bool exportPeakList(Document& doc, platform::UserInterface& ui);

/// The printed report: "File:%s " and "Threshold: %8.2lf", each followed by a blank line, then
/// per region its FROM/TO line, the heading "%7s %12s %11s %15s" and its peak lines. A page
/// holds `perPage` lines (linesPerPage of report_pages.h); the next line goes on a new page.
[[nodiscard]] std::vector<PrintedPage> peakReportPages(const Document& doc, int perPage);

/// Name of the print job of the peak report and of the J list.
inline constexpr const char* kPeakPrintJobName = "Peak Picking Ouput";

/// Regions given in ppm for the command line: the data index of a ppm value, truncated and held
/// inside 0 ... nData - 2.
[[nodiscard]] int ppmToIndex(const Document& doc, double ppm);

/// Picks the region between two ppm values (either order) as the mouse tool would.
bool pickPeaksBetween(Document& doc, platform::UserInterface& ui, double ppmA, double ppmB, double threshold);

/// Picks the whole spectrum as one region.
bool pickWholeSpectrum(Document& doc, platform::UserInterface& ui, double threshold);

/// The "PEAK PICKING" report dialog without its widgets. Its results tell the command what to
/// do next: kClosed ends it, kReopen opens the dialog again with the list recomputed.
class PeakPickingDialog {
public:
    static constexpr int kClosed = 0;
    static constexpr int kReopen = 2;
    /// The static above the list.
    static constexpr const char* kColumnHeading = "Peak    Frecuency       ppm      Intens. ";

    PeakPickingDialog(Document& doc, platform::UserInterface& ui) : doc_(doc), ui_(ui) {}

    /// Fills the threshold edit ("%8.2lf"), the check box and the list.
    void open();

    [[nodiscard]] const std::string& thresholdText() const { return thresholdText_; }
    [[nodiscard]] bool interpolate() const { return interpolate_; }
    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

    /// OK: stores the check box; the threshold edit is not read.
    int ok(bool interpolateChecked);
    int cancel() { return kClosed; }
    /// Clear All: stores the threshold typed (non-numeric text gives 0) and empties the list.
    int clearAll(const std::string& thresholdText);
    /// The check box was clicked: stores it; the dialog reopens with the list recomputed.
    int toggleInterpolation(bool checked);
    /// Export as ASCII; the dialog stays open.
    bool exportAscii() { return exportPeakList(doc_, ui_); }
    /// What Print sends to the printer, per copy.
    [[nodiscard]] std::vector<PrintedPage> printPages(int perPage) const {
        return peakReportPages(doc_, perPage);
    }

private:
    Document& doc_;
    platform::UserInterface& ui_;
    std::string thresholdText_;
    bool interpolate_ = true;
    std::vector<std::string> lines_;
};

/// Command 40012 "&Edit peaks": opens the report through `run` (which shows the dialog over the
/// model and returns its result) and opens it again as long as it returns kReopen; then
/// tells the views that the peaks changed.
void editPeaksCommand(Document& doc, platform::UserInterface& ui,
                      const std::function<int(PeakPickingDialog&)>& run);

}  // namespace pelvaron::analysis
