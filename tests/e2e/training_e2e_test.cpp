// The training from power-on to its end with input bytes only: the splash and the title, NEW RUN
// with the training offer accepted, the four training floors played by the training player (its
// duels, tips, level-ups, the bag's two lessons and the camp) with a frame drawn after every tick,
// the training-over prompt answered with B, and from the title a new run to the class select.
// Every state passed, and a few frames worth seeing, are written as pictures when QM_PNG_DIR is set.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "combat/training.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "support/training_play.h"
#include "world/bag_view.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int PICTURE_SCALE = 2;
constexpr long PICTURE_DELAY = 30;  // half a second after a state first shows: past wipes and cards
constexpr int PROMPT_LOOK_TICKS = 45;
constexpr int CARD_LOOK_TICKS = 10;  // after the card's words are typed
constexpr int32_t TRANSITION_HOLD = 2;  // the caption card's phase
constexpr long TICK_LIMIT = 60000;

const char* const STATE_NAMES[STATE_COUNT] = {
    "splash", "title",   "dungeon",   "combat",  "pause",      "bag",    "camp",     "death",    "escaped", "options",
    "stats",  "credits", "power_on",  "levelup", "class_sel",  "unlocks", "shrine", "controls", "demo_end",
};

struct Pictures {
    uint32_t states = 0;  // bit per state pictured
    int32_t state = -1;   // the state waiting for its picture
    long at = 0;
    bool tip = false, drill_hint = false, bag_shield = false, antidote_card = false, prompt = false;
    int prompt_ticks = 0;
};
Pictures pics;

void picture(const char* what) {
    char name[64];
    std::snprintf(name, sizeof name, "training_e2e_%s.png", what);
    png_write_framebuffer(name, PICTURE_SCALE);
}

bool state_pictured() { return game_state >= 0 && game_state < STATE_COUNT && (pics.states >> game_state & 1u); }

// After every tick and frame: each state once, with no tip over it, and the frames worth a look.
void after_frame(long tick) {
    if (game_state >= 0 && game_state < STATE_COUNT && !state_pictured()) {
        if (game_state != pics.state) {
            pics.state = game_state;
            pics.at = tick + PICTURE_DELAY;
        } else if (tick >= pics.at && !transition_active() && !tips.text) {
            pics.states |= 1u << game_state;
            char what[40];
            std::snprintf(what, sizeof what, "%02d_%s", game_state, STATE_NAMES[game_state]);
            picture(what);
        }
    }
    int reveal = 0;
    const char* tip = tip_shown_text(&reveal);
    const bool tip_typed = tips.text && tip && reveal >= (int)std::strlen(tip);
    if (!pics.tip && tip_typed) {
        pics.tip = true;
        picture("tip");
    }
    if (!pics.drill_hint && game_state == STATE_COMBAT && drill_pause_for_cue()) {
        pics.drill_hint = true;
        picture("drill_hint");
    }
    // The shield in the off hand, with the tip it brings up typed out.
    if (!pics.bag_shield && game_state == STATE_BAG && player.off_hand.id == ITEM_WOODEN_SHIELD && tip_typed) {
        pics.bag_shield = true;
        picture("bag_shield");
    }
    if (!pics.antidote_card && game_state == STATE_BAG && bag_view.card_open &&
        bag_view.card_entry == bag_find(ITEM_ANTIDOTE)) {
        pics.antidote_card = true;
        picture("bag_antidote_card");
    }
    if (training.over_prompt && ++pics.prompt_ticks == PROMPT_LOOK_TICKS) {
        pics.prompt = true;
        picture("over_prompt");
    }
}

