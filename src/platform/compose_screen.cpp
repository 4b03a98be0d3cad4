// The screen area of the window picture, shared by both compositors so that they cannot differ.
#include <algorithm>
#include <cstring>

#include "platform/case_art.h"
#include "platform/compose_paths.h"
#include "platform/ghost.h"
#include "platform/palette.h"
#include "render/screen.h"

static uint32_t frame_serial = 0;

void compose_frame_begin() { frame_serial++; }

ComposeGeometry compose_geometry() {
    CaseMargins m = case_margins();
    const ScreenRect& v = screen_layout.view;
    return {case_picture_width(), case_picture_height(), 3 * (m.left + v.x0), 3 * (m.top + v.y0),
            3 * (v.x1 - v.x0 + 1), 3 * (v.y1 - v.y0 + 1)};
}

static inline void put_block(uint32_t* p, int stride, const uint32_t* b) {
    p[0] = b[0], p[1] = b[1], p[2] = b[2];
    p += stride;
    p[0] = b[3], p[1] = b[4], p[2] = b[5];
    p += stride;
    p[0] = b[6], p[1] = b[7], p[2] = b[8];
}

// What the frame loop's window picture shows in its screen area: each framebuffer pixel's colour
// as last written there, valid while `shown_valid` (same place, same effect).
static uint32_t shown[FB_BYTES];
static bool shown_valid = false;
static const uint32_t* shown_dst = nullptr;
static int shown_stride = 0, shown_effect = -1;
// Per framebuffer pixel, the framebuffer value whose palette colour (of `named_colours`) `shown`
// holds, or NOT_NAMED: with the ghost history settled on the same value, the pixel needs no work,
// and eight such pixels in a row are passed over with a few compares.
constexpr uint8_t NOT_NAMED = 0x80;
constexpr uint64_t ANY_NOT_NAMED = 0x8080808080808080ull;
static uint8_t shown_named[FB_BYTES];
static uint32_t named_colours[SCREEN_COLORS];
static bool named_valid = false;
// Ghosted blocks built during one composition, by colour (0: empty slot).
constexpr int BLOCK_CACHE_BITS = 8;
static uint32_t block_cache_key[1 << BLOCK_CACHE_BITS];
static uint32_t block_cache[1 << BLOCK_CACHE_BITS][9];

// Every block shown is a function of the pixel's colour (palette, rainbow or ghosted) and the
// screen effect; with `keep` set, a pixel whose colour is the one `shown` holds is not written.
static void write_screen_area(uint32_t* dst, int stride, bool keep) {
    palette_blocks_update();
    ghost_update(frame_serial);
    const ScreenRect& v = screen_layout.view;
    int w = screen_layout.width;
    bool ghosting = ghosting_current() > 0;
    const uint8_t (*scale)[256] = effect_channel_tables();
    // Most ghosted pixels have settled on their palette colour, whose block is in the palette's
    // table; the others mostly come in runs of one colour, whose block is built once for the run.
    const bool per_pixel = palette_current() == PAL_RAINBOW;
    uint32_t colours[SCREEN_COLORS];
    const uint32_t* blocks[SCREEN_COLORS];
    for (int i = 0; i < SCREEN_COLORS; i++) {
        colours[i] = per_pixel ? 0 : palette_color(i, 0, 0);
        blocks[i] = palette_block(i, 0, 0);
    }
    // The named values stand while `shown` and the colours they name do.
    const bool named = keep && !per_pixel;
    if (named && (!named_valid || std::memcmp(colours, named_colours, sizeof colours) != 0)) {
        std::memset(shown_named, NOT_NAMED, sizeof shown_named);
        std::memcpy(named_colours, colours, sizeof colours);
        named_valid = true;
    }
    uint32_t last = 0;
    uint32_t* b = nullptr;
    bool have_last = false;
    std::memset(block_cache_key, 0, sizeof block_cache_key);  // no block colour is 0: all are opaque
    for (int y = v.y0; y <= v.y1; y++) {
        uint32_t* row = dst + (y - v.y0) * 3 * stride;
        const uint8_t* src = &framebuffer[y * w];
        const uint8_t* history = ghosting ? ghost_row(y) : nullptr;
        const uint8_t* settled = ghosting ? ghost_settled_row(y) : src;
        const bool skip = named && settled;
        uint32_t* was = &shown[y * w];
        uint8_t* names = &shown_named[y * w];
        for (int x = v.x0; x <= v.x1;) {
            if (skip && x + 8 <= v.x1 + 1) {
                uint64_t now, shown_as, history_as;
                std::memcpy(&now, src + x, 8);
                std::memcpy(&shown_as, names + x, 8);
                std::memcpy(&history_as, settled + x, 8);
                if (now == shown_as && now == history_as && !(now & ANY_NOT_NAMED)) {
                    x += 8;
                    continue;
                }
            }
            const int end = skip ? std::min(x + 8, v.x1 + 1) : v.x1 + 1;
            for (; x < end; x++) {
                if (skip && src[x] == names[x] && src[x] == settled[x] && src[x] < NOT_NAMED) continue;
                uint32_t* p = row + (x - v.x0) * 3;
                const int index = screen_color_index(src[x]);
                uint32_t c;
                if (ghosting) {
                    const uint8_t* h = history + 3 * x;
                    c = 0xFF000000u | (uint32_t)h[0] << 16 | (uint32_t)h[1] << 8 | h[2];
                } else {
                    c = per_pixel ? palette_color(index, x, y) : colours[index];
                }
                if (keep) {
                    if (named) names[x] = c == colours[index] && src[x] < NOT_NAMED ? src[x] : NOT_NAMED;
                    if (was[x] == c) continue;
                    was[x] = c;
                }
                if (!ghosting || (!per_pixel && c == colours[index])) {
                    put_block(p, stride, per_pixel ? palette_block(index, x, y) : blocks[index]);
                    continue;
                }
                if (!have_last || c != last) {
                    // Pixels easing between the same two colours pass through the same colours:
                    // a block once built this frame is kept by its colour.
                    const uint32_t slot = (c * 0x9E3779B1u) >> (32 - BLOCK_CACHE_BITS);
                    b = block_cache[slot];
                    if (block_cache_key[slot] != c) {
                        const uint8_t r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, bl = c & 0xFF;
                        for (int k = 0; k < 9; k++)
                            b[k] = 0xFF000000u | (uint32_t)scale[k][r] << 16 | (uint32_t)scale[k][g] << 8 |
                                   scale[k][bl];
                        block_cache_key[slot] = c;
                    }
                    last = c;
                    have_last = true;
                }
                put_block(p, stride, b);
            }
        }
    }
}

void compose_screen_area(uint32_t* dst, int stride) {
    if (dst == shown_dst) shown_valid = false;  // written here, not through the kept path
    write_screen_area(dst, stride, false);
}

void compose_screen_area_kept(uint32_t* dst, int stride, bool unchanged) {
    const int effect = effect_current();
    if (!unchanged || dst != shown_dst || stride != shown_stride || effect != shown_effect) shown_valid = false;
    if (!shown_valid) {
        // Nothing known of what dst shows: every pixel is written and remembered.
        for (uint32_t& c : shown) c = 0;  // no shown colour is 0: all are opaque
        named_valid = false;
        shown_dst = dst;
        shown_stride = stride;
        shown_effect = effect;
        shown_valid = true;
    }
    write_screen_area(dst, stride, true);
}
