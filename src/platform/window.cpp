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

void window_fit_frame(int* left, int* top, int w, int h, const SDL_Rect& usable) {
    if (*left + w > usable.x + usable.w) *left = usable.x + usable.w - w;
    if (*top + h > usable.y + usable.h) *top = usable.y + usable.h - h;
    if (*left < usable.x) *left = usable.x;
    if (*top < usable.y) *top = usable.y;
}

void window_keep_on_display(SDL_Window* window) {
    int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect usable;
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
    int x, y, w, h, bt = 0, bl = 0, bb = 0, br = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowBordersSize(window, &bt, &bl, &bb, &br);  // stays 0 where the system cannot tell
    int left = x - bl, top = y - bt;
    window_fit_frame(&left, &top, w + bl + br, h + bt + bb, usable);
    if (left != x - bl || top != y - bt) SDL_SetWindowPosition(window, left + bl, top + bt);
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
