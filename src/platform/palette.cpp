// Palette and effect tables and the block tables built from them; the frame composition reads
// these every frame, the options screens and F4 change screen_palette and screen_effect.
#include "platform/palette.h"

#include <cmath>

#include "platform/compose.h"

int32_t screen_palette = PAL_SLATE;
int32_t screen_effect = EFFECT_LCD;
int32_t ghosting_applied = 1;

const uint32_t SCREEN_PALETTES[PALETTE_COUNT][SCREEN_COLORS] = {
    {0xFF0B1018, 0xFF394A66, 0xFFE6F0FF, 0xFFFFC857, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF0F380F, 0xFF306230, 0xFF8BAC0F, 0xFFE0F8D0, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF140A00, 0xFF5A3200, 0xFFD98A1C, 0xFFFFE0A0, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF050A1A, 0xFF1F3A6E, 0xFF8FC4FF, 0xFFF0FCFF, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF000000, 0xFF5A5A5A, 0xFFFFFFFF, 0xFFFFE000, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF1A1300, 0xFF6E5A14, 0xFFF0CF3C, 0xFFFFFBE8, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF160404, 0xFF6A1616, 0xFFE8463A, 0xFFFFE2DA, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
    {0xFF0A0812, 0xFF4A2A6A, 0xFFFF7AD0, 0xFFFFFFFF, 0xFF7BD4F0, 0xFF37946E, 0xFFFFFFFF},
};

const char* const PALETTE_NAMES[PALETTE_COUNT] = {"SLATE", "GB GREEN", "AMBER", "", "", "", "", ""};

// Nine brightness percentages per effect, top row first: LCD darkens the right column and the
// bottom row (a pixel grid), CRT the bottom row (scan lines).
const uint8_t EFFECT_LEVELS[EFFECT_COUNT][9] = {
    {110, 110, 74, 110, 110, 74, 70, 70, 56},
    {104, 104, 104, 104, 104, 104, 58, 58, 58},
    {100, 100, 100, 100, 100, 100, 100, 100, 100},
};

const char* const EFFECT_NAMES[EFFECT_COUNT] = {"LCD", "CRT", "FLAT"};

uint32_t PAD_COLORS[SCREEN_COLORS] = {0xFF2860C8, 0xFFC8D0DC, 0xFFFAFCFF, 0xFF1A2030,
                                      0xFFFFC857, 0xFF37946E, 0xFFFAFCFF};

const int32_t GHOST_STRENGTH[GHOST_LEVELS] = {0, 72, 112, 160};

int palette_current() { return screen_palette >= 0 && screen_palette < PALETTE_COUNT ? screen_palette : 0; }
int effect_current() { return screen_effect >= 0 && screen_effect < EFFECT_COUNT ? screen_effect : 0; }
int ghosting_current() { return ghosting_applied >= 0 && ghosting_applied < GHOST_LEVELS ? ghosting_applied : 1; }

uint32_t effect_subpixel(uint32_t c, int level) {
    uint32_t r = (c >> 16 & 0xFF) * level / 100, g = (c >> 8 & 0xFF) * level / 100, b = (c & 0xFF) * level / 100;
    if (r > 255) r = 255;
    if (g > 255) g = 255;
    if (b > 255) b = 255;
    return (c & 0xFF000000u) | r << 16 | g << 8 | b;
}

static uint32_t rainbow_shades[RAINBOW_ROWS][4];
static bool rainbow_built = false;

// Six-sector HSV to an opaque ARGB word, each channel x 255 + 0.5 truncated.
static uint32_t hsv_to_argb(float hue, float s, float v) {
    float h = fmodf(hue, 360.0f) / 60.0f;
    int sector = (int)floorf(h);
    float f = h - (float)sector;
    float p = v * (1.0f - s), q = v * (1.0f - s * f), t = v * (1.0f - s * (1.0f - f));
    float r, g, b;
    switch (sector % 6) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
    }
    auto ch = [](float c) { return (uint32_t)(c * 255.0f + 0.5f); };
    return 0xFF000000u | ch(r) << 16 | ch(g) << 8 | ch(b);
}

void screen_rgba_table_build() {
    if (rainbow_built) return;
    for (int row = 0; row < RAINBOW_ROWS; row++) {
        float hue = (float)row * 360.0f / (float)RAINBOW_ROWS;
        rainbow_shades[row][0] = 0xFF0A0812;
        rainbow_shades[row][1] = hsv_to_argb(hue, 0.8f, 0.42f);
        rainbow_shades[row][2] = hsv_to_argb(hue, 0.78f, 1.0f);
        rainbow_shades[row][3] = 0xFFFFFFFF;
    }
    rainbow_built = true;
}

// Rebuilt only when the palette or the effect changes; the rainbow rows only for palette 7.
static uint32_t blocks[SCREEN_COLORS][9];
static uint32_t rainbow_blocks[RAINBOW_ROWS][4][9];
static int blocks_palette = -1, blocks_effect = -1, rainbow_effect = -1;
static uint8_t channel_tables[9][256];

const uint8_t (*effect_channel_tables())[256] { return channel_tables; }

void palette_blocks_update() {
    int pal = palette_current(), fx = effect_current();
    if (pal == blocks_palette && fx == blocks_effect) return;
    for (int i = 0; i < SCREEN_COLORS; i++)
        for (int k = 0; k < 9; k++) blocks[i][k] = effect_subpixel(SCREEN_PALETTES[pal][i], EFFECT_LEVELS[fx][k]);
    if (fx != blocks_effect)
        for (int k = 0; k < 9; k++)
            for (int c = 0; c < 256; c++)
                channel_tables[k][c] = (uint8_t)(effect_subpixel((uint32_t)c, EFFECT_LEVELS[fx][k]) & 0xFF);
    if (pal == PAL_RAINBOW && rainbow_effect != fx) {
        screen_rgba_table_build();
        for (int row = 0; row < RAINBOW_ROWS; row++)
            for (int s = 0; s < 4; s++)
                for (int k = 0; k < 9; k++)
                    rainbow_blocks[row][s][k] = effect_subpixel(rainbow_shades[row][s], EFFECT_LEVELS[fx][k]);
        rainbow_effect = fx;
    }
    blocks_palette = pal;
    blocks_effect = fx;
}

uint32_t palette_color(int index, int x, int y) {
    int pal = palette_current();
    if (pal == PAL_RAINBOW && index < 4) {
        screen_rgba_table_build();
        return rainbow_shades[(x + y) % RAINBOW_ROWS][index];
    }
    return SCREEN_PALETTES[pal][index];
}

const uint32_t* screen_effect_rows(int index, int x, int y) { return rainbow_blocks[(x + y) % RAINBOW_ROWS][index]; }

const uint32_t* palette_block(int index, int x, int y) {
    if (blocks_palette == PAL_RAINBOW && index < 4) return screen_effect_rows(index, x, y);
    return blocks[index];
}
