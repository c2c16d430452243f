// The Bruker parameter readers: one text read as an acqus file and as a proc/procs file, and
// what the recorded processing makes of the latter.
#include <cstdint>
#include <optional>

#include "io/bruker.h"
#include "io/bruker_params.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view text = fuzz::asText(data, size);
    io::BrukerDataFormat format;
    std::optional<double> o1;
    (void)io::parseAcqus(doc, said, text, format, &o1);
    doc.spectrum.nData =
        0;  // acqus names a size but no values were read: nothing for the next reset to clear
    const io::ProcessingParams params = io::parseProcessingParams(text);
    const RecordedProcessing recorded = io::recordedProcessing(params);
    if (params.SW_p) (void)io::coversWholeWidth(*params.SW_p, recorded.SW_p);
    return 0;
}
