// Effect fields: cellular flames seeded from moving hot spots on the bottom row, rising with
// random drift and decay, optionally capped by a profile and holed by a gust. The simulation and
// sampling; render/fxfield.cpp draws them.
#include "dungeon/fxfield.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "world/xorshift.h"
#include "world/dither.h"

FxField fxfields[FXFIELD_COUNT];
uint32_t fxfield_rng = FXFIELD_RNG_START;

namespace {

struct LayerSetup {
    int32_t spacing;
    float level;
    int32_t decay, gain, lift, wobble;
};
struct SlotSetup {
    int32_t layers, rows, stride;
    uint8_t zigzag;
    LayerSetup l[3];
};
const SlotSetup SETUP[FXFIELD_COUNT] = {
    {3, 128, 256, 0, {{3, 0, 0, 38, 14, 9}, {5, 0, 0, 58, 6, 5}, {8, 0, 0, 100, 0, 0}}},
    {2, 24, 640, 0, {{3, 0.7f, 300, 60, 0, 0}, {5, 0.5f, 260, 100, 0, 0}, {}}},
    {2, 72, 176, 1, {{4, 0.9f, 62, 55, 0, 0}, {3, 0.8f, 74, 100, 0, 0}, {}}},
    {2, 200, 176, 1, {{6, 0, 40, 70, 0, 0}, {4, 0, 48, 100, 0, 0}, {}}},
    {1, 40, 32, 1, {{2, 0.85f, 78, 100, 0, 0}, {}, {}}},
    {2, 48, 256, 0, {{3, 0, 150, 70, 0, 0}, {2, 0, 180, 100, 0, 0}, {}}},
    {2, 48, 40, 1, {{4, 0.9f, 62, 55, 0, 0}, {3, 0.8f, 74, 100, 0, 0}, {}}},
};

constexpr int GRID_BYTES = 3 * 128 * 256 + 2 * 24 * 640 + 2 * 72 * 176 + 2 * 200 * 176 + 40 * 32 +
                           2 * 48 * 256 + 2 * 48 * 40;
constexpr int COLUMN_BYTES = 3 * 256 + 2 * 640 + 2 * 176 + 2 * 176 + 32 + 2 * 256 + 2 * 40;
uint8_t grid_pool[GRID_BYTES];
int8_t offset_pool[COLUMN_BYTES];
uint16_t spot_pool[COLUMN_BYTES + 3 * FXFIELD_COUNT * 2];
uint8_t profile_pool[640 + 256 * 2 + 176 * 2 + 32 + 40 + 256];
FxLayer layer_pool[3 + 2 * 5 + 1];
int spot_counts[FXFIELD_COUNT][3];
bool ready = false;

uint32_t next_random() { return xorshift32(fxfield_rng); }

void setup() {
    if (ready) return;
    ready = true;
    size_t g = 0, c = 0, s = 0, p = 0, l = 0;
    for (int i = 0; i < FXFIELD_COUNT; i++) {
        const SlotSetup& st = SETUP[i];
        FxField& f = fxfields[i];
        f = FxField{};
        f.layers = &layer_pool[l];
        f.layer_count = st.layers;
        f.rows = st.rows;
        f.stride = st.stride;
        f.zigzag = st.zigzag;
        f.gust_rx = f.gust_ry = 1;
        f.profile = &profile_pool[p];
        p += (size_t)st.stride;
        for (int k = 0; k < st.layers; k++) {
            FxLayer& L = layer_pool[l++];
            const LayerSetup& ls = st.l[k];
            L = FxLayer{ls.spacing, ls.level, ls.decay, ls.gain, ls.lift, ls.wobble,
                        &grid_pool[g], &offset_pool[c], &spot_pool[s]};
            g += (size_t)st.rows * st.stride;
            c += (size_t)st.stride;
            spot_counts[i][k] = st.stride / ls.spacing + 2;
            s += (size_t)spot_counts[i][k];
        }
    }
}


void make_offsets(FxField& f) {
    for (int k = 0; k < f.layer_count; k++) {
        FxLayer& L = f.layers[k];
        const float p1 = (float)(next_random() % 628u) / 100.0f;
        const float p2 = (float)(next_random() % 628u) / 100.0f;
        for (int j = 0; j < f.stride; j++) {
            const float t = 6.2831853f * (float)j / (float)std::max(f.width, 1);
            L.offsets[j] = (int8_t)std::lrint((float)L.wobble *
                                              (0.65f * std::sin(1.1f * t + p1) + 0.35f * std::sin(2.7f * t + p2)));
        }
    }
}


void step_layer(FxField& f, int slot, int k) {
    FxLayer& L = f.layers[k];
    const int w = f.width;
    const int nspots = std::min(w / L.spacing + 2, spot_counts[slot][k]);
    for (int i = 0; i < nspots; i++) {
        if (L.spots[i] == 0 || next_random() % 100u < 3u) L.spots[i] = (uint16_t)(next_random() % 999u + 1u);
    }
    uint8_t* seed = L.grid + (size_t)(f.rows - 1) * f.stride;
    const float hot = L.level * 1000.0f;
    for (int j = 0; j < w; j++) {
        const int s = j / L.spacing, fr = j % L.spacing;
        const int a = L.spots[std::min(s, nspots - 1)], b = L.spots[std::min(s + 1, nspots - 1)];
        const int v = ((L.spacing - fr) * a + fr * b) / L.spacing;
        int cell = (float)v < hot ? FXFIELD_HOT : 0;
        if (f.profile_on) cell = std::min(cell, (int)f.profile[j]);
        seed[j] = (uint8_t)cell;
    }
    const bool gust = f.gust_frames > 0;
    for (int r = 0; r < f.rows - 1; r++) {
        const bool rtl = f.zigzag && (r & 1);
        // Where fxfield_draw places row r of this layer, relative to the draw position (before the
        // column's wave offset).
        const int drawn_row = f.height - f.height * L.lift / 100 + r - f.rows;
        for (int n = 0; n < w; n++) {
            const int c = rtl ? w - 1 - n : n;
            const int h = L.grid[(size_t)(r + 1) * f.stride + c];
            int t = c - (int)((next_random() >> 8) % 3u) + 1;
            int loss = L.decay / 100 + ((int)(next_random() % 100u) < L.decay % 100 ? 1 : 0);
            if (gust) {
                const float dx = (float)(c - f.gust_x), dy = (float)(drawn_row - L.offsets[c] - f.gust_y);
                const float e = dx * dx / (float)(f.gust_rx * f.gust_rx) + dy * dy / (float)(f.gust_ry * f.gust_ry);
                if (e < 1.0f) {
                    const int push = 1 + (int)(next_random() & 1u);
                    t += c >= f.gust_x ? push : -push;
                    loss += (int)((float)f.gust_strength * (1.0f - e));
                }
            }
            t = std::clamp(t, 0, w - 1);
            L.grid[(size_t)r * f.stride + t] = (uint8_t)std::max(0, h - loss);
        }
    }
}


}  // namespace

