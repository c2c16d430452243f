// J cursors, their list and the Measure J dialog's logic.
#include "analysis/j_measure.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"

namespace pelvaron::analysis {

namespace {

std::string jLine(const Document& doc, int k) {
    const auto& pos = doc.jState.jCursorPos;
    return cformat("J %d-%d=%.2lf", k - 1, k,
                   jBetween(doc, pos[static_cast<std::size_t>(k - 1)], pos[static_cast<std::size_t>(k)]));
}

}  // namespace

double jBetween(const Document& doc, int a, int b) {
    const double sw = doc.spectrum.acqPars.SW;
    const double td = doc.spectrum.acqPars.TD;
    // Without a TD (no data) the distance is meaningless: 0 instead of inf or nan.
    if (!(td > 0.0)) return 0.0;
    const double j = std::fabs(a * sw / td - b * sw / td);
    return std::isfinite(j) ? j : 0.0;
}

std::optional<std::string> placeJCursor(Document& doc, int p) {
    JState& js = doc.jState;
    // The table holds 202 cursors: later clicks are ignored.
    if (js.jCursorCount >= kMaxJCursors || js.jCursorCount < 0) return std::nullopt;
    const int k = js.jCursorCount;
    js.jCursorPos[static_cast<std::size_t>(k)] = p;
    std::optional<std::string> line;
    if (k > 0 && js.jChainBreak == 0) {
        line = jLine(doc, k);
        js.jLines.push_back(*line);
    }
    ++js.jCursorCount;
    js.jChainBreak = 0;
    return line;
}

void MeasureJDialog::open() {
    ui_.enableDocumentMenus(false);
    doc_.jState.jShown = 1;
}

void MeasureJDialog::ok() {
    doc_.jState.jShown = 0;
    doc_.jState.clearCursors();
    doc_.notify(kOverlaysChanged);
    ui_.enableDocumentMenus(true);
}

void MeasureJDialog::clearAll() {
    doc_.jState.clearCursors();
    doc_.notify(kOverlaysChanged);
}

std::vector<PrintedPage> MeasureJDialog::printPages(int perPage) const {
    std::vector<std::string> out{"Meassure J result:", ""};
    const int count = std::clamp(doc_.jState.jCursorCount, 0, kMaxJCursors);
    for (int k = 1; k < count; ++k) out.push_back(jLine(doc_, k));
    // Up to 201 lines do not fit one page: they continue on the next instead of running off it.
    return paginate(std::move(out), perPage);
}

}  // namespace pelvaron::analysis
