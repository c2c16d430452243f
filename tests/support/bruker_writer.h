// Writes Bruker experiments (acqus, fid, pdata/1/proc; or pdata/1 with 1r, 1i and procs) from
// values the caller chose, in either byte order and as 32-bit integers or doubles.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelvaron::testing {

struct BrukerFidSpec {
    std::vector<double> values;  ///< interleaved as acquired; written rounded for integer data
    std::optional<int> td;       ///< TD written to acqus; the value count when absent
    double sw = 5000.0;
    double bf1 = 400.13;
    int aqMode = 3;
    std::optional<int> decim;
    std::optional<int> dspfvs;
    std::optional<double> grpdly;
    bool bigEndian = false;
    bool writeByteOrderLabel = true;  ///< "##$BYTORDA=" present
    bool xwinTitle = false;           ///< the title names XWIN-NMR
    bool doubles = false;             ///< "##$DTYPA= 2"
    std::optional<double> procOffset;   ///< ppm of the left-most point; no proc file when absent
    bool procInPdata = true;            ///< proc under pdata/1 (else beside acqus)
    std::optional<double> o1;           ///< "##$O1=" in acqus, Hz
    std::optional<std::string> procText;   ///< pdata/1/proc written as given (outranks procOffset)
    std::optional<std::string> procsText;  ///< pdata/1/procs written as given
    std::string acqusName = "acqus";
    std::string fidName = "fid";
    std::string title = "Pelvaron test experiment";
};

/// Writes the experiment into `dir`; returns the path of the fid.
std::string writeBrukerFid(const std::string& dir, const BrukerFidSpec& spec);

struct BrukerProcessedSpec {
    std::vector<double> real;
    std::vector<double> imag;
    std::optional<int> tdeff;
    std::optional<int> si;
    double swp = 5000.0;
    double sf = 400.13;
    std::optional<std::string> version;  ///< word after "VERSION"
    std::optional<int> bytordp;
    bool bigEndian = false;
    bool doubles = false;
    std::optional<int> ncProc;     ///< "##$NC_proc="
    std::optional<double> offset;  ///< "##$OFFSET=", ppm of the first point
};

/// Writes 1r, 1i and procs into `dir`; returns the path of the 1r file.
std::string writeBrukerProcessed(const std::string& dir, const BrukerProcessedSpec& spec);

/// A proc/procs text: "##$NAME= value" for each pair, in order.
std::string parameterFile(const std::vector<std::pair<std::string, std::string>>& values);

/// The bytes of values as 32-bit integers (rounded) or doubles, in the given order.
std::string encodeBrukerValues(const std::vector<double>& values, bool bigEndian, bool doubles);

}  // namespace pelvaron::testing
