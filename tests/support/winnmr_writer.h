// Bruker WIN-NMR data sets made from values the caller chose: the float data file and its DIS and
// aqs parameter texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelvaron::testing {

struct WinNmrSpec {
    std::vector<float> values{};  ///< interleaved
    std::optional<int> td{};      ///< TD written to the texts; the value count when absent
    double sw = 5000.0;
    double sf = 400.13;
    int aqMode = 1;
    std::optional<int> decim{};  ///< written to the aqs text only
    std::optional<int> dspfvs{};
};

/// The data file: the values as little-endian single-precision floats.
std::string winNmrData(const WinNmrSpec& spec);
/// The DIS text ("##$AQMODE=", "##$SPWIDTH=", "##$TDSIZE=", "##$SFREQ=").
std::string winNmrDis(const WinNmrSpec& spec);
/// The aqs text ("##$AQ_mod=", "##$SW_h=", "##$TD=", "##$BF1=", DECIM and DSPFVS when given).
std::string winNmrAqs(const WinNmrSpec& spec);

/// Writes `dataName` into `dir`, with the DIS and aqs texts asked for under the same name less
/// its last three characters; returns the data file's path.
std::string writeWinNmr(const std::string& dir, const std::string& dataName, const WinNmrSpec& spec,
                        bool withDis, bool withAqs);

}  // namespace pelvaron::testing
