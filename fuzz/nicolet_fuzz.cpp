// A GE/Nicolet FID: the header variant, its floats, the size they give and the packed data.
#include <cstdint>

#include "io/nicolet.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    return fuzz::fuzzWholeFile(data, size, io::looksLikeNicolet, io::readNicoletFid);
}
