// A Bruker processed spectrum as the import loads it: procs, then 1r and 1i, scaled by NC_proc
// and referenced by OFFSET, SW_p and SF.
#include <cstdint>

#include "support/bruker_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    static fuzz::NullUserInterface ui;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    (void)io::readBrukerProcessedData(doc, ui, fuzz::splitExperiment(fuzz::asText(data, size)));
    return 0;
}
