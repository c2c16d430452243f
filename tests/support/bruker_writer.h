// Bruker experiments (acqus, fid, pdata/1/proc; or pdata/1 with 1r, 1i and procs) made from values
// the caller chose, in either byte order and as 32-bit integers or doubles: in memory, or written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelvaron::testing {

/// An experiment's files: path below the experiment ("acqus", "pdata/1/proc", "1r") to bytes.
using BrukerFiles = std::map<std::string, std::string>;

struct BrukerFidSpec {
    std::vector<double> values{};  ///< interleaved as acquired; written rounded for integer data
    std::optional<int> td{};       ///< TD written to acqus; the value count when absent
    double sw = 5000.0;
    double bf1 = 400.13;
    int aqMode = 3;
    std::optional<int> decim{};
    std::optional<int> dspfvs{};
    std::optional<double> grpdly{};
    bool bigEndian = false;                  ///< also written as "##$BYTORDA="
    bool doubles = false;                    ///< "##$DTYPA= 2"
    std::optional<double> procOffset{};      ///< pdata/1/proc: ppm of the left-most point
    std::optional<double> o1{};              ///< "##$O1=" in acqus, Hz
    std::optional<std::string> procsText{};  ///< pdata/1/procs written as given
    std::string title = "Pelvaron test experiment";
};

/// acqus, fid and the proc files `spec` asks for.
BrukerFiles brukerFid(const BrukerFidSpec& spec);
/// Writes brukerFid(spec) into `dir`; returns the path of the fid.
std::string writeBrukerFid(const std::string& dir, const BrukerFidSpec& spec);

struct BrukerProcessedSpec {
    std::vector<double> real{};
    std::vector<double> imag{};
    std::optional<int> tdeff{};  ///< twice the real count when absent
    std::optional<int> si{};
    double swp = 5000.0;
    double sf = 400.13;
    bool bigEndian = false;  ///< the procs names no byte order: add "##$BYTORDP=" as needed
    bool doubles = false;
    std::optional<int> ncProc{};     ///< "##$NC_proc="
    std::optional<double> offset{};  ///< "##$OFFSET=", ppm of the first point
};

/// procs, 1r and 1i.
BrukerFiles brukerProcessed(const BrukerProcessedSpec& spec);
/// Writes brukerProcessed(spec) into `dir`; returns the path of the 1r file.
std::string writeBrukerProcessed(const std::string& dir, const BrukerProcessedSpec& spec);

/// Writes each file below `dir`.
void writeBrukerFiles(const std::string& dir, const BrukerFiles& files);

/// A proc/procs text: "##$NAME= value" for each pair, in order.
std::string parameterFile(const std::vector<std::pair<std::string, std::string>>& values);

/// The bytes of values as 32-bit integers (rounded) or doubles, in the given order.
std::string encodeBrukerValues(const std::vector<double>& values, bool bigEndian, bool doubles);

}  // namespace pelvaron::testing
