// A tiny painter for the code-drawn art: shaded solids on an indexed canvas of colour values.
// Light comes from the upper left and front; a solid's "bias" darkens it (0 = plain, 0.3 = dark
// cloth, -0.2 = bright metal) so neighbouring parts separate by tone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Pic {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    Pic(int w_, int h_) : w(w_), h(h_), px((size_t)w_ * h_, 0) {}
    void put(int x, int y, int c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[(size_t)y * w + x] = (uint8_t)c;
    }
    int at(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h ? px[(size_t)y * w + x] : 0; }
};

struct Pt {
    float x, y;
};

constexpr float PI = 3.14159265f;

// Tone of a surface point from its normal's screen components (nx, ny; |n| <= 1).
int tone(float nx, float ny, float bias);

void ball(Pic& p, float cx, float cy, float rx, float ry, float bias = 0);
// A tapered capsule from (x0, y0) radius r0 to (x1, y1) radius r1, shaded as a cylinder.
void limb(Pic& p, float x0, float y0, float x1, float y1, float r0, float r1, float bias = 0);
// A chain of limbs through the points, radius tapering from r0 to r1.
void chain(Pic& p, const std::vector<Pt>& pts, float r0, float r1, float bias = 0);
// A polygon lit by its edges: colour 2 inside, 3 along the upper-left rim, 1 along the lower right.
void slab(Pic& p, const std::vector<Pt>& pts, int body = 2, int lit = 3, int dark = 1);
void poly(Pic& p, const std::vector<Pt>& pts, int c);
void disc(Pic& p, float cx, float cy, float rx, float ry, int c);
void rect(Pic& p, int x, int y, int w, int h, int c);
void line(Pic& p, float x0, float y0, float x1, float y1, int c);
void thick(Pic& p, float x0, float y0, float x1, float y1, float r, int c);
// Recolours opaque texels of colour `from` to `to` inside a disc (for rims and glints).
void recolor(Pic& p, float cx, float cy, float r, int from, int to);
void mirror_x(Pic& p);
// Draws text in the 5x7 font at k x k blocks (used by the logos); the font file path is set by
// the caller once.
void font_load(const std::string& path);
void big_text(Pic& p, int x, int y, const char* text, int kx, int ky, int gap, int c);
int big_text_width(const char* text, int kx, int gap);
// Adds a rim of `c` round every opaque texel (on transparent texels only), `r` texels thick.
void rim(Pic& p, int c, int r = 1);

// The crest of the order (a shield bearing a quill over a chevron), 20 s wide and 24 s tall from
// `top`; shared by the banner, the door and the logos.
void crest(Pic& p, float cx, float top, float s, int field, int charge, int edge);

// Each art file registers its pictures: fill `p` (already sized) with frame f of n.
using DrawFn = void (*)(Pic& p, int f, int n);
struct ArtEntry {
    const char* name;
    DrawFn fn;
};
bool art_draw(const std::string& name, Pic& p, int f, int n);
extern const ArtEntry ART_MONSTERS[];
extern const ArtEntry ART_ITEMS[];
extern const ArtEntry ART_ROOMS[];
extern const ArtEntry ART_LOGOS[];
