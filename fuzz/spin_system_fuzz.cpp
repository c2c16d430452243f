// The spin-system file of simulate and transitions: its JSON text read, and a system that reads
// written back and read again, which must give the same system.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/spin_system_json.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    cli::SpinSystemFile system;
    std::string error;
    if (!cli::parseSpinSystemJson(fuzz::asText(data, size), system, error)) return 0;
    const std::string written = cli::writeSpinSystemJson(system);
    cli::SpinSystemFile again;
    if (!cli::parseSpinSystemJson(written, again, error) || !(again == system)) {
        std::fprintf(stderr, "the written system reads back differently (%s):\n%s\n", error.c_str(), written.c_str());
        std::abort();
    }
    return 0;
}
