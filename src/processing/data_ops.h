// Small whole-data commands: Invert and the linear drift removal of the Process menu.
#pragma once

#include "document/document.h"

namespace pelvaron::processing {

/// Multiplies every value by -1 and turns phase0 by 180 degrees.
void invertData(Document& doc);

/// Subtracts the straight line through the means of the first and last eight real parts from
/// every point, real and imaginary part alike.
void removeLinearDrift(Document& doc);

}  // namespace pelvaron::processing
