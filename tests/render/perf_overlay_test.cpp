// The F6 overlay over a busy picture, from a ring filled on a clock the test moves; written as a
// review PNG in both orientations.
#include <gtest/gtest.h>

#include "render/perf_overlay.h"
#include "render_fixture.h"
#include "support/png_out.h"
#include "telemetry/perf.h"

namespace {

uint64_t fake_us = 0;
uint64_t fake_counter() { return fake_us; }

struct PerfOverlayTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        fake_us = 1000000;
        perf_clock_set(fake_counter, 1000000);
        perf_reset();
    }
    void TearDown() override {
        perf_overlay_on = 0;
        perf_reset();
        perf_clock_set(nullptr, 0);
        RenderTest::TearDown();
    }
    // Frames of 16.7 ms with zone times in them; one slow frame of `slow_ms` when above 0.
    static void frames(double slow_ms) {
        const int zones[] = {ZONE_TICK, ZONE_VIEW, ZONE_SPRITES, ZONE_UI, ZONE_COMPOSE, ZONE_UPLOAD, ZONE_PRESENT};
        for (int f = 0; f < 60; f++) {
            for (int z : zones) {
                perf_begin(z);
                fake_us += 150 + 40 * (uint64_t)z;
                perf_end(z);
            }
            fake_us += (uint64_t)((f == 30 && slow_ms > 0 ? slow_ms : 16.7) * 1000) - 1480;
            perf_frame_end();
        }
    }
    static void backdrop() {
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++) framebuffer[y * screen_layout.width + x] = ((x / 6 + y / 6) & 1) ? 2 : 1;
    }
};

TEST_F(PerfOverlayTest, DrawsOnlyWhenOnAndLightsTheFrameLineForASlowFrame) {
    frames(0);
    backdrop();
    perf_overlay_draw();
    EXPECT_EQ(count(0), 0);  // off: nothing drawn

    perf_overlay_on = 1;
    perf_overlay_draw();
    const auto& v = screen_layout.view;
    EXPECT_EQ(screen_get(v.x0 + 2, v.y0 + 2 + 83), 0);            // the box's last row
    EXPECT_NE(screen_get(v.x0 + 2, v.y0 + 2 + 84), 0);            // and no further
    EXPECT_NE(screen_get(v.x1 - 1, v.y0 + 2), 0);                 // right - left - 3 wide
    EXPECT_EQ(screen_get(v.x1 - 2, v.y0 + 2), 0);
    EXPECT_EQ(count(3), 0);  // a steady 16.7 ms draws the frame line in colour 2

    frames(40);
    backdrop();
    perf_overlay_draw();
    EXPECT_GT(count(3), 0);

    PngSheet sheet(screen_layout.width * 3, screen_layout.height * 3 + 4);
    sheet.paste(0, 0, screen_layout.width, screen_layout.height, 0, 0, 3);
    sheet.write("perf_overlay_landscape.png");

    layout_set_portrait();
    backdrop();
    perf_overlay_draw();
    PngSheet tall(screen_layout.width * 3, screen_layout.height * 3);
    tall.paste(0, 0, screen_layout.width, screen_layout.height, 0, 0, 3);
    tall.write("perf_overlay_portrait.png");
}

}  // namespace
