// Bruker Aspect 2000/3000 FIDs made from values the caller chose, in the computer's own byte order
// or with each 3-byte word reversed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelvaron::testing {

struct AspectFidSpec {
    std::vector<std::int32_t> values{};  ///< interleaved; each within the signed 24-bit range
    std::optional<std::uint32_t> td{};   ///< TD written to the header; the value count when absent
    double sw = 5000.0;
    double sf = 400.13;
    double offsetHz = -1200.0;
    int aqMode = 1;
    int complexData = 1;
    bool reversed = false;  ///< bytes of every word reversed, as a transfer program leaves them
    std::array<std::uint8_t, 3> magic{0x47, 0x84, 0xF5};  ///< the first word in standard order
};

/// The 6 bytes (standard order) of an Aspect float of `v`: exact for values of 36 significant
/// bits.
std::array<std::uint8_t, 6> encodeAspectFloat(double v);

/// The bytes of the file.
std::string aspectFile(const AspectFidSpec& spec);

}  // namespace pelvaron::testing
