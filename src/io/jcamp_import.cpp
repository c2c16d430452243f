// The JCAMP-DX branch of the import: read, complete, set up, title comment.
#include "io/jcamp_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "base/numeric.h"
#include "io/jcamp_reader.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

/// Comment boxes hold at most 2047 characters.
constexpr std::size_t kMaxCommentLength = 2047;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '(')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == ')')) s.remove_suffix(1);
    return s;
}

std::optional<double> parseNumber(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr == s.data()) return std::nullopt;
    return v;
}

/// The first comma-separated field of a value ("HZ, ARBITRARY UNITS, ..." gives "HZ").
std::string_view firstField(std::string_view value) { return trim(value.substr(0, value.find(','))); }

void reversePoints(Document& doc, int n) {
    double* d = doc.spectrum.specData.data();
    for (int i = 0, j = n - 1; i < j; ++i, --j) {
        std::swap(d[2 * i], d[2 * j]);
        std::swap(d[2 * i + 1], d[2 * j + 1]);
    }
}

/// ".SHIFT REFERENCE= INTERNAL, CDCl3, 1, 7.26": point number (from 1, in file order) and its ppm.
struct ShiftReference {
    int point = 0;
    double ppm = 0.0;
};

std::optional<ShiftReference> parseShiftReference(std::string_view value) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t comma = value.find(',');
        fields.push_back(value.substr(0, comma));
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    if (fields.size() < 4) return std::nullopt;
    const auto point = parseNumber(fields[2]);
    const auto ppm = parseNumber(fields[3]);
    if (!point || !ppm || !std::isfinite(*ppm)) return std::nullopt;
    return ShiftReference{truncToInt(*point), *ppm};
}

bool usable(double sw) { return std::isfinite(sw) && sw > 0.0; }

std::optional<double> finiteNumber(std::string_view s) {
    const auto v = parseNumber(s);
    return v && std::isfinite(*v) ? v : std::nullopt;
}

/// The axis column of an NTUPLES block: the one SYMBOL names X, else the first.
std::size_t axisColumn(const JcampFileInfo& s) {
    const std::vector<std::string_view> symbols = jcampColumns(s.symbolText);
    for (std::size_t i = 0; i < symbols.size(); ++i)
        if (normalizeJcampLabel(symbols[i]) == "X") return i;
    return 0;
}

/// An axis label's number: the axis column of an NTUPLES label, the value of an XYDATA one.
double axisValue(const JcampFileInfo& s, const std::string& value, std::size_t column) {
    if (s.ntuples)
        if (auto v = jcampColumnNumber(value, column)) return *v;
    return jcampNumber(value);
}

/// The frequency of 0 ppm, MHz, that the ppm axis divides by: the SF that spectrometer software
/// records, else its BF1, else the observe frequency.
double ppmFrequency(const JcampFileInfo& s) {
    for (const std::string* text : {&s.sfText, &s.bf1Text})
        if (auto v = finiteNumber(*text); v && *v > 0.0) return *v;
    return jcampNumber(s.jcampLabels[kJcampFrequency]);
}

/// Whether the data are an FID: as the axis units say, else the data type.
bool timeDomain(const JcampFileInfo& s) {
    const std::string units = normalizeJcampLabel(firstField(s.jcampLabels[kJcampXUnits]));
    if (units.rfind("HZ", 0) == 0 || units.rfind("HERTZ", 0) == 0 || units.rfind("PPM", 0) == 0) return false;
    if (units.rfind("SEC", 0) == 0 || units == "S" || units == "TIME") return true;
    return normalizeJcampLabel(s.jcampLabels[kJcampDataType]).find("FID") != std::string::npos;
}

