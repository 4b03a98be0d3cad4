// The frame globals of the first-person view and the cell hash.
#include "render/view.h"

int32_t view_flicker = 0;
int32_t view_detail_look = 0;
int32_t view_in_shrine = 0;
int32_t view_horizon = 72;
float view_eye_height = 0.5f;
float depth_buffer[FB_LONG];

uint32_t hash_mix(uint32_t v) {
    v ^= v >> 15;
    v *= 0x2C1B3C6Du;
    v ^= v >> 12;
    return v;
}

uint32_t cell_hash(int32_t x, int32_t y) {
    const uint32_t h = ((uint32_t)x * 0x9E3779B1u) ^ ((uint32_t)y * 0x85EBCA77u);
    return hash_mix(h);
}
