// Window size picking and the screen texture; used at start-up and when F3 or F5 changes the case.
#include "platform/window.h"

#include <cstdio>
#include <initializer_list>

#include "platform/case_art.h"
#include "render/screen.h"

int window_scale_for(int logical_w, int logical_h, int usable_w, int usable_h) {
    for (int scale : {6, 3, 2})
        if (scale * logical_w <= usable_w && scale * logical_h <= usable_h - 40) return scale;
    return 1;
}

void window_size_pick(int* w, int* h) {
    CaseMargins m = case_margins();
    int lw = screen_layout.width + m.left + m.right;
    int lh = screen_layout.height + m.top + m.bottom;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, 1280, 720};
    int scale = window_scale_for(lw, lh, usable.w, usable.h);
    *w = scale * lw;
    *h = scale * lh;
}

SDL_Texture* screen_texture_create(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* old) {
    if (old) SDL_DestroyTexture(old);
    int w = case_picture_width(), h = case_picture_height();
    SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!t) {
        std::fprintf(stderr, "Texture: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer, w, h);
    SDL_SetWindowMinimumSize(window, screen_layout.width, screen_layout.height);
    return t;
}
