// The capacity check every reader makes once it knows the data's size.
#pragma once

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// Limits nData and TD to the buffers, with the truncation warning when it cuts.
inline void capToCapacity(Spectrum& s, Messages& said) {
    if (pelvaron::capToCapacity(s))
        said.push_back(Message{kCapacityWarningText, "Warning", MessageIcon::Exclamation});
}

}  // namespace pelvaron::io
