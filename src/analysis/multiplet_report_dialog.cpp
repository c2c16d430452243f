// The Multiplet Report's list: rows from the ranges, edits handed to the analysis.
#include "analysis/multiplet_report_dialog.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "analysis/multiplets.h"
#include "base/format.h"

namespace pelvaron::analysis {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<Message> makeMultipletReport(Document& doc) {
    MultipletSettings settings;
    settings.totalH = doc.multiplets.totalH;
    settings.solvent = doc.multiplets.solvent;
    settings.format = doc.multiplets.format;
    auto made = analyseMultiplets(doc.spectrum, settings);
    if (!made) return multipletMessage(made.error());
    doc.multiplets = std::move(*made);
    // What the person chose survives a new analysis, as the settings carried it in.
    doc.multiplets.totalH = settings.totalH;
    doc.multiplets.solvent = settings.solvent;
    doc.multiplets.format = settings.format;
    doc.multiplets.labelsShown = true;
    doc.notify(kOverlaysChanged);
    return std::nullopt;
}

int multipletRangeAt(const MultipletState& state, double ppm) {
    for (std::size_t k = 0; k < state.ranges.size(); ++k) {
        const MultipletRange& r = state.ranges[k];
        if (std::min(r.fromPpm, r.toPpm) <= ppm && ppm <= std::max(r.fromPpm, r.toPpm))
            return static_cast<int>(k);
    }
    return -1;
}

std::optional<std::vector<double>> parseCouplings(const std::string& text) {
    std::string rest = text;
    // A unit typed after the values, as the line writes it.
    if (const auto hz = rest.find("Hz"); hz != std::string::npos && trimmed(rest.substr(hz + 2)).empty())
        rest.erase(hz);
    for (char& c : rest)
        if (c == ',' || c == ';' || c == '\t') c = ' ';
    std::vector<double> J;
    std::size_t at = 0;
    while ((at = rest.find_first_not_of(' ', at)) != std::string::npos) {
        const std::size_t end = std::min(rest.find(' ', at), rest.size());
        double value = 0.0;
        const auto [stop, error] = std::from_chars(rest.data() + at, rest.data() + end, value);
        if (error != std::errc() || stop != rest.data() + end || !std::isfinite(value) || !(value > 0.0))
            return std::nullopt;
        J.push_back(value);
        at = end;
    }
    return J;
}

std::vector<MultipletRow> MultipletReportDialog::rows() const {
    const MultipletState& state = doc_.multiplets;
    std::vector<MultipletRow> rows;
    for (const MultipletRange& r : state.ranges) {
        MultipletRow row;
        const int dd = state.format.deltaDigits;
        // An "m" is reported by its extent, as the line names it.
        row.delta = deltaText(r, doc_.spectrum.acqPars.SF, dd);
        row.multiplicity = r.pattern.multiplicity;
        std::vector<double> J = r.pattern.J;
        std::sort(J.begin(), J.end(), std::greater<>());
        for (std::size_t k = 0; k < J.size(); ++k)
            row.J += (k > 0 ? ", " : "") + fixedText(J[k], state.format.jDigits);
        row.signal = r.kind == RangeKind::Signal;
        row.nH = row.signal ? std::to_string(r.nH) : rangeKindName(r.kind);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string MultipletReportDialog::line() const { return reportLine(doc_.spectrum, doc_.multiplets); }

std::string MultipletReportDialog::lineHtml() const { return reportLineHtml(doc_.spectrum, doc_.multiplets); }

bool MultipletReportDialog::isSignal(int row) const {
    const auto& ranges = doc_.multiplets.ranges;
    return row >= 0 && row < static_cast<int>(ranges.size()) &&
           ranges[static_cast<std::size_t>(row)].kind == RangeKind::Signal;
}

bool MultipletReportDialog::changed(bool done) {
    if (done) doc_.notify(kOverlaysChanged);
    return done;
}

bool MultipletReportDialog::merge(int a, int b) {
    if (std::abs(a - b) != 1) return false;
    return changed(mergeRanges(doc_.spectrum, doc_.multiplets, std::min(a, b), std::max(a, b)));
}

bool MultipletReportDialog::remove(int row) { return changed(deleteRange(doc_.multiplets, row)); }

bool MultipletReportDialog::editMultiplicity(int row, const std::string& text) {
    if (!isSignal(row)) return false;
    const MultipletRange& r = doc_.multiplets.ranges[static_cast<std::size_t>(row)];
    const std::string typed = trimmed(text);
    if (typed == r.pattern.multiplicity) return false;
    return changed(setMultiplicity(doc_.spectrum, doc_.multiplets, row, typed, r.pattern.J));
}

bool MultipletReportDialog::editCouplings(int row, const std::string& text) {
    if (!isSignal(row)) return false;
    const auto J = parseCouplings(text);
    if (!J) return false;
    const MultipletRange& r = doc_.multiplets.ranges[static_cast<std::size_t>(row)];
    return changed(setMultiplicity(doc_.spectrum, doc_.multiplets, row, r.pattern.multiplicity, *J));
}

bool MultipletReportDialog::editCount(int row, const std::string& text) {
    if (!isSignal(row)) return false;
    const std::string typed = trimmed(text);
    int nH = 0;
    if (!typed.empty()) {
        const auto [stop, error] = std::from_chars(typed.data(), typed.data() + typed.size(), nH);
        if (error != std::errc() || stop != typed.data() + typed.size() || nH < 0) return false;
    }
    const MultipletRange& r = doc_.multiplets.ranges[static_cast<std::size_t>(row)];
    // Retyping the count shown changes nothing; a count typed before is cleared by 0 or nothing.
    if (nH != 0 && nH == r.nH && r.countSet) return false;
    if (nH == 0 && !r.countSet) return false;
    return changed(setProtonCount(doc_.multiplets, row, nH));
}

void MultipletReportDialog::showLabels(bool on) {
    if (doc_.multiplets.labelsShown == on) return;
    doc_.multiplets.labelsShown = on;
    doc_.notify(kOverlaysChanged);
}

void MultipletReportDialog::setDigits(int delta, int j) {
    const ReportFormat wanted{std::clamp(delta, 0, 6), std::clamp(j, 0, 4)};
    ReportFormat& format = doc_.multiplets.format;
    if (format.deltaDigits == wanted.deltaDigits && format.jDigits == wanted.jDigits) return;
    format = wanted;
    doc_.notify(kOverlaysChanged);
}

}  // namespace pelvaron::analysis
