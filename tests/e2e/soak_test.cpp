// The monkey soak: a seeded stream of held buttons, changed at random intervals, runs through the
// tick and the draw pass from power-on, with the run saved and loaded at random moments. Now and
// then a guide takes the pad for a while: the scripted player of the play-through, who walks to
// the stairs, fights, camps and fights the dragon, so that a long soak also reaches the camps, the
// level-ups and the escape, with the monkey's hands breaking in between. It must end with no
// soft-assertion or invariant report and without a stall.
// The soak is played in four slices, each from power-on with a seed of its own, so CTest runs them
// side by side: one of runs that end in death, two of the monkey and the guide taking turns, and
// one that ends in the guide's hands. Together they run QM_SOAK_TICKS ticks (CI: 100 000, 20 000
// in the sanitizer build); at the full count each slice then plays on in the guide's hands until
// it has passed through the states given to it, every state between the four. The figures go to
// standard output.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/game.h"
#include "classes/class_select.h"
#include "combat/training.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/state.h"
#include "screens/front_end.h"
#include "runfile/run_file.h"
#include "services/confirm.h"
#include "support/autoplay.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "world/buttons.h"
#include "world/game_state.h"

namespace {

// xorshift32: the monkey's hands and every other choice of the soak.
struct SoakRandom {
    uint32_t s;
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
};

// The monkey: a new held set every 1..40 ticks, mostly one button at a time.
struct Monkey {
    uint8_t held = 0;
    int hold = 0;
    uint8_t step(SoakRandom& rng) {
        if (--hold <= 0) {
            const uint32_t r = rng.next();
            hold = (int)(r % 40u) + 1;
            if (r % 7u == 0) held = 0;
            else if (r % 11u == 0) held = (uint8_t)(rng.next() & 0xFF);  // a handful at once
            else held = (uint8_t)(1u << (rng.next() % 8u));
        }
        return held;
    }
};

// The whole soak's ticks, all slices together.
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

struct SoakFigures {
    long saves = 0, loads = 0, restarts = 0;
    uint32_t visited = 0;
    double slowest_ms = 0;
    std::chrono::steady_clock::time_point last;
};
SoakFigures figures;
SoakRandom rng{0xC0FFEEu};
bool soak_closing = false;  // the closing act: no loads, which could set the guide's run back for ever

// After every tick and frame: the figures, and now and then the run goes to disk and comes back,
// as a quit and CONTINUE would.
void soak_after_frame(long) {
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - figures.last).count();
    figures.last = now;
    if (ms > figures.slowest_ms) figures.slowest_ms = ms;
    if (game_state >= 0 && game_state < STATE_COUNT) figures.visited |= 1u << game_state;
    const uint32_t r = rng.next();
    if (run_active && r % 997u == 0 && save_run()) figures.saves++;
    if (!soak_closing && run_active && r % 1999u == 1 && load_run()) {
        figures.loads++;
        game_state = run_resume_state();
    }
}

// The guide outside the run's own screens: it continues the run or starts one (the training
// declined, the first class), and leaves every other screen the way it came. Once in a soak it
// tours the screens the monkey seldom finds: the play statistics, the unlocks, the shrine, and the
// controls and the credits deep in the options.
struct TourStop {
    int32_t title_row;
    int32_t option_row;  // the options row to open, when the stop lies in the options
    int32_t state;
};
constexpr TourStop TOUR[] = {{TITLE_STATS, -1, STATE_STATS},
                             {TITLE_UNLOCKS, -1, STATE_UNLOCKS},
                             {TITLE_SHRINE, -1, STATE_SHRINE},
                             {TITLE_OPTIONS, OPT_CONTROLS, STATE_CONTROLS},
                             {TITLE_OPTIONS, OPT_CREDITS, STATE_CREDITS}};
constexpr int TOUR_STOPS = (int)(sizeof TOUR / sizeof TOUR[0]);
int guide_tour = 0;  // the next stop; TOUR_STOPS when the tour is over

