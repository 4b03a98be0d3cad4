// Composition of the framebuffer into the window picture (palette, screen effect, ghosting, case art)
// and its presentation at integer or sharp scale. Called by the frame loop once per drawn frame.
#pragma once
#include <SDL.h>
#include <cstdint>

struct FrameLoop;

extern int32_t screen_palette;   // row of SCREEN_PALETTES
extern int32_t screen_effect;    // 0 LCD, 1 CRT, 2 FLAT
extern int32_t ghosting_applied; // LCD ghosting level in use, 0..3
// Buttons of the case to outline in gold (the outline mask of the pad's hints), set by the frame
// loop before composing each drawn frame.
extern uint8_t hint_outline_mask;

// Chooses the GPU or CPU path, composes this frame's window picture and uploads it.
// pressed_bits: held input bits ORed with the on-screen pad's blink bits.
void compose_frame(FrameLoop& fl, uint8_t pressed_bits);
// Scales and presents the picture composed by compose_frame.
void present_frame(FrameLoop& fl);
// Destroys the sharp scaling's texture; called before its renderer is destroyed, as a renderer made
// later may reuse the old one's address, and on a render target or device reset, which leaves the
// texture without its contents or its device.
void present_release();
// Forgets every GPU-path texture so the next frame rebuilds it (render target or device reset).
void gpu_path_release();
// Window point to window-picture (logical) coordinates.
void window_to_screen(SDL_Renderer* renderer, int x, int y, int* out_x, int* out_y);
