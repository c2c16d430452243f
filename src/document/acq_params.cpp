// Field-by-field serialisation of the acquisition parameter block.
#include "document/acq_params.h"

#include <algorithm>

#include "base/byte_order.h"

namespace pelvaron {

void encodeAcqParams(const AcqParams& p, std::uint8_t* out) {
    using namespace bytes;
    storeLE16(out + 0, static_cast<std::uint16_t>(p.aqMode));
    storeLE16(out + 2, static_cast<std::uint16_t>(p.complexData));
    std::copy(p.reserved4.begin(), p.reserved4.end(), out + 4);
    storeLEDouble(out + 8, p.SW);
    storeLEDouble(out + 16, p.SF);
    std::copy(p.reserved24.begin(), p.reserved24.end(), out + 24);
    storeLE32(out + 32, static_cast<std::uint32_t>(p.TD));
    std::copy(p.reserved36.begin(), p.reserved36.end(), out + 36);
    storeLEDouble(out + 40, p.AQ);
    storeLEDouble(out + 48, p.offsetHz);
    std::copy(p.reserved56.begin(), p.reserved56.end(), out + 56);
    storeLE32(out + 64, static_cast<std::uint32_t>(p.DECIM));
    storeLE32(out + 68, static_cast<std::uint32_t>(p.DSPFVS));
}

AcqParams decodeAcqParams(const std::uint8_t* in) {
    using namespace bytes;
    AcqParams p;
    p.aqMode = static_cast<std::int16_t>(loadLE16(in + 0));
    p.complexData = static_cast<std::int16_t>(loadLE16(in + 2));
    std::copy(in + 4, in + 8, p.reserved4.begin());
    p.SW = loadLEDouble(in + 8);
    p.SF = loadLEDouble(in + 16);
    std::copy(in + 24, in + 32, p.reserved24.begin());
    p.TD = static_cast<std::int32_t>(loadLE32(in + 32));
    std::copy(in + 36, in + 40, p.reserved36.begin());
    p.AQ = loadLEDouble(in + 40);
    p.offsetHz = loadLEDouble(in + 48);
    std::copy(in + 56, in + 64, p.reserved56.begin());
    p.DECIM = static_cast<std::int32_t>(loadLE32(in + 64));
    p.DSPFVS = static_cast<std::int32_t>(loadLE32(in + 68));
    return p;
}

}  // namespace pelvaron
