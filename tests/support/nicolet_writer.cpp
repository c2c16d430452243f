// Nicolet FID writer for tests and fuzz seeds.
#include "nicolet_writer.h"

#include <cmath>
#include <cstdint>

namespace pelvaron::testing {

std::pair<int, int> encodeNicoletFloat(double v) {
    if (v == 0.0) return {0, 0};
    int e = 0;
    const long long m = std::llround(std::ldexp(std::frexp(v, &e), 29));
    // m = w0 x 1024 + (w1 mod 256), the remainder taking w1's sign: added for e >= 0, taken
    // away for a negative exponent. Bits 8 and 9 of m are not held: round to the nearer value.
    const int sign = e < 0 ? -1 : 1;
    auto w0 = static_cast<long long>(e < 0 ? std::ceil(m / 1024.0) : std::floor(m / 1024.0));
    long long low = sign * (m - w0 * 1024);
    if (low > 255) {
        if (low < 640) {
            low = 255;
        } else {
            w0 += sign;
            low = 0;
        }
    }
    return {static_cast<int>(w0), static_cast<int>(e * 1024 + sign * low)};
}

std::string packNicoletWords(const std::vector<int>& words) {
    std::string out;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        const auto a = static_cast<std::uint32_t>(words[i]) & 0xFFFFF;
        const auto b = i + 1 < words.size() ? static_cast<std::uint32_t>(words[i + 1]) & 0xFFFFF : 0u;
        for (std::uint32_t byte :
             {a >> 12, (a >> 4) & 0xFF, ((a & 0xF) << 4) | (b >> 16), (b >> 8) & 0xFF, b & 0xFF})
            out.push_back(static_cast<char>(byte));
    }
    return out;
}

std::string nicoletFile(const NicoletFidSpec& spec) {
    std::vector<int> header(512, 0);
    header[0] = spec.headerWord;
    int swWord = 324, aqWord = 326, sfWord = 330;
    if (spec.headerWord == 0x3212) swWord = 323, aqWord = 325, sfWord = 329;
    if (spec.headerWord == 0xE243) swWord = 390, aqWord = 146, sfWord = 394;
    const double td = 2.0 * static_cast<double>(spec.real.size());
    // Half a value more than TD needs, so that the product truncates to TD whatever its rounding.
    const double aq = spec.aqMicroseconds.value_or((td + 0.5) / (2.0 * spec.sw) * 1e6);
    for (auto [word, value] : {std::pair{swWord, spec.sw}, {aqWord, aq}, {sfWord, spec.sf}}) {
        const auto [w0, w1] = encodeNicoletFloat(value);
        header[static_cast<std::size_t>(word)] = w0;
        header[static_cast<std::size_t>(word) + 1] = w1;
    }
    std::vector<int> data(spec.real);
    data.insert(data.end(), spec.imag.begin(), spec.imag.end());
    return packNicoletWords(header) + packNicoletWords(data);
}

}  // namespace pelvaron::testing
