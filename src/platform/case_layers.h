// The decoded console-case pictures as the compositor sees them: the composed case sheet of the
// current model, orientation and colour, its pressed-button layers, the button spotlight, the hint
// outlines and the sheen. Read by the composition once per drawn frame.
#pragma once
#include <cstdint>

constexpr int CASE_LAYERS_MAX = 16;

// x, y, width, height in window-picture pixels.
struct CaseRect {
    int32_t x, y, w, h;
};

// One pressed-button picture: ARGB words, its top-left on the case sheet and its input bit.
struct CaseLayer {
    const uint32_t* picture;
    int32_t width, height, x, y;
    uint8_t key;
};

// +1 each time any case picture is recomposed; the GPU path uploads again when it changes.
extern uint32_t case_art_generation;

// The current set's composed sheet (exactly the window-picture size) and up to `max` button
// layers in table order; false when there is no such picture.
bool case_get_layers(const uint32_t** sheet, CaseLayer* layers, int* count, int max);

// Button spotlight: level 0..255 and the input bit of the glowing button.
int button_glow_level();
uint8_t button_glow_which();
// A button's rectangle grown by 9 pixels on every side.
CaseRect glow_rect(CaseRect button);
// 0 inside the rectangle; else the distance scaled so that 24 pixels or more give 150.
int rect_proximity(int x, int y, CaseRect rect);
// The four 3-pixel bars of a hint outline around a button: above, below, left, right.
void case_outline_rect(CaseRect button, CaseRect bars[4]);

// Sheen: the glow mask over the case (opaque grey words, the sheet's size) and the band
// (2 x window width by window height), both null when there is no sheen; the band's shift.
const uint32_t* case_glow_map(int* width, int* height);
const uint32_t* sheen_band(int* width, int* height);
int sheen_offset();