void guide_menu(Autoplay& bot) {
    if (confirm_open) {
        bot.press(confirm_action == CONFIRM_PLAY_TRAINING ? BTN_B : BTN_A);
        return;
    }
    const bool touring = guide_tour < TOUR_STOPS;
    if (touring && game_state == TOUR[guide_tour].state) {
        bot.wait(120);
        guide_tour++;
        bot.press(BTN_B);
        return;
    }
    switch (game_state) {
    case STATE_TITLE: {
        // A training run (the monkey may have accepted one) is left for a new run.
        const int32_t want = touring                                     ? TOUR[guide_tour].title_row
                             : run_summary.valid && !run_summary.training ? TITLE_CONTINUE
                                                                          : TITLE_NEW_RUN;
        bot.press(title_cursor == want ? BTN_A : title_cursor < want ? BTN_DOWN : BTN_UP);
        return;
    }
    case STATE_OPTIONS:
        if (!touring || TOUR[guide_tour].option_row < 0 || options_page != OPTIONS_TOP) bot.press(BTN_B);
        else bot.press(options_cursor == TOUR[guide_tour].option_row ? BTN_A : BTN_DOWN);
        return;
    case STATE_CLASS_SELECT:
    case STATE_POWER_ON:
    case STATE_SPLASH:
    case STATE_ESCAPED: bot.press(BTN_A); return;
    default: bot.press(BTN_B); return;
    }
}

// The guide does not know the training's lessons: it reads what is shown, and saves and quits to
// the title from wherever the training has got to.
bool guide_leave_training(Autoplay& bot) {
    if (!training_active()) return false;
    if (tips.text) bot.press(BTN_A);
    else if (training.over_prompt) bot.press(BTN_B);  // back to the title
    else if (game_state == STATE_DUNGEON || game_state == STATE_CAMP || game_state == STATE_COMBAT)
        bot.press(BTN_START);
    else if (game_state == STATE_PAUSE) bot.press(pause_cursor == PAUSE_SAVE_QUIT ? BTN_A : BTN_DOWN);
    else return false;
    return true;
}

constexpr long FULL_SOAK_TICKS = 100000;

// A slice of the soak: its name, its seed, its acts and the states it must pass through in a
// full-length soak. The acts follow each other: in the mortal act the guide lets every blow land,
// so runs end in death; in the mixed act the monkey's hands and the guide's take turns and the run
// is as immortal as the play-through's, so the guide gets deep in spite of the monkey; the guided
// act is the guide's alone. A slice is not asked for every state it happens to see, only for those
// given to it here; the closing act (below) makes sure of those.
struct SoakSlice {
    const char* name;
    uint32_t seed;
    long mortal, mixed, guided;  // ticks of each act in a full-length soak
    uint32_t states;
};
constexpr uint32_t bit(int state) { return 1u << state; }
constexpr SoakSlice SOAK_SLICES[] = {
    {"Deaths", 0xC0FFEEu, 20000, 0, 0,
     bit(STATE_POWER_ON) | bit(STATE_SPLASH) | bit(STATE_TITLE) | bit(STATE_DEATH) | bit(STATE_UNLOCKS) |
         bit(STATE_STATS) | bit(STATE_SHRINE)},
    {"Dungeon", 0xC0FFEFu, 0, 25000, 0,
     bit(STATE_CLASS_SELECT) | bit(STATE_DUNGEON) | bit(STATE_COMBAT) | bit(STATE_PAUSE)},
    {"Menus", 0xC0FFF1u, 0, 25000, 0, bit(STATE_BAG) | bit(STATE_OPTIONS) | bit(STATE_CONTROLS) | bit(STATE_CREDITS)},
    {"Escape", 0xC0FFF3u, 0, 5000, 25000,
     bit(STATE_CAMP) | bit(STATE_LEVELUP) | bit(STATE_ESCAPED) | bit(STATE_DEMO_END)},
};
constexpr int SOAK_SLICE_COUNT = (int)(sizeof SOAK_SLICES / sizeof SOAK_SLICES[0]);

