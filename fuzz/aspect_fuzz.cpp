// A Bruker Aspect 2000/3000 FID in either byte order: header words and floats, the data.
#include <cstdint>
#include <cstdlib>

#include "io/aspect.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view bytes = fuzz::asText(data, size);
    (void)io::looksLikeAspect(bytes);
    if (io::readAspectFile(doc, said, bytes) && (doc.spectrum.nData <= 0 || doc.spectrum.nData > kCapacity))
        std::abort();
    return 0;
}
