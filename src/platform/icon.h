// The 64 x 64 window icon, 32-bit RGBA (bytes R, G, B, A), pitch 256.
#pragma once
#include <cstdint>

constexpr int ICON_SIZE = 64;
const uint8_t* icon_pixels();
