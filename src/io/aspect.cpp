// Bruker Aspect 2000/3000 FIDs, parsed from memory.
#include "io/aspect.h"
#include "io/capacity.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pelvaron::io {

namespace {

constexpr std::size_t kTdAt = 129, kSwAt = 159, kAqModeAt = 166, kSfAt = 231, kComplexAt = 238,
                      kOffsetAt = 471, kDataAt = 768;

enum class AspectKind { None, Standard, Reversed, Refused };

AspectKind kindOf(std::string_view head) {
    if (head.size() < 3) return AspectKind::None;
    const auto b = [&](int i) { return static_cast<std::uint8_t>(head[static_cast<std::size_t>(i)]); };
    if (b(0) == 0x47 && b(1) == 0x84 && b(2) == 0xF5) return AspectKind::Standard;
    if (b(0) == 0xF5 && b(1) == 0x84 && b(2) == 0x47) return AspectKind::Reversed;
    if (b(0) == 0xC2 && b(1) == 0x04 && b(2) == 0x00) return AspectKind::Refused;
    return AspectKind::None;
}

/// The 3-byte word at `p` as an unsigned 24-bit number, in the file's byte order.
std::uint32_t word24(const std::uint8_t* p, bool reversed) {
    return reversed ? (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]
                    : (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

std::int32_t signed24(std::uint32_t w) {
    return w >= 0x800000u ? static_cast<std::int32_t>(w) - 0x1000000 : static_cast<std::int32_t>(w);
}

std::int16_t low16(std::uint32_t w) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(w & 0xFFFFu));
}

double floatAt(const std::uint8_t* p, bool reversed) {
    std::array<std::uint8_t, 6> b{p[0], p[1], p[2], p[3], p[4], p[5]};
    // A reversing transfer swapped the bytes of each 3-byte half.
    if (reversed) b = {p[2], p[1], p[0], p[5], p[4], p[3]};
    return decodeAspectFloat(b);
}

}  // namespace

double decodeAspectFloat(std::span<const std::uint8_t, 6> b) {
    int e = b[3] * 8 + (b[4] >> 5);
    if (e > 1023) e -= 2048;
    // 2^|e| is exact up to 2^1023 and infinite at 2^1024, where the value is 0 or infinite.
    double scale = std::ldexp(1.0, std::abs(e));
    if (e < 0) scale = 1.0 / scale;
    double m =
        b[0] / 128.0 + b[1] / 32768.0 + b[2] / 8388608.0 + (b[4] & 0x3F) / 268435456.0 + b[5] / 68719476736.0;
    if (m > 1.0) m -= 2.0;
    return m * scale;
}

bool looksLikeAspect(std::string_view head) { return kindOf(head) != AspectKind::None; }

bool readAspectFile(Document& doc, Messages& said, std::string_view bytes) {
    const AspectKind kind = kindOf(bytes);
    if (kind == AspectKind::None) return false;
    if (kind == AspectKind::Refused) {
        // Its layout is not known, so nothing of it is taken into the document.
        said.push_back(Message{"We have never found a file like this\nPlease contact the authors", "Error",
                               MessageIcon::None});
        return false;
    }
    if (bytes.size() < kDataAt) return false;
    const bool reversed = kind == AspectKind::Reversed;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());

    const std::uint32_t td = word24(raw + kTdAt, reversed);
    const std::size_t values = std::min<std::size_t>(td, kCapacity);
    // A file that does not hold the values its header counts is damaged: refused whole.
    if (values == 0 || (bytes.size() - kDataAt) / 3 < values) return false;

    // Without a width the data set has no time axis.
    const double sw = floatAt(raw + kSwAt, reversed);
    if (!(sw > 0.0) || !std::isfinite(sw)) return false;

    AcqParams& p = doc.spectrum.acqPars;
    doc.spectrum.nData = static_cast<int>(td);
    p.TD = doc.spectrum.nData;
    capToCapacity(doc.spectrum, said);
    p.SW = sw;
    p.aqMode = low16(word24(raw + kAqModeAt, reversed));
    p.SF = floatAt(raw + kSfAt, reversed);
    p.complexData = low16(word24(raw + kComplexAt, reversed));
    p.offsetHz = floatAt(raw + kOffsetAt, reversed);
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = ReferenceSource::DataHeader;
    doc.spectrum.groupDelay = 0.0;  // an Aspect FID carries no digital filter

    const std::uint8_t* data = raw + kDataAt;
    double* dest = doc.spectrum.specData.data();
    for (std::size_t i = 0; i < values; ++i) dest[i] = signed24(word24(data + 3 * i, reversed));
    doc.spectrum.noteSpecExtent(static_cast<int>(values));
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    return true;
}

}  // namespace pelvaron::io
