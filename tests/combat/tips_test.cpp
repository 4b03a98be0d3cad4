// The tips driver and the input filter: each tip once, by floor and by state; the hint lines; the
// threat text of normal play; closing a tip; and both answers of the training-over prompt.
#include <gtest/gtest.h>

#include <cstring>

#include "boons/boons.h"
#include "camp/camp.h"
#include "combat/duel.h"
#include "combat/meters.h"
#include "combat/status.h"
#include "dungeon/monsters.h"
#include "game/explore.h"
#include "profile/profile.h"
#include "support/temp_save_dir.h"
#include "training_fixture.h"

namespace {

TipsWorld world_now() {
    return TipsWorld{.encounter_armed = encounter_is_armed(), .transition_running = false, .camp_on_hub = true,
                     .arm_encounter = encounter_arm};
}

void drive(int n = 1) {
    for (int i = 0; i < n; i++) tips_update(world_now());
}

// Closes the tip up with A: the first press completes the typing, the second closes it.
void close_tip() {
    TrainingEndHooks none{};
    ASSERT_TRUE(training_end_choice(BTN_A, none));
    if (tips.text) {
        ASSERT_TRUE(training_end_choice(BTN_A, none));
    }
    EXPECT_EQ(tips.text, nullptr);
}

int carried_on = 0, went_to_menu = 0;
void note_carry_on() { carried_on++; }
void note_menu() { went_to_menu++; }

TEST(Tips, EachTipShowsOnceUntilTrainingStartsAnew) {
    TempSaveDir tmp;
    training_world(0, false);
    for (int id = 0; id < TIP_COUNT; id++) {
        ASSERT_TRUE(show_tip_once(id)) << id;
        EXPECT_EQ(tips.id, id);
        EXPECT_STREQ(tips.text, TIPS[id]);
        EXPECT_FALSE(show_tip_once(id)) << id;
        tips.text = nullptr;
    }
    EXPECT_EQ(tips.shown, ALL_TIPS);
    EXPECT_FALSE(show_tip_once(TIP_COUNT));
    EXPECT_FALSE(show_tip_once(-1));
    training_start();
    EXPECT_EQ(tips.shown, 0u);
    EXPECT_TRUE(show_tip_once(0));
    training_stop();
}

TEST(Tips, TheFirstFloorWelcomesThenHintsAtTheRatAndTheStairs) {
    TempSaveDir tmp;
    training_world(0, false);
    drive();
    ASSERT_NE(tips.text, nullptr);
    EXPECT_EQ(tips.id, 0);
    // Typing reveals a character a tick; A completes, A again closes.
    drive(3);
    int reveal = 0;
    tip_shown_text(&reveal);
    EXPECT_EQ(reveal, 3);
    close_tip();
    EXPECT_FALSE(show_tip_once(0));
    drive();
    EXPECT_EQ(tips.text, nullptr);
    EXPECT_STREQ(training.hint, "");
    player.x = 10;
    player.y = 5;
    drive();
    EXPECT_STREQ(training.hint, "A RAT BLOCKS THE WAY. WALK INTO IT TO FIGHT");
    monster_remove(monster_at(10, 7));
    tips.shown |= 1u << 1;
    drive();
    EXPECT_STREQ(training.hint, "GO UP THE STAIRS");
    EXPECT_FALSE(tip_or_prompt_showing());
    training_stop();
}

TEST(Tips, FloorOneTeachesTheShieldThePotionAndTheBagTips) {
    TempSaveDir tmp;
    training_world(1, false);
    drive();
    EXPECT_EQ(tips.id, 3);
    close_tip();
    ASSERT_TRUE(bag_add_new(ITEM_WOODEN_SHIELD, 1));
    drive();
    EXPECT_EQ(tips.id, 4);
    close_tip();
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_remove(player.bag, bag_find(ITEM_WOODEN_SHIELD));
    // The bag's tip: B closes it and goes through to the bag.
    game_state = STATE_BAG;
    drive();
    EXPECT_EQ(tips.id, 5);
    EXPECT_FALSE(training_end_choice(BTN_B, TrainingEndHooks{}));
    EXPECT_EQ(tips.text, nullptr);
    game_state = STATE_DUNGEON;
    drive();
    EXPECT_STREQ(training.hint, "YOUR SHIELD BLOCKS PART OF EVERY HIT");
    // The goblin is gone and the player hurt: the potion tip, then its hint while it waits.
    monster_remove(monster_at(8, 8));
    player.hp = player.max_hp - 4;
    levelup.pending = 1;
    drive();
    EXPECT_EQ(tips.text, nullptr);  // not while a level-up is owed
    levelup.pending = 0;
    drive();
    EXPECT_EQ(tips.id, 8);
    close_tip();
    drive();
    EXPECT_STREQ(training.hint, "WALK INTO THE POTION IN THE ROOM TO DRINK IT");
    gmap[6][5] = '.';
    drive();
    EXPECT_STREQ(training.hint, "GO UP THE STAIRS");
    training_stop();
}

TEST(Tips, FloorTwoTeachesTheAntidoteAndTheOrcCharges) {
    TempSaveDir tmp;
    training_world(2, false);
    encounter_disarm();
    drive();
    EXPECT_EQ(tips.text, nullptr);
    ASSERT_TRUE(bag_add_new(ITEM_ANTIDOTE, 1));
    drive();
    EXPECT_EQ(tips.id, 10);
    EXPECT_STREQ(training.hint, "AN ANTIDOTE CURES POISON");
    close_tip();
    status_add(player.status, ST_POISON, 10);
    drive();
    EXPECT_EQ(tips.id, 12);
    close_tip();
    EXPECT_TRUE(training_antidote_due());
    game_state = STATE_BAG;
    status_clear(player.status);
    drive();
    EXPECT_EQ(tips.id, 13);
    close_tip();
    game_state = STATE_DUNGEON;
    // The rat still stands on the corridor: the antidote hint; then the orc's room.
    player.x = 13;
    player.y = 1;
    drive();
    EXPECT_STREQ(training.hint, "AN ANTIDOTE CURES POISON");
    monster_remove(monster_at(9, 1));
    player.x = 10;
    player.y = 4;
    drive();
    EXPECT_STREQ(training.hint, "SOMETHING BIG AHEAD...");
    player.x = 7;
    drive();
    int orc = monster_at(6, 3);
    ASSERT_GE(orc, 0);
    EXPECT_EQ(monsters.list[orc].type, M_ORC);
    EXPECT_TRUE(encounter_is_armed());
    EXPECT_TRUE(toast_says("THE ORC CHARGES!"));
    EXPECT_STREQ(training.hint, "");
    encounter_disarm();
    monster_remove(orc);
    drive();
    EXPECT_STREQ(training.hint, "GO UP THE STAIRS");
    training_stop();
}

TEST(Tips, DuelTipsWaitForAQuietMomentAndFollowTheDrill) {
    TempSaveDir tmp;
    training_world(1, false);
    tips.shown = ALL_TIPS & ~((1u << 28) | (1u << 6) | (1u << 7) | (1u << 19) | (1u << 20) | (1u << 21));
    start_combat(M_GOBLIN, 8, 8);
    reflex.monster_state = MS_RECOVER;
    drive();
    EXPECT_EQ(tips.text, nullptr);
    reflex.monster_state = MS_READY;
    drive();
    EXPECT_EQ(tips.id, 28);
    close_tip();
    training.drill = DRILL_PARRY;
    drive();
    EXPECT_EQ(tips.id, 6);
    close_tip();
    training.drill = DRILL_FINISH_IT;
    drive();
    EXPECT_EQ(tips.id, 7);  // against the goblin
    close_tip();
    training.drill = DRILL_MIXED;
    drive();
    EXPECT_EQ(tips.id, 19);
    close_tip();
    drive();
    EXPECT_EQ(tips.text, nullptr);
    reflex.heavy_chain = 3;
    drive();
    EXPECT_EQ(tips.id, 21);
    // Closing it in a duel leaves no guard or charge behind.
    reflex.guard_up = 1;
    reflex.charging = 1;
    close_tip();
    EXPECT_EQ(reflex.guard_up, 0);
    EXPECT_EQ(reflex.charging, 0);
    training_stop();
}

TEST(Tips, LevelUpAndCampTips) {
    TempSaveDir tmp;
    training_world(3, false);
    tips.shown = ALL_TIPS & ~((1u << 9) | (1u << 22) | (1u << 23) | (0xFu << 24));
    game_state = STATE_LEVELUP;
    levelup.boon_offer = BOON_BLOODTHIRST;
    player.boon_ranks[BOON_BLOODTHIRST] = 1;
    drive();
    EXPECT_EQ(tips.id, 9);
    close_tip();
    drive();
    EXPECT_EQ(tips.id, 22);  // a boon already owned
    close_tip();
    drive();
    EXPECT_EQ(tips.text, nullptr);  // 23 is not shown after 22
    game_state = STATE_CAMP;
    for (int id = 24; id <= 27; id++) {
        drive();
        EXPECT_EQ(tips.id, id);
        close_tip();
    }
    drive();
    EXPECT_EQ(tips.text, nullptr);
    training_stop();
}

TEST(Tips, TheThreatTextShowsOnceInNormalPlayOnly) {
    TempSaveDir tmp;
    training_world(0, true);
    profile = Profile{};
    flow = 1000;
    ASSERT_GT(flow_level(), 0);
    drive();
    EXPECT_TRUE(tips.text == nullptr || tips.id != TIP_THREAT);
    EXPECT_FALSE(profile_hint_seen());
    training_stop();
    game_state = STATE_COMBAT;
    drive();
    EXPECT_EQ(tips.text, nullptr);
    game_state = STATE_DUNGEON;
    drive();
    ASSERT_NE(tips.text, nullptr);
    EXPECT_EQ(tips.id, TIP_THREAT);
    EXPECT_TRUE(profile_hint_seen());
    close_tip();
    drive();
    EXPECT_EQ(tips.text, nullptr);
    flow = 0;
}

TEST(TrainingEnd, TheCampOffersTheEndAndAOrBAnswerIt) {
    TempSaveDir tmp;
    training_world(3);
    training_offer_set(true);
    TrainingEndHooks hooks{.carry_on = note_carry_on, .to_menu = note_menu};
    EXPECT_FALSE(training_end_choice(BTN_A, hooks));
    training_offer_end();
    EXPECT_TRUE(tip_or_prompt_showing());
    // Other presses are swallowed and leave it up.
    EXPECT_TRUE(training_end_choice(BTN_UP, hooks));
    EXPECT_TRUE(training.over_prompt);
    // A: the training ends, the run goes on with its tips remembered.
    carried_on = went_to_menu = 0;
    EXPECT_TRUE(training_end_choice(BTN_A, hooks));
    EXPECT_EQ(carried_on, 1);
    EXPECT_FALSE(training_active());
    EXPECT_FALSE(training_offer_on());
    EXPECT_EQ(tips.shown, ALL_TIPS);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    // B: back to the title with everything reset.
    training_world(3);
    training_offer_set(true);
    training_offer_end();
    EXPECT_TRUE(training_end_choice(BTN_B, hooks));
    EXPECT_EQ(went_to_menu, 1);
    EXPECT_FALSE(training_active());
    EXPECT_FALSE(training_offer_on());
    EXPECT_EQ(tips.shown, 0u);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_FALSE(tip_or_prompt_showing());
}

TEST(TrainingEnd, OnwardFromTheTrainingCampAsksThroughTheTick) {
    TempSaveDir tmp;
    training_world(3);
    camp_enter();
    camp.cursor = CAMP_TILE_ONWARD;
    tick_held(BTN_A);
    tick_held(0);
    EXPECT_TRUE(training.over_prompt);
    EXPECT_EQ(game_state, STATE_CAMP);
    tick_held(BTN_A);
    EXPECT_FALSE(training_active());
    tick_until([] { return !transition_active(); });
    EXPECT_EQ(current_floor, 4);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    run_active = 0;
}

}  // namespace
