// A JEOL Delta file as the import reads it, after the signature test that detection makes.
#include <cstdint>

#include "io/jeol.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    Messages said;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view bytes = fuzz::asText(data, size);
    (void)io::looksLikeJeol(bytes.substr(0, 16));
    (void)io::readJeolFile(doc, said, bytes);
    return 0;
}
