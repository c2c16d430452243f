// A Nuts file as the import reads it, after the content test that detection makes.
#include <cstdint>

#include "io/nuts.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    return fuzz::fuzzWholeFile(data, size, io::looksLikeNuts, io::readNutsFile, 16);
}