constexpr long soak_slices_ticks() {
    long all = 0;
    for (const SoakSlice& p : SOAK_SLICES) all += p.mortal + p.mixed + p.guided;
    return all;
}
constexpr uint32_t soak_slices_states() {
    uint32_t all = 0;
    for (const SoakSlice& p : SOAK_SLICES) all |= p.states;
    return all;
}
static_assert(soak_slices_ticks() == FULL_SOAK_TICKS, "the slices together run the whole soak");
static_assert(soak_slices_states() == (1u << STATE_COUNT) - 1u, "the slices together pass through every state");

// The closing act, in a full-length soak: the guide alone plays on until the slice has passed
// through all of its states, so that reaching them is left neither to the luck of the acts nor to
// how long the guide's run takes. It lets blows land only while a death is missing, tours the menus
// again while one of theirs is missing, opens the pause menu and the bag from the dungeon, and
// otherwise plays its run to the escape and the demo end. The cap only stops a soak whose guide
// can no longer get there; reaching it fails the slice.
constexpr long CLOSING_TICKS_MAX = 100000;

uint32_t tour_states() {
    uint32_t all = 0;
    for (const TourStop& stop : TOUR) all |= bit(stop.state);
    return all;
}

void guide_close(Autoplay& bot, uint32_t missing) {
    // The menus lie behind the title: the run is saved and left to get there.
    const bool to_title = (missing & tour_states()) != 0;
    const bool in_dungeon = game_state == STATE_DUNGEON && !transition_active() && !way_out_open;
    if (confirm_open) guide_menu(bot);
    else if (guide_leave_training(bot)) return;
    else if (game_state == STATE_CLASS_SELECT) bot.press(to_title ? BTN_B : class_cursor != 0 ? BTN_DOWN : BTN_A);
    else if (to_title && game_state == STATE_PAUSE) bot.press(pause_cursor == PAUSE_SAVE_QUIT ? BTN_A : BTN_DOWN);
    else if (in_dungeon && (to_title || (missing & bit(STATE_PAUSE)))) bot.press(BTN_START);
    else if (in_dungeon && (missing & bit(STATE_BAG))) bot.press(BTN_SELECT);
    else if (!bot.step()) guide_menu(bot);
}

struct Soak : ::testing::TestWithParam<int> {};

