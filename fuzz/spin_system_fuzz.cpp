// The spin-system file of simulate and transitions: its JSON text read, and a system that reads
// written back and read again, which must give the same system.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "simulation/spin_system_file.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    simulation::SpinSystemFile system;
    std::string error;
    if (!simulation::parseSpinSystemJson(fuzz::asText(data, size), system, error)) return 0;
    const std::string written = simulation::writeSpinSystemJson(system);
    simulation::SpinSystemFile again;
    if (!simulation::parseSpinSystemJson(written, again, error) || !(again == system)) {
        std::fprintf(stderr, "the written system reads back differently (%s):\n%s\n", error.c_str(),
                     written.c_str());
        std::abort();
    }
    return 0;
}
