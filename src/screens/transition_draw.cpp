// The transition's picture: the dithered wipes, the black card with its (typed) caption and the
// rising sparks. Drawn by the draw pass over whatever the state drew, every frame.
#include <cmath>
#include <cstring>

#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/transition.h"

namespace {

constexpr int WIPE_IN_STEPS = 24;
constexpr int WIPE_OUT_STEPS = 30;
constexpr int SPARK_COUNT = 28;
constexpr int TYPE_STEPS_PER_CHAR = 3;

// The 4 x 4 Bayer thresholds, indexed [(y & 3) * 4 + (x & 3)] in framebuffer coordinates.
constexpr uint8_t TRANSITION_DITHER[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// Blacks out the share b (0..1) of the view through the ordered dither.
void wipe(float b) {
    if (b <= 0.0f) return;
    const ScreenRect& v = screen_layout.view;
    if (b >= 1.0f) {
        screen_fill_rect(v.x0, v.y0, v.x1 - v.x0 + 1, v.y1 - v.y0 + 1, 0);
        return;
    }
    const int level = (int)std::floor(b * 16.0f + 0.5f);
    for (int y = v.y0; y <= v.y1; y++) {
        if (y < 0 || y >= screen_layout.height) continue;
        for (int x = v.x0; x <= v.x1; x++) {
            if (x < 0 || x >= screen_layout.width) continue;
            if (TRANSITION_DITHER[(y & 3) * 4 + (x & 3)] < level) framebuffer[y * screen_layout.width + x] = 0;
        }
    }
}

// Sparks rise 1, 2 or 3 pixels a step from the bottom, wrap, wobble, and flicker near the top.
void draw_sparks(int frame) {
    const ScreenRect& v = screen_layout.view;
    const int H = v.y1 - v.y0 + 21;
    const int span = v.x1 - v.x0 - 7;
    if (span < 1 || H < 1) return;
    static const int WOBBLE[4] = {1, 0, -1, 0};
    for (int i = 0; i < SPARK_COUNT; i++) {
        const uint32_t s = (uint32_t)i * 0x9E3779B1u;
        uint32_t d = (s ^ (s >> 13)) * 0x5BD1E995u;
        d ^= d >> 15;
        const int64_t speed = (int64_t)((d >> 8) % 3 + 1);
        const int e = (int)((speed * frame + (int64_t)((d >> 12) % (uint32_t)H)) % H);
        const int y = v.y1 - e;
        if (y < v.y0) continue;
        const int x = v.x0 + 4 + (int)(d % (uint32_t)span) + WOBBLE[(e / 6 + i) % 4];
        if (e > (3 * (v.y1 - v.y0) + 3) / 4 && ((frame + i) & 1)) continue;
        screen_pixel(x, y, 3);
        if (y < v.y1) screen_pixel(x, y + 1, 1);
    }
}

void draw_card(int frame) {
    const ScreenRect& v = screen_layout.view;
    screen_fill_rect(v.x0, v.y0, v.x1 - v.x0 + 1, v.y1 - v.y0 + 1, 0);
    row_spans_frame(BEHIND_ROWS, v.x0, v.y0, v.x1, v.y1);  // a box over the card clears the caption's lines
    if (transition.sparks) draw_sparks(frame);

    char title[32], subtitle[32];
    std::memcpy(title, transition.title, sizeof title);
    std::memcpy(subtitle, transition.subtitle, sizeof subtitle);
    title[31] = subtitle[31] = 0;
    const int title_w = text_width(title), subtitle_w = text_width(subtitle);
    const bool has_subtitle = subtitle[0] != 0;
    if (transition.typed) {
        const int n = frame / TYPE_STEPS_PER_CHAR;
        const int title_len = (int)std::strlen(title);
        if (n < title_len) {
            title[n > 0 ? n : 0] = 0;
            subtitle[0] = 0;
        } else if (n - title_len < (int)std::strlen(subtitle)) {
            subtitle[n - title_len] = 0;
        }
    }
    const int y_mid = v.y0 + (v.y1 - v.y0 + 1) / 2;
    text_draw(v.x0 + (v.x1 - v.x0 - title_w + 1) / 2, has_subtitle ? y_mid - 9 : y_mid - 3, title,
              transition.typed ? 2 : 3);
    if (subtitle[0])
        text_draw(v.x0 + (v.x1 - v.x0 - subtitle_w + 1) / 2, y_mid + 4, subtitle, transition.typed ? 2 : 1);
}

}  // namespace

void transition_draw() {
    switch (transition.phase) {
    case 1: wipe((float)transition.frame / WIPE_IN_STEPS); break;
    case 2: draw_card(transition.frame); break;
    case 3: wipe(1.0f - (float)transition.frame / WIPE_OUT_STEPS); break;
    default: break;
    }
}
