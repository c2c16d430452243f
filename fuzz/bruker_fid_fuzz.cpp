// A Bruker FID as the import loads it: acqus, the fid's values in each byte order and width,
// the reference from procs, proc or O1, and the set-up.
#include <cstdint>

#include "support/bruker_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    (void)io::readBrukerFidData(doc, said, fuzz::splitExperiment(fuzz::asText(data, size)));
    return 0;
}
