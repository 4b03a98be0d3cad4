// Placeholder until the compositor lands: presents a cleared window.
#include "platform/compose.h"
#include "platform/frame_loop.h"

int32_t screen_palette = 0;
int32_t screen_effect = 0;
int32_t ghosting_applied = 1;

void compose_frame(FrameLoop&, uint8_t) {}

void present_frame(FrameLoop& fl) {
    SDL_SetRenderDrawColor(fl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(fl.renderer);
    SDL_RenderPresent(fl.renderer);
}

void gpu_path_release() {}

void window_to_screen(SDL_Renderer*, int x, int y, int* out_x, int* out_y) {
    *out_x = x;
    *out_y = y;
}
