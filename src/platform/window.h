// Window sizing and the streaming texture that receives the composed window picture.
#pragma once
#include <SDL.h>

// Whole-number scale of the window for a logical picture size and the usable display area.
int window_scale_for(int logical_w, int logical_h, int usable_w, int usable_h);
// Window size for the current case model and orientation on display 0.
void window_size_pick(int* w, int* h);
// Moves a window frame (left, top, width, height, borders included) as little as it takes to lie
// on the area `usable`; a frame larger than the area keeps its top-left corner on it.
void window_fit_frame(int* left, int* top, int w, int h, const SDL_Rect& usable);
// After a resize: moves the window back onto the usable area of its display.
void window_keep_on_display(SDL_Window* window);
// Replaces `old` with a streaming texture of the window-picture size; null (and a line on
// standard error) when it cannot be made.
SDL_Texture* screen_texture_create(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* old);
