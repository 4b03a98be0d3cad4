// The GPU compositor: the case sheet, pressed buttons, sheen, spotlight and hint outlines are
// textures kept on the renderer and layered on a window render target; each frame uploads only the
// screen area. The screen area is uploaded already expanded through the CPU path's blocks, so both
// paths show the same pixels (brightening levels above 100 cannot be done by multiplying).
#include <algorithm>
#include <cstdlib>

#include "platform/compose.h"
#include "platform/compose_paths.h"

bool gpu_path_failed = false;

static SDL_Texture* gpu_target;
static SDL_Texture* gpu_case;
static SDL_Texture* gpu_screen;
static uint32_t* gpu_screen_pixels;
static SDL_Texture* gpu_layers[CASE_LAYERS_MAX];
static CaseLayer gpu_layer_records[CASE_LAYERS_MAX];
static int gpu_layer_count;
static int gpu_width, gpu_height, gpu_screen_width, gpu_screen_height;
static uint32_t gpu_generation;

static SDL_Texture* gpu_band;
static SDL_Texture* gpu_mask;
static SDL_Texture* gpu_sheen;
static uint32_t gpu_sheen_generation;
static int gpu_sheen_offset;
static bool gpu_sheen_dirty;

static SDL_Texture* gpu_spot;
static int gpu_spot_width, gpu_spot_height;

static void texture_drop(SDL_Texture*& t) {
    if (t) SDL_DestroyTexture(t);
    t = nullptr;
}

void gpu_path_release() {
    texture_drop(gpu_target);
    texture_drop(gpu_case);
    texture_drop(gpu_screen);
    for (SDL_Texture*& t : gpu_layers) texture_drop(t);
    texture_drop(gpu_band);
    texture_drop(gpu_mask);
    texture_drop(gpu_sheen);
    texture_drop(gpu_spot);
    std::free(gpu_screen_pixels);
    gpu_screen_pixels = nullptr;
    gpu_layer_count = 0;
    gpu_width = gpu_height = gpu_screen_width = gpu_screen_height = 0;
    gpu_spot_width = gpu_spot_height = 0;
    gpu_sheen_dirty = true;
}

// A texture in ARGB words with nearest sampling and the given blending; null on failure.
static SDL_Texture* texture_make(SDL_Renderer* r, int access, int w, int h, SDL_BlendMode blend,
                                 const uint32_t* pixels) {
    SDL_Texture* t = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, access, w, h);
    if (!t) return nullptr;
    SDL_SetTextureBlendMode(t, blend);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    if (pixels && SDL_UpdateTexture(t, nullptr, pixels, w * 4) != 0) {
        SDL_DestroyTexture(t);
        return nullptr;
    }
    return t;
}

bool gpu_path_prepare(SDL_Renderer* r, const CaseArtView& art) {
    ComposeGeometry g = compose_geometry();
    if (gpu_path_failed || !art.sheet || art.width != g.width || art.height != g.height) return false;
    if (gpu_target && gpu_width == g.width && gpu_height == g.height && gpu_screen_width == g.screen_width &&
        gpu_screen_height == g.screen_height && gpu_layer_count == art.layer_count) {
        if (art.generation != gpu_generation) {
            SDL_UpdateTexture(gpu_case, nullptr, art.sheet, g.width * 4);
            for (int i = 0; i < gpu_layer_count; i++) {
                const CaseLayer& l = art.layers[i];
                CaseLayer& kept = gpu_layer_records[i];
                if (!gpu_layers[i] || l.width != kept.width || l.height != kept.height) continue;
                SDL_UpdateTexture(gpu_layers[i], nullptr, l.picture, l.width * 4);
                kept = l;
            }
            gpu_generation = art.generation;
            gpu_sheen_dirty = true;
        }
        return true;
    }
    gpu_path_release();
    if (!SDL_RenderTargetSupported(r)) {
        gpu_path_failed = true;
        return false;
    }
    gpu_target = texture_make(r, SDL_TEXTUREACCESS_TARGET, g.width, g.height, SDL_BLENDMODE_NONE, nullptr);
    gpu_case = texture_make(r, SDL_TEXTUREACCESS_STATIC, g.width, g.height, SDL_BLENDMODE_NONE, art.sheet);
    gpu_screen = texture_make(r, SDL_TEXTUREACCESS_STREAMING, g.screen_width, g.screen_height,
                              SDL_BLENDMODE_NONE, nullptr);
    gpu_screen_pixels = (uint32_t*)std::malloc((size_t)g.screen_width * g.screen_height * 4);
    if (!gpu_target || !gpu_case || !gpu_screen || !gpu_screen_pixels) {
        gpu_path_release();
        gpu_path_failed = true;
        return false;
    }
    gpu_layer_count = std::min(art.layer_count, CASE_LAYERS_MAX);
    for (int i = 0; i < gpu_layer_count; i++) {
        const CaseLayer& l = art.layers[i];
        gpu_layer_records[i] = l;
        gpu_layers[i] = texture_make(r, SDL_TEXTUREACCESS_STATIC, l.width, l.height, SDL_BLENDMODE_NONE, l.picture);
    }
    gpu_width = g.width;
    gpu_height = g.height;
    gpu_screen_width = g.screen_width;
    gpu_screen_height = g.screen_height;
    gpu_generation = art.generation;
    return true;
}