void fxfields_reset() {
    for (FxField& f : fxfields) f = FxField{};
    std::memset(grid_pool, 0, sizeof grid_pool);
    std::memset(offset_pool, 0, sizeof offset_pool);
    std::memset(spot_pool, 0, sizeof spot_pool);
    std::memset(profile_pool, 0, sizeof profile_pool);
    std::memset(spot_counts, 0, sizeof spot_counts);
    fxfield_rng = FXFIELD_RNG_START;
    ready = false;
}

bool fxfield_slot_ok(int slot) {
    setup();
    return slot >= 0 && slot < FXFIELD_COUNT;
}

// The colour of a cell at a drawn position, 0 for nothing.
int fxfield_cell_colour(int cell, int gain, int row, int col) {
    if (cell * gain < 100) return 0;
    const int I = cell * gain / 100;
    return std::min(3, (I * 4 / 3 + BAYER4[row & 3][col & 3]) >> 4);
}

// A grid cell by row, 0 outside the grid.
int fxfield_cell_at(const FxField& f, const FxLayer& L, int row, int col) {
    if (row < 0 || row >= f.rows || col < 0 || col >= f.width) return 0;
    return L.grid[(size_t)row * f.stride + col];
}

int32_t fxfield_update(int slot, int width, int height) {
    if (!fxfield_slot_ok(slot)) return 0;
    FxField& f = fxfields[slot];
    width = std::clamp(width, 0, f.stride);
    height = std::max(height, 0);
    if (width != f.width || height != f.height) {
        f.width = width;
        f.height = height;
        for (int k = 0; k < f.layer_count; k++) std::memset(f.layers[k].grid, 0, (size_t)f.rows * f.stride);
        make_offsets(f);
    }
    if (width >= 3 && height >= 2)
        for (int k = 0; k < f.layer_count; k++) step_layer(f, slot, k);
    if (f.gust_frames > 0) f.gust_frames--;
    return f.gust_frames;
}

