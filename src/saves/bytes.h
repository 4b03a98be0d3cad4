// Little-endian fixed-layout field access for the game's files. Offsets are explicit;
// the caller checks the length before reading.
#pragma once
#include <cstdint>
#include <cstring>

inline void bytes_put_u32(uint8_t* p, int off, uint32_t v) {
    p[off] = (uint8_t)v;
    p[off + 1] = (uint8_t)(v >> 8);
    p[off + 2] = (uint8_t)(v >> 16);
    p[off + 3] = (uint8_t)(v >> 24);
}
inline void bytes_put_i32(uint8_t* p, int off, int32_t v) { bytes_put_u32(p, off, (uint32_t)v); }
inline void bytes_put_i16(uint8_t* p, int off, int16_t v) {
    p[off] = (uint8_t)(uint16_t)v;
    p[off + 1] = (uint8_t)((uint16_t)v >> 8);
}
inline void bytes_put_magic(uint8_t* p, int off, const char magic[4]) { std::memcpy(p + off, magic, 4); }

inline uint32_t bytes_get_u32(const uint8_t* p, int off) {
    return (uint32_t)p[off] | (uint32_t)p[off + 1] << 8 | (uint32_t)p[off + 2] << 16 |
           (uint32_t)p[off + 3] << 24;
}
inline int32_t bytes_get_i32(const uint8_t* p, int off) { return (int32_t)bytes_get_u32(p, off); }
inline int16_t bytes_get_i16(const uint8_t* p, int off) {
    return (int16_t)(uint16_t)(p[off] | p[off + 1] << 8);
}
inline bool bytes_is_magic(const uint8_t* p, int off, const char magic[4]) {
    return std::memcmp(p + off, magic, 4) == 0;
}
