// A hand-run benchmark: the frame work of the play-through (tick, draw pass and CPU composition
// with the case art) per frame, read from the perf zones the game itself keeps (TICK, RENDER,
// COMPOSE), and grouped by the kind of state shown: the dungeon, the duel and the menus. The
// scripted player's own thinking between frames falls outside the zones and is not counted; the
// settings are a new player's (ghosting, light effects, vignette and case shine on).
// Disabled; run from a RelWithDebInfo or Release build with
// --gtest_also_run_disabled_tests --gtest_filter='FrameWork.*' on an otherwise idle machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "classes/class_select.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "support/autoplay.h"
#include "support/tick_reset.h"
#include "saves/settings.h"
#include "services/services.h"
#include "telemetry/perf.h"

namespace {

// One frame's zone totals in ms.
struct FrameWork {
    double tick, render, compose;
    int32_t state;
    double total() const { return tick + render + compose; }
};
struct FrameTimes {
    std::vector<FrameWork> dungeon, duel, menus;
};
FrameTimes times;
std::vector<uint32_t> window(WINDOW_PIXELS_MAX);
CaseArtView art;
bool have_art = false;
// A digest of every drawn framebuffer and composed window picture: work meant to make frames
// faster must leave it as it was.
uint64_t pictures_digest = 0xCBF29CE484222325ull;

void digest_add(const uint8_t* bytes, size_t n) {
    uint64_t h = pictures_digest;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        h = (h ^ word) * 0x100000001B3ull;
        h ^= h >> 29;
    }
    for (; i < n; i++) h = (h ^ bytes[i]) * 0x100000001B3ull;
    pictures_digest = h;
}

double percentile(std::vector<double>& v, int pct) {
    std::sort(v.begin(), v.end());
    return v[v.size() * pct / 100];
}

void report(const char* name, const std::vector<FrameWork>& frames) {
    if (frames.empty()) return;
    std::vector<double> total, tick, render, compose;
    for (const FrameWork& f : frames) {
        total.push_back(f.total());
        tick.push_back(f.tick);
        render.push_back(f.render);
        compose.push_back(f.compose);
    }
    const double median = percentile(total, 50), p99 = percentile(total, 99);
    std::printf("%-8s %6zu frames  median %.3f ms  p99 %.3f ms  max %.3f ms", name, frames.size(), median, p99,
                total.back());
    std::printf("   (median/p99: tick %.3f/%.3f  render %.3f/%.3f  compose %.3f/%.3f)\n", percentile(tick, 50),
                percentile(tick, 99), percentile(render, 50), percentile(render, 99), percentile(compose, 50),
                percentile(compose, 99));
    // Where a p99 comes from: the states of the slowest frames.
    std::vector<FrameWork> slow(frames);
    std::sort(slow.begin(), slow.end(), [](const FrameWork& a, const FrameWork& b) { return a.total() > b.total(); });
    int by_state[STATE_COUNT] = {};
    const size_t worst = std::max<size_t>(1, frames.size() / 100);
    for (size_t i = 0; i < worst && i < slow.size(); i++)
        if (slow[i].state >= 0 && slow[i].state < STATE_COUNT) by_state[slow[i].state]++;
    std::printf("         slowest %zu frames by state:", worst);
    for (int s = 0; s < STATE_COUNT; s++)
        if (by_state[s]) std::printf(" %d:%d", s, by_state[s]);
    std::printf("\n");
}

TEST(FrameWork, DISABLED_PlayThroughPerStateKind) {
    tick_globals_reset(STATE_POWER_ON);
    layout_set_landscape();
    case_select_model(CASE_16_9);
    case_set_color(CASE_COLOR_DEFAULT);
    have_art = case_art_view_current(&art);
    power_on_delay = 0;
    game_init();
    // A new player's settings (the reset above zeroes them): ghosting, light effects, vignette
    // and the case shine on, as the game starts.
    settings_reset();
    settings_clamp();
    profile = Profile{};
    profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    cheat_flags[CHEAT_IMMORTAL] = 1;
    perf_reset();
    times = FrameTimes{};
    pictures_digest = 0xCBF29CE484222325ull;
    for (auto* v : {&times.dungeon, &times.duel, &times.menus}) v->reserve(400000);
    Autoplay bot;
    bot.draw = false;  // the hook below draws and composes, as the frame loop does
    // The bot's tick() runs game_tick (zone TICK), then the hook: draw (zone RENDER) and compose.
    bot.after_frame = [](long) {
        draw_frame();
        // As the frame loop's CPU path: the case art as it is now (sheen, spotlight), into a
        // window picture that only the compositor writes.
        perf_begin(ZONE_COMPOSE);
        compose_frame_begin();
        have_art = case_art_view_current(&art);
        compose_window_cpu_frame(window.data(), 0, have_art ? &art : nullptr);
        perf_end(ZONE_COMPOSE);
        perf_frame_end();
        digest_add(framebuffer, FB_BYTES);
        const ComposeGeometry g = compose_geometry();
        digest_add((const uint8_t*)window.data(), (size_t)g.width * g.height * 4);
        const FrameWork f = {perf_zone_stats(ZONE_TICK).last, perf_zone_stats(ZONE_RENDER).last,
                             perf_zone_stats(ZONE_COMPOSE).last, game_state};
        (game_state == STATE_DUNGEON ? times.dungeon : game_state == STATE_COMBAT ? times.duel : times.menus)
            .push_back(f);
    };
    for (int i = 0; i < 600 && game_state != STATE_CLASS_SELECT; i++) {
        bot.tick(i % 2 ? 0 : BTN_A);
        if (confirm_open || consent_open) {
            bot.tick(BTN_B);
            bot.tick(0);
        }
    }
    class_cursor = 0;
    bot.wait(45);
    bot.press(BTN_A);  // KNIGHT
    for (long t = 0; t < 400000 && game_state != STATE_ESCAPED; t++)
        if (!bot.step()) bot.tick(0);
#ifndef NDEBUG
    std::printf("note: not an optimised build; the times below say little\n");
#endif
    std::printf("frame work from the perf zones (tick + render + CPU composition%s):\n",
                have_art ? " with the case art" : "");
    report("dungeon", times.dungeon);
    report("duel", times.duel);
    report("menus", times.menus);
    std::printf("pictures digest %016llx\n", (unsigned long long)pictures_digest);
    cheat_flags[CHEAT_IMMORTAL] = 0;
    fixed_seed = 0;
    perf_reset();
    tick_globals_reset(STATE_POWER_ON);
}

}  // namespace
