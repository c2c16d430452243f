// A Bruker WIN-NMR FID with its parameter texts, split as fuzz-make-seeds joins them: the data
// file, the DIS text, the aqs text.
#include <cstdint>
#include <cstdlib>

#include "io/winnmr.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 3);
    if (io::readWinNmrFid(doc, said, parts[0].value_or(std::string_view{}), parts[1], parts[2]) &&
        (doc.spectrum.nData <= 0 || doc.spectrum.nData > kCapacity))
        std::abort();
    return 0;
}
