// Nuts binary files.
#include "io/nuts.h"

#include <bit>
#include <cmath>

#include "base/byte_order.h"
#include "io/capacity.h"

namespace pelvaron::io {

namespace {

constexpr std::size_t kTdAt = 384, kModeAt = 388, kWidthAt = 448, kFrequencyAt = 452, kDataAt = 1036;

float loadLEFloat(const std::uint8_t* p) { return std::bit_cast<float>(bytes::loadLE32(p)); }

}  // namespace

bool looksLikeNuts(std::string_view head) {
    // The int32 0x04030201 written little-endian; a file written in the other order is not read.
    return head.size() >= 4 && head.substr(0, 4) == std::string_view("\x01\x02\x03\x04", 4);
}

bool readNutsFile(Document& doc, Messages& said, std::string_view bytes) {
    if (!looksLikeNuts(bytes) || bytes.size() < kFrequencyAt + 4) return false;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto td = static_cast<std::int32_t>(bytes::loadLE32(raw + kTdAt));
    const std::uint32_t mode = bytes::loadLE32(raw + kModeAt);
    const double sw = loadLEFloat(raw + kWidthAt), sf = loadLEFloat(raw + kFrequencyAt);
    if (td <= 0 || !(sw > 0.0 && std::isfinite(sw)) || !std::isfinite(sf)) return false;

    AcqParams& p = doc.spectrum.acqPars;
    p.SW = sw;
    p.SF = sf;
    doc.spectrum.nData = td;
    p.TD = td;
    capToCapacity(doc.spectrum, said);
    const auto count = static_cast<std::size_t>(p.TD);
    if (bytes.size() < kDataAt || (bytes.size() - kDataAt) / 4 < count) return false;
    for (std::size_t i = 0; i < count; ++i)
        doc.spectrum.specData[static_cast<std::ptrdiff_t>(i)] = loadLEFloat(raw + kDataAt + 4 * i);
    doc.spectrum.noteSpecExtent(p.TD);

    // One int32 over two fields: aqMode in its low half, complexData in its high half.
    p.aqMode = static_cast<std::int16_t>(mode & 0xFFFFu);
    p.complexData = static_cast<std::int16_t>(mode >> 16);
    doc.spectrum.negateImag = p.aqMode == 1 ? 1 : 0;
    doc.spectrum.fileNegateImag = doc.spectrum.negateImag;
    // The file carries no reference: 0 Hz at the last point, not the previous data set's offset.
    p.offsetHz = 0.0;
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = ReferenceSource::None;
    doc.spectrum.groupDelay = 0.0;
    return true;
}

}  // namespace pelvaron::io
