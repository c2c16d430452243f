// A Bruker processed spectrum as the import loads it: procs, then 1r and 1i, scaled by NC_proc
// and referenced by OFFSET, SW_p and SF.
#include <cstdint>

#include "support/bruker_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    (void)io::readBrukerProcessedData(doc, said, fuzz::splitExperiment(fuzz::asText(data, size)));
    return 0;
}
