// Window sizing and the streaming texture that receives the composed window picture.
#pragma once
#include <SDL.h>

// Whole-number scale of the window for a logical picture size and the usable display area.
int window_scale_for(int logical_w, int logical_h, int usable_w, int usable_h);
// Window size for the current case model and orientation on display 0.
void window_size_pick(int* w, int* h);
// Replaces `old` with a streaming texture of the window-picture size; null (and a line on
// standard error) when it cannot be made.
SDL_Texture* screen_texture_create(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* old);