void screen_to_rgba(uint32_t* out) {
    ComposeGeometry g = compose_geometry();
    compose_screen_area(out, g.screen_width);
}

// The band, the mask and the sheen target, remade with the case pictures.
static bool sheen_ready(SDL_Renderer* r, const CaseArtView& a, const ComposeGeometry& g) {
    if (!a.glow_mask || !a.band || a.mask_width != g.width || a.mask_height != g.height ||
        a.band_height != g.height || a.band_width <= 0)
        return false;
    if (gpu_sheen && gpu_sheen_generation == a.generation) return true;
    texture_drop(gpu_band);
    texture_drop(gpu_mask);
    texture_drop(gpu_sheen);
    gpu_band = texture_make(r, SDL_TEXTUREACCESS_STATIC, a.band_width, a.band_height, SDL_BLENDMODE_NONE, a.band);
    gpu_mask = texture_make(r, SDL_TEXTUREACCESS_STATIC, g.width, g.height, SDL_BLENDMODE_MUL, a.glow_mask);
    gpu_sheen = texture_make(r, SDL_TEXTUREACCESS_TARGET, g.width, g.height, SDL_BLENDMODE_ADD, nullptr);
    if (!gpu_band || !gpu_mask || !gpu_sheen) {
        texture_drop(gpu_band);
        texture_drop(gpu_mask);
        texture_drop(gpu_sheen);
        return false;
    }
    gpu_sheen_generation = a.generation;
    gpu_sheen_dirty = true;
    return true;
}

static void sheen_draw(SDL_Renderer* r, const CaseArtView& a, const ComposeGeometry& g) {
    if (!gpu_sheen_dirty && gpu_sheen_offset == a.sheen_offset) return;
    if (SDL_SetRenderTarget(r, gpu_sheen) != 0) return;
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_Rect band = {a.sheen_offset, 0, a.band_width, g.height};
    SDL_RenderCopy(r, gpu_band, nullptr, &band);
    SDL_RenderCopy(r, gpu_mask, nullptr, nullptr);
    gpu_sheen_offset = a.sheen_offset;
    gpu_sheen_dirty = false;
}

// Black texels whose alpha is the distance from the glowing button, made once per button size.
static bool spot_ready(SDL_Renderer* r, int w, int h) {
    if (gpu_spot && gpu_spot_width == w + 66 && gpu_spot_height == h + 66) return true;
    texture_drop(gpu_spot);
    int sw = w + 66, sh = h + 66;
    uint32_t* texels = (uint32_t*)std::malloc((size_t)sw * sh * 4);
    if (!texels) return false;
    CaseRect around = glow_rect({33, 33, w, h});
    for (int y = 0; y < sh; y++)
        for (int x = 0; x < sw; x++) texels[(size_t)y * sw + x] = (uint32_t)rect_proximity(x, y, around) << 24;
    gpu_spot = texture_make(r, SDL_TEXTUREACCESS_STATIC, sw, sh, SDL_BLENDMODE_BLEND, texels);
    std::free(texels);
    if (!gpu_spot) return false;
    gpu_spot_width = sw;
    gpu_spot_height = sh;
    return true;
}

