// Effect fields: seven small cellular flame simulations shown in the four shades with ordered
// dither. A user steps its slot once per tick with the size it wants; render/fxfield.h draws it.
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
constexpr uint32_t FXFIELD_RNG_START = 0x9E3779B9u;
extern uint32_t fxfield_rng;
// Every field back to its state at start-up: cold, unset, and the dice at their first number.
void fxfields_reset();

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
// Colour 0..3 of the field at (u, v) in 0..1; 0 outside.
int fxfield_sample(int slot, float u, float v);

// For the drawers: whether the slot exists (setting the fields up on first use), a grid cell by
// row (0 outside the grid), and a cell's colour at a drawn position (0 for nothing).
bool fxfield_slot_ok(int slot);
int fxfield_cell_at(const FxField& f, const FxLayer& L, int row, int col);
int fxfield_cell_colour(int cell, int gain, int row, int col);
