// A Varian VXR/Unity FID as the import reads it: the input split into the fid and its procpar.
#include <cstdint>

#include "io/varian.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 2);
    (void)io::readVarianFid(doc, said, parts[0].value_or(""), parts[1].value_or(""));
    return 0;
}
