// The spin-system file of simulate and transitions: the JSON text into a tree.
#include <cstdint>
#include <string>

#include "cli/json_reader.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    cli::JsonValue root;
    std::string error;
    (void)cli::parseJson(fuzz::asText(data, size), root, error);
    return 0;
}
