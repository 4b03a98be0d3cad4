// A new player takes the training offer from the title and plays it from the first map to the
// camp by presses through game_tick (the shared player in support/training_play.h): walking by the
// shortest way, answering each wind-up as the drill asks, closing every tip, equipping the shield
// and drinking the antidote on the bag screen, taking the fixed level-up card; at the
// training-over prompt B goes back to the title, and a new run from there reaches the class select.
#include <gtest/gtest.h>

#include <algorithm>

#include "boons/boons.h"
#include "combat/training.h"
#include "game/bag_screen.h"
#include "game/state.h"
#include "items/item.h"
#include "items/player_fixture.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "screens/screens.h"
#include "combat/training_fixture.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "support/training_play.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

TEST(TrainingRun, ANewPlayerPlaysTheTrainingToItsEndAndReachesTheClassSelect) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_TITLE);
    training_offer_set(true);
    training_stop();
    TrainingPlay bot;
    int max_floor = -1;
    bool saw_training = false, saw_prompt = false, saw_camp = false;
    int levelups = 0;
    int32_t last_state = game_state;
    int ticks = 0;
    for (; ticks < 120000 && bot.step(); ticks++) {
        if (training_active()) {
            saw_training = true;
            max_floor = std::max(max_floor, (int)current_floor);
        }
        saw_prompt = saw_prompt || training.over_prompt;
        saw_camp = saw_camp || game_state == STATE_CAMP;
        if (game_state == STATE_LEVELUP && last_state != STATE_LEVELUP) levelups++;
        last_state = game_state;
        if (saw_training) {
            ASSERT_GT(player.hp, 0) << "training never kills, tick " << ticks;
        }
    }
    EXPECT_EQ(game_state, STATE_CLASS_SELECT) << "stuck at tick " << ticks << " in state " << game_state
                                               << " floor " << current_floor << " at " << player.x << ","
                                               << player.y << " drill " << training.drill;
    EXPECT_TRUE(saw_training);
    EXPECT_EQ(max_floor, 3);
    EXPECT_TRUE(saw_camp);
    EXPECT_TRUE(saw_prompt);
    EXPECT_EQ(levelups, 2);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 2);  // the fixed card both times
    EXPECT_FALSE(training_active());
    EXPECT_FALSE(training_offer_on());
    // Every drill of the four floors ran.
    for (uint32_t d : {DRILL_JAB, DRILL_FINISHER, DRILL_BLOCK, DRILL_PARRY, DRILL_FINISH_IT, DRILL_DODGE,
                       DRILL_FINISH_ORC, DRILL_SMASH, DRILL_STOP, DRILL_STARS, DRILL_MIXED}) {
        bool seen = false;
        for (uint32_t s : bot.drills_seen) seen = seen || s == d;
        EXPECT_TRUE(seen) << "drill " << d;
    }
    // The lessons' tips came up on the way.
    for (int id : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 24, 25, 26, 27, 28, 29})
        EXPECT_TRUE(bot.tips_seen >> id & 1u) << "tip " << id;
    // The bag's lessons, done on the bag screen: the shield on (and its tip), the second rat's bite
    // (its tip) cured by the antidote (and its tip).
    EXPECT_TRUE(bot.shield_equipped_in_bag);
    EXPECT_TRUE(bot.antidote_drunk_in_bag);
    for (int id : {5, 12, 13}) EXPECT_TRUE(bot.tips_seen >> id & 1u) << "tip " << id;
}

// The training's bag lesson with the shield away from the cursor's first cell: the player walks the
// cursor over to it, taps it open and equips it, in both layouts, then closes the bag.
TEST(TrainingRun, ThePlayerFindsTheShieldAnywhereInTheBag) {
    TempSaveDir tmp;
    for (bool landscape : {true, false}) {
        SCOPED_TRACE(landscape ? "landscape" : "portrait");
        tick_globals_reset(STATE_DUNGEON);
        landscape ? layout_set_landscape() : layout_set_portrait();
        training_start();
        current_floor = 1;
        reset_player();
        ASSERT_NE(bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 1, 0, 0, false), BAG_EMPTY);
        ASSERT_NE(bag_place_at(player.bag, item_make(ITEM_WOODEN_SHIELD), 1, 3, 2, false), BAG_EMPTY);
        ASSERT_TRUE(training_shield_due());
        state_under_pause = STATE_DUNGEON;
        bag_view_reset();
        game_state = STATE_BAG;
        TrainingPlay bot;
        for (int i = 0; i < 300 && game_state == STATE_BAG; i++) bot.step();
        EXPECT_EQ(game_state, STATE_DUNGEON);
        EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
        EXPECT_TRUE(bot.shield_equipped_in_bag);
        EXPECT_FALSE(bag_view.holding);
        EXPECT_EQ(bag_find(ITEM_HEALING_POTION), 0);  // passed over, not touched
    }
    layout_set_landscape();
    training_stop();
}

// A save that fails in the training raises its box while a tip may be up: the box is drawn over
// the tip's box, whole, in both layouts.
TEST(TrainingRun, TheSaveFailedBoxStaysOverTheTipBox) {
    TempSaveDir tmp;
    for (int landscape = 1; landscape >= 0; landscape--) {
        if (landscape) layout_set_landscape();
        else layout_set_portrait();
        training_world(0, false);
        ASSERT_TRUE(show_tip_once(0));
        std::snprintf(message_box_text, sizeof message_box_text, "%s", "SAVE FAILED!");
        message_box_open = 1;
        // The box alone: its rectangle is where it drew, less the shadow at (+3, +3).
        screen_clear();
        draw_message_box();
        static uint8_t alone[FB_BYTES];
        std::memcpy(alone, framebuffer, sizeof alone);
        int x0 = screen_layout.width, y0 = screen_layout.height, x1 = -1, y1 = -1;
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++)
                if (screen_get(x, y) != 0) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y);
                    x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
        ASSERT_GT(x1, x0);
        draw_frame();
        int hidden = 0;
        for (int y = y0; y <= y1 - 3; y++)
            for (int x = x0; x <= x1 - 3; x++) {
                const int want = alone[y * screen_layout.width + x];
                hidden += screen_get(x, y) != want ? 1 : 0;
            }
        EXPECT_EQ(hidden, 0) << (landscape ? "landscape" : "portrait");
        message_box_open = 0;
        training_stop();
    }
    layout_set_landscape();
}

}  // namespace
