// Build-time drawing of the console-case art: for each case model and orientation, the case sheet
// and the pressed picture of each of its eight buttons, drawn from shapes in the art's own blue
// (hue 218, which the game recolours to the case colour), encoded as PNG and written out as C++
// arrays with their descriptors. Labels are marked with alpha 0xFE so recolouring keeps them.
//   qm_caseart FONT_FILE OUT_CPP [PNG_DIR]
// PNG_DIR, when given, also receives every picture as a file for review.
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "caseart: %s\n", what.c_str());
    std::exit(1);
}

// ---- the layouts: sheet size, the screen opening and the buttons' boxes ----

constexpr int FB_LONG = 312, FB_SHORT = 144;
enum Key : uint8_t { K_UP = 1, K_DOWN = 2, K_LEFT = 4, K_RIGHT = 8, K_A = 16, K_B = 32, K_START = 64, K_SELECT = 128 };
constexpr int DPAD_BOX = 58, FACE_BOX = 79, PILL_BOX_W = 100, PILL_BOX_H = 40;

struct Box {
    int x, y;
};
struct Layout {
    const char* name;  // file stem
    int model, landscape;
    int left, right, top, bottom;  // case margins, framebuffer pixels
    int view_x0, view_y0, view_x1, view_y1;  // the screen area, framebuffer pixels, inclusive
    Box up, down, left_b, right_b, a, b, select, start;
};

// Button boxes in sheet pixels, as the game's descriptors give them.
const Layout LAYOUTS[6] = {
    {.name = "phone_portrait", .model = 0, .landscape = 0, .left = 6, .right = 6, .top = 22, .bottom = 4,
     .view_x0 = 0, .view_y0 = 0, .view_x1 = 143, .view_y1 = 195,
     .up = {75, 708}, .down = {75, 804}, .left_b = {27, 756}, .right_b = {123, 756}, .a = {280, 778}, .b = {352, 706},
     .select = {125, 899}, .start = {245, 899}},
    {.name = "phone_landscape", .model = 0, .landscape = 1, .left = 13, .right = 13, .top = 6, .bottom = 6,
     .view_x0 = 70, .view_y0 = 0, .view_x1 = 241, .view_y1 = 143,
     .up = {117, 159}, .down = {117, 255}, .left_b = {69, 207}, .right_b = {165, 207}, .a = {787, 244}, .b = {865, 172},
     .select = {95, 359}, .start = {821, 359}},
    {.name = "16x9_portrait", .model = 1, .landscape = 0, .left = 22, .right = 23, .top = 6, .bottom = 18,
     .view_x0 = 0, .view_y0 = 0, .view_x1 = 143, .view_y1 = 195,
     .up = {123, 660}, .down = {123, 756}, .left_b = {75, 708}, .right_b = {171, 708}, .a = {328, 730}, .b = {400, 658},
     .select = {173, 851}, .start = {293, 851}},
    {.name = "16x9_landscape", .model = 1, .landscape = 1, .left = 12, .right = 12, .top = 18, .bottom = 27,
     .view_x0 = 70, .view_y0 = 0, .view_x1 = 241, .view_y1 = 143,
     .up = {114, 195}, .down = {114, 291}, .left_b = {66, 243}, .right_b = {162, 243}, .a = {784, 280}, .b = {862, 208},
     .select = {92, 395}, .start = {818, 395}},
    {.name = "16x10_portrait", .model = 2, .landscape = 0, .left = 33, .right = 33, .top = 6, .bottom = 18,
     .view_x0 = 0, .view_y0 = 0, .view_x1 = 143, .view_y1 = 195,
     .up = {156, 660}, .down = {156, 756}, .left_b = {108, 708}, .right_b = {204, 708}, .a = {361, 730}, .b = {433, 658},
     .select = {206, 851}, .start = {326, 851}},
    {.name = "16x10_landscape", .model = 2, .landscape = 1, .left = 12, .right = 12, .top = 26, .bottom = 40,
     .view_x0 = 70, .view_y0 = 0, .view_x1 = 241, .view_y1 = 143,
     .up = {114, 219}, .down = {114, 315}, .left_b = {66, 267}, .right_b = {162, 267}, .a = {784, 304}, .b = {862, 232},
     .select = {92, 419}, .start = {818, 419}},
};

// ---- the font, read from the game's own 5x7 source ----

uint8_t font[96][7];  // rows, bit c = column c

