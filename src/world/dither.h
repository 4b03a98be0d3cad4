// The 4 x 4 ordered-dither thresholds (0..15) that every primitive and the effect fields share.
#pragma once
#include <cstdint>

inline constexpr uint8_t BAYER4[4][4] = {
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
};
