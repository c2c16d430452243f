// The acquisition parameter block: the instrument's parameters as one 72-byte little-endian
// record, stored verbatim by the native file.
#pragma once

#include <array>
#include <cstdint>

namespace pelvaron {

/// Size of the serialised block, in bytes.
inline constexpr int kAcqParamsSize = 72;

/// Acquisition parameters. Reserved byte ranges are carried verbatim so that a block read from a
/// file is written back unchanged.
struct AcqParams {
    std::int16_t aqMode = 0;       ///< 0 qf, 1 qsim, 2 qseq, 3 DQD (Bruker AQ_mod numbering)
    std::int16_t complexData = 0;  ///< 1 when acquired as complex pairs
    double SW = 0.0;               ///< spectral width, Hz
    double SF = 0.0;               ///< spectrometer frequency, MHz
    std::int32_t TD = 0;           ///< time-domain size in doubles (real + imaginary)
    double AQ = 0.0;               ///< acquisition time, s
    double offsetHz = 0.0;         ///< Hz of the last (right-most) point relative to 0 ppm
    std::int32_t DECIM = 1;        ///< decimation factor; 1 = no digital filter to correct
    std::int32_t DSPFVS = 0;       ///< DSP firmware version (10, 11, 12 select correction tables)

    std::array<std::uint8_t, 4> reserved4{};   ///< bytes 4..7
    std::array<std::uint8_t, 8> reserved24{};  ///< bytes 24..31
    std::array<std::uint8_t, 4> reserved36{};  ///< bytes 36..39
    std::array<std::uint8_t, 8> reserved56{};  ///< bytes 56..63

    bool operator==(const AcqParams&) const = default;
};

/// offsetHz of data of width `sw` Hz acquired with the carrier `o1` Hz above `bf1` MHz, on an axis
/// whose 0 ppm lies at `sf` MHz: the left edge lies o1 + sw/2 above bf1, the right one sw below it.
[[nodiscard]] inline double offsetFromCarrier(double o1, double sw, double bf1, double sf) {
    return o1 + sw / 2.0 + (bf1 - sf) * 1e6 - sw;
}

/// Writes the block field by field, little-endian, into exactly 72 bytes.
void encodeAcqParams(const AcqParams& p, std::uint8_t* out);

/// Reads a block written by encodeAcqParams (or by any earlier version of the program).
[[nodiscard]] AcqParams decodeAcqParams(const std::uint8_t* in);

}  // namespace pelvaron
