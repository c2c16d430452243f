// Writing JCAMP-DX: the header labels the reader understands, then the points in the document's
// order with an abscissa on every line that agrees with FIRSTX, LASTX and XFACTOR.
#include "io/jcamp_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/numeric.h"
#include "base/version.h"
#include "io/text_export.h"

namespace pelvaron::io {

namespace {

/// Ordinates per data line.
constexpr int kPerLine = 4;

/// A label value on one line: line ends would start a label of their own.
std::string oneLine(const std::string& s) {
    std::string out = s;
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

/// What findPeak returns, without moving the document's peak index (the phase pivot).
double largestReal(const Document& doc) {
    double best = doc.spectrum.specData[0];
    for (int i = 0; i < doc.spectrum.nData - 1; i += 2)
        if (std::fabs(doc.spectrum.specData[i]) >= std::fabs(best)) best = doc.spectrum.specData[i];
    return best;
}

/// The export's view of the document: points, scale and axis.
struct ExportData {
    int n = 0;             ///< complex points
    double peak = 0.0;     ///< the scale p
    bool spectrum = true;  ///< Hz axis (else seconds)
    double sw = 0.0;       ///< spectral width used for the axis, Hz
    double offsetHz = 0.0;
    double spacing = 1.0;     ///< axis step between points (XFACTOR)
    std::vector<int> re, im;  ///< scaled ordinates in document order

    [[nodiscard]] double x(int k) const { return spectrum ? offsetHz + sw * (n - k) / n : k / sw; }
    /// An abscissa in the header: Hz to the nano-hertz, seconds to the picosecond.
    [[nodiscard]] std::string axisText(double v) const { return cformat(spectrum ? "%.9lf" : "%.12lf", v); }
    /// Appends the abscissa of a data line, in units of the spacing (three decimals for a
    /// spectrum, the point number for an FID).
    void appendLineX(std::string& out, int k) const {
        char buf[64];
        const auto [end, ec] =
            spectrum ? std::to_chars(buf, buf + sizeof buf, x(k) / spacing, std::chars_format::fixed, 3)
                     : std::to_chars(buf, buf + sizeof buf, k);
        if (ec == std::errc())
            out.append(buf, end);
        else
            out += '0';
    }
};

ExportData prepare(const Document& doc, const JcampExportText& text) {
    ExportData e;
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    e.n = count / 2;
    e.peak = largestReal(doc);
    e.spectrum = text.dataType == "NMR SPECTRUM";
    // Before any load SW is 0: one Hz per point keeps the axis finite.
    e.sw = std::isfinite(doc.spectrum.acqPars.SW) && doc.spectrum.acqPars.SW > 0.0 ? doc.spectrum.acqPars.SW
                                                                                   : std::max(e.n, 1);
    e.offsetHz = std::isfinite(doc.spectrum.offsetHz) ? doc.spectrum.offsetHz : 0.0;
    e.spacing = e.spectrum ? e.sw / std::max(e.n, 1) : 1.0 / e.sw;
    e.re.resize(static_cast<std::size_t>(e.n));
    e.im.resize(static_cast<std::size_t>(e.n));
    // All-zero real parts give no scale: everything is written as 0.
    const bool scaled = e.peak != 0.0;
    // A FID whose imaginary parts wait for the transform to conjugate them (Varian, JEOL) goes out
    // conjugated: a JCAMP-DX FID holds them in the transform's own sense, as Bruker's do, and is
    // read back so. Written as they stand, its spectrum came back mirrored about the carrier.
    const double imagSign = doc.spectrum.negateImag ? -1.0 : 1.0;
    for (int k = 0; k < e.n; ++k) {
        const std::size_t u = static_cast<std::size_t>(k);
        e.re[u] = scaled ? truncToInt(doc.spectrum.specData[2 * k] * 10000.0 / e.peak) : 0;
        e.im[u] = scaled ? truncToInt(imagSign * doc.spectrum.specData[2 * k + 1] * 10000.0 / e.peak) : 0;
    }
    return e;
}

void appendInt(std::string& out, int v) {
    char buf[16];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

void appendTable(std::string& out, const ExportData& e, const std::vector<int>& values) {
    for (int k = 0; k < e.n; k += kPerLine) {
        e.appendLineX(out, k);
        for (int j = k; j < std::min(k + kPerLine, e.n); ++j) {
            out += ' ';
            appendInt(out, values[static_cast<std::size_t>(j)]);
        }
        out += '\n';
    }
}

void appendCommonHeader(std::string& out, const Document& doc, const JcampExportText& text,
                        const char* dataClass, const ExportData& e) {
    out += cformat("##TITLE= %s\n", oneLine(text.title).c_str());
    out += std::string("##JCAMP-DX= 5.00 $$Pelvaron ") + kShortVersion + "\n";
    out += cformat("##DATA TYPE= %s\n", oneLine(text.dataType).c_str());
    out += cformat("##DATA CLASS= %s\n", dataClass);
    out += "##ORIGIN=  Pelvaron EXPORT \n";
    out += cformat("##OWNER= %s\n", oneLine(text.owner).c_str());
    out += cformat("##.OBSERVE FREQUENCY= %.4lf\n", doc.spectrum.acqPars.SF);
    out += cformat("##.OBSERVE NUCLEUS= %s \n", oneLine(text.nucleus).c_str());
    out += "##.ACQUISITION MODE= SIMULTANEOUS\n";
    // Readers of the earlier layout tell the two apart by this label: the real page holds the
    // real parts and the points stand in axis order.
    out += "##$PELVARON LAYOUT= 2\n";
    if (!e.spectrum) {
        // What the time axis cannot carry: where the spectrum will lie, and the digital filter.
        out += cformat("##$PELVARON OFFSET= %.9lf\n", e.offsetHz);
        out += cformat("##$DECIM= %d\n", doc.spectrum.acqPars.DECIM);
        out += cformat("##$DSPFVS= %d\n", doc.spectrum.acqPars.DSPFVS);
        out += cformat("##$GRPDLY= %.9lf\n", doc.spectrum.groupDelay);
    }
}

/// An NTUPLES label line: the columns of X, R, I and the page, separated by commas as JCAMP-DX
/// has them (readers take a blank-separated line for one column).
std::string ntuplesLine(const char* label, std::initializer_list<std::string> columns) {
    std::string out = "##";
    out += label;
    out += "= ";
    bool firstColumn = true;
    for (const std::string& c : columns) {
        if (!firstColumn) out += c.empty() ? "," : ", ";
        out += c;
        firstColumn = false;
    }
    out += '\n';
    return out;
}

bool writeFile(const std::string& path, const std::string& text) {
    return writeTextFile(path, text) == TextFileResult::Written;
}

}  // namespace

JcampExportText defaultJcampExportText(const Document& doc) {
    JcampExportText text;
    const std::string& t = doc.fileTitle;
    const bool processedBruker =
        t.size() >= 2 && (t.compare(t.size() - 2, 2, "1r") == 0 || t.compare(t.size() - 2, 2, "1i") == 0);
    const bool jcampSpectrum = doc.jcamp.importedSpectrum && doc.jcamp.importedPath == doc.filePath;
    text.dataType =
        (doc.spectrum.ftInverse == 1 || processedBruker || jcampSpectrum) ? "NMR SPECTRUM" : "NMR FID";
    return text;
}

std::string jcampXYDataText(const Document& doc, const JcampExportText& text) {
    const ExportData e = prepare(doc, text);
    std::string out;
    out.reserve(static_cast<std::size_t>(e.n) * 8 + 1024);
    appendCommonHeader(out, doc, text, "XYDATA", e);
    out += cformat("##NPOINTS=%d\n", e.n);
    out += "##FIRSTX=" + e.axisText(e.n > 0 ? e.x(0) : 0.0) + "\n";
    out += "##LASTX=" + e.axisText(e.n > 0 ? e.x(e.n - 1) : 0.0) + "\n";
    out += cformat("##XFACTOR= %.12lf\n", e.spacing);
    out += "##YFACTOR= 1.0\n";
    if (e.n > 0) {
        out += cformat("##FIRSTY=%d\n", e.re.front());
        out += cformat("##MAXY=%d\n", *std::max_element(e.re.begin(), e.re.end()));
        out += cformat("##MINY=%d\n", *std::min_element(e.re.begin(), e.re.end()));
    } else {
        out += "##FIRSTY=\n##MAXY=\n##MINY=\n";
    }
    out += e.spectrum ? "##XUNITS= HZ\n" : "##XUNITS= SECONDS\n";
    out += "##XYDATA= (X++(Y..Y))\n";
    appendTable(out, e, e.re);
    out += "##END=\n";
    return out;
}

std::string jcampNTuplesText(const Document& doc, const JcampExportText& text) {
    const ExportData e = prepare(doc, text);
    std::string out;
    out.reserve(static_cast<std::size_t>(e.n) * 16 + 2048);
    appendCommonHeader(out, doc, text, "NTUPLES", e);
    out += cformat("##NTUPLES= %s\n", oneLine(text.dataType).c_str());
    const std::string n = std::to_string(e.n);
    out += e.spectrum
               ? ntuplesLine("VAR_NAME", {"FREQUENCY", "SPECTRUM/REAL", "SPECTRUM/IMAG", "PAGE NUMBER"})
               : ntuplesLine("VAR_NAME", {"TIME", "FID/REAL", "FID/IMAG", "PAGE NUMBER"});
    out += ntuplesLine("SYMBOL", {"X", "R", "I", "N"});
    out += ntuplesLine("VAR_TYPE", {"INDEPENDENT", "DEPENDENT", "DEPENDENT", "PAGE"});
    out += ntuplesLine("VAR_FORM", {"AFFN", "AFFN", "AFFN", "AFFN"});
    out += ntuplesLine("VAR_DIM", {n, n, n, "2"});
    // The page number has no unit: its column stays empty.
    out += ntuplesLine("UNITS", {e.spectrum ? "HZ" : "SECONDS", "ARBITRARY UNITS", "ARBITRARY UNITS", ""});
    const int lastK = std::max(e.n - 1, 0);
    const auto at = [&](const std::vector<int>& v, int k) {
        return std::to_string(e.n > 0 ? v[static_cast<std::size_t>(k)] : 0);
    };
    out += ntuplesLine("FIRST", {e.axisText(e.n > 0 ? e.x(0) : 0.0), at(e.re, 0), at(e.im, 0), "1"});
    out +=
        ntuplesLine("LAST", {e.axisText(e.n > 0 ? e.x(lastK) : 0.0), at(e.re, lastK), at(e.im, lastK), "2"});
    // X, R, I and page factors: the ordinates are written unscaled.
    out += ntuplesLine("FACTOR", {cformat("%.12lf", e.spacing), "1", "1", "1"});
    out += "$$ Real data points\n##PAGE= N=1\n##DATA TABLE=(X++(R..R)), XYDATA\n";
    appendTable(out, e, e.re);
    out += "$$ Imaginary data points\n##PAGE= N=2\n##DATA TABLE=(X++(I..I)), XYDATA\n";
    appendTable(out, e, e.im);
    out += "##END=\n";
    return out;
}

bool writeJcampXYDataFile(const Document& doc, const std::string& path, const JcampExportText& text) {
    return writeFile(path, jcampXYDataText(doc, text));
}

bool writeJcampNTuplesFile(const Document& doc, const std::string& path, const JcampExportText& text) {
    return writeFile(path, jcampNTuplesText(doc, text));
}

bool writeJcampXYData(Document& doc, platform::UserInterface& ui, const JcampExportText& text) {
    return saveTextExport(doc, ui, [&text](const Document& d) { return jcampXYDataText(d, text); });
}

bool writeJcampNTuples(Document& doc, platform::UserInterface& ui, const JcampExportText& text) {
    return saveTextExport(doc, ui, [&text](const Document& d) { return jcampNTuplesText(d, text); });
}

}  // namespace pelvaron::io
