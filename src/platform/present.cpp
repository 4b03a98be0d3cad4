// Presentation of the composed window picture at integer or "sharp" scale, and the mapping of
// window points back to window-picture coordinates for the pointer.
#include <cmath>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "platform/fullscreen.h"
#include "render/screen.h"

SDL_Texture* sharp_texture;
static SDL_Renderer* sharp_renderer;  // the renderer that made sharp_texture
static int sharp_width, sharp_height;
// Top-left of the last presented source rectangle in the window picture: the screen area's origin
// in full screen, where the case is not shown and the logical picture starts there.
static int present_origin_x, present_origin_y;

// Nearest to the largest whole multiple, then linear to the final size: crisp pixels without the
// uneven widths of nearest sampling at a fractional scale.
static bool present_sharp(SDL_Renderer* r, SDL_Texture* source, const SDL_Rect& src, int n) {
    int w = n * src.w, h = n * src.h;
    // Another renderer's texture is only forgotten: it goes with its own renderer, which may be gone.
    if (sharp_texture && sharp_renderer != r) sharp_texture = nullptr;
    if (!sharp_texture || sharp_width != w || sharp_height != h) {
        if (sharp_texture) SDL_DestroyTexture(sharp_texture);
        sharp_texture = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
        sharp_renderer = r;
        sharp_width = sharp_texture ? w : 0;
        sharp_height = sharp_texture ? h : 0;
        if (!sharp_texture) return false;
        SDL_SetTextureBlendMode(sharp_texture, SDL_BLENDMODE_NONE);
    }
    if (SDL_SetRenderTarget(r, sharp_texture) != 0) return false;
    SDL_SetTextureScaleMode(source, SDL_ScaleModeNearest);
    SDL_RenderCopy(r, source, &src, nullptr);
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetTextureScaleMode(sharp_texture, SDL_ScaleModeLinear);
    SDL_RenderCopy(r, sharp_texture, nullptr, nullptr);
    return true;
}

void present_release() {
    if (sharp_texture) SDL_DestroyTexture(sharp_texture);
    sharp_texture = nullptr;
    sharp_renderer = nullptr;
    sharp_width = sharp_height = 0;
}

void present_frame(FrameLoop& fl) {
    SDL_Renderer* r = fl.renderer;
    SDL_Texture* source = compose_source ? compose_source : fl.texture;
    ComposeGeometry g = compose_geometry();
    SDL_Rect src = {0, 0, g.width, g.height};
    if (fullscreen_wanted()) src = {g.screen_x, g.screen_y, g.screen_width, g.screen_height};
    present_origin_x = src.x;
    present_origin_y = src.y;

    int lw = 0, lh = 0;
    SDL_RenderGetLogicalSize(r, &lw, &lh);
    if (lw != src.w || lh != src.h) SDL_RenderSetLogicalSize(r, src.w, src.h);
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(r, &ow, &oh);
    bool integer = fl.integer_scale && ow >= src.w && oh >= src.h;
    if ((SDL_RenderGetIntegerScale(r) == SDL_TRUE) != integer)
        SDL_RenderSetIntegerScale(r, integer ? SDL_TRUE : SDL_FALSE);
    float s = std::fmin((float)ow / (float)src.w, (float)oh / (float)src.h);
    if (integer) s = std::trunc(s);

    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    if (source) {
        int n = (int)s;
        if (n < 1 || s == (float)n || !present_sharp(r, source, src, n)) {
            bool nearest = n >= 1 && s == (float)n;
            SDL_SetTextureScaleMode(source, nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
            SDL_RenderCopy(r, source, &src, nullptr);
        }
    }
    SDL_RenderPresent(r);
}

void window_to_screen(SDL_Renderer* r, int x, int y, int* out_x, int* out_y) {
    int ow = 0, oh = 0, ww = 0, wh = 0;
    bool have_output = SDL_GetRendererOutputSize(r, &ow, &oh) == 0 && ow > 0 && oh > 0;
    SDL_Window* window = SDL_RenderGetWindow(r);
    if (window) SDL_GetWindowSize(window, &ww, &wh);
    float fx = (float)x, fy = (float)y;
    if (have_output && ww > 0 && wh > 0) {
        fx = fx * (float)ow / (float)ww;
        fy = fy * (float)oh / (float)wh;
    }
    int lw = 0, lh = 0;
    SDL_RenderGetLogicalSize(r, &lw, &lh);
    if (lw <= 0 || lh <= 0) {
        lw = screen_layout.width;
        lh = screen_layout.height;
    }
    float s = have_output ? std::fmin((float)ow / (float)lw, (float)oh / (float)lh) : 0.0f;
    if (have_output && SDL_RenderGetIntegerScale(r)) s = std::fmax(1.0f, std::trunc(s));
    if (!have_output || s <= 0.0f) {
        *out_x = (int)fx + present_origin_x;
        *out_y = (int)fy + present_origin_y;
        return;
    }
    *out_x = (int)((fx - ((float)ow - (float)lw * s) / 2.0f) / s) + present_origin_x;
    *out_y = (int)((fy - ((float)oh - (float)lh * s) / 2.0f) / s) + present_origin_y;
}
