// A GE/Nicolet FID: the header variant, its floats, the size they give and the packed data.
#include <cstdint>
#include <cstdlib>

#include "io/nicolet.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view bytes = fuzz::asText(data, size);
    (void)io::looksLikeNicolet(bytes);
    if (io::readNicoletFid(doc, said, bytes) && (doc.spectrum.nData <= 0 || doc.spectrum.nData > kCapacity))
        std::abort();
    return 0;
}
