// JEOL Delta writer for tests, fuzz seeds and benchmarks.
#include "jeol_writer.h"

#include <bit>
#include <cstring>

namespace pelvaron::testing {

namespace {

constexpr std::size_t kHeaderSize = 1360, kRecordSize = 64;

/// Stores `bytes` bytes of `v` at `at`, most significant first unless `little`.
void put(std::string& out, std::size_t at, std::uint64_t v, int bytes, bool little) {
    for (int i = 0; i < bytes; ++i) {
        const int shift = 8 * (little ? i : bytes - 1 - i);
        out[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> shift);
    }
}

std::uint8_t unitByte(std::int8_t prefix) { return static_cast<std::uint8_t>((prefix & 0x0F) << 4 | 1); }

}  // namespace

std::vector<JeolParam> defaultJeolParams() {
    return {
        {"X_SWEEP", 5000.0, kJeolHertz},     {"X_FREQ", 400.13e6, kJeolHertz},
        {"X_OFFSET", 4.5, kJeolPpm},         {"orders", std::string("2 54 73")},
        {"factors", std::string("8  2")},    {"solvent", std::string("CHLOROFORM-D")},
        {"X_DOMAIN", std::string("Proton")},
    };
}

std::string jeolFile(const JeolFileSpec& spec) {
    const bool little = spec.littleEndian;
    const std::size_t width = spec.thirtyTwoBit ? 4 : 8;
    const std::size_t n = spec.real.size(), sections = spec.imag.empty() ? 1 : 2;
    const std::uint64_t points = spec.leading + n + spec.padding;

    const std::size_t paramStart = kHeaderSize;
    const std::size_t paramLength = spec.noParams ? 0 : 16 + kRecordSize * spec.params.size();
    const std::size_t dataStart = (paramStart + paramLength + 15) / 16 * 16;
    const std::size_t dataLength = sections * points * width;
    std::string out(dataStart + dataLength, '\0');

    std::memcpy(out.data(), "JEOL.NMR", 8);
    out[8] = static_cast<char>(spec.endianFlag.value_or(little ? 1 : 0));
    out[9] = 1;
    out[12] = static_cast<char>(spec.dimensions);
    out[14] = static_cast<char>((spec.thirtyTwoBit ? 1 : 0) << 6 | spec.layout);
    out[24] = static_cast<char>(spec.axisType.value_or(sections == 2 ? 3 : 1));
    out[32] = static_cast<char>(unitByte(spec.unitPrefix));
    out[33] = static_cast<char>(spec.unit);
    put(out, 176, spec.points.value_or(static_cast<std::uint32_t>(points)), 4, false);
    put(out, 208, spec.leading, 4, false);
    put(out, 240, spec.leading + n - 1, 4, false);
    double sweep = 0.0;
    for (const JeolParam& p : spec.params)
        if (p.name == "X_SWEEP" && std::holds_alternative<double>(p.value)) sweep = std::get<double>(p.value);
    const double stop = spec.axisStop.value_or(sweep > 0.0 ? (static_cast<double>(n) - 1.0) / sweep : 0.0);
    put(out, 272, std::bit_cast<std::uint64_t>(spec.axisStart), 8, false);
    put(out, 336, std::bit_cast<std::uint64_t>(stop), 8, false);
    put(out, 1064, std::bit_cast<std::uint64_t>(spec.baseFrequency), 8, false);
    if (!spec.noParams) {
        put(out, 1212, paramStart, 4, false);
        put(out, 1216, paramLength, 4, false);
    }
    put(out, 1284, dataStart, 4, false);
    put(out, 1288, spec.dataLength.value_or(dataLength), 8, false);
    put(out, 1320, out.size(), 8, false);

    if (!spec.noParams) {
        const std::uint32_t records =
            spec.paramRecords.value_or(static_cast<std::uint32_t>(spec.params.size()));
        put(out, paramStart, kRecordSize, 4, little);
        put(out, paramStart + 8, records - 1u, 4, little);
        put(out, paramStart + 12, kRecordSize * spec.params.size(), 4, little);
        for (std::size_t k = 0; k < spec.params.size(); ++k) {
            const JeolParam& p = spec.params[k];
            const std::size_t r = paramStart + 16 + k * kRecordSize;
            out[r + 6] = static_cast<char>(unitByte(p.prefix));
            out[r + 7] = static_cast<char>(p.unit);
            std::memset(out.data() + r + 16, ' ', 16);
            if (const auto* d = std::get_if<double>(&p.value)) {
                put(out, r + 16, std::bit_cast<std::uint64_t>(*d), 8, little);
                put(out, r + 32, 2, 4, little);
            } else if (const auto* i = std::get_if<std::int32_t>(&p.value)) {
                put(out, r + 16, static_cast<std::uint32_t>(*i), 4, little);
                put(out, r + 32, 1, 4, little);
            } else {
                const std::string& s = std::get<std::string>(p.value);
                std::memcpy(out.data() + r + 16, s.data(), std::min<std::size_t>(s.size(), 16));
                put(out, r + 32, 0, 4, little);
            }
            std::memset(out.data() + r + 36, ' ', 28);
            std::memcpy(out.data() + r + 36, p.name.data(), std::min<std::size_t>(p.name.size(), 28));
        }
    }

    for (std::size_t s = 0; s < sections; ++s) {
        const std::vector<double>& values = s == 0 ? spec.real : spec.imag;
        for (std::size_t k = 0; k < n; ++k) {
            const double v = k < values.size() ? values[k] : 0.0;
            const std::size_t at = dataStart + (s * points + spec.leading + k) * width;
            if (width == 8)
                put(out, at, std::bit_cast<std::uint64_t>(v), 8, little);
            else
                put(out, at, std::bit_cast<std::uint32_t>(static_cast<float>(v)), 4, little);
        }
    }
    return out;
}

}  // namespace pelvaron::testing
