// Nuts file writer for tests, fuzz seeds and benchmarks.
#include "nuts_writer.h"

#include <bit>

namespace pelvaron::testing {

namespace {

void putLE(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

std::uint32_t floatBits(double v) { return std::bit_cast<std::uint32_t>(static_cast<float>(v)); }

}  // namespace

std::string nutsFile(const NutsFileSpec& spec) {
    std::string out(1036 + 4 * spec.values.size(), '\0');
    putLE(out, 0, spec.reversedMark ? 0x01020304u : 0x04030201u);
    putLE(out, 384,
          static_cast<std::uint32_t>(spec.td.value_or(static_cast<std::int32_t>(spec.values.size()))));
    putLE(out, 388,
          static_cast<std::uint16_t>(spec.aqMode) |
              static_cast<std::uint32_t>(static_cast<std::uint16_t>(spec.complexData)) << 16);
    putLE(out, 448, floatBits(spec.sw));
    putLE(out, 452, floatBits(spec.sf));
    for (std::size_t i = 0; i < spec.values.size(); ++i) putLE(out, 1036 + 4 * i, floatBits(spec.values[i]));
    return out;
}

}  // namespace pelvaron::testing