/// References an FID of n points from its labels: the program's own offset; else the ppm that
/// .SHIFT REFERENCE or $OFFSET give a point of its spectrum (the first, for $OFFSET), unless
/// $SW_p says they describe a processed strip; else the transmitter offset O1 from BF1. False
/// when no label references the data (offsetHz is then 0).
bool referenceFid(Document& doc, const JcampFileInfo& s, int n) {
    AcqParams& p = doc.spectrum.acqPars;
    p.offsetHz = 0.0;
    if (auto own = finiteNumber(s.offsetHzText)) {
        p.offsetHz = *own;
        return true;
    }
    if (!(p.SF > 0.0) || !std::isfinite(p.SF)) return false;
    // A strip of the spectrum starts elsewhere than the FID's own spectrum. The axis gives SW only
    // to the digits its ends were written with, so widths within 0.1% count as the same.
    const auto swp = finiteNumber(s.swpText);
    const bool strip = swp && !(std::fabs(*swp - p.SW) <= 1e-3 * p.SW);
    if (!strip) {
        if (auto ref = parseShiftReference(s.shiftReference); ref && ref->point >= 1 && ref->point <= n) {
            p.offsetHz = ref->ppm * p.SF - p.SW * (n - (ref->point - 1)) / n;
            return true;
        }
        if (auto offset = finiteNumber(s.offsetText)) {
            p.offsetHz = *offset * p.SF - p.SW;
            return true;
        }
    }
    const auto o1 = finiteNumber(s.o1Text);
    const auto bf1 = finiteNumber(s.bf1Text);
    if (o1 && bf1 && *bf1 > 0.0) {
        p.offsetHz = offsetFromCarrier(*o1, p.SW, *bf1, p.SF);
        return true;
    }
    return false;
}

}  // namespace

std::string jcampTitleComment(std::string_view title) {
    std::string text(title.substr(0, kMaxCommentLength));
    for (char& c : text) {
        const int code = static_cast<unsigned char>(c);
        if (code < 27 || code > 127) c = ' ';
    }
    return text;
}

void completeJcampImport(Document& doc, const JcampFileInfo& s) {
    AcqParams& p = doc.spectrum.acqPars;
    const auto& labels = s.jcampLabels;
    doc.spectrum.solvent = recordedText(s.solventName);
    doc.spectrum.nucleus = nucleusName(labels[kJcampNucleus]);
    const int n = std::clamp(truncToInt(jcampNumber(labels[kJcampNPoints])), 0, kCapacity / 2);

    // Pages shorter than the point count leave zeros; values beyond it do not linger.
    const int decoded = std::max({s.realCount, s.imagCount, n});
    for (int k = std::min(s.realCount, n); k < decoded; ++k) doc.spectrum.specData[2 * k] = 0.0;
    for (int k = std::min(s.imagCount, n); k < decoded; ++k) doc.spectrum.specData[2 * k + 1] = 0.0;

    const std::size_t column = axisColumn(s);
    const double first = axisValue(s, labels[kJcampFirstX], column);
    const double last = axisValue(s, labels[kJcampLastX], column);
    // A file whose axis gives no width (one point, equal ends, no labels) gets 1 Hz per point.
    const double fallbackSW = n > 0 ? n : 1.0;

    p.TD = 2 * n;
    doc.spectrum.nData = 2 * n;
    // The points are complex pairs now, whatever the file held, their imaginary parts in the
    // transform's own sense (the writer conjugates those that waited for it): a former Varian or
    // JEOL FID's conjugation must not mirror this one.
    p.aqMode = 1;
    p.complexData = 1;
    doc.spectrum.negateImag = doc.spectrum.fileNegateImag = 0;
    doc.spectrum.referenceSource = ReferenceSource::None;
    const bool time = timeDomain(s);
    doc.jcamp.importedSpectrum = !time;

    if (s.legacyLayout) {
        p.SF = jcampNumber(labels[kJcampFrequency]);
        if (last < first) reversePoints(doc, n);
        p.SW = usable(first) ? first : fallbackSW;
        return;
    }

    p.SF = ppmFrequency(s);
    p.DECIM = 1;
    p.DSPFVS = 0;
    doc.spectrum.groupDelay = 0.0;

    if (time) {
        // Time runs forward in the document.
        const bool reversed = last < first;
        if (reversed) reversePoints(doc, n);
        const double dwell = n >= 2 ? std::fabs(last - first) / (n - 1) : 0.0;
        p.SW = usable(dwell) && usable(1.0 / dwell) ? 1.0 / dwell : fallbackSW;
        if (referenceFid(doc, s, n)) doc.spectrum.referenceSource = ReferenceSource::JcampLabel;
        // The digital filter of a spectrometer's FID comes along in its private labels.
        if (auto decim = parseNumber(s.decimText); decim && *decim >= 1.0) p.DECIM = truncToInt(*decim);
        if (auto dspfvs = parseNumber(s.dspfvsText)) p.DSPFVS = truncToInt(*dspfvs);
        // "$GRPDLY= -1" records no delay: DECIM and DSPFVS then propose it.
        if (auto delay = finiteNumber(s.groupDelayText); delay && *delay > 0.0)
            doc.spectrum.groupDelay = *delay;
        return;
    }

    // Frequency: the document runs from the highest frequency down; point k of n lies at
    // offsetHz + SW * (n - k) / n.
    const double sf = p.SF;
    const bool ppm = normalizeJcampLabel(firstField(labels[kJcampXUnits])).rfind("PPM", 0) == 0;
    const double scale = ppm && sf > 0.0 ? sf : 1.0;
    const double firstHz = first * scale;
    const double lastHz = last * scale;
    const bool reversed = firstHz < lastHz;
    if (reversed) reversePoints(doc, n);
    const double spacing = n >= 2 ? std::fabs(firstHz - lastHz) / (n - 1) : 0.0;
    if (usable(spacing) && std::isfinite(n * spacing)) {
        p.SW = n * spacing;  // the width the axis spans, one spacing per point
        p.offsetHz = std::max(firstHz, lastHz) - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::JcampLabel;
    } else {
        p.SW = fallbackSW;
        p.offsetHz = 0.0;
    }
    if (auto ref = parseShiftReference(s.shiftReference);
        ref && sf > 0.0 && ref->point >= 1 && ref->point <= n) {
        const int k = reversed ? n - ref->point : ref->point - 1;
        p.offsetHz = ref->ppm * sf - p.SW * (n - k) / n;
        doc.spectrum.referenceSource = ReferenceSource::JcampLabel;
    }
}

