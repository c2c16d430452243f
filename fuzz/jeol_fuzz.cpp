// A JEOL Delta file as the import reads it, after the signature test that detection makes.
#include <cstdint>

#include "io/jeol.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    return fuzz::fuzzWholeFile(data, size, io::looksLikeJeol, io::readJeolFile, 16);
}