void fxfield_reseed(int slot) {
    if (!fxfield_slot_ok(slot)) return;
    FxField& f = fxfields[slot];
    for (int k = 0; k < f.layer_count; k++) std::memset(f.layers[k].spots, 0, sizeof(uint16_t) * (size_t)spot_counts[slot][k]);
}

void fxfield_set_level(int slot, float level) {
    if (!fxfield_slot_ok(slot)) return;
    level = std::clamp(level, 0.0f, 1.0f);
    for (int k = 0; k < fxfields[slot].layer_count; k++) fxfields[slot].layers[k].level = level;
}

void fxfield_set_rate(int slot, int32_t decay) {
    if (!fxfield_slot_ok(slot)) return;
    FxField& f = fxfields[slot];
    for (int k = 0; k < f.layer_count; k++) f.layers[k].decay = decay;
    if (f.layer_count > 1) f.layers[0].decay = decay + 12;
}

void fxfield_set_slot0(float x) {
    setup();
    x = std::clamp(x, 0.0f, 1.0f);
    FxLayer* L = fxfields[0].layers;
    L[0].level = 0.88f * x + 0.02f;
    L[1].level = 0.68f * x + 0.04f;
    L[2].level = 0.46f * x + 0.12f;
    L[0].decay = (int)(97.0f - 17.0f * x);
    L[1].decay = (int)(94.0f - 26.0f * x);
    L[2].decay = (int)(92.0f - 40.0f * x);
}

void fxfield_set_params(int slot, int gx, int gy, int rx, int ry, int strength, int frames) {
    if (!fxfield_slot_ok(slot)) return;
    FxField& f = fxfields[slot];
    f.gust_x = gx;
    f.gust_y = gy;
    f.gust_rx = std::max(rx, 1);
    f.gust_ry = std::max(ry, 1);
    f.gust_strength = strength;
    f.gust_frames = frames;
}

void fxfield_set_profile(int slot, const uint8_t* bytes, int length) {
    if (!fxfield_slot_ok(slot)) return;
    FxField& f = fxfields[slot];
    f.profile_on = bytes != nullptr;
    const int n = bytes ? std::clamp(length, 0, f.stride) : 0;
    if (n > 0) std::memcpy(f.profile, bytes, (size_t)n);
    std::memset(f.profile + n, 0, (size_t)(f.stride - n));
}

void fxfield_set_ramp(int slot, int a, int n, int plateau, int peak) {
    if (!fxfield_slot_ok(slot) || n <= 0) return;
    FxField& f = fxfields[slot];
    const int L = std::clamp(a + 2 * n, 0, std::min(640, f.stride));
    uint8_t ramp[640];
    for (int i = 0; i < L; i++) {
        int v;
        if (i < n) v = peak * (n - i) / n;
        else if (i < a + n) v = plateau;
        else v = peak * (a + 2 * n - i) / n;
        ramp[i] = (uint8_t)std::clamp(v, 0, FXFIELD_HOT);
    }
    fxfield_set_profile(slot, ramp, L);
    fxfield_update(slot, L, f.height);
}

void fxfield_clear(int slot) {
    if (!fxfield_slot_ok(slot)) return;
    FxField& f = fxfields[slot];
    for (int k = 0; k < f.layer_count; k++) std::memset(f.layers[k].grid, 0, (size_t)f.rows * f.stride);
    f.gust_frames = 0;
}

bool fxfield_active(int slot) {
    if (!fxfield_slot_ok(slot)) return false;
    const FxField& f = fxfields[slot];
    // Asked every tick of the dungeon, mostly of an empty field: eight cells at a time.
    const size_t n = (size_t)f.rows * f.stride;
    for (int k = 0; k < f.layer_count; k++) {
        const uint8_t* g = f.layers[k].grid;
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t word;
            std::memcpy(&word, g + i, 8);
            if (word) return true;
        }
        for (; i < n; i++)
            if (g[i]) return true;
    }
    return false;
}

int fxfield_sample(int slot, float u, float v) {
    if (!fxfield_slot_ok(slot)) return 0;
    if (!(u >= 0.0f && u < 1.0f && v >= 0.0f && v < 1.0f)) return 0;
    const FxField& f = fxfields[slot];
    const int row = f.rows - f.height + (int)(v * (float)f.height);
    const int col = (int)(u * (float)f.width);
    int best = 0;
    for (int k = 0; k < f.layer_count; k++) {
        const int I = fxfield_cell_at(f, f.layers[k], row, col) * f.layers[k].gain / 100;
        best = std::max(best, I);
    }
    if (best <= 0) return 0;
    return std::min(3, (best * 4 / 3 + BAYER4[row & 3][col & 3]) >> 4);
}
