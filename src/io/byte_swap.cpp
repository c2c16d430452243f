// The Byte Swap command.
#include "io/byte_swap.h"

#include <algorithm>
#include <cstdint>

#include "base/numeric.h"

namespace pelvaron::io {

void byteSwapData(Document& doc) {
    // Every element in use is swapped: TD may differ from nData, and elements past TD would
    // otherwise keep values of the other byte order.
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    for (int i = 0; i < count; ++i) {
        const auto u = static_cast<std::uint32_t>(truncToInt(doc.spectrum.specData[i]));
        const std::uint32_t swapped =
            (u >> 24) | ((u >> 8) & 0x0000FF00u) | ((u << 8) & 0x00FF0000u) | (u << 24);
        doc.spectrum.specData[i] = static_cast<double>(static_cast<std::int32_t>(swapped));
    }
}

void byteSwapCommand(Document& doc) {
    byteSwapData(doc);
    doc.spectrum.peakValue = findPeak(doc.spectrum);
    doc.fidCopy.copyFrom(doc.spectrum.specData, doc.spectrum.nData);
    doc.fidCopyCount = doc.spectrum.nData;
    doc.notify(kDataChanged);
}

}  // namespace pelvaron::io
