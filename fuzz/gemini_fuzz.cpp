// A Gemini/VXR FID from VHELPER as the import reads it: the input split into the data file and
// its ACQPAR.
#include <cstdint>

#include "io/varian.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 2);
    (void)io::readGeminiFid(doc, said, parts[0].value_or(""), parts[1].value_or(""));
    return 0;
}
