// One fuzz input as the files of a Bruker experiment, split as fuzz-make-seeds joins them:
// acqus, procs, proc, fid, 1r, 1i.
#pragma once

#include <string_view>

#include "io/bruker.h"
#include "support/fuzz_support.h"

namespace pelvaron::fuzz {

[[nodiscard]] inline io::BrukerExperiment splitExperiment(std::string_view input) {
    const auto parts = splitParts(input, 6);
    io::BrukerExperiment files;
    files.acqus = parts[0];
    files.procs = parts[1];
    files.proc = parts[2];
    files.fid = parts[3].value_or(std::string_view{});
    files.real = parts[4].value_or(std::string_view{});
    files.imag = parts[5].value_or(std::string_view{});
    return files;
}

}  // namespace pelvaron::fuzz
