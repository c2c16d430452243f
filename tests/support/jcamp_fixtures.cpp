// JCAMP-DX test files written by the JCAMP-DX 5.01 rules.
#include "jcamp_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pelvaron::testing {

namespace {

std::string format(const char* fmt, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

std::string pseudo(long v, const char* positive, const char* negative) {
    const std::string digits = std::to_string(std::labs(v));
    const int first = digits[0] - '0';
    return std::string(1, v >= 0 ? positive[first] : negative[first]) + digits.substr(1);
}

double peakOf(const std::vector<double>& e) {
    double best = e.empty() ? 0.0 : e[0];
    for (std::size_t i = 0; i + 1 < e.size(); i += 2)
        if (std::fabs(e[i]) >= std::fabs(best)) best = e[i];
    return best;
}

int scaled(double v, double p, double by) { return static_cast<int>(v * by / p); }

/// Lines "%5d %d %d %d %d" from element `start` down by 2, as the earlier writer made them.
std::string legacyLines(const std::vector<double>& e, int start, double p) {
    std::string out;
    char buf[128];
    for (int i = start; i >= 0; i -= 8) {
        std::snprintf(buf, sizeof buf, "%5d %d %d %d %d\n", i / 2, scaled(e[i], p, 10000),
                      scaled(e[i - 2], p, 10000), scaled(e[i - 4], p, 10000), scaled(e[i - 6], p, 10000));
        out += buf;
    }
    return out;
}

std::string header(const JcampDataSet& d, const char* dataClass, const char* origin) {
    std::string out;
    out += "##TITLE= " + d.title + "\n";
    out += d.version + "\n";
    out += "##DATA TYPE= " + d.dataType + "\n";
    out += std::string("##DATA CLASS= ") + dataClass + "\n";
    out += std::string("##ORIGIN= ") + origin + "\n";
    out += "##OWNER= tests\n";
    out += "##.OBSERVE FREQUENCY= " + format("%.6f", d.observeFrequency) + "\n";
    out += "##.OBSERVE NUCLEUS= ^1H\n";
    out += "##.ACQUISITION MODE= SIMULTANEOUS\n";
    for (const auto& line : d.extraHeader) out += line + "\n";
    return out;
}

double deltaOf(const JcampDataSet& d, std::size_t n) {
    return n > 1 ? (d.lastX - d.firstX) / static_cast<double>(n - 1) : 0.0;
}

}  // namespace

std::string sqz(long v) { return pseudo(v, "@ABCDEFGHI", "@abcdefghi"); }
std::string dif(long d) { return pseudo(d, "%JKLMNOPQR", "%jklmnopqr"); }
std::string dup(long count) {
    const std::string digits = std::to_string(count);
    return std::string(1, "?STUVWXYZs"[digits[0] - '0']) + digits.substr(1);
}

std::string asdfTable(const std::vector<long>& y, double firstX, double deltaX, double xFactor, AsdfForm form,
                      int perLine) {
    std::string out;
    const std::size_t n = y.size();
    auto x = [&](std::size_t i) {
        return format("%.4f", (firstX + static_cast<double>(i) * deltaX) / xFactor);
    };
    if (form == AsdfForm::Affn || form == AsdfForm::Sqz) {
        for (std::size_t s = 0; s < n; s += static_cast<std::size_t>(perLine)) {
            out += x(s);
            for (std::size_t i = s; i < std::min(n, s + static_cast<std::size_t>(perLine)); ++i)
                out += form == AsdfForm::Affn ? " " + std::to_string(y[i]) : sqz(y[i]);
            out += "\n";
        }
        return out;
    }
    // DIF: a line covers points s..e; the next line starts again at e with its absolute value.
    std::size_t s = 0;
    while (n > 0) {
        const std::size_t e = std::min(s + static_cast<std::size_t>(perLine), n - 1);
        std::vector<std::string> tokens{sqz(y[s])};
        for (std::size_t i = s + 1; i <= e; ++i) tokens.push_back(dif(y[i] - y[i - 1]));
        out += x(s) + " ";
        for (std::size_t t = 0; t < tokens.size();) {
            std::size_t r = t + 1;
            if (form == AsdfForm::DifDup)
                while (r < tokens.size() && tokens[r] == tokens[t]) ++r;
            out += tokens[t];
            if (r - t > 1) out += dup(static_cast<long>(r - t));
            t = r;
        }
        out += "\n";
        if (e == n - 1) {
            if (e > s) out += x(e) + " " + sqz(y[e]) + "\n";  // the last line's Y check
            break;
        }
        s = e;
    }
    return out;
}

std::string jcampXYDataFile(const JcampDataSet& d) {
    const std::size_t n = d.real.size();
    const double delta = deltaOf(d, n);
    const double xFactor = delta != 0.0 ? std::fabs(delta) : 1.0;
    std::string out = header(d, "XYDATA", "Test processing software");
    out += "##XUNITS= " + d.xUnits + "\n";
    out += "##YUNITS= ARBITRARY UNITS\n";
    out += "##XFACTOR= " + format("%.10g", xFactor) + "\n";
    out += "##YFACTOR= 1\n";
    out += "##FIRSTX= " + format("%.6f", d.firstX) + "\n";
    out += "##LASTX= " + format("%.6f", d.lastX) + "\n";
    out += "##NPOINTS= " + std::to_string(n) + "\n";
    out += "##FIRSTY= " + std::to_string(n ? d.real[0] : 0) + "\n";
    out += "##XYDATA= (X++(Y..Y))\n";
    out += asdfTable(d.real, d.firstX, delta, xFactor, d.form, d.perLine);
    out += "##END=\n";
    return out;
}

std::string jcampNTuplesFile(const JcampDataSet& d) {
    const std::size_t n = d.real.size();
    const double delta = deltaOf(d, n);
    const double xFactor = delta != 0.0 ? std::fabs(delta) : 1.0;
    const bool fid = d.dataType.find("FID") != std::string::npos;
    const std::string nn = std::to_string(n);
    std::string out = header(d, "NTUPLES", "Test spectrometer");
    out += "##NTUPLES= " + d.dataType + "\n";
    out += fid ? "##VAR_NAME= TIME, FID/REAL, FID/IMAG, PAGE NUMBER\n"
               : "##VAR_NAME= FREQUENCY, SPECTRUM/REAL, SPECTRUM/IMAG, PAGE NUMBER\n";
    out += "##SYMBOL= X, R, I, N\n";
    out += "##VAR_TYPE= INDEPENDENT, DEPENDENT, DEPENDENT, PAGE\n";
    out += "##VAR_FORM= AFFN, ASDF, ASDF, AFFN\n";
    out += "##VAR_DIM= " + nn + ", " + nn + ", " + nn + ", 2\n";
    out += "##UNITS= " + d.xUnits + ", ARBITRARY UNITS, ARBITRARY UNITS, \n";
    out += "##FIRST= " + format("%.6f", d.firstX) + ", " + std::to_string(n ? d.real.front() : 0) + ", " +
           std::to_string(n ? d.imag.front() : 0) + ", 1\n";
    out += "##LAST= " + format("%.6f", d.lastX) + ", " + std::to_string(n ? d.real.back() : 0) + ", " +
           std::to_string(n ? d.imag.back() : 0) + ", 2\n";
    out += "##FACTOR= " + format("%.10g", xFactor) + ", 1, 1, 1\n";
    out += "##PAGE= N=1\n##NPOINTS= " + nn + "\n##DATA TABLE= (X++(R..R)), XYDATA\n";
    out += asdfTable(d.real, d.firstX, delta, xFactor, d.form, d.perLine);
    out += "##PAGE= N=2\n##NPOINTS= " + nn + "\n##DATA TABLE= (X++(I..I)), XYDATA\n";
    out += asdfTable(d.imag, d.firstX, delta, xFactor, d.form, d.perLine);
    out += "##END NTUPLES= " + d.dataType + "\n";
    out += "##END=\n";
    return out;
}

std::string jcampLinkFile(const std::vector<std::string>& blocks) {
    std::string out = "##TITLE= compound file\n##JCAMP-DX= 5.01\n##DATA TYPE= LINK\n";
    out += "##BLOCKS= " + std::to_string(blocks.size()) + "\n";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        std::string block = blocks[i];
        // Each block names itself after its title line.
        const std::size_t eol = block.find('\n');
        block.insert(eol + 1, "##BLOCK_ID= " + std::to_string(i + 1) + "\n");
        out += block;
    }
    out += "##END=\n";
    return out;
}