static void spotlight(SDL_Renderer* r, const CaseArtView& a, const ComposeGeometry& g) {
    if (a.glow_level <= 0 || a.glow_which == 0) return;
    const CaseLayer* l = nullptr;
    for (int i = 0; i < gpu_layer_count && !l; i++)
        if (gpu_layer_records[i].key == a.glow_which) l = &gpu_layer_records[i];
    if (!l || !spot_ready(r, l->width, l->height)) return;
    int level = std::min(a.glow_level, 255);
    SDL_SetTextureAlphaMod(gpu_spot, (uint8_t)level);
    SDL_Rect spot = {l->x - 33, l->y - 33, gpu_spot_width, gpu_spot_height};
    SDL_RenderCopy(r, gpu_spot, nullptr, &spot);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, 0, 0, 0, (uint8_t)(level * 150 / 255));
    SDL_Rect bands[4] = {
        {0, 0, g.width, spot.y},
        {0, spot.y + spot.h, g.width, g.height - (spot.y + spot.h)},
        {0, spot.y, spot.x, spot.h},
        {spot.x + spot.w, spot.y, g.width - (spot.x + spot.w), spot.h},
    };
    for (const SDL_Rect& b : bands)
        if (b.w > 0 && b.h > 0) SDL_RenderFillRect(r, &b);
}

static void hint_outlines(SDL_Renderer* r, const CaseArtView& a) {
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, 255, 200, 87, 255);
    for (int i = 0; i < gpu_layer_count; i++) {
        const CaseLayer& l = gpu_layer_records[i];
        if (!(l.key & a.outline_mask)) continue;
        CaseRect bars[4];
        case_outline_rect({l.x, l.y, l.width, l.height}, bars);
        for (const CaseRect& b : bars) {
            SDL_Rect rect = {b.x, b.y, b.w, b.h};
            SDL_RenderFillRect(r, &rect);
        }
    }
}

static SDL_Texture* gpu_layer_picture(SDL_Renderer* r, uint8_t pressed_bits, const CaseArtView& a) {
    ComposeGeometry g = compose_geometry();
    bool sheen = sheen_ready(r, a, g);
    if (sheen) sheen_draw(r, a, g);
    if (SDL_SetRenderTarget(r, gpu_target) != 0) {
        // The sheen may have left its own target selected: the CPU frame must reach the window.
        SDL_SetRenderTarget(r, nullptr);
        gpu_path_failed = true;
        return nullptr;
    }
    SDL_RenderCopy(r, gpu_case, nullptr, nullptr);
    for (int i = 0; i < gpu_layer_count; i++) {
        const CaseLayer& l = gpu_layer_records[i];
        if (!gpu_layers[i] || !(l.key & pressed_bits)) continue;
        SDL_Rect at = {l.x, l.y, l.width, l.height};
        SDL_RenderCopy(r, gpu_layers[i], nullptr, &at);
    }
    if (sheen) SDL_RenderCopy(r, gpu_sheen, nullptr, nullptr);
    spotlight(r, a, g);
    hint_outlines(r, a);
    SDL_Rect screen = {g.screen_x, g.screen_y, g.screen_width, g.screen_height};
    SDL_RenderCopy(r, gpu_screen, nullptr, &screen);
    SDL_SetRenderTarget(r, nullptr);
    return gpu_target;
}

SDL_Texture* compose_window_gpu_with(SDL_Renderer* r, uint8_t pressed_bits, const CaseArtView& a) {
    ComposeGeometry g = compose_geometry();
    if (!gpu_target || gpu_screen_width != g.screen_width || gpu_screen_height != g.screen_height) return nullptr;
    screen_to_rgba(gpu_screen_pixels);
    if (SDL_UpdateTexture(gpu_screen, nullptr, gpu_screen_pixels, g.screen_width * 4) != 0) return nullptr;
    return gpu_layer_picture(r, pressed_bits, a);
}

SDL_Texture* compose_window_gpu(SDL_Renderer* r, uint8_t pressed_bits) {
    CaseArtView art;
    if (!case_art_view_current(&art) || !gpu_path_prepare(r, art)) return nullptr;
    return compose_window_gpu_with(r, pressed_bits, art);
}
