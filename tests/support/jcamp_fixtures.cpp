// JCAMP-DX test files written by the JCAMP-DX 5.01 rules.
#include "jcamp_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pelvaron::testing {

namespace {

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

/// The first digit replaced by the pseudo-digit of its sign (SQZ, DIF or DUP).
std::string pseudo(long v, const char* positive, const char* negative) {
    const std::string digits = std::to_string(std::labs(v));
    return (v >= 0 ? positive : negative)[digits[0] - '0'] + digits.substr(1);
}

std::string header(const JcampDataSet& d, const char* dataClass, const char* origin) {
    std::string out = "##TITLE= " + d.title + "\n##JCAMP-DX= 5.01\n##DATA TYPE= " + d.dataType +
                      "\n##DATA CLASS= " + dataClass + "\n##ORIGIN= " + origin +
                      "\n##OWNER= tests\n##.OBSERVE FREQUENCY= 400.130000\n##.OBSERVE NUCLEUS= ^1H\n"
                      "##.ACQUISITION MODE= SIMULTANEOUS\n";
    for (const auto& line : d.extraHeader) out += line + "\n";
    return out;
}

double deltaOf(const JcampDataSet& d) {
    const std::size_t n = d.real.size();
    return n > 1 ? (d.lastX - d.firstX) / static_cast<double>(n - 1) : 0.0;
}
double factorOf(const JcampDataSet& d) { return deltaOf(d) != 0.0 ? std::fabs(deltaOf(d)) : 1.0; }

/// A (X++(Y..Y)) table. A DIF line ends on the point the next line starts with again.
std::string table(const JcampDataSet& d, const std::vector<long>& y) {
    const bool dif = d.form == AsdfForm::Dif || d.form == AsdfForm::DifDup;
    const std::size_t n = y.size();
    const auto step = static_cast<std::size_t>(d.perLine);
    std::string out;
    for (std::size_t s = 0; s < n;) {
        const std::size_t e = dif ? std::min(s + step, n - 1) : std::min(s + step, n) - 1;
        std::vector<std::string> tokens;
        for (std::size_t i = s; i <= e; ++i) {
            if (d.form == AsdfForm::Affn)
                tokens.push_back(" " + std::to_string(y[i]));
            else if (dif && i > s)
                tokens.push_back(pseudo(y[i] - y[i - 1], "%JKLMNOPQR", "%jklmnopqr"));
            else
                tokens.push_back(pseudo(y[i], "@ABCDEFGHI", "@abcdefghi"));
        }
        out += format("%.4f ", (d.firstX + static_cast<double>(s) * deltaOf(d)) / factorOf(d));
        for (std::size_t t = 0; t < tokens.size();) {
            std::size_t r = t + 1;
            while (d.form == AsdfForm::DifDup && r < tokens.size() && tokens[r] == tokens[t]) ++r;
            out += tokens[t] + (r - t > 1 ? pseudo(static_cast<long>(r - t), "?STUVWXYZs", "") : "");
            t = r;
        }
        out += "\n";
        s = dif && e > s ? e : e + 1;
    }
    return out;
}

}  // namespace

std::string jcampXYDataFile(const JcampDataSet& d) {
    const std::size_t n = d.real.size();
    return header(d, "XYDATA", "Test processing software") + "##XUNITS= " + d.xUnits +
           "\n##YUNITS= ARBITRARY UNITS\n" + format("##XFACTOR= %.10g\n##YFACTOR= 1\n", factorOf(d)) +
           format("##FIRSTX= %.6f\n##LASTX= %.6f\n", d.firstX, d.lastX) +
           format("##NPOINTS= %zu\n##FIRSTY= %ld\n", n, n ? d.real[0] : 0L) + "##XYDATA= (X++(Y..Y))\n" +
           table(d, d.real) + "##END=\n";
}

