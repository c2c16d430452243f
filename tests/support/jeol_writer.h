// JEOL Delta files made from values the caller chose: the big-endian header, the parameter
// section and the data sections in either byte order and value width.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pelvaron::testing {

/// Base units of the header's axes and of parameters.
enum JeolUnit : std::uint8_t { kJeolNoUnit = 0, kJeolHertz = 13, kJeolPpm = 26, kJeolSecond = 28 };

struct JeolParam {
    std::string name;
    std::variant<double, std::int32_t, std::string> value;
    std::uint8_t unit = kJeolNoUnit;
    std::int8_t prefix = 0;  ///< thousands, signed: -1 kilo, 1 milli, 2 micro
};

/// An FID's parameters: x_sweep 5000 Hz, x_freq 400.13 MHz (written in Hz), the carrier x_offset
/// 4.5 ppm, a filter of two stages (orders "2 54 73", factors "8  2": 19.65625 points), the
/// solvent CHLOROFORM-D and the domain Proton.
std::vector<JeolParam> defaultJeolParams();

struct JeolFileSpec {
    std::vector<double> real{};
    std::vector<double> imag{};  ///< empty: one section only
    bool littleEndian = true;
    bool thirtyTwoBit = false;
    std::uint8_t unit = kJeolSecond;  ///< the axis's unit
    std::int8_t unitPrefix = 0;
    double axisStart = 0.0;
    std::optional<double> axisStop{};  ///< an FID's last sample time by x_sweep when absent
    std::uint32_t leading = 0;         ///< points of the section before the data (offset start)
    std::uint32_t padding = 0;         ///< points of the section after the data
    std::vector<JeolParam> params = defaultJeolParams();
    double baseFrequency = 400.13;  ///< the header's, MHz

    // Fields written as given, to make damaged files.
    std::optional<std::uint8_t> endianFlag{};
    std::uint8_t dimensions = 1;
    std::uint8_t layout = 1;
    std::optional<std::uint8_t> axisType{};       ///< 3 with an imaginary section, else 1
    std::optional<std::uint32_t> points{};        ///< the header's section size
    std::optional<std::uint64_t> dataLength{};    ///< the header's data length
    std::optional<std::uint32_t> paramRecords{};  ///< records announced (highest index + 1)
    bool noParams = false;                        ///< no parameter section (start and length 0)
};

/// The file's bytes: the 1360-byte header, the parameters, then the sections.
std::string jeolFile(const JeolFileSpec& spec);

}  // namespace pelvaron::testing
