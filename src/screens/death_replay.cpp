// The death snapshot, taken by the tick on entering the death screen, and its replay, drawn by the
// death screen while the snapshot is fresh.
#include <cmath>
#include <cstring>

#include "render/pictures.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/run_end.h"
#include "screens/screens.h"

ScreenSnapshot screen_snapshot = {.pixels = {}, .width = 0, .height = 0, .stamp = -1, .used = 0};

namespace {

constexpr int REPLAY_TILT_END = 42;
constexpr int REPLAY_FALL_END = 66;
constexpr float REPLAY_EASE_FRAMES = 24.0f;
constexpr float REPLAY_DISSOLVE_FRAMES = 36.0f;
constexpr int REPLAY_DISSOLVE_STEPS = 17;
constexpr int REPLAY_FLASH_FRAMES = 6;
// After the shake the HUD's top and bottom strips of the snapshot read as black.
constexpr int REPLAY_TOP_STRIP = 22;
constexpr int REPLAY_BOTTOM_STRIP = 9;
// The picture turns about a point 43 % down the view.
constexpr float REPLAY_PIVOT_Y = 0.43f;
constexpr float DEG_TO_RAD = 3.14159265f / 180.0f;

// 1 - (1 - x)^2: fast at first, settling at the end.
float ease_out(float x) { return 1.0f - (1.0f - x) * (1.0f - x); }

// The dissolve's effect on one shade.
int dissolve_shade(int p, int c, int threshold) {
    if (c < 1) return p;
    if (c >= REPLAY_DISSOLVE_STEPS) return 0;
    if (p == 3) return c <= 12 ? 3 : 2;
    if (threshold < c) return 0;
    return (p > 1 && c > 8) ? p - 1 : p;
}

}  // namespace

void screen_snapshot_take() {
    const ScreenRect& v = screen_layout.view;
    screen_snapshot.width = v.x1 - v.x0 + 1;
    screen_snapshot.height = v.y1 - v.y0 + 1;
    screen_snapshot.stamp = frame_counter;
    screen_snapshot.used = 0;
    if (screen_snapshot.height < 1 || screen_snapshot.width < 1) return;
    if ((int64_t)screen_snapshot.width * screen_snapshot.height > FB_BYTES) {
        screen_snapshot.width = screen_snapshot.height = 0;  // a view larger than the screen: keep nothing
        return;
    }
    for (int i = 0; i < screen_snapshot.height; i++)
        for (int j = 0; j < screen_snapshot.width; j++)
            screen_snapshot.pixels[i * screen_snapshot.width + j] = (uint8_t)screen_get(v.x0 + j, v.y0 + i);
}

int screen_snapshot_age() {
    if (screen_snapshot.stamp < 0) return SNAPSHOT_NONE_AGE;
    return frame_counter - screen_snapshot.stamp;
}

void screen_snapshot_drop() { screen_snapshot.used = 1; }

bool screen_snapshot_get() {
    if (screen_snapshot.stamp < 0 || screen_snapshot.used) return false;
    const int limit = settings.effects ? REPLAY_FULL_FRAMES : REPLAY_LESS_FRAMES;
    if (screen_snapshot_age() >= limit) return false;
    return screen_snapshot.width == screen_view_width() && screen_snapshot.height == screen_view_height();
}

ReplayPose death_replay_pose(int f, bool full) {
    ReplayPose p = {.shift = 0, .angle = 0, .lift = 0, .zoom = 1, .vignette = 0, .dissolve = 0};
    if (f < REPLAY_SHAKE_FRAMES) {
        p.shift = (float)((REPLAY_SHAKE_FRAMES - f) * ((f & 2) - 1)) / 5.0f;
    } else if (full && f < REPLAY_TILT_END) {
        const float k = ease_out((float)(f - REPLAY_SHAKE_FRAMES) / REPLAY_EASE_FRAMES);
        p.angle = -9.0f * k;
        p.lift = -10.0f * k;
        p.vignette = 0.25f * k;
        p.zoom = 1.0f + 0.12f * k;
    } else if (full && f < REPLAY_FALL_END) {
        const float k = ease_out((float)(f - REPLAY_TILT_END) / REPLAY_EASE_FRAMES);
        p.shift = 6.0f * k;
        p.angle = -9.0f - 9.0f * k;
        p.lift = -10.0f - 14.0f * k;
        p.vignette = 0.25f + 0.3f * k;
        p.zoom = 1.12f + 0.23f * k;
    } else if (full) {
        const float t = (float)(f - REPLAY_FALL_END) / REPLAY_DISSOLVE_FRAMES;
        p.dissolve = (int32_t)(REPLAY_DISSOLVE_STEPS * t);
        p.shift = 6.0f;
        p.angle = -18.0f;
        p.lift = -24.0f;
        p.vignette = 0.55f + 0.3f * t;
        p.zoom = 1.35f;
    } else {
        const float t = (float)(f - REPLAY_SHAKE_FRAMES) / REPLAY_DISSOLVE_FRAMES;
        p.dissolve = (int32_t)(REPLAY_DISSOLVE_STEPS * t);
        p.vignette = 0.5f * t;
    }
    return p;
}

void death_replay_draw(int f) {
    const ReplayPose pose = death_replay_pose(f, settings.effects != 0);
    const int W = screen_snapshot.width, H = screen_snapshot.height;
    if (W < 1 || H < 1) return;
    const ScreenRect& v = screen_layout.view;
    const float ca = std::cos(pose.angle * DEG_TO_RAD), sa = std::sin(pose.angle * DEG_TO_RAD);
    const float half_w = (float)W / 2.0f, half_h = (float)H / 2.0f, pivot_y = REPLAY_PIVOT_Y * (float)H;
    const bool strips_gone = f >= REPLAY_SHAKE_FRAMES;
    const bool flash = f < REPLAY_FLASH_FRAMES && settings.flashes;
    for (int i = 0; i < H; i++) {
        const float r = ((float)i - pivot_y - pose.lift) / pose.zoom;
        const float dy = ((float)i - half_h) / half_h;
        for (int j = 0; j < W; j++) {
            const float u = ((float)j - half_w - pose.shift) / pose.zoom;
            const int sx = (int)std::lround(ca * u + sa * r + half_w);
            const int sy = (int)std::lround(-sa * u + ca * r + pivot_y);
            int p = 0;
            if (sx >= 0 && sy >= 0 && sx < W && sy < H) p = screen_snapshot.pixels[sy * W + sx];
            if (strips_gone && (sy < REPLAY_TOP_STRIP || sy >= H - REPLAY_BOTTOM_STRIP)) p = 0;
            if (flash && p < 3) p++;
            const int threshold = BAYER4[i & 3][j & 3];
            if (pose.vignette > 0.0f) {
                const float dx = ((float)j - half_w) / half_w;
                if ((std::sqrt(dx * dx + dy * dy) + pose.vignette - 1.15f) * 3.0f > (float)threshold / 16.0f) p = 0;
            }
            p = dissolve_shade(p, pose.dissolve, threshold);
            screen_pixel(v.x0 + j, v.y0 + i, p);
        }
    }
}
