// The window icon, drawn as a 16 x 16 grid and shown at 4 x 4 pixels per cell: a gold quill
// on a slate tile. Letters: '.' transparent, 'o' outline, 's' slate, 'g' gold, 'w' light.
#include "platform/icon.h"

static const char* const ICON_GRID[16] = {
    "..oooooooooooo..",
    ".osssssssssssso.",
    "osssssssssswwsso",
    "ossssssssswggsso",
    "osssssssswggssso",
    "ossssssswggsssso",
    "osssssswggssssso",
    "ossssswggsssssso",
    "osssswggssssssso",
    "ossswggsssssssso",
    "osssggssssssssso",
    "ossgsssssssssso.",
    "osgsswwwwwwssso.",
    "ogsssssssssssso.",
    ".osssssssssssso.",
    "..ooooooooooooo.",
};

static uint8_t icon_buf[ICON_SIZE * ICON_SIZE * 4];

static uint32_t icon_color(char c) {
    switch (c) {
    case 'o': return 0x0B1018FF;
    case 's': return 0x394A66FF;
    case 'g': return 0xFFC857FF;
    case 'w': return 0xE6F0FFFF;
    default: return 0;
    }
}

const uint8_t* icon_pixels() {
    for (int y = 0; y < ICON_SIZE; y++)
        for (int x = 0; x < ICON_SIZE; x++) {
            uint32_t c = icon_color(ICON_GRID[y / 4][x / 4]);
            uint8_t* p = icon_buf + (y * ICON_SIZE + x) * 4;
            p[0] = (uint8_t)(c >> 24);
            p[1] = (uint8_t)(c >> 16);
            p[2] = (uint8_t)(c >> 8);
            p[3] = (uint8_t)c;
        }
    return icon_buf;
}
