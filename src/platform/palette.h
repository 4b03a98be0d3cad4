// Screen palettes, screen effects, the plain pad's colours and the 3 x 3 block tables that turn one
// framebuffer pixel into nine window-picture sub-pixels. Read by both compositors.
#pragma once
#include <cstdint>

enum ScreenPaletteId : int32_t {
    PAL_SLATE = 0, PAL_GB_GREEN = 1, PAL_AMBER = 2, PAL_RAINBOW = 7, PALETTE_COUNT = 8
};
enum ScreenEffectId : int32_t { EFFECT_LCD = 0, EFFECT_CRT = 1, EFFECT_FLAT = 2, EFFECT_COUNT = 3 };
constexpr int SCREEN_COLORS = 7;  // four shades and three extra colours
constexpr int RAINBOW_ROWS = 144;
constexpr int GHOST_LEVELS = 4;

extern const uint32_t SCREEN_PALETTES[PALETTE_COUNT][SCREEN_COLORS];
extern const char* const PALETTE_NAMES[PALETTE_COUNT];
extern const uint8_t EFFECT_LEVELS[EFFECT_COUNT][9];
extern const char* const EFFECT_NAMES[EFFECT_COUNT];
// Colours of framebuffer pixels outside the screen area when no case art is shown; entry 0 is the
// case body colour, kept current by the case colour setting.
extern uint32_t PAD_COLORS[SCREEN_COLORS];
extern const int32_t GHOST_STRENGTH[GHOST_LEVELS];

// The settings' ranges, guarded: out-of-range values (negative included) fall back as the
// settings clamp would, never indexing a table.
int palette_current();
int effect_current();
int ghosting_current();
// Framebuffer value as a colour index: anything above 6 shows as shade 3.
inline int screen_color_index(uint8_t v) { return v > 6 ? 3 : v; }

// One sub-pixel: each channel x level / 100 (integer), capped at 255; alpha kept.
uint32_t effect_subpixel(uint32_t argb, int level);

// Per sub-pixel k, channel value -> channel x level / 100 capped, for the current effect
// (palette_blocks_update first): ghosting computes blocks per pixel through it.
const uint8_t (*effect_channel_tables())[256];

// Builds the rainbow palette's 144 rows of shades (done once).
void screen_rgba_table_build();
// Brings the block tables up to date with screen_palette and screen_effect.
void palette_blocks_update();
// Palette colour of colour index `index` (0..6) at framebuffer pixel (x, y).
uint32_t palette_color(int index, int x, int y);
// The nine sub-pixel colours of colour index `index` (0..6) at framebuffer pixel (x, y), from the
// current block table (palette_blocks_update first).
const uint32_t* palette_block(int index, int x, int y);
// The rainbow palette's nine sub-pixel colours of a shade 0..3 at (x, y), current effect.
const uint32_t* screen_effect_rows(int index, int x, int y);
