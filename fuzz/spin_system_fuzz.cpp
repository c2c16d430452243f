// The spin-system file of simulate and transitions: its JSON text read; a system that reads must
// be one the engine takes, subsystem by subsystem, and written back and read again must give the
// same system.
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
    for (const auto& sub : system.subsystems) {
        SpinSubsystem made;
        if (SpinSubsystem::make(static_cast<int>(sub.shifts.size()), sub.shifts, sub.couplings, made) !=
            SpinSubsystem::Fault::None) {
            std::fprintf(stderr, "a subsystem that reads is no spin system\n");
            std::abort();
        }
    }
    const std::string written = simulation::writeSpinSystemJson(system);
    simulation::SpinSystemFile again;
    if (!simulation::parseSpinSystemJson(written, again, error) || !(again == system)) {
        std::fprintf(stderr, "the written system reads back differently (%s):\n%s\n", error.c_str(),
                     written.c_str());
        std::abort();
    }
    return 0;
}
