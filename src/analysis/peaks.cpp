// Peak detection in picked regions, parabolic refinement and the report in its three forms.
#include "analysis/peaks.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "base/format.h"
#include "base/numeric.h"
#include "document/units.h"
#include "io/text_export.h"

namespace pelvaron::analysis {

namespace {

/// Doubles of specData that hold the data.
int dataCount(const Document& doc) { return std::clamp(doc.spectrum.nData, 0, kCapacity); }

/// Appends printf-style text in one formatting pass for the common short line (a report of
/// thousands of peaks spends its time there), and through cformat when it is longer.
void appendFormat(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void appendFormat(std::string& out, const char* fmt, ...) {
    char buffer[160];
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(n));
    } else if (n > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data() + at, static_cast<std::size_t>(n) + 1, fmt, copy);
        out.resize(at + static_cast<std::size_t>(n));
    }
    va_end(copy);
    va_end(args);
}

/// Values the person sees: a spectrum without SW or SF (a damaged parameter file) would divide
/// by zero, and shows 0 rather than inf or nan.
double shown(double v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace

Result<PeakPick, PeakPickProblem> pickPeaks(const Spectrum& spectrum, PeakState& ps, int first, int last,
                                            double threshold) {
    // The region table is full: the pick is refused rather than written past it.
    if (ps.peakRegionCount >= kMaxPeakRegions) return Failure{PeakPickProblem::RegionTableFull};
    // The tool orders the ends; other callers may not.
    if (first > last) std::swap(first, last);
    const int count = std::clamp(spectrum.nData, 0, kCapacity);
    // A region reaching past the data (not from the tool, whose view lies on them) is the part
    // on the data: a pass must not record points before 0, nor walk a billion indices to them.
    first = std::clamp(first, 0, count);
    last = std::clamp(last, 0, count);
    if (first % 2 != 0) --first;
    if (last % 2 != 0) --last;
    // An infinite threshold (typed as "inf" or "1e999") would be shown as such: it reads as 0.
    if (!std::isfinite(threshold)) threshold = 0.0;
    const double t = std::fabs(threshold);
    const int r = ps.peakRegionCount;
    ps.peakThreshold = threshold;
    ps.peakRegionFirst[static_cast<std::size_t>(r)] = first;
    ps.peakRegionLast[static_cast<std::size_t>(r)] = last;

    // The climb and the descent look six indices ahead of i, and a pass may record at end + 1:
    // before index 0 and from nData on the spectrum reads as 0, so no read leaves the data.
    auto x = [&](std::int64_t i) { return (i >= 0 && i < count) ? std::fabs(spectrum.specData[i]) : 0.0; };
    std::int64_t end = static_cast<std::int64_t>(last) + 4;
    if (end >= count - 2) end = count - 2;
    std::int64_t i = first;

    int passes = 0;  // passes that found a peak, stored or not
    int stored = 0;  // of which the list had room for
    bool lastStored = false;
    while (i < end) {
        i += 2;
        while (i < end && x(i) < t) i += 2;
        while (i < end && (x(i) < x(i + 2) || x(i) < x(i + 4) || x(i) < x(i + 6))) i += 2;
        ++passes;
        lastStored = ps.peakCount < kMaxPeakEntries;
        if (lastStored) {
            const double value = (i >= 0 && i < count) ? spectrum.specData[i] : 0.0;
            ps.peakList[static_cast<std::size_t>(ps.peakCount)] = {value, static_cast<int>(i)};
            ++ps.peakCount;
            ++stored;
        }
        while (i < end && x(i) > t && (x(i) > x(i + 2) || x(i) > x(i + 4) || x(i) > x(i + 6))) i += 2;
    }
    // The last pass's peak never came back down to the threshold inside the region.
    if (passes > 0) {
        --passes;
        if (lastStored) {
            --ps.peakCount;
            --stored;
        }
    }
    ps.peakRegionPeaks[static_cast<std::size_t>(r)] = stored;
    ++ps.peakRegionCount;
    // A full list keeps the peaks that fit; the rest are counted.
    return PeakPick{stored, passes - stored};
}

std::optional<Message> peakPickMessage(const Result<PeakPick, PeakPickProblem>& pick) {
    if (!pick)
        return Message{"The peak list holds 1000 regions: Clear All in the report empties it.",
                       "Peak Picking", MessageIcon::Exclamation};
    if (pick->notKept > 0)
        return Message{cformat("The peak list holds %d peaks: %d peaks of this region were not kept.",
                               kMaxPeakEntries, pick->notKept),
                       "Peak Picking", MessageIcon::Exclamation};
    return std::nullopt;
}

bool pickPeaksInRegion(Document& doc, platform::UserInterface& ui, int first, int last, double threshold) {
    const auto pick = pickPeaks(doc.spectrum, doc.peaks, first, last, threshold);
    if (const auto message = peakPickMessage(pick)) platform::report(ui, *message);
    return pick.ok();
}

PeakFit refinePeak(const Document& doc, double pos) {
    const std::int64_t points = dataCount(doc) / 2;
    // Before point 0 and from the last point on the magnitude reads as 0: the hill climb and the
    // half-height walks stop at the data's ends instead of running out of the buffer.
    auto a = [&](std::int64_t k) {
        return (k >= 0 && k < points) ? std::fabs(doc.spectrum.specData[2 * k]) : 0.0;
    };
    std::int64_t k = std::clamp<std::int64_t>(truncToInt(pos + 0.5), -1, points);
    while (a(k) < a(k + 1)) ++k;
    while (a(k) < a(k - 1)) --k;

    const double left = a(k - 1), top = a(k), right = a(k + 1);
    const double denominator = (left + right) - 2.0 * top;
    // A flat top (three equal points) has no vertex: the sampled maximum stands.
    const double p = denominator != 0.0 ? ((left - right) / 2.0) / denominator : 0.0;
    const double h = top / 2.0;

    std::int64_t j = k;
    while (a(j) > h) {
        if (j - k >= 2 && a(j - 2) <= a(j)) break;
        ++j;
    }
    double xr = static_cast<double>(j);
    // The walk passed a(j - 1) > h to reach a(j) < h, so the step is positive; the guard only
    // keeps data that are not numbers from dividing by zero.
    if (a(j) < h && a(j - 1) - a(j) > 0.0) xr = j - (h - a(j)) / (a(j - 1) - a(j));

    std::int64_t m = k;
    while (a(m) > h) {
        if (k - m >= 2 && a(m + 2) <= a(m)) break;
        --m;
    }
    double xl = static_cast<double>(m);
    if (a(m) < h && a(m + 1) - a(m) > 0.0) xl = m + (h - a(m)) / (a(m + 1) - a(m));

    PeakFit fit;
    fit.width = xr - xl;
    // A point of zero magnitude has no width: its height needs no correction.
    fit.height = fit.width > 0.0 ? top * (1.0 + std::sqrt(std::fabs(p) / fit.width)) : top;
    fit.position = static_cast<double>(k) + p;
    if (!std::isfinite(fit.height)) fit.height = 0.0;
    if (!std::isfinite(fit.width)) fit.width = 0.0;
    return fit;
}

PeakValues peakValues(const Document& doc, const PeakEntry& entry) {
    const double sw = doc.spectrum.acqPars.SW;
    const double sf = doc.spectrum.acqPars.SF;
    const double n = doc.spectrum.nData;
    PeakValues v;
    v.index = entry.index;
    if (doc.peaks.peakInterpolate == 0) {
        const double hz = sw - entry.index * sw / n;
        v.hz = hz + doc.spectrum.offsetHz;
        v.ppm = hz / sf + doc.spectrum.offsetPpm;
        v.intensity = entry.value;
    } else {
        const PeakFit fit = refinePeak(doc, entry.index / 2);
        v.index = 2.0 * fit.position;
        v.hz = (doc.spectrum.refIndex - 2.0 * fit.position) / (n / sw);
        v.ppm = v.hz / sf;
        v.intensity = fit.height;
    }
    v.hz = shown(v.hz);
    v.ppm = shown(v.ppm);
    v.intensity = shown(v.intensity);
    return v;
}

namespace {

double indexPpm(const Document& doc, int index) {
    const double sw = doc.spectrum.acqPars.SW;
    return shown((sw - index * sw / doc.spectrum.nData) / doc.spectrum.acqPars.SF + doc.spectrum.offsetPpm);
}

/// Calls `region(r, firstEntry, entries)` for each region, the entries bounded by the list.
template <typename Fn>
void forEachRegion(const Document& doc, Fn&& region) {
    const PeakState& ps = doc.peaks;
    const int regions = std::clamp(ps.peakRegionCount, 0, kMaxPeakRegions);
    const int total = std::clamp(ps.peakCount, 0, kMaxPeakEntries);
    int e0 = 0;
    for (int r = 0; r < regions; ++r) {
        const int n = std::clamp(ps.peakRegionPeaks[static_cast<std::size_t>(r)], 0, total - e0);
        region(r, e0, n);
        e0 += n;
    }
}

std::string peakLine(int number, const PeakValues& v) {
    std::string line;
    appendFormat(line, "%6d    %10.2lf    %9.2lf     %10.3lf", number, v.hz, v.ppm, v.intensity);
    return line;
}

std::string regionLine(const Document& doc, int r) {
    return cformat("FROM:%7.2lf ppm   TO:%7.2lf ppm", regionFromPpm(doc, r), regionToPpm(doc, r));
}

}  // namespace

double regionFromPpm(const Document& doc, int r) {
    return indexPpm(
        doc, doc.peaks.peakRegionFirst[static_cast<std::size_t>(std::clamp(r, 0, kMaxPeakRegions - 1))]);
}

double regionToPpm(const Document& doc, int r) {
    return indexPpm(
        doc, doc.peaks.peakRegionLast[static_cast<std::size_t>(std::clamp(r, 0, kMaxPeakRegions - 1))]);
}

std::vector<std::string> peakReportLines(const Document& doc) {
    std::vector<std::string> lines;
    forEachRegion(doc, [&](int r, int e0, int n) {
        lines.emplace_back(" ");
        lines.push_back(regionLine(doc, r));
        lines.emplace_back(" ");
        for (int j = 0; j < n; ++j)
            lines.push_back(
                peakLine(j + 1, peakValues(doc, doc.peaks.peakList[static_cast<std::size_t>(e0 + j)])));
    });
    return lines;
}

std::string peakListText(const Document& doc) {
    std::string out = "********\nPelvaron\n********\nPeak Picking Output\n";
    out += cformat("File:%s\n\n", doc.fileTitle.c_str());
    out += cformat("Threshold: %8.2lf\n", shown(doc.peaks.peakThreshold));
    forEachRegion(doc, [&](int r, int e0, int n) {
        out += cformat("FROM:%.2lf ppm\t   TO:%.2lf ppm\n\n", regionFromPpm(doc, r), regionToPpm(doc, r));
        out += "Index\t Hertz\t ppm\t Intensity\n";
        out += "-----\t ----\t ---\t ---------\n";
        for (int j = 0; j < n; ++j) {
            const PeakValues v = peakValues(doc, doc.peaks.peakList[static_cast<std::size_t>(e0 + j)]);
            appendFormat(out, "%d\t %.2lf\t %.2lf\t %.3lf\n", j + 1, v.hz, v.ppm, v.intensity);
        }
        out += "\n";
    });
    return out;
}

bool exportPeakList(Document& doc, platform::UserInterface& ui) {
    return io::saveTextExport(doc, ui, [](const Document& d) { return peakListText(d); });
}

std::vector<PrintedPage> peakReportPages(const Document& doc, int perPage) {
    std::vector<std::string> lines;
    lines.push_back(cformat("File:%s ", doc.fileTitle.c_str()));
    lines.emplace_back();
    lines.push_back(cformat("Threshold: %8.2lf", shown(doc.peaks.peakThreshold)));
    lines.emplace_back();
    const std::string heading = cformat("%7s %12s %11s %15s", "Peak", "Frecuency", "ppm", "Intensity");
    forEachRegion(doc, [&](int r, int e0, int n) {
        lines.push_back(regionLine(doc, r));
        lines.push_back(heading);
        for (int j = 0; j < n; ++j)
            lines.push_back(
                peakLine(j + 1, peakValues(doc, doc.peaks.peakList[static_cast<std::size_t>(e0 + j)])));
    });
    // A page ends when the next line would start at or below its printable height, whatever
    // the line: region headings never run off the page, and no empty page follows the last.
    return paginate(std::move(lines), perPage);
}

int ppmToIndex(const Document& doc, double ppm) {
    const double index = units::tToIndex(doc, units::unitToT(doc, ppm, kPpm));
    // A ppm beyond the spectrum stands for its nearest end.
    return std::clamp(truncToInt(index), 0, std::max(dataCount(doc) - 2, 0));
}

bool pickPeaksBetween(Document& doc, platform::UserInterface& ui, double ppmA, double ppmB,
                      double threshold) {
    const int a = ppmToIndex(doc, ppmA);
    const int b = ppmToIndex(doc, ppmB);
    return pickPeaksInRegion(doc, ui, std::min(a, b), std::max(a, b), threshold);
}

bool pickWholeSpectrum(Document& doc, platform::UserInterface& ui, double threshold) {
    return pickPeaksInRegion(doc, ui, 0, std::max(dataCount(doc) - 2, 0), threshold);
}

void PeakPickingDialog::open() {
    thresholdText_ = cformat("%8.2lf", shown(doc_.peaks.peakThreshold));
    interpolate_ = doc_.peaks.peakInterpolate != 0;
    lines_ = peakReportLines(doc_);
}

int PeakPickingDialog::ok(bool interpolateChecked) {
    doc_.peaks.peakInterpolate = interpolateChecked ? 1 : 0;
    return kClosed;
}

int PeakPickingDialog::clearAll(const std::string& thresholdText) {
    double threshold = parseLeadingDouble(thresholdText);
    // "inf", "nan" or "1e999" typed into the box read as 0, as text that is not a number does.
    if (!std::isfinite(threshold)) threshold = 0.0;
    doc_.peaks.peakThreshold = threshold;
    doc_.peaks.clearPicks();
    return kReopen;
}

int PeakPickingDialog::toggleInterpolation(bool checked) {
    doc_.peaks.peakInterpolate = checked ? 1 : 0;
    return kReopen;
}

void editPeaksCommand(Document& doc, platform::UserInterface& ui,
                      const std::function<int(PeakPickingDialog&)>& run) {
    int result = PeakPickingDialog::kClosed;
    do {
        PeakPickingDialog dialog(doc, ui);
        dialog.open();
        result = run(dialog);
    } while (result == PeakPickingDialog::kReopen);
    doc.notify(kOverlaysChanged);
}

}  // namespace pelvaron::analysis