TEST_P(Soak, RandomInputFromPowerOnLeavesNoReport) {
    const SoakSlice& slice = SOAK_SLICES[GetParam()];
    tick_globals_reset(STATE_POWER_ON);
    game_init();
    assert_sites_reset();
    figures = SoakFigures{};
    guide_tour = 0;
    soak_closing = false;
    figures.last = std::chrono::steady_clock::now();
    // QM_SOAK_SEED picks another soak, for runs by hand: the slices take that seed and the next ones.
    const char* seed_text = std::getenv("QM_SOAK_SEED");
    const uint32_t seed =
        seed_text ? ((uint32_t)std::strtoul(seed_text, nullptr, 0) + 2u * (uint32_t)GetParam()) | 1u : slice.seed;
    rng = SoakRandom{seed};
    fixed_seed = seed;  // every run's floors follow from the soak's seed, so a soak repeats
    fixed_seed_runs = 0;
    Monkey monkey;
    Autoplay bot;
    bot.after_frame = soak_after_frame;
    // A shorter or longer soak shortens or lengthens every act alike.
    const long total = soak_ticks();
    const auto scaled = [total](long act) { return (long)((double)act * (double)total / (double)FULL_SOAK_TICKS); };
    const long mortal_end = scaled(slice.mortal), guided_from = scaled(slice.mortal + slice.mixed);
    const long ticks = scaled(slice.mortal + slice.mixed + slice.guided);
    long guided = 0, closing = 0;
    const bool trace = std::getenv("QM_SOAK_TRACE") != nullptr;
    int last_state = -1;
    // One decision of the monkey's or the guide's, then the trace and a restart after QUIT.
    const auto play = [&](bool guide, bool mortal, const auto& decide) {
        const long before = bot.ticks;
        decide();
        if (guide) guided += bot.ticks - before;
        // QM_SOAK_TRACE=1 prints every change of state, and where the soak is every 2000 ticks.
        if (trace && (bot.ticks / 2000 != before / 2000 || last_state != game_state) && (last_state = game_state) >= 0)
            std::printf("t %ld %s state %d floor %d at %d,%d hp %d\n", bot.ticks, guide ? "guide" : "monkey",
                        game_state, current_floor, player.x, player.y, player.hp);
        if (bot.quit) {
            // QUIT from the title: the program would end here; start it again.
            bot.quit = false;
            figures.restarts++;
            tick_globals_reset(STATE_POWER_ON);
            game_init();
            cheat_flags[CHEAT_IMMORTAL] = mortal ? 0 : 1;
        }
    };
    while (bot.ticks < ticks) {
        // A span of the monkey's hands or of the guide's; the guided act is the guide's alone.
        const bool mortal = bot.ticks < mortal_end;
        const bool guide = bot.ticks >= guided_from || rng.next() % 2u != 0;
        const long span = guide ? 1000 + (long)(rng.next() % 7000u) : 100 + (long)(rng.next() % 3900u);
        const long end = bot.ticks + span;
        bot.passive = mortal;
        cheat_flags[CHEAT_IMMORTAL] = mortal ? 0 : 1;
        while (bot.ticks < end && bot.ticks < ticks) {
            play(guide, mortal, [&] {
                if (!guide) bot.tick(monkey.step(rng));
                else if (confirm_open) guide_menu(bot);
                else if (!guide_leave_training(bot) && !bot.step()) guide_menu(bot);
            });
        }
    }
    if (total >= FULL_SOAK_TICKS) {
        soak_closing = true;
        if (slice.states & ~figures.visited & tour_states()) guide_tour = 0;
        const long from = bot.ticks;
        while ((figures.visited & slice.states) != slice.states && bot.ticks - from < CLOSING_TICKS_MAX) {
            const uint32_t missing = slice.states & ~figures.visited;
            const bool mortal = (missing & bit(STATE_DEATH)) != 0;
            bot.passive = mortal;
            cheat_flags[CHEAT_IMMORTAL] = mortal ? 0 : 1;
            play(true, mortal, [&] { guide_close(bot, missing); });
        }
        closing = bot.ticks - from;
        soak_closing = false;
    }
    cheat_flags[CHEAT_IMMORTAL] = 0;
    fixed_seed = 0;
    int states = 0;
    for (int s = 0; s < STATE_COUNT; s++) states += (figures.visited >> s) & 1u;
    std::printf("soak slice %s, 0x%x: %ld ticks (%ld guided, %ld closing), %ld saves, %ld loads, %ld restarts, "
                "%d of %d states visited (mask 0x%05x), slowest tick and frame %.2f ms, %d reports\n",
                slice.name, seed, bot.ticks, guided, closing, figures.saves, figures.loads, figures.restarts, states,
                (int)STATE_COUNT, figures.visited, figures.slowest_ms, check_report_count());
    EXPECT_EQ(check_report_count(), 0);
    // A soak as long as CI's plain one passes through every state, each slice through its own,
    // whatever its seed; a shorter one need not.
    if (total >= FULL_SOAK_TICKS) {
        EXPECT_EQ(figures.visited & slice.states, slice.states)
            << std::hex << "missing 0x" << (slice.states & ~figures.visited);
    }
    // A stall: one tick and frame taking over a second.
    EXPECT_LT(figures.slowest_ms, 1000.0);
    tick_globals_reset(STATE_POWER_ON);
}

std::string soak_slice_name(const ::testing::TestParamInfo<int>& info) { return SOAK_SLICES[info.param].name; }
INSTANTIATE_TEST_SUITE_P(Slice, Soak, ::testing::Range(0, SOAK_SLICE_COUNT), soak_slice_name);

}  // namespace
