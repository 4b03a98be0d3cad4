// The CPU compositor: writes every pixel of the window picture (case or plain pad, pressed
// buttons, sheen, spotlight, hint outlines, then the screen area). Used whenever there is no case
// art, and whenever the GPU path is unavailable.
#include <algorithm>
#include <cstring>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/palette.h"
#include "render/screen.h"

uint8_t hint_outline_mask = 0;

bool case_art_view_current(CaseArtView* v) {
    std::memset(v, 0, sizeof *v);
    if (!case_get_layers(&v->sheet, v->layers, &v->layer_count, CASE_LAYERS_MAX) || !v->sheet) return false;
    v->width = case_picture_width();
    v->height = case_picture_height();
    v->generation = case_art_generation;
    v->glow_mask = case_glow_map(&v->mask_width, &v->mask_height);
    v->band = sheen_band(&v->band_width, &v->band_height);
    v->sheen_offset = sheen_offset();
    v->glow_level = button_glow_level();
    v->glow_which = button_glow_which();
    v->outline_mask = hint_outline_mask;
    return true;
}

// The plain pad: case body colour, and the framebuffer's pad pixels outside the screen area as
// flat 3 x 3 blocks.
static void compose_plain_pad(uint32_t* pixels, const ComposeGeometry& g) {
    std::fill(pixels, pixels + (size_t)g.width * g.height, PAD_COLORS[0]);
    CaseMargins m = case_margins();
    const ScreenRect& v = screen_layout.view;
    int w = screen_layout.width;
    for (int y = 0; y < screen_layout.height; y++) {
        uint32_t* row = pixels + (size_t)3 * (m.top + y) * g.width + 3 * m.left;
        for (int x = 0; x < w; x++) {
            if (y >= v.y0 && y <= v.y1 && x >= v.x0 && x <= v.x1) {
                x = v.x1;  // the screen area is drawn afterwards
                continue;
            }
            uint32_t c = PAD_COLORS[screen_color_index(framebuffer[y * w + x])];
            uint32_t* p = row + 3 * x;
            for (int r = 0; r < 3; r++, p += g.width) p[0] = p[1] = p[2] = c;
        }
    }
}

// The case picture under everything but the screen area, which compose_screen_area writes whole.
static void copy_sheet(uint32_t* pixels, const ComposeGeometry& g, const uint32_t* sheet) {
    const int sx0 = std::clamp(g.screen_x, 0, g.width), sx1 = std::clamp(g.screen_x + g.screen_width, sx0, g.width);
    const int sy0 = std::clamp(g.screen_y, 0, g.height), sy1 = std::clamp(g.screen_y + g.screen_height, sy0, g.height);
    const size_t w = (size_t)g.width;
    std::memcpy(pixels, sheet, w * sy0 * 4);
    for (int y = sy0; y < sy1; y++) {
        std::memcpy(pixels + y * w, sheet + y * w, (size_t)sx0 * 4);
        std::memcpy(pixels + y * w + sx1, sheet + y * w + sx1, (w - sx1) * 4);
    }
    std::memcpy(pixels + sy1 * w, sheet + sy1 * w, w * (g.height - sy1) * 4);
}

static void blit_layer(uint32_t* pixels, const ComposeGeometry& g, const CaseLayer& l) {
    for (int j = 0; j < l.height; j++) {
        int y = l.y + j;
        if (y < 0 || y >= g.height) continue;
        int x0 = std::max(0, l.x), x1 = std::min(g.width, l.x + l.width);
        if (x1 <= x0) continue;
        std::memcpy(pixels + (size_t)y * g.width + x0, l.picture + (size_t)j * l.width + (x0 - l.x),
                    (size_t)(x1 - x0) * 4);
    }
}

