// A Nuts file as the import reads it, after the content test that detection makes.
#include <cstdint>

#include "io/nuts.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view bytes = fuzz::asText(data, size);
    (void)io::looksLikeNuts(bytes.substr(0, 16));
    (void)io::readNutsFile(doc, said, bytes);
    return 0;
}
