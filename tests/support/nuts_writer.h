// Nuts binary files made from values the caller chose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelvaron::testing {

struct NutsFileSpec {
    std::vector<double> values{};      ///< interleaved; written as little-endian floats
    std::optional<std::int32_t> td{};  ///< the size written; the value count when absent
    std::int16_t aqMode = 1;
    std::int16_t complexData = 1;
    double sw = 5000.0;
    double sf = 400.13;
    bool reversedMark = false;  ///< the byte-order mark written big-endian (04 03 02 01)
};

/// The file's bytes: the 1036-byte header, then the values.
std::string nutsFile(const NutsFileSpec& spec);

}  // namespace pelvaron::testing