void font_load(const std::string& path) {
    std::ifstream in(path);
    if (!in) fail("cannot open " + path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    for (size_t i = 0; i + 7 < lines.size(); i++) {
        const std::string& l = lines[i];
        if (l.size() < 3 || l.compare(0, 2, "= ") != 0) continue;
        const std::string name = l.substr(2);
        const int code = name == "space" ? 32 : name.size() == 1 ? (unsigned char)name[0] : -1;
        if (code < 32 || code >= 128) continue;
        for (int r = 0; r < 7; r++)
            for (int c = 0; c < 5 && c < (int)lines[i + 1 + r].size(); c++)
                if (lines[i + 1 + r][c] == '#') font[code - 32][r] |= (uint8_t)(1u << c);
        i += 7;
    }
}

// ---- colours ----

struct Rgb {
    float r, g, b;
};
Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb grey(float v) { return {v, v, v}; }
Rgb scale(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

// The art's blue at value v (0..1) and saturation s: the game shifts this hue to the case colour.
Rgb blue(float v, float s = 0.70f) {
    const float h = 218.0f / 60.0f;
    const int i = (int)h;
    const float f = h - i;
    v = std::clamp(v, 0.0f, 1.0f);
    const float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    Rgb c = i == 3 ? Rgb{p, q, v} : Rgb{t, p, v};  // 218 degrees lies in sector 3
    return scale(c, 255.0f);
}

float clampf(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }
float smooth(float e0, float e1, float x) {
    const float t = clampf((x - e0) / (e1 - e0), 0, 1);
    return t * t * (3 - 2 * t);
}

// Signed distances: negative inside.
float sd_round_box(float px, float py, float cx, float cy, float hw, float hh, float r) {
    const float qx = std::fabs(px - cx) - hw + r, qy = std::fabs(py - cy) - hh + r;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}
float sd_circle(float px, float py, float cx, float cy, float r) { return std::hypot(px - cx, py - cy) - r; }

// Light falls from the upper left: +1 on edges facing it, -1 on edges facing away.
constexpr float LX = -0.6f, LY = -0.8f;

// ---- one case ----

struct Case {
    const Layout& L;
    int W, H;
    float vx0, vy0, vx1, vy1;  // the screen opening, sheet pixels, exclusive ends
    float bez_x0, bez_y0, bez_x1, bez_y1, bez_r;
    float dcx, dcy, arm_half, arm_len;
    float ax, ay, bx, by, face_r;

    explicit Case(const Layout& l) : L(l) {
        const int fw = l.landscape ? FB_LONG : FB_SHORT, fh = l.landscape ? FB_SHORT : FB_LONG;
        W = 3 * (l.left + fw + l.right);
        H = 3 * (l.top + fh + l.bottom);
        vx0 = 3.0f * (l.left + l.view_x0);
        vy0 = 3.0f * (l.top + l.view_y0);
        vx1 = 3.0f * (l.left + l.view_x1 + 1);
        vy1 = 3.0f * (l.top + l.view_y1 + 1);
        const float side = std::min({vx0 - 6, W - vx1 - 6, 16.0f});
        bez_x0 = vx0 - side;
        bez_x1 = vx1 + side;
        bez_y0 = vy0 - std::min(vy0 - 6, 16.0f);
        bez_y1 = vy1 + (l.landscape ? std::min(H - vy1 - 6, 16.0f) : 38.0f);
        bez_r = 14;
        dcx = l.up.x + DPAD_BOX / 2.0f;
        dcy = l.left_b.y + DPAD_BOX / 2.0f;
        arm_half = 21;
        arm_len = dcy - l.up.y - 3;
        ax = l.a.x + FACE_BOX / 2.0f;
        ay = l.a.y + FACE_BOX / 2.0f;
        bx = l.b.x + FACE_BOX / 2.0f;
        by = l.b.y + FACE_BOX / 2.0f;
        face_r = 31;
    }

    float body_sd(float x, float y) const {
        // A larger radius at the lower right in portrait, the classic handheld's corner.
        const float r = (!L.landscape && x > W / 2.0f && y > H / 2.0f) ? 84.0f : 34.0f;
        return sd_round_box(x, y, W / 2.0f, H / 2.0f, W / 2.0f - 3, H / 2.0f - 3, r);
    }

    // Edge light of a shape from its distance field's gradient: rim (0..1) and facing (-1..1).
    template <class F>
    float facing(F sd, float x, float y) const {
        const float gx = sd(x + 1, y) - sd(x - 1, y), gy = sd(x, y + 1) - sd(x, y - 1);
        const float n = std::hypot(gx, gy);
        return n > 0 ? (gx * LX + gy * LY) / n : 0.0f;
    }

    float dpad_sd(float x, float y) const {
        const float v = sd_round_box(x, y, dcx, dcy, arm_half, arm_len, 6);
        const float h = sd_round_box(x, y, dcx, dcy, arm_len, arm_half, 6);
        return std::min(v, h);
    }

    // Which arm of the D-pad a point lies on (0 the centre).
    uint8_t dpad_arm(float x, float y) const {
        const float dx = x - dcx, dy = y - dcy;
        if (std::fabs(dx) <= arm_half && std::fabs(dy) <= arm_half) return 0;
        if (std::fabs(dy) > std::fabs(dx)) return dy < 0 ? K_UP : K_DOWN;
        return dx < 0 ? K_LEFT : K_RIGHT;
    }

    Rgb body(float x, float y) const {
        float v = 0.80f - 0.12f * y / H + 0.03f * (1 - x / W);
        const float d = body_sd(x, y);
        const float rim = smooth(-12.0f, 0.0f, d);
        v += 0.16f * rim * facing([&](float px, float py) { return body_sd(px, py); }, x, y);
        // The parting line of the two shell halves.
        if (d > -15.5f && d < -13.5f) v -= 0.05f;
        if (d > -13.5f && d < -12.5f) v += 0.03f;
        return blue(v);
    }

    // A round recess in the body: darker, shadowed on its upper-left inner edge.
    Rgb well(Rgb base, float x, float y, float cx, float cy, float r) const {
        const float d = sd_circle(x, y, cx, cy, r);
        if (d > 2) return base;
        const float inner = smooth(-7.0f, 0.0f, d);
        const float f = facing([&](float px, float py) { return sd_circle(px, py, cx, cy, r); }, x, y);
        float v = 0.66f - 0.05f * y / H - 0.14f * inner * f;
        if (d > 0) v = 0.66f + 0.12f * (-f) - 0.05f * y / H;  // the lip catches the light below right
        return blue(v, 0.72f);
    }

    Rgb dpad(float x, float y, uint8_t pressed) const {
        const float d = dpad_sd(x, y);
        const uint8_t arm = dpad_arm(x, y);
        const bool down = arm && (pressed & arm);
        // The cross tilts into the case under a pressed arm: that arm darkens towards its tip.
        float v = 62;
        if (down) {
            const float along = std::max(std::fabs(x - dcx), std::fabs(y - dcy)) / arm_len;
            v -= 26 * along;
        }
        const float rim = smooth(-5.0f, 0.0f, d);
        const float f = facing([&](float px, float py) { return dpad_sd(px, py); }, x, y);
        v += (down ? -14 : 30) * rim * f;
        // A shallow dish at the centre.
        const float cd = sd_circle(x, y, dcx, dcy, 11);
        if (cd < 0) v -= 10 + 8 * (cd / 11.0f) * (((x - dcx) * LX + (y - dcy) * LY) / 11.0f);
        // Engraved arrows near the arm tips.
        const float dx = x - dcx, dy = y - dcy;
        auto arrow = [&](float along, float across) {
            const float t = arm_len - 20 - along;  // 0 at the arrow's tip
            return t >= 0 && t <= 10 && std::fabs(across) <= t * 0.9f;
        };
        if (arrow(-dy, dx) || arrow(dy, dx) || arrow(-dx, dy) || arrow(dx, dy)) v -= 22;
        return grey(clampf(v, 8, 255));
    }

    Rgb face(float x, float y, float cx, float cy, bool pressed) const {
        if (pressed) cy += 2;
        const float nx = (x - cx) / face_r, ny = (y - cy) / face_r;
        const float n2 = nx * nx + ny * ny;
        const float nz = std::sqrt(std::max(0.0f, 1 - n2));
        // A domed button in deep rose: its hue lies outside the recoloured blue, so every case keeps it.
        const float lit = clampf(0.35f + 0.45f * (-(nx * LX + ny * LY)) * (1 - nz) + 0.45f * nz, 0, 1);
        const float glint = std::pow(clampf(1 - std::hypot(nx + 0.38f, ny + 0.45f) / 0.32f, 0, 1), 2.0f);
        Rgb c = {150 * lit + 40, 30 * lit + 12, 74 * lit + 24};
        if (pressed) c = scale(c, 0.78f);
        c = mix(c, {255, 215, 230}, pressed ? 0.35f * glint : 0.75f * glint);
        // The rim darkens towards the edge.
        return scale(c, 1 - 0.35f * smooth(0.75f, 1.0f, std::sqrt(n2)));
    }

    Rgb pill(float x, float y, const Box& b, bool pressed) const {
        const float cx = b.x + PILL_BOX_W / 2.0f, cy = b.y + 13.0f + (pressed ? 1 : 0);
        const float d = sd_round_box(x, y, cx, cy, 30, 7, 7);
        const float f = facing([&](float px, float py) { return sd_round_box(px, py, cx, cy, 30, 7, 7); }, x, y);
        float v = pressed ? 54 : 74;
        v += (pressed ? 10 : 34) * smooth(-4.0f, 0.0f, d) * f;
        return grey(clampf(v, 8, 255));
    }

    float bezel_sd(float x, float y) const {
        return sd_round_box(x, y, (bez_x0 + bez_x1) / 2, (bez_y0 + bez_y1) / 2, (bez_x1 - bez_x0) / 2,
                            (bez_y1 - bez_y0) / 2, bez_r);
    }

    Rgb bezel(float x, float y) const {
        float v = 44 - 10 * (y - bez_y0) / (bez_y1 - bez_y0);
        v += 10 * smooth(-3.0f, 0.0f, bezel_sd(x, y)) *
             facing([&](float px, float py) { return bezel_sd(px, py); }, x, y);
        // A thin dark lip right around the glass.
        const float lip = sd_round_box(x, y, (vx0 + vx1) / 2, (vy0 + vy1) / 2, (vx1 - vx0) / 2 + 3,
                                       (vy1 - vy0) / 2 + 3, 3);
        if (lip < 0) v = 16;
        return grey(v);
    }

    // The speaker: six slanted slots.
    bool speaker_slot(float x, float y) const {
        float sx, sy;
        if (L.landscape) {
            sx = W - 3.0f * L.right - 3.0f * 35;
            sy = std::max(44.0f, (float)(L.b.y - 100));
        } else {
            sx = W - 3.0f * L.right - 30;
            sy = L.start.y + 70.0f;
        }
        for (int i = 0; i < 6; i++) {
            const float ox = sx + (i - 2.5f) * 17, oy = sy;
            // A capsule along the 60-degree slant.
            const float ux = 0.5f, uy = -0.866f;
            const float px = x - ox, py = y - oy;
            const float t = clampf(px * ux + py * uy, -26, 26);
            if (std::hypot(px - t * ux, py - t * uy) < 4.2f) return true;
        }
        return false;
    }

    // One sample of the case with the buttons of `pressed` held down.
    Rgb sample(float x, float y, uint8_t pressed) const {
        if (body_sd(x, y) > 0) return grey(18);
        if (x >= vx0 && x < vx1 && y >= vy0 && y < vy1) return grey(6);  // the glass; the game draws over it
        if (bezel_sd(x, y) < 0) return bezel(x, y);
        Rgb c = body(x, y);
        if (speaker_slot(x, y)) c = grey(24);
        c = well(c, x, y, dcx, dcy, arm_len + 9);
        if (dpad_sd(x, y) < 0) return dpad(x, y, pressed);
        for (int i = 0; i < 2; i++) {
            const float cx = i ? bx : ax, cy = i ? by : ay;
            const float dw = sd_circle(x, y, cx, cy, face_r + 5);
            if (dw < 0) {
                if (sd_circle(x, y, cx, cy + ((pressed & (i ? K_B : K_A)) ? 2 : 0), face_r) < 0)
                    return face(x, y, cx, cy, pressed & (i ? K_B : K_A));
                return grey(20);
            }
            if (dw < 3) c = mix(c, blue(0.45f), 1 - dw / 3);
        }
        for (int i = 0; i < 2; i++) {
            const Box& b = i ? L.start : L.select;
            const float cx = b.x + PILL_BOX_W / 2.0f, cy = b.y + 13.0f;
            const float dw = sd_round_box(x, y, cx, cy, 34, 10, 10);
            if (dw < 0) {
                if (sd_round_box(x, y, cx, cy + ((pressed & (i ? K_START : K_SELECT)) ? 1 : 0), 30, 7, 7) < 0)
                    return pill(x, y, b, pressed & (i ? K_START : K_SELECT));
                return grey(22);
            }
        }
        return c;
    }

    // ---- drawing into a picture ----

    struct Picture {
        int w, h;
        std::vector<uint8_t> rgba;
    };

    // The region (x0, y0, w, h) of the sheet, 4 samples a pixel; labels on top.
    Picture render(int x0, int y0, int w, int h, uint8_t pressed) const {
        Picture p{w, h, std::vector<uint8_t>((size_t)w * h * 4)};
        static const float OFF[4][2] = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}};
        for (int j = 0; j < h; j++)
            for (int i = 0; i < w; i++) {
                Rgb acc = {0, 0, 0};
                for (const auto& o : OFF) {
                    const Rgb s = sample(x0 + i + o[0], y0 + j + o[1], pressed);
                    acc = {acc.r + s.r / 4, acc.g + s.g / 4, acc.b + s.b / 4};
                }
                uint8_t* q = &p.rgba[((size_t)j * w + i) * 4];
                q[0] = (uint8_t)clampf(acc.r + 0.5f, 0, 255);
                q[1] = (uint8_t)clampf(acc.g + 0.5f, 0, 255);
                q[2] = (uint8_t)clampf(acc.b + 0.5f, 0, 255);
                q[3] = 255;
            }
        labels(p, x0, y0, pressed);
        return p;
    }

    // Marked pixels: the labels keep their colour whatever the case colour.
    static void mark(Picture& p, int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= p.w || y >= p.h) return;
        uint8_t* q = &p.rgba[((size_t)y * p.w + x) * 4];
        q[0] = (uint8_t)c.r;
        q[1] = (uint8_t)c.g;
        q[2] = (uint8_t)c.b;
        q[3] = 0xFE;
    }

    static int text_width(const char* s, int k) { return ((int)std::string(s).size() * 6 - 1) * k; }

    static void text(Picture& p, int x, int y, const char* s, int k, Rgb c) {
        for (; *s; s++, x += 6 * k) {
            const int code = (unsigned char)*s;
            if (code < 32 || code >= 128) continue;
            for (int r = 0; r < 7; r++)
                for (int col = 0; col < 5; col++)
                    if (font[code - 32][r] & (1u << col))
                        for (int a = 0; a < k; a++)
                            for (int b = 0; b < k; b++) mark(p, x + col * k + b, y + r * k + a, c);
        }
    }

    void labels(Picture& p, int x0, int y0, uint8_t pressed) const {
        const Rgb white = {255, 255, 255};       // turns dark on the pale cases
        const Rgb on_button = {236, 214, 224};   // stays light on every case
        const Rgb on_bezel = {190, 194, 204};
        for (int i = 0; i < 2; i++) {
            const float cx = i ? bx : ax, cy = (i ? by : ay) + ((pressed & (i ? K_B : K_A)) ? 2 : 0);
            const char* s = i ? "B" : "A";
            text(p, (int)(cx - 7) - x0, (int)(cy - 10) - y0, s, 3, on_button);
        }
        for (int i = 0; i < 2; i++) {
            const Box& b = i ? L.start : L.select;
            const char* s = i ? "START" : "SELECT";
            text(p, b.x + (PILL_BOX_W - text_width(s, 2)) / 2 - x0, b.y + 25 - y0, s, 2, white);
        }
        // The maker's name and the power light.
        const char* brand = "QUILLMARCH";
        int tx, ty;
        Rgb tc;
        if (L.landscape) {
            tx = (int)(vx0 - 14) / 2 - text_width(brand, 2) / 2;
            ty = L.up.y - 64;
            tc = white;
        } else {
            tx = (int)(vx0 + vx1) / 2 - text_width(brand, 2) / 2;
            ty = (int)vy1 + 12;
            tc = on_bezel;
        }
        text(p, tx - x0, ty - y0, brand, 2, tc);
        const float lx = L.landscape ? (float)tx + text_width(brand, 2) / 2.0f : bez_x0 + 22;
        const float ly = L.landscape ? (float)ty - 26 : (float)ty + 7;
        for (int j = -6; j <= 6; j++)
            for (int i = -6; i <= 6; i++) {
                const float d = std::hypot((float)i, (float)j);
                if (d > 5.5f) continue;
                const float hl = clampf(1 - std::hypot(i + 1.5f, j + 1.5f) / 3.0f, 0, 1);
                mark(p, (int)lx + i - x0, (int)ly + j - y0, mix({200, 30, 40}, {255, 190, 180}, hl));
            }
    }
};