std::string legacyNTuplesExport(const std::vector<double>& e, double sw, double sf, double offsetHz) {
    const int n = static_cast<int>(e.size());
    const double p = peakOf(e);
    char buf[256];
    std::string out;
    out += "##TITLE= Untitled\n##JCAMP-DX= 5.00 $$Pelvaron 1.5\n##DATA TYPE= NMR SPECTRUM\n";
    out += "##DATA CLASS= NTUPLES\n##ORIGIN=  Pelvaron EXPORT \n##OWNER= Pelvaron 1.5\n";
    out += format("##.OBSERVE FREQUENCY= %.4lf\n", sf);
    out += "##.OBSERVE NUCLEUS= ^1H \n##.ACQUISITION MODE= SIMULTANEOUS\n##NTUPLES= NMR SPECTRUM\n";
    out += "##VAR_NAME=  FREQUENCY,     SPECTRUM/REAL,   SPECTRUM/IMAG,   PAGE NUMBER\n";
    out += "##SYMBOL= X, R, I, N\n##VAR_TYPE= INDEPENDENT, DEPENDENT, DEPENDENT, PAGE\n";
    out += "##VAR_FORM= AFFN, AFFN, AFFN, AFFN\n";
    std::snprintf(buf, sizeof buf, "##VAR_DIM= %d, %d, %d, 2\n", n / 2, n / 2, n / 2);
    out += buf;
    out += "##UNITS= HZ, ARBITRARY UNITS, ARBITRARY UNITS,\n";
    std::snprintf(buf, sizeof buf, "##FIRST= %.3lf %d %d  1\n", sw, scaled(e[n - 2], p, 10000),
                  scaled(e[n - 1], p, 1000));
    out += buf;
    std::snprintf(buf, sizeof buf, "##LAST= %.3lf %d %d  2\n", offsetHz, scaled(e[0], p, 10000),
                  scaled(e[1], p, 1000));
    out += buf;
    out += format("##FACTOR= %lf 1 1 1\n", sw / (n / 2 - 1));
    out += "$$ Real data points\n##PAGE= N=1\n##DATA TABLE=(X++(R..R)), XYDATA\n";
    out += legacyLines(e, n - 1, p);
    out += "$$ Imaginary data points\n##PAGE= N=2\n##DATA TABLE=(X++(I..I)), XYDATA\n";
    out += legacyLines(e, n - 2, p);
    out += "##END=\n";
    return out;
}

