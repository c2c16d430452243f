// The capacity check every reader makes once it knows the data's size.
#pragma once

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Limits nData and TD to the buffers, with the truncation warning when it cuts.
inline void capToCapacity(Spectrum& s, platform::UserInterface& ui) {
    if (pelvaron::capToCapacity(s)) ui.message(kCapacityWarningText, "Warning", platform::Icon::Exclamation);
}

}  // namespace pelvaron::io
