// The Multiplet Report beside the plot, as a model: the analysis run into the document, the rows
// the list shows for its ranges, the edits a person makes there, and the line it copies.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::analysis {

/// One row of the list: a range as the person reads it.
struct MultipletRow {
    std::string delta;         ///< "8.12", or the range "7.66–7.59" for "m"
    std::string multiplicity;  ///< "dd", "m", "br s"
    std::string J;             ///< "7.9, 1.7" (Hz, the line's digits)
    std::string nH;            ///< "1"; for a solvent or reference range its kind instead
    bool signal = true;        ///< false: solvent or reference, shown greyed and not editable
    bool operator==(const MultipletRow&) const = default;
};

/// Analyses doc.spectrum into doc.multiplets (with the person's total, solvent and digits kept)
/// and turns the labels on; a refusal returns its message and changes nothing.
[[nodiscard]] std::optional<Message> makeMultipletReport(Document& doc);

/// The range whose extent holds `ppm` (ends included), or -1.
[[nodiscard]] int multipletRangeAt(const MultipletState& state, double ppm);

/// J values typed as "7.9, 1.7" (commas, semicolons or blanks between them; "Hz" allowed):
/// each a positive number; nothing for any other text. An empty text is no J at all.
[[nodiscard]] std::optional<std::vector<double>> parseCouplings(const std::string& text);

/// The list over doc.multiplets. Each edit that changes the ranges tells the document's
/// observers (an overlay notice) and returns true; a refused one changes nothing.
class MultipletReportDialog {
public:
    explicit MultipletReportDialog(Document& doc) : doc_(doc) {}

    /// One row per range, high to low ppm, solvent and reference ranges included.
    [[nodiscard]] std::vector<MultipletRow> rows() const;
    /// The report line, as text and as rich text; empty without signal ranges.
    [[nodiscard]] std::string line() const;
    [[nodiscard]] std::string lineHtml() const;

    /// Merges two neighbouring rows (either order).
    bool merge(int a, int b);
    bool remove(int row);
    /// The multiplicity typed for a signal row, its J kept; an empty text returns it to the
    /// analysed pattern.
    bool editMultiplicity(int row, const std::string& text);
    /// The J values typed for a signal row, its multiplicity kept.
    bool editCouplings(int row, const std::string& text);
    /// The proton count typed for a signal row: a whole number >= 1 sets the scale of the
    /// others, an empty text or 0 returns the row to its counted value.
    bool editCount(int row, const std::string& text);

    void showLabels(bool on);
    [[nodiscard]] bool labelsShown() const { return doc_.multiplets.labelsShown; }

    /// Decimals of the line's deltas (0 ... 6) and constants (0 ... 4); others are held there.
    void setDigits(int delta, int j);
    [[nodiscard]] const ReportFormat& format() const { return doc_.multiplets.format; }

private:
    Document& doc_;
    [[nodiscard]] bool isSignal(int row) const;
    bool changed(bool done);
};

}  // namespace pelvaron::analysis