std::string legacyXYDataExport(const std::vector<double>& e, double sw, double sf, double offsetHz) {
    const int n = static_cast<int>(e.size());
    const double p = peakOf(e);
    std::string out;
    out += "##TITLE= Untitled\n##JCAMP-DX= 5.00 $$Pelvaron 1.5\n##DATA TYPE= NMR SPECTRUM\n";
    out += "##DATA CLASS= XYDATA\n##ORIGIN=  Pelvaron EXPORT \n##OWNER= Pelvaron 1.5\n";
    out += format("##.OBSERVE FREQUENCY= %.4lf\n", sf);
    out += "##.OBSERVE NUCLEUS= ^1H \n##.ACQUISITION MODE= SIMULTANEOUS\n";
    out += "##NPOINTS=" + std::to_string(n / 2) + "\n";
    out += format("##FIRSTX=%lf\n", sw);
    out += format("##LASTX=%lf\n", offsetHz);
    out += format("##XFACTOR= %lf\n", sw / (n / 2 - 1));
    out += "##YFACTOR= 1.0\n##FIRSTY=\n##MAXY=\n##MINY=\n##XUNITS= SECONDS\n##XYDATA= (X++(Y..Y))\n";
    out += legacyLines(e, n - 1, p);
    out += "##END=\n";
    return out;
}

}  // namespace pelvaron::testing
