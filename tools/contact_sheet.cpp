// Writes two review pictures of the compiled-in art:
//   qm_contact_sheet SHEET.png FONT.png [SCALES.png]
// SHEET: every row of the sprite table with all its frames, transparent texels on a checker.
// FONT: a landscape framebuffer of text drawn by the game's own text routines, scaled 4x.
// SCALES: the monsters at the sizes the first-person view draws them.
#include <stb_image_write.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/icon.h"
#include "render/blit.h"
#include "render/font.h"
#include "render/screen.h"
#include "render/sprites.h"

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// Shades 1..3 and the splash colours 4..6; 0 is drawn as a checker.
const Rgb PALETTE[7] = {{0, 0, 0},       {82, 98, 66},    {154, 178, 112}, {226, 240, 178},
                        {120, 180, 255}, {80, 220, 80},   {255, 255, 255}};
const Rgb BACKGROUND = {24, 24, 32};
const Rgb LABEL = {230, 230, 230};
const Rgb CHECKER[2] = {{40, 40, 48}, {52, 52, 62}};

struct Canvas {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    void grow(int rows) {
        if (rows <= h) return;
        px.resize((size_t)w * rows, BACKGROUND);
        h = rows;
    }
    void put(int x, int y, Rgb c) {
        if (x < 0 || x >= w || y < 0) return;
        grow(y + 1);
        px[(size_t)y * w + x] = c;
    }
};

void put_block(Canvas& cv, int x, int y, int k, Rgb c) {
    for (int i = 0; i < k; i++)
        for (int j = 0; j < k; j++) cv.put(x + j, y + i, c);
}

void label(Canvas& cv, int x, int y, const std::string& text, int k) {
    for (size_t n = 0; n < text.size(); n++) {
        const uint8_t* g = font_glyph((unsigned char)text[n]);
        for (int c = 0; c < 5; c++)
            for (int r = 0; r < 7; r++)
                if (g[c] & (1u << r)) put_block(cv, x + ((int)n * 6 + c) * k, y + r * k, k, LABEL);
    }
}

void image(Canvas& cv, int x, int y, const Image& img, int k) {
    for (int i = 0; i < img.h; i++)
        for (int j = 0; j < img.w; j++) {
            int t = img.pixels[i * img.w + j];
            Rgb c = t == 0 ? CHECKER[((j / 4) + (i / 4)) & 1] : PALETTE[t <= 6 ? t : 3];
            put_block(cv, x + j * k, y + i * k, k, c);
        }
}

bool write_sheet(const char* path) {
    constexpr int WIDTH = 1400, MARGIN = 8, GAP = 4;
    Canvas cv;
    cv.w = WIDTH;
    int y = MARGIN;
    for (const SpriteEntry& e : SPRITES) {
        const Image* first = e.still ? e.still : &e.anim->frames[0];
        const int k = first->w <= 16 ? 4 : first->w <= 48 ? 3 : 2;
        char text[128];
        if (e.anim)
            std::snprintf(text, sizeof text, "%s  %dx%d d%d  %d frames, %d ticks  (x%d)", e.name,
                          first->w, first->h, first->density, e.anim->count,
                          e.anim->ticks_per_frame, k);
        else
            std::snprintf(text, sizeof text, "%s  %dx%d d%d  (x%d)", e.name, first->w, first->h,
                          first->density, k);
        label(cv, MARGIN, y, text, 2);
        y += 18;
        const int count = e.anim ? e.anim->count : 1;
        int x = MARGIN;
        for (int f = 0; f < count; f++) {
            const Image& img = e.still ? *e.still : e.anim->frames[f];
            if (x > MARGIN && x + img.w * k > WIDTH - MARGIN) {
                x = MARGIN;
                y += img.h * k + GAP;
            }
            image(cv, x, y, img, k);
            x += img.w * k + GAP;
        }
        y += first->h * k + 12;
    }
    // the window icon (RGBA), over the checker where it is transparent
    label(cv, MARGIN, y, "window icon  64x64 RGBA  (x1, x4)", 2);
    y += 18;
    const uint8_t* icon = icon_pixels();
    for (int i = 0; i < ICON_SIZE; i++)
        for (int j = 0; j < ICON_SIZE; j++) {
            const uint8_t* q = icon + (i * ICON_SIZE + j) * 4;
            Rgb c = q[3] ? Rgb{q[0], q[1], q[2]} : CHECKER[((j / 4) + (i / 4)) & 1];
            cv.put(MARGIN + j, y + i, c);
            put_block(cv, MARGIN + ICON_SIZE + 16 + j * 4, y + i * 4, 4, c);
        }
    y += ICON_SIZE * 4;
    cv.grow(y + MARGIN);
    return stbi_write_png(path, cv.w, cv.h, 3, cv.px.data(), cv.w * 3) != 0;
}