namespace {

/// The import's steps after the reader: completion, set-up, title comment. False, after the
/// messages, when the reader failed (`read` false). What the reader said is shown first.
bool finishJcampImport(Document& doc, platform::UserInterface& ui, bool read, const JcampFileInfo& info,
                       Messages& said) {
    // The version text starts new comments, even from a file that failed to read.
    if (info.foundMask & (1 << kJcampVersion)) doc.jcamp.lastJcampText = info.jcampLabels[kJcampVersion];
    if (!read) {
        ui.setWaitCursor(false);
        said.push_back({"Cannot Open this file", "Error", MessageIcon::None});
    }
    platform::reportAll(ui, said);
    if (!read) return false;
    completeJcampImport(doc, info);

    const std::string title = jcampTitleComment(info.jcampLabels[kJcampTitle]);
    const platform::TextExtent extent = ui.measureText(title);
    setupDocument(doc);
    // A spectrum opens as one, as after a forward transform: ppm, and the inverse proposed next.
    if (doc.jcamp.importedSpectrum) markAsSpectrum(doc);
    doc.comments.boxes.push_back(CommentBox{Rect{100, 50, 100 + extent.width, 50 + extent.height}, title});
    doc.comments.selected = 0;

    doc.jcamp.importedPath = doc.filePath;

    doc.notify(kAllDrawn);
    ui.setWaitCursor(false);
    return true;
}

}  // namespace

bool importJcamp(Document& doc, platform::UserInterface& ui) {
    ui.setWaitCursor(true);
    JcampFileInfo info;
    Messages said;
    const bool read = readJcamp(doc.spectrum, said, doc.filePath, info);
    return finishJcampImport(doc, ui, read, info, said);
}

bool importJcampText(Document& doc, platform::UserInterface& ui, std::string_view text) {
    ui.setWaitCursor(true);
    JcampFileInfo info;
    Messages said;
    const bool read = readJcampText(doc.spectrum, said, text, info);
    return finishJcampImport(doc, ui, read, info, said);
}

bool looksLikeJcamp(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return false;
    std::string head(64 * 1024, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file.get()));
    return looksLikeJcampText(head);
}

}  // namespace pelvaron::io
