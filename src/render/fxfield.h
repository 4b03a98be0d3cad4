// Effect fields: seven small cellular flame simulations drawn in the four shades with ordered
// dither. A user steps its slot once per tick with the size it wants and draws or samples it.
#pragma once
#include <cstdint>

constexpr int FXFIELD_COUNT = 7;
constexpr int FXFIELD_HOT = 36;

struct FxLayer {
    int32_t spacing;
    float level;
    int32_t decay;
    int32_t gain;
    int32_t lift;
    int32_t wobble;
    uint8_t* grid;     // rows x stride
    int8_t* offsets;   // one per column
    uint16_t* spots;   // stride / spacing + 2
};

struct FxField {
    FxLayer* layers;
    int32_t layer_count;
    int32_t rows, stride;
    int32_t width, height;
    uint8_t* profile;
    uint8_t profile_on;
    uint8_t zigzag;
    int32_t gust_x, gust_y, gust_rx, gust_ry, gust_frames, gust_strength;
};

extern FxField fxfields[FXFIELD_COUNT];
extern uint32_t fxfield_rng;

int32_t fxfield_update(int slot, int width, int height);
void fxfield_set_level(int slot, float level);
void fxfield_set_rate(int slot, int32_t decay);
void fxfield_set_slot0(float x);
void fxfield_set_params(int slot, int gust_x, int gust_y, int gust_rx, int gust_ry, int gust_strength,
                        int gust_frames);
// Copies at most the slot's stride of bytes (none from a null source) and zero-fills the rest.
void fxfield_set_profile(int slot, const uint8_t* bytes, int length);
// A profile peaking at both ends of a run a wide with n-long slopes, installed on the slot.
void fxfield_set_ramp(int slot, int a, int n, int plateau, int peak);
void fxfield_clear(int slot);
// Draws every hot spot of the slot's seed row anew at its next step.
void fxfield_reseed(int slot);
bool fxfield_active(int slot);
void fxfield_draw(int slot, int x, int y);
void fxfield_draw_columns(int slot, int centre_x, int bottom_y, float scale);
void fxfield_draw_rect(int x, int y, int w, int n);
// Colour 0..3 of the field at (u, v) in 0..1; 0 outside.
int fxfield_sample(int slot, float u, float v);
