// Choice of compositor for each drawn frame: the GPU path when there is case art and the renderer
// keeps a render target, else the CPU path into window_pixels and the streaming texture.
#include "platform/compose.h"

#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "telemetry/perf.h"

SDL_Texture* compose_source = nullptr;

void compose_frame(FrameLoop& fl, uint8_t pressed_bits) {
    perf_begin(ZONE_COMPOSE);
    compose_frame_begin();
    compose_source = nullptr;  // never a texture of an earlier frame: the loop may have remade it
    CaseArtView art;
    if (case_art_view_current(&art) && !gpu_path_failed && gpu_path_prepare(fl.renderer, art)) {
        SDL_Texture* picture = compose_window_gpu_with(fl.renderer, pressed_bits, art);
        if (picture) {
            compose_source = picture;
            perf_end(ZONE_COMPOSE);
            return;
        }
    }
    ComposeGeometry g = compose_geometry();
    if (!fl.window_pixels || (int64_t)g.width * g.height > WINDOW_PIXELS_MAX) {
        perf_end(ZONE_COMPOSE);
        return;
    }
    compose_window_cpu_frame(fl.window_pixels, pressed_bits, case_art_view_current(&art) ? &art : nullptr);
    perf_end(ZONE_COMPOSE);
    SDL_Rect area = {0, 0, g.width, g.height};
    int tw = 0, th = 0;
    if (!fl.texture || SDL_QueryTexture(fl.texture, nullptr, nullptr, &tw, &th) != 0 || tw < g.width ||
        th < g.height)
        return;
    perf_begin(ZONE_UPLOAD);
    SDL_UpdateTexture(fl.texture, &area, fl.window_pixels, g.width * 4);
    perf_end(ZONE_UPLOAD);
    compose_source = fl.texture;
}
