// A hand-run benchmark: the frame work of the play-through (tick, draw pass and CPU composition
// with the case art) timed per frame and grouped by the kind of state shown: the dungeon, the duel
// and the menus. Disabled; run with
// --gtest_also_run_disabled_tests --gtest_filter='*FrameWork*' on an otherwise idle machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

namespace {

struct FrameTimes {
    std::vector<double> dungeon, duel, menus;
};
FrameTimes times;
std::vector<uint32_t> window(WINDOW_PIXELS_MAX);
CaseArtView art;
bool have_art = false;
std::chrono::steady_clock::time_point frame_start;

void report(const char* name, std::vector<double>& v) {
    if (v.empty()) return;
    std::sort(v.begin(), v.end());
    std::printf("%-8s %7zu frames  median %.3f ms  p99 %.3f ms  max %.3f ms\n", name, v.size(), v[v.size() / 2],
                v[v.size() * 99 / 100], v.back());
}

TEST(FrameWork, DISABLED_PlayThroughPerStateKind) {
    tick_globals_reset(STATE_POWER_ON);
    layout_set_landscape();
    case_select_model(CASE_16_9);
    case_set_color(CASE_COLOR_DEFAULT);
    have_art = case_art_view_current(&art);
    power_on_delay = 0;
    game_init();
    profile = Profile{};
    profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    cheat_flags[CHEAT_IMMORTAL] = 1;
    Autoplay bot;
    bot.draw = false;  // the hook below draws and composes, timed
    bot.after_frame = [](long) {
        draw_frame();
        compose_frame_begin();
        compose_window_cpu_with(window.data(), 0, have_art ? &art : nullptr);
        const auto now = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - frame_start).count();
        (game_state == STATE_DUNGEON ? times.dungeon : game_state == STATE_COMBAT ? times.duel : times.menus)
            .push_back(ms);
        frame_start = std::chrono::steady_clock::now();  // the next frame starts with its tick
    };
    // The tick is timed from before it: the bot's tick() runs game_tick, then the hook.
    struct Timed {
        static void start() { frame_start = std::chrono::steady_clock::now(); }
    };
    for (int i = 0; i < 600 && game_state != STATE_CLASS_SELECT; i++) {
        Timed::start();
        bot.tick(i % 2 ? 0 : BTN_A);
        if (confirm_open || consent_open) {
            Timed::start();
            bot.tick(BTN_B);
            Timed::start();
            bot.tick(0);
        }
    }
    class_cursor = 0;
    Timed::start();
    bot.wait(45);
    bot.press(BTN_A);  // KNIGHT
    for (long t = 0; t < 400000 && game_state != STATE_ESCAPED; t++) {
        Timed::start();
        if (!bot.step()) bot.tick(0);
    }
    std::printf("frame work (tick + draw + CPU composition%s):\n", have_art ? " with the case art" : "");
    report("dungeon", times.dungeon);
    report("duel", times.duel);
    report("menus", times.menus);
    cheat_flags[CHEAT_IMMORTAL] = 0;
    fixed_seed = 0;
    tick_globals_reset(STATE_POWER_ON);
}

}  // namespace
