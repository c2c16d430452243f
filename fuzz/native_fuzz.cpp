// The program's own file: magic, the 72-byte parameter block and the data.
#include <cstdint>

#include "io/native_file.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    (void)io::readNativeData(doc, said, fuzz::asText(data, size));
    return 0;
}
