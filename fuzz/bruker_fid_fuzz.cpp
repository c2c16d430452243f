// A Bruker FID as the import loads it: acqus, the fid's values in each byte order and width,
// the reference from procs, proc or O1, and the set-up.
#include <cstdint>

#include "support/bruker_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    static fuzz::NullUserInterface ui;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    (void)io::readBrukerFidData(doc, ui, fuzz::splitExperiment(fuzz::asText(data, size)));
    return 0;
}
