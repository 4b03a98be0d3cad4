// The duel's cost per step: combat_update makes no heap allocation (checked on every run), and its
// time per step (a benchmark, disabled: run with --gtest_also_run_disabled_tests
// --gtest_filter='*DuelTiming*').
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "combat/duel_harness.h"
#include "world/buttons.h"

namespace {
long heap_allocations = 0;
}  // namespace

// Counts every allocation of the test program; the duel's own steps must add none.
void* operator new(std::size_t n) {
    heap_allocations++;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// A busy duel: attacks, guards and dodges on a fixed rhythm, a new fight whenever one ends.
void busy_steps(int steps) {
    for (int i = 0; i < steps; i++) {
        if (reflex.fight_over || game_state != STATE_COMBAT) {
            game_state = STATE_COMBAT;
            combat.victory_delay = 0;
            player.hp = player.max_hp;
            reflex_fight_start(M_ORC, 400, 400, 8, 6, true);
        }
        int phase = i % 90;
        uint8_t held = phase < 20 ? BTN_A : (phase > 40 && phase < 70 ? BTN_B : 0);
        uint8_t presses = phase == 0 ? BTN_A : (phase == 41 ? BTN_B : (phase == 80 ? BTN_LEFT : 0));
        combat_tick();
        combat_update(held, presses);
    }
}

TEST(DuelSteps, MakeNoHeapAllocation) {
    duel_reset(M_ORC, 6, 400, 8, true);
    busy_steps(60);  // first use of anything lazily set up
    long before = heap_allocations;
    EXPECT_GT(before, 0);  // the counter sees the test framework's own allocations
    busy_steps(20000);
    EXPECT_EQ(heap_allocations, before);
}

TEST(DuelTiming, DISABLED_CombatUpdatePerStep) {
    duel_reset(M_ORC, 6, 400, 8, true);
    busy_steps(600);
    const int steps = 200000;
    auto t0 = std::chrono::steady_clock::now();
    busy_steps(steps);
    double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    std::printf("combat_update: %.3f us per step over %d steps\n", us / steps, steps);
}

}  // namespace
