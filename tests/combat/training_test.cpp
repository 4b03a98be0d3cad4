// Training drills through the running game: each drill's forced attacks, the cue pauses, the
// counter and its toasts, the wrong-move words, completion into the next drill, the monster's hit
// point floor and the goblin's first hit; then the maps, the exploration gates and the level-up.
#include <gtest/gtest.h>

#include <cstring>

#include "boons/boons.h"
#include "combat/duel.h"
#include "combat/status.h"
#include "combat/training_save.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/explore.h"
#include "items/equip.h"
#include "items/floor_items.h"
#include "support/temp_save_dir.h"
#include "training_fixture.h"

namespace {

// Starts the fight with the map's monster of `type` and lets its opening pass.
void fight(int type) {
    for (int i = 0; i < monsters.count; i++)
        if (monsters.list[i].type == type) {
            start_combat(type, monsters.list[i].x, monsters.list[i].y);
            return;
        }
    FAIL() << "no monster of type " << type;
}

bool in_windup() { return reflex.monster_state == MS_ATTACK; }

TEST(TrainingMaps, EachMapPlacesThePlayerFacingEastAndKeepsItsLetters) {
    TempSaveDir tmp;
    const int starts[TRAINING_MAP_COUNT][2] = {{1, 1}, {1, 1}, {1, 1}, {1, 1}};
    for (int n = 0; n < TRAINING_MAP_COUNT; n++) {
        training_world(n);
        EXPECT_EQ(player.x, starts[n][0]);
        EXPECT_EQ(player.y, starts[n][1]);
        EXPECT_EQ(player.facing, 1);
        EXPECT_EQ(current_floor, n);
        EXPECT_TRUE(training_map_floor(n));
    }
    EXPECT_FALSE(training_map_floor(4));
    EXPECT_FALSE(training_map_floor(-1));

    training_world(1);
    // The shield lies on the floor list under its glyph.
    EXPECT_EQ(gmap_at(8, 3), 's');
    int fi = floor_item_find(8, 3);
    ASSERT_GE(fi, 0);
    EXPECT_EQ(floor_items.entries[fi].item.id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(gmap_at(5, 6), 'p');
    EXPECT_GE(monster_at(8, 8), 0);

    training_world(2);
    EXPECT_EQ(gmap_at(4, 1), 'a');
    int orc = monster_at(3, 4);
    ASSERT_GE(orc, 0);
    EXPECT_EQ(monsters.list[orc].type, M_ORC);
    // The orc keeps to its room and the corridor above it.
    EXPECT_TRUE(training_monster_may_step(4, 4));
    EXPECT_FALSE(training_monster_may_step(3, 4));
    EXPECT_FALSE(training_monster_may_step(5, 5));
    training_stop();
    EXPECT_FALSE(training_active());
}

TEST(TrainingDrills, EachFightPicksItsDrillAndItsHitPoints) {
    TempSaveDir tmp;
    training_world(0);
    const int a = player_attack_value();
    EXPECT_EQ(drill_monster_hp(M_RAT), a + 3);
    EXPECT_EQ(drill_monster_hp(M_GOBLIN), (a + 2) * 3 + 1);
    EXPECT_EQ(drill_monster_hp(M_SKELETON), (a + 2) * 9 + 1);
    EXPECT_EQ(drill_monster_hp(M_BAT), (a + 2) * 2 + 1);
    EXPECT_EQ(training_attack(M_RAT), 1);
    EXPECT_EQ(training_attack(M_ORC), 3);
    EXPECT_EQ(training_attack(M_GOBLIN), 2);

    struct Case {
        int floor, type;
        uint32_t drill;
    };
    const Case cases[] = {{0, M_RAT, DRILL_JAB},   {1, M_GOBLIN, DRILL_BLOCK}, {2, M_RAT, DRILL_FINISH_IT},
                          {2, M_ORC, DRILL_DODGE}, {3, M_SKELETON, DRILL_SMASH}};
    for (const Case& c : cases) {
        training_world(c.floor);
        fight(c.type);
        EXPECT_EQ(training.drill, c.drill) << c.floor << " " << c.type;
        EXPECT_EQ(training.count, 0);
        EXPECT_EQ(combat.elite, 0);
        if (c.type == M_RAT && c.floor == 2) {
            EXPECT_EQ(drill_monster_hp(M_RAT), (player_attack_value() + 2) * 3 + 1);
        }
    }
    training.drill = DRILL_NONE;
    combat.type = M_BAT;
    drill_begin();
    EXPECT_EQ(training.drill, DRILL_MIXED);
}

TEST(TrainingDrills, TheFirstRatTakesThreeJabsAboveTwoThirdsThenThreeFinishersAndFalls) {
    TempSaveDir tmp;
    training_world(0);
    fight(M_RAT);
    ASSERT_EQ(training.drill, DRILL_JAB);
    EXPECT_STREQ(drill_counter_text(), "JAB 0/3");
    EXPECT_TRUE(drill_allows_action(1));
    EXPECT_FALSE(drill_allows_action(0));
    const int floor_hp = std::max(reflex.max_hp * 2 / 3, 1);
    // The rat never attacks in this lesson: tap A and count.
    int lowest = reflex.hp;
    bool jab_toast = false;
    for (int i = 0; i < 4000 && training.drill == DRILL_JAB; i++) {
        EXPECT_FALSE(in_windup());
        game_tick(i % 20 < 2 ? BTN_A : 0);
        lowest = std::min(lowest, reflex.hp);
        jab_toast = jab_toast || toast_says("JAB!");
    }
    EXPECT_TRUE(jab_toast);
    EXPECT_GE(lowest, floor_hp);
    ASSERT_EQ(training.drill, DRILL_FINISHER);
    EXPECT_EQ(training.count, 0);
    EXPECT_TRUE(toast_says("JAB 3/3!"));
    // Three jabs in a row make a finisher; three finishers end the drill and the rat may die.
    int ticks = 0;
    for (; ticks < 20000 && game_state == STATE_COMBAT && training.drill == DRILL_FINISHER; ticks++)
        game_tick(ticks % 14 < 2 ? BTN_A : 0);
    EXPECT_EQ(training.drill, DRILL_NONE) << ticks;
    for (; ticks < 20000 && game_state == STATE_COMBAT; ticks++) game_tick(ticks % 14 < 2 ? BTN_A : 0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_LT(monster_at(10, 7), 0);
}

TEST(TrainingDrills, TheGoblinBlocksThenParriesWithTheCuePauseAndItsFirstHitLeavesHalf) {
    TempSaveDir tmp;
    training_world(1);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    player.hp = player.max_hp;
    fight(M_GOBLIN);
    ASSERT_EQ(training.drill, DRILL_BLOCK);
    EXPECT_TRUE(drill_is_defence());
    // A forced plain wind-up comes; letting it land takes the player to half hp and says so.
    ASSERT_TRUE(tick_until(in_windup));
    EXPECT_EQ(reflex.current.kind, ATK_PLAIN);
    EXPECT_STREQ(drill_cue_text(), "HOLD {B}");
    const int full = player.hp;
    ASSERT_TRUE(tick_until([&] { return player.hp < full; }));
    EXPECT_EQ(player.hp, player.max_hp / 2);
    EXPECT_TRUE(toast_says("HOLD {B} BEFORE IT LANDS"));
    // A second full hit is not capped again, and training never takes the last hit point.
    EXPECT_EQ(training.first_hit, 1);

    // Holding the guard through the next wind-up is the block lesson.
    ASSERT_TRUE(tick_until([] { return !in_windup(); }));
    ASSERT_TRUE(tick_until(in_windup));
    ASSERT_TRUE(tick_until([] { return training.drill != DRILL_BLOCK; }, BTN_B));
    EXPECT_EQ(training.drill, DRILL_PARRY);
    EXPECT_TRUE(toast_says("BLOCK 1/1!"));
    EXPECT_GT(player.hp, 0);
    tick_held(0, 2);

    // The parry drill stops the clock 200 ms before the blow until the guard is pressed.
    ASSERT_TRUE(tick_until([] { return drill_pause_for_cue(); }));
    EXPECT_LE(reflex_time_to_impact(), 200);
    EXPECT_STREQ(drill_cue_text(), "NOW: {B}");
    const int32_t held_clock = reflex.clock;
    tick_held(0, 30);
    EXPECT_EQ(reflex.clock, held_clock);
    tick_held(BTN_B);
    EXPECT_TRUE(training.cue_answered);
    ASSERT_TRUE(tick_until([] { return training.count > 0 || training.hurt_at >= 0; }, BTN_B));
    EXPECT_EQ(training.count, 1);
    EXPECT_TRUE(toast_says("PARRY!"));
    EXPECT_STREQ(drill_counter_text(), "PARRY 1/3");
    // After the first success there is no more pause.
    tick_held(0, 2);
    ASSERT_TRUE(tick_until(in_windup));
    ASSERT_TRUE(tick_until([] { return reflex_time_to_impact() <= 150; }));
    EXPECT_FALSE(drill_pause_for_cue());
}

TEST(TrainingDrills, AParryInTheBlockLessonCountsAndMovesOnToParries) {
    TempSaveDir tmp;
    training_world(1);
    fight(M_GOBLIN);
    ASSERT_TRUE(tick_until([] { return in_windup() && reflex_time_to_impact() <= 150; }));
    ASSERT_TRUE(tick_until([] { return !in_windup(); }, BTN_B));
    EXPECT_EQ(training.drill, DRILL_PARRY);
    EXPECT_TRUE(toast_says("PARRY: EVEN BETTER 1/1!"));
}

TEST(TrainingDrills, ParryMistakesAreNamedTooEarlyTooLateOrNotAtAll) {
    TempSaveDir tmp;
    training_world(1);
    fight(M_GOBLIN);
    training.drill = DRILL_PARRY;
    training.count = 1;  // past the cue pause
    // Too early: the guard held from the start of the wind-up only blocks.
    ASSERT_TRUE(tick_until(in_windup));
    ASSERT_TRUE(tick_until([] { return !in_windup(); }, BTN_B));
    EXPECT_TRUE(toast_says("TOO EARLY: THAT'S A BLOCK"));
    EXPECT_EQ(training.count, 1);
    tick_held(0, 2);
    // Not at all: 400 ms after the hurt the driver says when to tap.
    toast_timer = 0;
    ASSERT_TRUE(tick_until(in_windup));
    ASSERT_TRUE(tick_until([] { return training.hurt_at >= 0; }));
    ASSERT_TRUE(tick_until([] { return training.hurt_at < 0; }));
    EXPECT_TRUE(toast_split_says("TAP {B} AS THE RING TOUCHES IT"));
    // Too late: a guard press just after the hurt.
    toast_timer = 0;
    ASSERT_TRUE(tick_until(in_windup));
    ASSERT_TRUE(tick_until([] { return training.hurt_at >= 0; }));
    tick_held(BTN_B, 3);
    ASSERT_TRUE(tick_until([] { return training.hurt_at < 0; }, BTN_B));
    EXPECT_TRUE(toast_split_says("TOO LATE: PRESS IT AS IT LANDS"));
}

TEST(TrainingDrills, TheOrcsBlowsAreDodgedWhereTheArrowsPointAndTheWrongWayIsNamed) {
    TempSaveDir tmp;
    training_world(2);
    fight(M_ORC);
    ASSERT_EQ(training.drill, DRILL_DODGE);
    EXPECT_EQ(DRILL_BUTTONS[DRILL_DODGE - 1], BTN_LEFT | BTN_RIGHT);
    EXPECT_EQ(training_hint_target(), BTN_LEFT | BTN_RIGHT);
    ASSERT_TRUE(tick_until([] { return drill_pause_for_cue(); }));
    EXPECT_EQ(reflex.current.kind, ATK_SIDE);
    const int side = reflex.current.side;
    EXPECT_STREQ(drill_cue_text(), side >= 0 ? "NOW: {LEFT}" : "NOW: {RIGHT}");
    // The wrong way answers the cue but takes the blow.
    tick_held(side >= 0 ? BTN_RIGHT : BTN_LEFT);
    ASSERT_TRUE(tick_until([] { return !in_windup(); }));
    EXPECT_TRUE(toast_split_says("THE OTHER WAY: WHERE THE ARROWS POINT"));
    EXPECT_EQ(training.count, 0);
    // Three right dodges finish the lesson; the finish-it drill follows and the orc may fall.
    for (int n = 0; n < 3; n++) {
        ASSERT_TRUE(tick_until([] { return drill_pause_for_cue() || (in_windup() && reflex_time_to_impact() <= 180); }));
        uint8_t way = reflex.current.side >= 0 ? BTN_LEFT : BTN_RIGHT;
        tick_held(way);
        ASSERT_TRUE(tick_until([] { return !in_windup(); }));
    }
    EXPECT_EQ(training.drill, DRILL_FINISH_ORC);
    EXPECT_EQ(training.count, 0);
    EXPECT_EQ(drill_hp_floor(), 0);
}

TEST(TrainingDrills, ADodgeTooEarlyNeitherRefusesTheCuesAnswerNorIsCalledTheOtherWay) {
    TempSaveDir tmp;
    training_world(2);
    fight(M_ORC);
    // The arrow pressed as the prompt shows, then again as the cue asks: the blow is dodged.
    ASSERT_TRUE(tick_until([] { return in_windup() && reflex_time_to_impact() <= 500; }));
    uint8_t way = reflex.current.side >= 0 ? BTN_LEFT : BTN_RIGHT;
    tick_held(way, 3);
    ASSERT_TRUE(tick_until([] { return drill_pause_for_cue(); }));
    tick_held(way);
    ASSERT_TRUE(tick_until([] { return !in_windup(); }));
    EXPECT_EQ(training.count, 1);
    // With no cue any more, the right way pressed too soon is named as early.
    ASSERT_TRUE(tick_until([] { return in_windup() && reflex_time_to_impact() <= 500; }));
    way = reflex.current.side >= 0 ? BTN_LEFT : BTN_RIGHT;
    tick_held(way, 3);
    ASSERT_TRUE(tick_until([] { return !in_windup(); }));
    EXPECT_EQ(training.count, 1);
    EXPECT_TRUE(toast_split_says("TOO EARLY: DODGE AS THE RING FLASHES")) << toast_line1 << " " << toast_line2;
}

TEST(TrainingDrills, TheSkeletonRunsSmashStopStarsAndMixed) {
    TempSaveDir tmp;
    training_world(3);
    fight(M_SKELETON);
    ASSERT_EQ(training.drill, DRILL_SMASH);
    EXPECT_STREQ(drill_counter_text(), "SMASH THE SHIELD 0/1");
    const int keep = std::max(reflex.max_hp * 3 / 4, 1);
    EXPECT_EQ(drill_hp_floor(), keep);
    // The shield goes up; jabs only crack it: a star break names the heavy.
    ASSERT_TRUE(tick_until([] { return reflex.monster_state == MS_GUARD; }));
    // A full heavy, held and let go, smashes it.
    for (int i = 0; i < 12 && training.drill == DRILL_SMASH; i++) {
        tick_held(BTN_A, 70);
        tick_held(0, 40);
    }
    EXPECT_EQ(training.drill, DRILL_STOP);
    EXPECT_TRUE(drill_is_stop());
    EXPECT_STREQ(drill_counter_text(), "STOP AN ATTACK 0/1");

    // Stars: fill them, then hit while it reels.
    training.drill = DRILL_STARS;
    training.count = 0;
    EXPECT_STREQ(drill_counter_text(), "FILL THE STARS");
    drill_on_events(EV_STAGGERED);
    EXPECT_STREQ(drill_counter_text(), "HIT IT WHILE IT REELS");
    reflex.monster_state = MS_STAGGER;
    drill_on_events(EV_HIT);
    EXPECT_EQ(training.drill, DRILL_MIXED);
    EXPECT_TRUE(drill_is_mixed());
    EXPECT_STREQ(drill_counter_text(), "");
    EXPECT_TRUE(drill_allows_action(2));
    EXPECT_FALSE(drill_allows_action(3));
    EXPECT_EQ(drill_hp_floor(), 0);
}

TEST(TrainingDrills, ForcedAttacksByDrill) {
    TempSaveDir tmp;
    training_world(3);
    fight(M_SKELETON);
    struct Case {
        uint32_t drill;
        bool queued;
        int kind, percent;
    };
    const Case cases[] = {
        {DRILL_BLOCK, true, ATK_PLAIN, 700},  {DRILL_PARRY, true, ATK_PLAIN, 700},
        {DRILL_FINISH_IT, true, ATK_PLAIN, 700}, {DRILL_DODGE, true, ATK_SIDE, 700},
        {DRILL_FINISH_ORC, true, ATK_SIDE, 700}, {DRILL_SMASH, true, ATK_SHIELD, 4500},
        {DRILL_STOP, true, ATK_PLAIN, 2000},  {DRILL_JAB, false, 0, 0},
        {DRILL_FINISHER, false, 0, 0},         {DRILL_STARS, false, 0, 0},
        {DRILL_NONE, false, 0, 0},             {DRILL_MIXED, false, 0, 0},
    };
    for (const Case& c : cases) {
        training.drill = c.drill;
        reflex.incoming_count = 0;
        EXPECT_EQ(drill_force_attack(), c.queued) << c.drill;
        ASSERT_EQ(reflex.incoming_count, c.queued ? 1 : 0) << c.drill;
        if (!c.queued) continue;
        EXPECT_EQ(reflex.incoming[0].kind, c.kind) << c.drill;
        if (c.kind == ATK_SHIELD) EXPECT_EQ(reflex.incoming[0].windup, c.percent * reflex.tempo / 100);
        else EXPECT_GT(reflex.incoming[0].windup, c.percent * reflex.tempo / 100);  // slowed for training
    }
    // Keeping the monster alive in the turn-menu fight.
    const uint32_t kept[] = {1, 2, 3, 4, 6, 8, 9, 10};
    for (uint32_t d = 0; d <= DRILL_MIXED; d++) {
        training.drill = d;
        bool k = false;
        for (uint32_t x : kept) k = k || x == d;
        EXPECT_EQ(drill_keeps_alive(), k) << d;
    }
    // Outside training the fight view shows everything.
    training.mode = 0;
    for (int kind = 0; kind < 4; kind++) EXPECT_TRUE(drill_allows_action(kind));
    EXPECT_STREQ(drill_counter_text(), "");
    EXPECT_STREQ(drill_cue_text(), "");
}

TEST(TrainingGates, TheShieldTheAntidoteAndThePotionHoldTheStairs) {
    TempSaveDir tmp;
    training_world(1);
    EXPECT_FALSE(training_step_gate());
    ASSERT_TRUE(bag_add_new(ITEM_WOODEN_SHIELD, 1));
    player.off_hand = Item{};
    EXPECT_TRUE(training_shield_due());
    EXPECT_TRUE(training_step_gate());
    EXPECT_STREQ(training.hint, "EQUIP THE SHIELD FIRST: PRESS {SELECT}, THEN PRESS {A} ON THE SHIELD");
    EXPECT_EQ(training_hint_target(), BTN_SELECT);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_remove(player.bag, bag_find(ITEM_WOODEN_SHIELD));
    EXPECT_FALSE(training_step_gate());
    EXPECT_EQ(training_hint_target(), 0);

    // Hurt, with the potion tip shown and the potion still lying in the room.
    player.hp = player.max_hp - 5;
    tips.shown = 0;
    EXPECT_FALSE(training_potion_due());
    tips.shown = 1u << 8;
    EXPECT_TRUE(training_potion_due());
    EXPECT_TRUE(training_step_gate());
    EXPECT_STREQ(training.hint, "DRINK THE POTION FIRST: WALK INTO IT, IN THE ROOM");
    EXPECT_TRUE(training_refuses_step(8, 9));
    EXPECT_FALSE(training_refuses_step(6, 6));
    EXPECT_FALSE(training_refuses_turn());
    gmap[6][5] = '.';
    EXPECT_FALSE(map_has_potion());
    EXPECT_FALSE(training_step_gate());

    // Poisoned after the poison tip with an antidote in the bag.
    training_world(2, false);
    ASSERT_TRUE(bag_add_new(ITEM_ANTIDOTE, 1));
    status_add(player.status, ST_POISON, 10);
    EXPECT_FALSE(training_antidote_due());
    tips.shown |= 1u << 12;
    EXPECT_TRUE(training_antidote_due());
    EXPECT_TRUE(training_step_gate());
    EXPECT_STREQ(training.hint, "DRINK THE ANTIDOTE FIRST: PRESS {SELECT}, THEN PRESS {A} ON IT");
    status_clear(player.status);
    EXPECT_FALSE(training_step_gate());
    // Outside training nothing is held back.
    training_stop();
    EXPECT_FALSE(training_step_gate());
    EXPECT_TRUE(training_monster_may_step(0, 0));
}

TEST(TrainingLevelup, TheFirstLevelUpOffersBloodthirstOnlyAndTheXpFillsTheGap) {
    TempSaveDir tmp;
    training_world(1);
    const int gap = xp_to_next(player.level) - player.xp;
    EXPECT_EQ(training_xp_gap(M_GOBLIN), gap);
    EXPECT_EQ(training_xp_gap(M_SKELETON), gap);
    EXPECT_EQ(training_xp_gap(M_RAT), gap > 1 ? 1 : 0);
    player.xp = xp_to_next(player.level) - 1;
    EXPECT_EQ(training_xp_gap(M_RAT), 0);
    player.xp = 0;
    EXPECT_EQ(gain_xp(training_xp_gap(M_GOBLIN)), 1);
    ASSERT_TRUE(levelup_open(LevelupMode{true}));
    EXPECT_TRUE(training_pick_forced());
    EXPECT_EQ(levelup.picks[0], PICK_BOON);
    EXPECT_EQ(levelup.boon_offer, BOON_BLOODTHIRST);
    // The spotlight points at the fixed card.
    SpotlightTarget t{};
    game_state = STATE_LEVELUP;
    ASSERT_TRUE(training_spotlight_target(BagCursorView{0, -1, 0}, &t));
    EXPECT_EQ(t.kind, SPOT_LEVELUP_CARD);
    EXPECT_EQ(t.index, 0);
    EXPECT_STREQ(t.caption, "PRESS {A}");
    EXPECT_EQ(training_pick_boon(), boon_first_owned_below_max());
}

TEST(TrainingSpotlight, TheBagSpotlightFindsTheShieldAndTheAntidoteWhereverTheCursorIs) {
    TempSaveDir tmp;
    training_world(1);
    game_state = STATE_BAG;
    SpotlightTarget t{};
    EXPECT_FALSE(training_spotlight_target(BagCursorView{0, -1, 0}, &t));
    ASSERT_TRUE(bag_add_new(ITEM_WOODEN_SHIELD, 1));
    const int shield = bag_find(ITEM_WOODEN_SHIELD);
    struct Case {
        BagCursorView view;
        int kind;
        const char* caption;
    };
    const Case cases[] = {
        {{0, -1, 0}, SPOT_BAG_ITEM, "MOVE THE CURSOR HERE"},
        {{1, -1, 0}, SPOT_BAG_ITEM, "PRESS {LEFT}"},
        {{-1, -1, 0}, SPOT_BAG_ITEM, "PRESS {RIGHT}"},  // the stats page lies left of the inventory
        {{0, shield, 0}, SPOT_BAG_ITEM, "PRESS {A}"},
        {{0, shield, 1}, SPOT_PANEL_ACTION, "PRESS {A} TO EQUIP"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(training_spotlight_target(c.view, &t)) << c.caption;
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.index, shield);
        EXPECT_STREQ(t.caption, c.caption);
    }
    // A tip up hides it.
    tips.shown = 0;
    EXPECT_TRUE(show_tip_once(5));
    EXPECT_FALSE(training_spotlight_target(BagCursorView{0, -1, 0}, &t));

    training_world(2);
    game_state = STATE_BAG;
    ASSERT_TRUE(bag_add_new(ITEM_ANTIDOTE, 1));
    status_add(player.status, ST_POISON, 10);
    const int antidote = bag_find(ITEM_ANTIDOTE);
    ASSERT_TRUE(training_spotlight_target(BagCursorView{0, antidote, 1}, &t));
    EXPECT_EQ(t.index, antidote);
    EXPECT_STREQ(t.caption, "PRESS {A} TO DRINK");
    status_clear(player.status);
}

TEST(TrainingSave, TheFlagAndTheTipsRoundTripAndStrayBitsAreDropped) {
    TempSaveDir tmp;
    training_world(0, false);
    tips.shown = (1u << 0) | (1u << 17) | (1u << 29);
    uint8_t b[TRAINING_SAVED_BYTES] = {};
    training_save_write(b);
    EXPECT_EQ(b[TRAINING_SAVED_FLAG], 1);
    EXPECT_EQ(b[TRAINING_SAVED_TIPS + 2], 0x02);
    EXPECT_EQ(b[5] | b[6] | b[7], 0);
    training_stop();
    EXPECT_EQ(tips.shown, 0u);
    training_save_read(b);
    EXPECT_TRUE(training_active());
    EXPECT_EQ(tips.shown, (1u << 0) | (1u << 17) | (1u << 29));
    // A tip remembered across the save is not shown again.
    EXPECT_FALSE(show_tip_once(17));
    EXPECT_TRUE(show_tip_once(18));
    uint8_t odd[TRAINING_SAVED_BYTES] = {7, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0};
    training_save_read(odd);
    EXPECT_EQ(training.mode, 1);
    EXPECT_EQ(tips.shown, ALL_TIPS);
    training_stop();
}

}  // namespace
