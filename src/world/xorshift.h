// The xorshift32 step (shifts 13, 17, 5) that the floor builder, the effect fields and the
// particles each run on a state of their own.
#pragma once
#include <cstdint>

inline uint32_t xorshift32(uint32_t& state) {
    uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return x;
}