static void add_sheen(uint32_t* pixels, const ComposeGeometry& g, const CaseArtView& a) {
    if (!a.glow_mask || !a.band || a.mask_width != g.width || a.mask_height != g.height ||
        a.band_height != g.height)
        return;
    for (int y = 0; y < g.height; y++) {
        for (int x = 0; x < g.width; x++) {
            uint32_t m = a.glow_mask[(size_t)y * g.width + x] & 0xFF;
            int bx = x - a.sheen_offset;
            if (m == 0 || bx < 0 || bx >= a.band_width) continue;
            uint32_t b = a.band[(size_t)y * a.band_width + bx];
            uint32_t& p = pixels[(size_t)y * g.width + x];
            uint32_t out = p & 0xFF000000u;
            for (int s = 0; s <= 16; s += 8) {
                uint32_t c = (p >> s & 0xFF) + (b >> s & 0xFF) * m / 255;
                out |= std::min(c, 255u) << s;
            }
            p = out;
        }
    }
}

static const CaseLayer* layer_keyed(const CaseArtView& a, uint8_t key) {
    if (key == 0) return nullptr;
    for (int i = 0; i < a.layer_count; i++)
        if (a.layers[i].key == key) return &a.layers[i];
    return nullptr;
}

static void spotlight(uint32_t* pixels, const ComposeGeometry& g, const CaseArtView& a) {
    const CaseLayer* l = layer_keyed(a, a.glow_which);
    if (a.glow_level <= 0 || !l) return;
    CaseRect r = glow_rect({l->x, l->y, l->width, l->height});
    uint32_t level = (uint32_t)std::min(a.glow_level, 255);
    // Beyond 23 pixels of the rectangle on either axis every pixel dims alike: one table serves
    // them, and only the band around the button measures its distance.
    const uint32_t far_dim = 150u * level / 255;
    uint8_t far[256];
    for (uint32_t c = 0; c < 256; c++) far[c] = (uint8_t)(c * (255 - far_dim) / 255);
    const int nx0 = r.x - 23, nx1 = r.x + r.w + 22, ny0 = r.y - 23, ny1 = r.y + r.h + 22;
    for (int y = 0; y < g.height; y++) {
        const bool near_row = y >= ny0 && y <= ny1;
        // The screen area is drawn over afterwards, so its pixels are left alone.
        const bool screen_row = y >= g.screen_y && y < g.screen_y + g.screen_height;
        for (int x = 0; x < g.width; x++) {
            if (screen_row && x == g.screen_x) {
                x += g.screen_width - 1;
                continue;
            }
            uint32_t& p = pixels[(size_t)y * g.width + x];
            if (!near_row || x < nx0 || x > nx1) {
                p = (p & 0xFF000000u) | (uint32_t)far[p >> 16 & 0xFF] << 16 | (uint32_t)far[p >> 8 & 0xFF] << 8 |
                    far[p & 0xFF];
                continue;
            }
            uint32_t dim = (uint32_t)rect_proximity(x, y, r) * level / 255;
            uint32_t out = p & 0xFF000000u;
            for (int s = 0; s <= 16; s += 8) out |= ((p >> s & 0xFF) * (255 - dim) / 255) << s;
            p = out;
        }
    }
}

static void hint_outlines(uint32_t* pixels, const ComposeGeometry& g, const CaseArtView& a) {
    for (int i = 0; i < a.layer_count; i++) {
        const CaseLayer& l = a.layers[i];
        if (!(l.key & a.outline_mask)) continue;
        CaseRect bars[4];
        case_outline_rect({l.x, l.y, l.width, l.height}, bars);
        for (const CaseRect& b : bars) {
            int x0 = std::max(0, b.x), x1 = std::min(g.width, b.x + b.w);
            int y0 = std::max(0, b.y), y1 = std::min(g.height, b.y + b.h);
            if (x1 <= x0) continue;
            for (int y = y0; y < y1; y++) {
                uint32_t* row = pixels + (size_t)y * g.width;
                std::fill(row + x0, row + x1, 0xFFFFC857u);
            }
        }
    }
}