// ---- output ----

void png_append(void* ctx, void* data, int size) {
    auto* v = static_cast<std::vector<uint8_t>*>(ctx);
    const uint8_t* b = static_cast<const uint8_t*>(data);
    v->insert(v->end(), b, b + size);
}

std::vector<uint8_t> encode(const Case::Picture& p) {
    std::vector<uint8_t> out;
    if (!stbi_write_png_to_func(png_append, &out, p.w, p.h, 4, p.rgba.data(), p.w * 4)) fail("PNG encoding failed");
    return out;
}

void write_bytes(std::ostringstream& o, const std::string& name, const std::vector<uint8_t>& b) {
    o << "const uint8_t " << name << "[" << b.size() << "] = {";
    for (size_t i = 0; i < b.size(); i++) {
        if (i % 24 == 0) o << "\n";
        o << (int)b[i] << ",";
    }
    o << "\n};\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) fail("usage: qm_caseart FONT_FILE OUT_CPP [PNG_DIR]");
    font_load(argv[1]);
    const std::string png_dir = argc > 3 ? argv[3] : "";
    stbi_write_png_compression_level = 9;
    std::ostringstream o;
    o << "// Generated by qm_caseart (tools/caseart.cpp). Do not edit.\n"
         "#include \"platform/case_art_data.h\"\n\nnamespace {\n";
    static const char* const KEY_NAMES[8] = {"up", "down", "left", "right", "a", "b", "select", "start"};
    static const uint8_t KEYS[8] = {K_UP, K_DOWN, K_LEFT, K_RIGHT, K_A, K_B, K_SELECT, K_START};
    for (const Layout& l : LAYOUTS) {
        const Case c(l);
        const std::string stem = l.name;
        auto emit = [&](const std::string& what, const Case::Picture& p) {
            const std::vector<uint8_t> bytes = encode(p);
            write_bytes(o, "PNG_" + stem + "_" + what, bytes);
            if (!png_dir.empty()) {
                const std::string path = png_dir + "/case_" + stem + "_" + what + ".png";
                std::ofstream f(path, std::ios::binary);
                f.write((const char*)bytes.data(), (std::streamsize)bytes.size());
                if (!f) fail("cannot write " + path);
            }
        };
        emit("sheet", c.render(0, 0, c.W, c.H, 0));
        const Box boxes[8] = {l.up, l.down, l.left_b, l.right_b, l.a, l.b, l.select, l.start};
        for (int k = 0; k < 8; k++) {
            const int w = k < 4 ? DPAD_BOX : k < 6 ? FACE_BOX : PILL_BOX_W;
            const int h = k < 4 ? DPAD_BOX : k < 6 ? FACE_BOX : PILL_BOX_H;
            emit(KEY_NAMES[k], c.render(boxes[k].x, boxes[k].y, w, h, KEYS[k]));
        }
        o << "const CaseArtButton BUTTONS_" << stem << "[8] = {\n";
        for (int k = 0; k < 8; k++)
            o << "    {.key = " << (int)KEYS[k] << ", .x = " << boxes[k].x << ", .y = " << boxes[k].y
              << ", .png = PNG_" << stem << "_" << KEY_NAMES[k] << ", .png_bytes = sizeof PNG_" << stem << "_"
              << KEY_NAMES[k] << "},  // " << KEY_NAMES[k] << "\n";
        o << "};\nconst CaseArtDescriptor CASE_" << stem << " = {.kind = CASE_ART_KIND, .sheet_png = PNG_" << stem
          << "_sheet, .sheet_bytes = sizeof PNG_" << stem << "_sheet, .buttons = BUTTONS_" << stem
          << ", .button_count = 8};\n\n";
    }
    o << "}  // namespace\n\n"
         "const CaseArtDescriptor* const CASE_ART_SETS[CASE_ART_SET_COUNT][CASE_MODEL_COUNT][2] = {\n"
         "    {{nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}},  // the first set is empty\n"
         "    {{&CASE_phone_portrait, &CASE_phone_landscape},\n"
         "     {&CASE_16x9_portrait, &CASE_16x9_landscape},\n"
         "     {&CASE_16x10_portrait, &CASE_16x10_landscape}},\n"
         "};\n";
    std::ofstream out(argv[2], std::ios::binary);
    if (!out || !(out << o.str())) fail(std::string("cannot write ") + argv[2]);
    return 0;
}
