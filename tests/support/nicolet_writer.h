// GE/Nicolet FIDs made from values the caller chose: 20-bit words packed two to five bytes, the
// header floats at the word numbers of the chosen header variant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelvaron::testing {

struct NicoletFidSpec {
    std::vector<int> real{};                 ///< each within the signed 20-bit range
    std::vector<int> imag{};                 ///< as many as real
    int headerWord = 0x2C72;                 ///< 0x2C72, 0x3212 or 0xE243 (word 0)
    double sw = 5000.0;                      ///< Hz
    std::optional<double> aqMicroseconds{};  ///< the time that gives TD = 2 x real.size() when absent
    double sf = 300.52;                      ///< MHz
};

/// Words w0, w1 of a Nicolet float close to `v` (the nearest of 27 significant bits).
std::pair<int, int> encodeNicoletFloat(double v);

/// The words packed two to five bytes (an odd count padded with a zero word).
std::string packNicoletWords(const std::vector<int>& words);

/// The bytes of the file: 512 header words (1280 bytes), then the real parts and the imaginary
/// parts.
std::string nicoletFile(const NicoletFidSpec& spec);

}  // namespace pelvaron::testing
