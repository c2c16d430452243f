// A Bruker Aspect 2000/3000 FID in either byte order: header words and floats, the data.
#include <cstdint>

#include "io/aspect.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    return fuzz::fuzzWholeFile(data, size, io::looksLikeAspect, io::readAspectFile);
}