bool write_font_sheet(const char* path) {
    layout_set_landscape();
    screen_reset_draw_state();
    screen_clear();
    const char* rows[] = {" !\"#$%&'()*+,-./", "0123456789:;<=>?", "@ABCDEFGHIJKLMNO",
                          "PQRSTUVWXYZ[\\]^_"};
    for (int i = 0; i < 4; i++) text_draw(8, 6 + i * 10, rows[i], 3);
    text_draw(120, 6, "THE QUICK BROWN FOX\nJUMPS OVER THE LAZY\nDOG. 0123456789!?", 3);
    text_draw(8, 52, "HP 12/12  GOLD 340  FLOOR 3  x1.25", 2);
    text_draw(8, 62, "lower case folds: press {A} to start", 2);
    text_draw(8, 72, "\"SAVE FAILED!\"  (50%) [OK] <BACK> #7 @2", 1);
    text_draw_boxed(8, 86, "BOXED TEXT");
    text_draw(8, 100, "NEW BEST!  KILLS 12  SOULS +3", 3);
    text_draw(8, 110, "A_B C^D E\\F G'H I;J K=L M*N O&P", 3);
    constexpr int K = 4;
    const int w = screen_layout.width * K, h = screen_layout.height * K;
    std::vector<Rgb> px((size_t)w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int v = screen_get(x / K, y / K);
            px[(size_t)y * w + x] = v == 0 ? Rgb{20, 26, 18} : PALETTE[v <= 6 ? v : 3];
        }
    return stbi_write_png(path, w, h, 3, px.data(), w * 3) != 0;
}

// Each monster as the first-person view draws it: box-filtered by the game's own blit to 1/2, 1/3
// and 1/4 of the stored size (near, middle and far cells), on black, zoomed 3x. The first three
// pictures at 1/2 are frames from across the loop. A monster too wide for one framebuffer row of
// them (the dragon) goes on in a second row, so none is left out.
bool write_scales(const char* path) {
    const char* names[] = {"rat", "goblin", "skeleton", "slime", "bat", "orc", "dragon", "mimic",
                           "mimic_open", "chest", "skulls"};
    constexpr int K = 3, MARGIN = 8, SHOT_GAP = 6;
    layout_set_landscape();
    const int fw = screen_layout.width;
    Canvas cv;
    cv.w = fw * K + 2 * MARGIN;
    int y = MARGIN;
    struct Shot {
        int frame;
        float s;
    };
    for (const char* name : names) {
        const SpriteEntry* e = sprite_find(name);
        if (!e || !e->anim) continue;
        const int n = e->anim->count;
        const Shot shots[] = {{0, 0.5f}, {n / 3, 0.5f}, {2 * n / 3, 0.5f}, {0, 1 / 3.f}, {0, 0.25f}};
        constexpr int SHOTS = sizeof shots / sizeof shots[0];
        label(cv, MARGIN, y, name, 2);
        y += 18;
        // Rows of as many pictures as fit across the framebuffer, bottom-aligned on the row's tallest.
        for (int first = 0; first < SHOTS;) {
            int x = 2, tallest = 0, last = first;
            for (; last < SHOTS; last++) {
                const Image& img = e->anim->frames[shots[last].frame];
                const int dw = (int)(img.w * shots[last].s + 0.5f), dh = (int)(img.h * shots[last].s + 0.5f);
                if (last > first && x + dw > fw) break;
                if (dh > tallest) tallest = dh;
                x += dw + SHOT_GAP;
            }
            screen_reset_draw_state();
            screen_clear();
            x = 2;
            for (int i = first; i < last; i++) {
                const Image& img = e->anim->frames[shots[i].frame];
                const int dw = (int)(img.w * shots[i].s + 0.5f);
                sprite_draw_scaled(&img, x + dw / 2, tallest + 1, shots[i].s);
                x += dw + SHOT_GAP;
            }
            for (int i = 0; i < tallest + 3; i++)
                for (int j = 0; j < fw; j++) {
                    int v = screen_get(j, i);
                    put_block(cv, MARGIN + j * K, y + i * K, K, v == 0 ? Rgb{8, 10, 8} : PALETTE[v <= 6 ? v : 3]);
                }
            y += (tallest + 3) * K + 4;
            first = last;
        }
        y += 6;
    }
    cv.grow(y + MARGIN);
    return stbi_write_png(path, cv.w, cv.h, 3, cv.px.data(), cv.w * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: qm_contact_sheet SHEET.png FONT.png [SCALES.png]\n");
        return 2;
    }
    if (!write_sheet(argv[1])) {
        std::fprintf(stderr, "Couldn't write %s\n", argv[1]);
        return 1;
    }
    if (!write_font_sheet(argv[2])) {
        std::fprintf(stderr, "Couldn't write %s\n", argv[2]);
        return 1;
    }
    if (argc == 4 && !write_scales(argv[3])) {
        std::fprintf(stderr, "Couldn't write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
