// The Bruker parameter reader: one text read as a proc/procs file, and what the recorded
// processing makes of it.
#include <cstdint>
#include <string>

#include "io/bruker_params.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    const std::string_view text = fuzz::asText(data, size);
    const io::ProcessingParams params = io::parseProcessingParams(std::string(text));
    const RecordedProcessing recorded = io::recordedProcessing(params);
    if (params.SW_p) (void)io::coversWholeWidth(*params.SW_p, recorded.SW_p);
    return 0;
}