// Everything the case part of a composition depends on. While it stays the same, a window picture
// that only the frame loop's compositions write already holds that part.
struct CaseShown {
    const uint32_t* pixels;  // null: nothing kept
    const uint32_t* sheet;
    int32_t width, height, screen_x, screen_y, screen_width, screen_height;
    uint32_t generation;
    int32_t layer_count, glow_level;
    uint8_t pressed_bits, glow_which, outline_mask;
    CaseLayer layers[CASE_LAYERS_MAX];
};
static CaseShown case_shown = {};

static CaseShown case_shown_of(const uint32_t* pixels, const ComposeGeometry& g, uint8_t pressed_bits,
                               const CaseArtView& a) {
    CaseShown c = {pixels,       a.sheet,        g.width,      g.height,     g.screen_x,   g.screen_y,
                   g.screen_width, g.screen_height, a.generation, a.layer_count, a.glow_level, pressed_bits,
                   a.glow_which, a.outline_mask, {}};
    for (int i = 0; i < a.layer_count && i < CASE_LAYERS_MAX; i++) c.layers[i] = a.layers[i];
    return c;
}

static bool case_shown_same(const CaseShown& a, const CaseShown& b) {
    if (!(a.pixels == b.pixels && a.sheet == b.sheet && a.width == b.width && a.height == b.height &&
          a.screen_x == b.screen_x && a.screen_y == b.screen_y && a.screen_width == b.screen_width &&
          a.screen_height == b.screen_height && a.generation == b.generation && a.layer_count == b.layer_count &&
          a.glow_level == b.glow_level && a.pressed_bits == b.pressed_bits && a.glow_which == b.glow_which &&
          a.outline_mask == b.outline_mask))
        return false;
    for (int i = 0; i < a.layer_count && i < CASE_LAYERS_MAX; i++) {
        const CaseLayer &x = a.layers[i], &y = b.layers[i];
        if (x.picture != y.picture || x.width != y.width || x.height != y.height || x.x != y.x || x.y != y.y ||
            x.key != y.key)
            return false;
    }
    return true;
}

static bool art_fits(const CaseArtView* art, const ComposeGeometry& g) {
    return art && art->sheet && art->width == g.width && art->height == g.height;
}

static void compose_case(uint32_t* pixels, const ComposeGeometry& g, uint8_t pressed_bits, const CaseArtView& art) {
    copy_sheet(pixels, g, art.sheet);
    for (int i = 0; i < art.layer_count; i++)
        if (art.layers[i].key & pressed_bits) blit_layer(pixels, g, art.layers[i]);
    add_sheen(pixels, g, art);
    spotlight(pixels, g, art);
    hint_outlines(pixels, g, art);
}

void compose_window_cpu_with(uint32_t* pixels, uint8_t pressed_bits, const CaseArtView* art) {
    ComposeGeometry g = compose_geometry();
    if (case_shown.pixels == pixels) case_shown = {};  // written here, not by the frame loop
    if (art_fits(art, g))
        compose_case(pixels, g, pressed_bits, *art);
    else
        compose_plain_pad(pixels, g);
    compose_screen_area(pixels + (size_t)g.screen_y * g.width + g.screen_x, g.width);
}

void compose_window_cpu_frame(uint32_t* pixels, uint8_t pressed_bits, const CaseArtView* art) {
    ComposeGeometry g = compose_geometry();
    if (!art_fits(art, g) || art->glow_mask) {
        // The plain pad, or a sheen that moves every frame: the whole picture is written.
        compose_window_cpu_with(pixels, pressed_bits, art);
        return;
    }
    const CaseShown now = case_shown_of(pixels, g, pressed_bits, *art);
    // A case composed anew may have drawn over the screen area (outlines): then it is written whole.
    const bool unchanged = case_shown_same(now, case_shown);
    if (!unchanged) {
        compose_case(pixels, g, pressed_bits, *art);
        case_shown = now;
    }
    compose_screen_area_kept(pixels + (size_t)g.screen_y * g.width + g.screen_x, g.width, unchanged);
}

void compose_window_cpu(uint32_t* pixels, uint8_t pressed_bits) {
    CaseArtView art;
    bool have = case_art_view_current(&art);
    compose_window_cpu_with(pixels, pressed_bits, have ? &art : nullptr);
}
