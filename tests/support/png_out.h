// Writes framebuffer pictures as PNG files for looking at, into the folder named by QM_PNG_DIR;
// nothing is written when it is not set.
#pragma once
#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/font.h"
#include "render/screen.h"

// A label's height on a sheet before enlarging: one row of the game's font and a gap.
constexpr int PNG_LABEL_H = FONT_CELL_H + 3;

// `text` in the game's font, k times enlarged, light grey, into an RGB picture w x h (top left at
// x, y): a sheet's name for the picture by it. Lower case is drawn as upper case; what falls
// outside the picture is left out.
inline void png_label(std::vector<uint8_t>& rgb, int w, int h, int x, int y, const char* text, int k) {
    for (int n = 0; text[n]; n++) {
        const uint8_t* g = font_glyph((unsigned char)text[n]);
        for (int c = 0; c < 5; c++)
            for (int r = 0; r < 7; r++) {
                if (!(g[c] & (1u << r))) continue;
                for (int i = 0; i < k; i++)
                    for (int j = 0; j < k; j++) {
                        const int px = x + (n * 6 + c) * k + j, py = y + r * k + i;
                        if (px < 0 || py < 0 || px >= w || py >= h) continue;
                        for (int ch = 0; ch < 3; ch++) rgb[((size_t)py * w + px) * 3 + ch] = 220;
                    }
            }
    }
}

struct PngSheet {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    PngSheet(int width, int height) : w(width), h(height), rgb((size_t)width * height * 3, 40) {}
    // The framebuffer region (x, y, rw, rh) at (dx, dy), k times enlarged.
    void paste(int x, int y, int rw, int rh, int dx, int dy, int k) {
        static const uint8_t SHADES[8][3] = {{8, 12, 8},       {70, 90, 60},     {150, 176, 110}, {228, 242, 180},
                                             {120, 180, 255}, {80, 220, 80},    {255, 255, 255}, {255, 0, 255}};
        for (int r = 0; r < rh; r++)
            for (int c = 0; c < rw; c++) {
                const int v = screen_get(x + c, y + r);
                const uint8_t* col = SHADES[v > 6 ? 7 : v];
                for (int i = 0; i < k; i++)
                    for (int j = 0; j < k; j++) {
                        const int px = dx + c * k + j, py = dy + r * k + i;
                        if (px < 0 || py < 0 || px >= w || py >= h) continue;
                        for (int ch = 0; ch < 3; ch++) rgb[((size_t)py * w + px) * 3 + ch] = col[ch];
                    }
            }
    }
    void label(int x, int y, const char* text, int k = 1) { png_label(rgb, w, h, x, y, text, k); }
    bool write(const char* name) const {
        const char* dir = std::getenv("QM_PNG_DIR");
        if (!dir || !*dir) return false;
        const std::string path = std::string(dir) + "/" + name;
        return stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3) != 0;
    }
};

// The whole framebuffer, k times enlarged.
inline bool png_write_framebuffer(const char* name, int k = 3) {
    PngSheet s(screen_layout.width * k, screen_layout.height * k);
    s.paste(0, 0, screen_layout.width, screen_layout.height, 0, 0, k);
    return s.write(name);
}