TEST(TrainingE2E, FromPowerOnTheTrainingIsAcceptedAndPlayedToItsEnd) {
    const auto start = std::chrono::steady_clock::now();
    TempSaveDir tmp;
    tick_globals_reset(STATE_POWER_ON);
    layout_set_landscape();
    power_on_delay = 0;
    // A fixed seed, so the level-up picks and the camp's boons pictured are the same on every run.
    fixed_seed = 0x7E57AB1Eu;
    fixed_seed_runs = 0;
    game_init();
    profile = Profile{};
    training_stop();
    pics = Pictures{};
    TrainingPlay bot;
    bot.draw = true;
    bot.after_frame = after_frame;

    // Power-on and splash, each looked at before A moves on; the play-stats question declined.
    for (int i = 0; i < 1000 && game_state != STATE_TITLE; i++) bot.press(state_pictured() ? BTN_A : 0);
    for (int i = 0; i < 30 && !consent_open; i++) bot.tick(0);
    if (consent_open) bot.press(BTN_B);
    ASSERT_EQ(game_state, STATE_TITLE);
    for (int i = 0; i < 100 && !state_pictured(); i++) bot.tick(0);
    ASSERT_EQ(title_cursor, TITLE_NEW_RUN);
    bot.press(BTN_A);
    bot.tick(0);
    ASSERT_TRUE(confirm_open) << "a new player is offered the training";
    for (int i = 0; i < 20; i++) bot.tick(0);
    picture("offer");
    bot.press(BTN_A);
    ASSERT_FALSE(confirm_open);
    // The opening card, pictured once its words are up; the training starts under it.
    ASSERT_TRUE(transition_active());
    bool card_pictured = false;
    for (int i = 0; i < 1000 && transition_active(); i++) {
        bot.tick(0);
        if (!card_pictured && transition.phase == TRANSITION_HOLD &&
            transition.frame >= transition.typing + CARD_LOOK_TICKS) {
            card_pictured = true;
            picture("opening_card");
        }
    }
    ASSERT_EQ(game_state, STATE_DUNGEON);
    ASSERT_TRUE(training_active()) << "the offer accepted starts the training";

    // The training, a new screen looked at before the player answers it (the duel excepted: its
    // monster does not wait).
    int max_floor = 0, levelups = 0;
    uint32_t seen = 0;
    bool prompt_seen = false, title_after_prompt = false;
    int32_t last_state = game_state;
    while (bot.ticks < TICK_LIMIT) {
        if (game_state != STATE_COMBAT && !state_pictured() && !transition_active() && !tips.text) {
            bot.tick(0);
        } else if (training.over_prompt && pics.prompt_ticks < PROMPT_LOOK_TICKS) {
            bot.tick(0);
        } else if (!bot.step()) {
            break;
        }
        seen |= 1u << game_state;
        if (training_active()) max_floor = std::max(max_floor, (int)current_floor);
        if (game_state == STATE_LEVELUP && last_state != STATE_LEVELUP) levelups++;
        prompt_seen = prompt_seen || training.over_prompt;
        title_after_prompt = title_after_prompt || (prompt_seen && game_state == STATE_TITLE);
        last_state = game_state;
        if (training_active()) {
            ASSERT_GT(player.hp, 0) << "training never kills, tick " << bot.ticks;
        }
    }
    for (int i = 0; i < 60 && !state_pictured(); i++) bot.tick(0);  // the class select, pictured
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("training e2e: %ld ticks, %.2f s, states 0x%05x\n", bot.ticks, s, seen);

    EXPECT_EQ(game_state, STATE_CLASS_SELECT) << "stuck in state " << game_state << " floor " << current_floor
                                               << " at " << player.x << "," << player.y << " drill "
                                               << training.drill;
    EXPECT_FALSE(training_active());
    EXPECT_FALSE(training_offer_on()) << "a finished training is not offered again";
    EXPECT_EQ(max_floor, TRAINING_MAP_COUNT - 1);
    EXPECT_EQ(levelups, 2);
    EXPECT_TRUE(prompt_seen);
    EXPECT_TRUE(title_after_prompt) << "B at the training-over prompt goes back to the title";
    for (int st : {STATE_DUNGEON, STATE_COMBAT, STATE_BAG, STATE_LEVELUP, STATE_CAMP})
        EXPECT_TRUE(seen >> st & 1u) << "state " << st;
    EXPECT_TRUE(bot.shield_equipped_in_bag);
    EXPECT_TRUE(bot.antidote_drunk_in_bag);
    for (uint32_t d : {DRILL_JAB, DRILL_FINISHER, DRILL_BLOCK, DRILL_PARRY, DRILL_FINISH_IT, DRILL_DODGE,
                       DRILL_FINISH_ORC, DRILL_SMASH, DRILL_STOP, DRILL_STARS, DRILL_MIXED})
        EXPECT_NE(std::find(bot.drills_seen.begin(), bot.drills_seen.end(), d), bot.drills_seen.end())
            << "drill " << d;
    EXPECT_TRUE(pics.tip && pics.drill_hint && pics.bag_shield && pics.antidote_card && pics.prompt);
    profile = Profile{};
    training_stop();
    tick_globals_reset(STATE_POWER_ON);
}

}  // namespace
