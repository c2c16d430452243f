// Explicit little- and big-endian decoding and encoding of fixed-width file fields, independent of
// the machine's own byte order.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace pelvaron::bytes {

inline std::uint16_t loadLE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t loadLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t loadBE32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline std::uint64_t loadLE64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(loadLE32(p)) | (static_cast<std::uint64_t>(loadLE32(p + 4)) << 32);
}
inline std::uint64_t loadBE64(const std::uint8_t* p) {
    return (static_cast<std::uint64_t>(loadBE32(p)) << 32) | static_cast<std::uint64_t>(loadBE32(p + 4));
}
inline double loadLEDouble(const std::uint8_t* p) { return std::bit_cast<double>(loadLE64(p)); }
inline double loadBEDouble(const std::uint8_t* p) { return std::bit_cast<double>(loadBE64(p)); }

inline void storeLE16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void storeLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void storeBE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
}
inline void storeLE64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void storeBE64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (7 - i)));
}
inline void storeLEDouble(std::uint8_t* p, double v) { storeLE64(p, std::bit_cast<std::uint64_t>(v)); }
inline void storeBEDouble(std::uint8_t* p, double v) { storeBE64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace pelvaron::bytes
