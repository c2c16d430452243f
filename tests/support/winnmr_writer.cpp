// WIN-NMR data set writer for tests and fuzz seeds.
#include "winnmr_writer.h"

#include <bit>
#include <cstdint>
#include <sstream>

#include "bruker_writer.h"
#include "temp_dir.h"

namespace pelvaron::testing {

namespace {

std::string exact(double v) {
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

int tdOf(const WinNmrSpec& spec) { return spec.td.value_or(static_cast<int>(spec.values.size())); }

}  // namespace

std::string winNmrData(const WinNmrSpec& spec) {
    std::string out;
    for (float v : spec.values) {
        const auto bits = std::bit_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(bits >> (8 * i)));
    }
    return out;
}

std::string winNmrDis(const WinNmrSpec& spec) {
    return parameterFile({{"AQMODE", std::to_string(spec.aqMode)},
                          {"SFREQ", exact(spec.sf)},
                          {"SPWIDTH", exact(spec.sw)},
                          {"TDSIZE", std::to_string(tdOf(spec))}});
}

std::string winNmrAqs(const WinNmrSpec& spec) {
    std::vector<std::pair<std::string, std::string>> labels{{"AQ_mod", std::to_string(spec.aqMode)},
                                                            {"BF1", exact(spec.sf)}};
    if (spec.decim) labels.emplace_back("DECIM", std::to_string(*spec.decim));
    if (spec.dspfvs) labels.emplace_back("DSPFVS", std::to_string(*spec.dspfvs));
    labels.emplace_back("SW_h", exact(spec.sw));
    labels.emplace_back("TD", std::to_string(tdOf(spec)));
    return parameterFile(labels);
}

std::string writeWinNmr(const std::string& dir, const std::string& dataName, const WinNmrSpec& spec,
                        bool withDis, bool withAqs) {
    const std::string stem = dir + "/" + dataName.substr(0, dataName.size() - 3);
    writeFile(dir + "/" + dataName, winNmrData(spec));
    if (withDis) writeFile(stem + "DIS", winNmrDis(spec));
    if (withAqs) writeFile(stem + "aqs", winNmrAqs(spec));
    return dir + "/" + dataName;
}

}  // namespace pelvaron::testing
