// The two compositors behind compose_frame: the CPU path writes every pixel of the window picture,
// the GPU path layers textures on a render target. Both show the same picture; the gpu-check mode
// and the tests compose one frame both ways.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "platform/case_layers.h"

// Everything of the case art that one frame's composition reads.
struct CaseArtView {
    const uint32_t* sheet;  // width x height, the window-picture size
    int32_t width, height;
    CaseLayer layers[CASE_LAYERS_MAX];
    int32_t layer_count;
    uint32_t generation;
    const uint32_t* glow_mask;  // null: no sheen
    int32_t mask_width, mask_height;
    const uint32_t* band;
    int32_t band_width, band_height;
    int32_t sheen_offset;
    int32_t glow_level;
    uint8_t glow_which;
    uint8_t outline_mask;
};

// Window-picture size and the screen area's place in it (3x pixels), for the current layout.
struct ComposeGeometry {
    int32_t width, height;              // Wp x Hp
    int32_t screen_x, screen_y;         // top-left of the screen area
    int32_t screen_width, screen_height;
};
ComposeGeometry compose_geometry();

// Starts a new frame: ghosting advances once per frame however many compositors run.
void compose_frame_begin();
// Gathers the current case art; false when there is none of exactly the window-picture size.
bool case_art_view_current(CaseArtView* view);

// Writes the screen area's 3 x 3 blocks (palette, effect, ghosting) to dst, rows `stride` words apart.
void compose_screen_area(uint32_t* dst, int stride);
// The same for the frame loop's window picture: when `unchanged` says nothing else wrote into dst
// since the last such call, pixels that show the colour they showed then are not written again.
void compose_screen_area_kept(uint32_t* dst, int stride, bool unchanged);

void compose_window_cpu(uint32_t* pixels, uint8_t pressed_bits);
// art null: the plain pad.
void compose_window_cpu_with(uint32_t* pixels, uint8_t pressed_bits, const CaseArtView* art);
// The same picture into a window picture that nothing but these calls writes (the frame loop's):
// while the case, its pressed buttons, spotlight and outlines are as last time and no sheen runs,
// the case part is left as it is and only the screen area is written.
void compose_window_cpu_frame(uint32_t* pixels, uint8_t pressed_bits, const CaseArtView* art);

extern bool gpu_path_failed;
// Builds or keeps the GPU path's textures for this art; false when the CPU path must be used.
bool gpu_path_prepare(SDL_Renderer* renderer, const CaseArtView& art);
// The screen area for the GPU path: 3 x view width by 3 x view height words, as the CPU writes it.
void screen_to_rgba(uint32_t* out);
// Uploads this frame's screen area and layers the picture on the window target; null on failure.
SDL_Texture* compose_window_gpu(SDL_Renderer* renderer, uint8_t pressed_bits);
SDL_Texture* compose_window_gpu_with(SDL_Renderer* renderer, uint8_t pressed_bits, const CaseArtView& art);

// The picture that present_frame shows: the GPU target or the frame loop's streaming texture.
extern SDL_Texture* compose_source;
// The render target of the "sharp" scaling, null until a fractional scale needs it.
extern SDL_Texture* sharp_texture;
