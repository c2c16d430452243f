// The Bruker Aspect 2000/3000 reader: 24-bit words, in the computer's own order or with the bytes
// of each word reversed by a transfer program, a header of 6-byte Aspect floats, data from byte 768.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/result.h"
#include "document/document.h"

namespace pelvaron::io {

/// The value of an Aspect float (bytes already in standard order): an 11-bit signed exponent of 2
/// and a two's-complement fraction of 39 bits.
[[nodiscard]] double decodeAspectFloat(std::span<const std::uint8_t, 6> bytes);

/// Whether the file begins with one of the three first words an Aspect file may have: the two
/// byte orders it reads, and the one it recognises only to refuse with its own message.
[[nodiscard]] bool looksLikeAspect(std::string_view head);

/// Reads an Aspect FID: nData, TD, SW, aqMode, SF, complexData, offsetHz, refIndex and the data
/// (the size capped to the capacity with its warning). False, with the document untouched, for a
/// file that is not one or does not hold its header and its TD values; the refused kind of file
/// says "We have never found a file like this\nPlease contact the authors" first.
[[nodiscard]] bool readAspectFile(Document& doc, Messages& said, std::string_view bytes);

}  // namespace pelvaron::io