std::string jcampNTuplesFile(const JcampDataSet& d) {
    const std::size_t n = d.real.size();
    const bool fid = d.dataType.find("FID") != std::string::npos;
    std::string out = header(d, "NTUPLES", "Test spectrometer") + "##NTUPLES= " + d.dataType + "\n";
    out += fid ? "##VAR_NAME= TIME, FID/REAL, FID/IMAG, PAGE NUMBER\n"
               : "##VAR_NAME= FREQUENCY, SPECTRUM/REAL, SPECTRUM/IMAG, PAGE NUMBER\n";
    out += "##SYMBOL= X, R, I, N\n##VAR_TYPE= INDEPENDENT, DEPENDENT, DEPENDENT, PAGE\n";
    out += format("##VAR_FORM= AFFN, ASDF, ASDF, AFFN\n##VAR_DIM= %zu, %zu, %zu, 2\n", n, n, n);
    out += "##UNITS= " + d.xUnits + ", ARBITRARY UNITS, ARBITRARY UNITS, \n";
    out += format("##FIRST= %.6f, %ld, %ld, 1\n", d.firstX, n ? d.real.front() : 0L, n ? d.imag.front() : 0L);
    out += format("##LAST= %.6f, %ld, %ld, 2\n", d.lastX, n ? d.real.back() : 0L, n ? d.imag.back() : 0L);
    out += format("##FACTOR= %.10g, 1, 1, 1\n", factorOf(d));
    out += format("##PAGE= N=1\n##NPOINTS= %zu\n##DATA TABLE= (X++(R..R)), XYDATA\n", n) + table(d, d.real);
    out += format("##PAGE= N=2\n##NPOINTS= %zu\n##DATA TABLE= (X++(I..I)), XYDATA\n", n) + table(d, d.imag);
    return out + "##END NTUPLES= " + d.dataType + "\n##END=\n";
}

std::string jcampLinkFile(const std::vector<std::string>& blocks) {
    std::string out = "##TITLE= compound file\n##JCAMP-DX= 5.01\n##DATA TYPE= LINK\n";
    out += "##BLOCKS= " + std::to_string(blocks.size()) + "\n";
    for (std::size_t i = 0; i < blocks.size(); ++i)
        out += std::string(blocks[i]).insert(blocks[i].find('\n') + 1, format("##BLOCK_ID= %zu\n", i + 1));
    return out + "##END=\n";
}

std::string legacyExport(const std::vector<double>& e, double sw, double sf, double offsetHz, bool ntuples) {
    const int n = static_cast<int>(e.size());
    double p = e.empty() ? 0.0 : e[0];
    for (int i = 0; i + 1 < n; i += 2)
        if (std::fabs(e[i]) >= std::fabs(p)) p = e[i];
    auto scaled = [&](int i, double by) { return static_cast<int>(e[i] * by / p); };
    auto lines = [&](int start) {
        std::string out;
        for (int i = start; i >= 0; i -= 8)
            out += format("%5d %d %d %d %d\n", i / 2, scaled(i, 10000), scaled(i - 2, 10000),
                          scaled(i - 4, 10000), scaled(i - 6, 10000));
        return out;
    };
    std::string out =
        std::string("##TITLE= Untitled\n##JCAMP-DX= 5.00 $$Pelvaron 1.5\n##DATA TYPE= NMR SPECTRUM\n") +
        "##DATA CLASS= " + (ntuples ? "NTUPLES" : "XYDATA") +
        "\n##ORIGIN=  Pelvaron EXPORT \n##OWNER= Pelvaron 1.5\n" +
        format("##.OBSERVE FREQUENCY= %.4lf\n", sf) +
        "##.OBSERVE NUCLEUS= ^1H \n##.ACQUISITION MODE= SIMULTANEOUS\n";
    if (!ntuples) {
        out += format("##NPOINTS=%d\n##FIRSTX=%lf\n##LASTX=%lf\n##XFACTOR= %lf\n", n / 2, sw, offsetHz,
                      sw / (n / 2 - 1));
        out += "##YFACTOR= 1.0\n##FIRSTY=\n##MAXY=\n##MINY=\n##XUNITS= SECONDS\n##XYDATA= (X++(Y..Y))\n";
        return out + lines(n - 1) + "##END=\n";
    }
    out +=
        "##NTUPLES= NMR SPECTRUM\n##VAR_NAME=  FREQUENCY,     SPECTRUM/REAL,   SPECTRUM/IMAG,   PAGE NUMBER\n"
        "##SYMBOL= X, R, I, N\n##VAR_TYPE= INDEPENDENT, DEPENDENT, DEPENDENT, PAGE\n"
        "##VAR_FORM= AFFN, AFFN, AFFN, AFFN\n##UNITS= HZ, ARBITRARY UNITS, ARBITRARY UNITS,\n";
    out += format("##VAR_DIM= %d, %d, %d, 2\n##FACTOR= %lf 1 1 1\n", n / 2, n / 2, n / 2, sw / (n / 2 - 1));
    out += format("##FIRST= %.3lf %d %d  1\n", sw, scaled(n - 2, 10000), scaled(n - 1, 1000));
    out += format("##LAST= %.3lf %d %d  2\n", offsetHz, scaled(0, 10000), scaled(1, 1000));
    out += "$$ Real data points\n##PAGE= N=1\n##DATA TABLE=(X++(R..R)), XYDATA\n" + lines(n - 1);
    out += "$$ Imaginary data points\n##PAGE= N=2\n##DATA TABLE=(X++(I..I)), XYDATA\n" + lines(n - 2);
    return out + "##END=\n";
}

}  // namespace pelvaron::testing
