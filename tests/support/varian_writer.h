// Varian experiments made from values the caller chose: a VXR/Unity "fid" with its "procpar" (in
// the alphabetical order and entry layout of the instrument, with the neighbours that share a
// name's first letters), and a Gemini/VHELPER data file with its binary "ACQPAR".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelvaron::testing {

/// An experiment's files: name ("fid", "procpar", "data", "ACQPAR") to bytes.
using VarianFiles = std::map<std::string, std::string>;

struct VarianFidSpec {
    std::vector<double> values{};  ///< interleaved as acquired; written rounded to the sample width
    std::optional<int> np{};       ///< np written to procpar; the value count when absent
    double sw = 6000.0;
    double sfrq = 399.952;
    std::optional<double> rfp{};
    std::optional<double> rfl{};
    std::optional<std::string> dp = "y";  ///< dp's value without quotes; absent writes no dp
    int extraBlocks = 0;                  ///< further blocks after the first, of other values
};

/// procpar and fid.
VarianFiles varianFid(const VarianFidSpec& spec);
/// Writes varianFid(spec) into `dir`; returns the path of the fid.
std::string writeVarianFid(const std::string& dir, const VarianFidSpec& spec);

/// The bytes of the fid: 32-byte file header, 28-byte block header, the values big-endian.
std::string encodeVarianFid(const std::vector<double>& values, bool thirtyTwoBit);

struct GeminiFidSpec {
    std::vector<double> values{};    ///< interleaved; written as big-endian 32-bit integers
    std::optional<double> points{};  ///< complex points written to ACQPAR; half the values when absent
    double sw = 4000.0;
    double sf = 300.075;
    bool sfrqNamed = true;          ///< false: the entry at 784 has another name and SF stands at 800
    std::size_t acqparSize = 1024;  ///< ACQPAR is cut (or padded) to this size
};

/// data and ACQPAR.
VarianFiles geminiFid(const GeminiFidSpec& spec);
/// Writes geminiFid(spec) into `dir` (data as "gemini.fid"); returns the path of the data file.
std::string writeGeminiFid(const std::string& dir, const GeminiFidSpec& spec);

}  // namespace pelvaron::testing
