// The monkey soak: a seeded stream of held buttons, changed at random intervals, runs through the
// tick and the draw pass from power-on, with the run saved and loaded at random moments. It must
// end with no soft-assertion or invariant report and without a stall. QM_SOAK_TICKS sets the
// count (CI runs 100 000 ticks, 20 000 in the sanitizer build); the figures go to standard output.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "game/game.h"
#include "game/state.h"
#include "runfile/run_file.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "world/buttons.h"
#include "world/game_state.h"

namespace {

// The monkey's hands: xorshift32, a new held set every 1..40 ticks, mostly one button at a time.
struct Monkey {
    uint32_t s;
    uint8_t held = 0;
    int hold = 0;
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    uint8_t step() {
        if (--hold <= 0) {
            const uint32_t r = next();
            hold = (int)(r % 40u) + 1;
            if (r % 7u == 0) held = 0;
            else if (r % 11u == 0) held = (uint8_t)(next() & 0xFF);  // a handful at once
            else held = (uint8_t)(1u << (next() % 8u));
        }
        return held;
    }
};

long soak_ticks() {
    if (const char* v = std::getenv("QM_SOAK_TICKS")) {
        const long n = std::strtol(v, nullptr, 10);
        if (n > 0) return n;
    }
#if defined(__SANITIZE_ADDRESS__)
    return 20000;
#else
    return 100000;
#endif
}

TEST(Soak, RandomInputFromPowerOnLeavesNoReport) {
    tick_globals_reset(STATE_POWER_ON);
    game_init();
    assert_sites_reset();
    Monkey monkey{0xC0FFEEu};
    const long ticks = soak_ticks();
    long saves = 0, loads = 0, restarts = 0;
    uint32_t visited = 0;
    double slowest_ms = 0;
    for (long t = 0; t < ticks; t++) {
        const auto start = std::chrono::steady_clock::now();
        if (!game_tick(monkey.step())) {
            // QUIT from the title: the program would end here; start it again.
            restarts++;
            tick_globals_reset(STATE_POWER_ON);
            game_init();
        }
        draw_frame();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (ms > slowest_ms) slowest_ms = ms;
        if (game_state >= 0 && game_state < STATE_COUNT) visited |= 1u << game_state;
        // Now and then the run goes to disk and comes back, as a quit and CONTINUE would.
        const uint32_t r = monkey.next();
        if (run_active && r % 997u == 0 && save_run()) saves++;
        if (run_active && r % 1999u == 1 && load_run()) {
            loads++;
            game_state = run_resume_state();
        }
    }
    int states = 0;
    for (int s = 0; s < STATE_COUNT; s++) states += (visited >> s) & 1u;
    std::printf("soak: %ld ticks, %ld saves, %ld loads, %ld restarts, %d of %d states visited (mask 0x%05x), "
                "slowest tick and frame %.2f ms, %d reports\n",
                ticks, saves, loads, restarts, states, (int)STATE_COUNT, visited, slowest_ms, check_report_count());
    EXPECT_EQ(check_report_count(), 0);
    // A stall: one tick and frame taking over a second.
    EXPECT_LT(slowest_ms, 1000.0);
    tick_globals_reset(STATE_POWER_ON);
}

}  // namespace
