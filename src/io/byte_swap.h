// Byte Swap: reverses the byte order of every value taken as a 32-bit integer, for data read with
// the wrong byte order.
#pragma once

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// Each of the first nData elements is truncated toward zero to a 32-bit integer (values beyond
/// its range held at its ends), its four bytes reversed, and the result stored as a double.
/// Fractions are lost; applied twice it restores integer data.
void byteSwapData(Document& doc);

/// The command: swap, then peakValue from findPeak, fidCopy from the data.
void byteSwapCommand(Document& doc);

}  // namespace pelvaron::io
