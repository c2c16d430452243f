// Aspect FID writer for tests and fuzz seeds.
#include "aspect_writer.h"

#include <cmath>

namespace pelvaron::testing {

namespace {

void putWord(std::string& out, std::size_t at, std::uint32_t w, bool reversed) {
    const std::uint8_t b[3] = {static_cast<std::uint8_t>(w >> 16), static_cast<std::uint8_t>(w >> 8),
                               static_cast<std::uint8_t>(w)};
    for (int i = 0; i < 3; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>(b[reversed ? 2 - i : i]);
}

void putFloat(std::string& out, std::size_t at, double v, bool reversed) {
    const std::array<std::uint8_t, 6> b = encodeAspectFloat(v);
    const int order[6] = {2, 1, 0, 5, 4, 3};
    for (int i = 0; i < 6; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>(b[reversed ? order[i] : i]);
}

}  // namespace

std::array<std::uint8_t, 6> encodeAspectFloat(double v) {
    if (v == 0.0) return {};
    int e = 0;
    const double f = std::frexp(v, &e);  // |f| in [0.5, 1)
    // The fraction as 37 bits from 2^0 down to 2^-36, negative ones as two's complement of 2.
    auto m = static_cast<std::uint64_t>(std::llround(std::ldexp(f < 0 ? f + 2.0 : f, 36)));
    // Bit 5 of byte 4 is the exponent's lowest bit and also counts 2^-23 in the fraction.
    const std::uint64_t shared = static_cast<std::uint64_t>(e & 1) << 13;
    m -= shared;
    const auto ue = static_cast<std::uint32_t>(e) & 0x7FF;
    return {static_cast<std::uint8_t>(m >> 29),
            static_cast<std::uint8_t>(m >> 21),
            static_cast<std::uint8_t>(m >> 13),
            static_cast<std::uint8_t>(ue >> 3),
            static_cast<std::uint8_t>(((ue & 7) << 5) | ((m >> 8) & 0x1F)),
            static_cast<std::uint8_t>(m)};
}

std::string aspectFile(const AspectFidSpec& spec) {
    std::string out(768 + 3 * spec.values.size(), '\0');
    const bool r = spec.reversed;
    putWord(out, 0,
            (std::uint32_t{spec.magic[0]} << 16) | (std::uint32_t{spec.magic[1]} << 8) | spec.magic[2], r);
    putWord(out, 129, spec.td.value_or(static_cast<std::uint32_t>(spec.values.size())), r);
    putFloat(out, 159, spec.sw, r);
    putWord(out, 166, static_cast<std::uint32_t>(spec.aqMode) & 0xFFFF, r);
    putFloat(out, 231, spec.sf, r);
    putWord(out, 238, static_cast<std::uint32_t>(spec.complexData) & 0xFFFF, r);
    putFloat(out, 471, spec.offsetHz, r);
    for (std::size_t i = 0; i < spec.values.size(); ++i)
        putWord(out, 768 + 3 * i, static_cast<std::uint32_t>(spec.values[i]) & 0xFFFFFF, r);
    return out;
}

}  // namespace pelvaron::testing
