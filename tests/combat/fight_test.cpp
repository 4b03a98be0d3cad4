// A fight from start to end: the opening line and hit points, elites, the restored duel, victory with
// loot and the victory pause, death, the fight record's saved block and the loot tables.
#include <gtest/gtest.h>

#include <random>

#include "combat/duel_harness.h"
#include "dungeon/elite.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "support/temp_save_dir.h"
#include "saves/bytes.h"
#include "world/buttons.h"
#include "services/toast.h"
#include "world/glyphs.h"

namespace {

// An open room, the player at (5, 5) facing east, and the monster (if any) beside him.
void fight_world(int type, int floor = 0) {
    levelup_clear();
    duel_open_room(floor);
    if (type) monster_add(type, 6, 5);
    run_stats_reset();
    reflex_clear();
    fx_reset();
    fight_rng_state = FIGHT_RNG_START;
    loot_rng_state = LOOT_RNG_START;
    toast_timer = 0;
    toast_line1[0] = toast_line2[0] = '\0';
    game_state = STATE_DUNGEON;
}

// One tick of a fight as the game runs it: the timers, then the update.
void fight_tick(uint8_t held, uint8_t presses) {
    combat_tick();
    fx_update();
    if (game_state == STATE_COMBAT) combat_update(held, presses);
}

const char* last_line() { return combat.log[COMBAT_LOG_LINES - 1]; }

TEST(FightStart, OpeningLinesAndHitPoints) {
    fight_world(0);
    start_combat(M_ORC, 6, 5);
    EXPECT_STREQ(last_line(), "An ORC appears!");
    EXPECT_EQ(game_state, STATE_COMBAT);
    EXPECT_EQ(combat.reflex, 1);
    fight_world(0);
    start_combat(M_RAT, 6, 5);
    EXPECT_STREQ(last_line(), "A RAT appears!");
    // Duel hit points are nine times the monster's.
    EXPECT_EQ(combat.max_hp, reflex_hp_scale(8));
    EXPECT_EQ(combat.hp, combat.max_hp);
    EXPECT_EQ(reflex.fight_stats[FS_FIGHTS], 1);

    // A goblin that escaped with 5 of 17 comes back with 5.
    fight_world(M_GOBLIN);
    monsters.list[0].carried_hp = 5;
    start_combat(M_GOBLIN, 6, 5);
    EXPECT_STREQ(last_line(), "A wounded GOBLIN!");
    EXPECT_EQ(combat.hp, 45);
    EXPECT_EQ(combat.max_hp, 153);
    EXPECT_EQ(monsters.list[0].carried_hp, 0);

    fight_world(M_GOBLIN);
    cheat_flags[CHEAT_FORCE_ELITES] = 1;
    start_combat(M_GOBLIN, 6, 5);
    EXPECT_STREQ(last_line(), "An ELITE GOBLIN!");
    EXPECT_EQ(combat.max_hp, reflex_hp_scale(34));

    fight_world(M_MIMIC);
    start_combat(M_MIMIC, 6, 5);
    EXPECT_STREQ(last_line(), "It's a MIMIC!");
    EXPECT_EQ(combat.shake_timer, 10);
    // The turn-menu queue is filled at every start, never past its cap.
    EXPECT_GE(combat.queued, 2);
    EXPECT_LE(combat.queued, MOVE_QUEUE_CAP);
}

TEST(FightStart, MonsterAttackGrowsWithTheFloor) {
    fight_world(0);
    combat.type = M_GOBLIN;
    current_floor = 0;
    EXPECT_EQ(combat_monster_attack(), 3 - 1);  // below floor 5 one less
    current_floor = 11;
    EXPECT_EQ(combat_monster_attack(), 3 + 2 + 1);
    combat.elite = 1;
    combat.buff = 1;
    EXPECT_EQ(combat_monster_attack(), 3 + 2 + 1 + 2 + 2);
}

TEST(FightQueue, AGoblinThatStoleNeverQueuesTheGoldPairAndTheQueueKeepsItsCap) {
    fight_world(0, 7);
    player.gold = 50;
    int pairs = 0;
    for (int n = 0; n < 2000; n++) {
        combat = Combat{};
        combat.type = M_GOBLIN;
        combat.gold_stolen = n % 2 ? 5 : 0;
        combat_queue_fill();
        ASSERT_LE(combat.queued, MOVE_QUEUE_CAP);
        bool pair = combat.queue[0] == 4 || combat.queue[1] == 4;
        if (combat.gold_stolen) {
            EXPECT_FALSE(pair);
        }
        pairs += pair;
        // A queue already two long is left as it is.
        combat.queue[0] = 4;
        combat.queue[1] = 5;
        combat.queued = 2;
        combat_queue_fill();
        EXPECT_EQ(combat.queued, 2);
    }
    EXPECT_GT(pairs, 100);
}

TEST(FightElite, NoneBelowFloorTwelveAtMostFortyPercent) {
    int deep = 0, cells = 0;
    for (uint32_t seed = 1; seed <= 40; seed++) {
        run_seed = seed * 2654435761u;
        for (int y = 1; y < MAP_H - 1; y++)
            for (int x = 1; x < MAP_W - 1; x++) {
                EXPECT_FALSE(elite_chance_test(x, y, 11, M_GOBLIN));
                EXPECT_FALSE(elite_chance_test(x, y, 31, M_DRAGON));
                deep += elite_chance_test(x, y, 31, M_ORC);
                cells++;
            }
    }
    double share = (double)deep / cells;
    EXPECT_GT(share, 0.36);
    EXPECT_LT(share, 0.44);
}

TEST(FightResume, ARestoredDuelHasNoOpeningAndAFreshClock) {
    fight_world(M_GOBLIN);
    player.main_hand = item_make(ITEM_SPEAR);
    start_combat(M_GOBLIN, 6, 5);
    // The spear strikes first when the fight opens...
    EXPECT_LT(reflex.hp, reflex.max_hp);
    for (int i = 0; i < 30; i++) fight_tick(0, 0);
    int32_t hp = combat.hp;
    int64_t fights = reflex.fight_stats[FS_FIGHTS];
    uint8_t block[COMBAT_SAVED_BYTES];
    combat_save_write(block);
    combat = Combat{};
    ASSERT_TRUE(combat_save_read(block));
    combat_resume_reflex();
    // ...but not when a saved fight resumes.
    EXPECT_EQ(reflex.hp, hp);
    EXPECT_EQ(reflex.clock, 0);
    EXPECT_EQ(reflex.fight_stats[FS_FIGHTS], fights);
    EXPECT_EQ(reflex_started, 1);
}

TEST(FightEnd, VictoryLeavesLootAndWaitsThirtyFourTicks) {
    fight_world(M_GOBLIN, 2);
    cheat_flags[CHEAT_FORCE_ELITES] = 1;  // an elite always drops something
    player.level = 10;                    // and its 10 xp are no level here
    start_combat(M_GOBLIN, 6, 5);
    reflex.hp = 1;
    reflex_monster_enter(MS_READY, 100000);
    for (int i = 0; i < 20; i++) fight_tick(0, 0);
    fight_tick(BTN_A, BTN_A);
    int ticks = 0;
    while (combat.victory_delay == 0 && game_state == STATE_COMBAT && ticks++ < 200) fight_tick(0, 0);
    ASSERT_EQ(combat.victory_delay, VICTORY_DELAY_TICKS);
    EXPECT_EQ(monsters.count, 0);
    EXPECT_EQ(player.kills, 1);
    EXPECT_EQ(player.floor_kills, 1);
    EXPECT_STREQ(combat.victory_lines[0], "ELITE GOBLIN SLAIN!");
    EXPECT_NE(combat.victory_lines[1][0], '\0');  // the loot line
    ticks = 0;
    while (game_state == STATE_COMBAT && ticks < 200) {
        fight_tick(BTN_A, BTN_A);  // presses during the pause do nothing
        ticks++;
    }
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_GE(ticks, VICTORY_DELAY_TICKS);
    EXPECT_STREQ(toast_line1, combat.victory_lines[0]);
    EXPECT_STREQ(toast_line2, combat.victory_lines[1]);
}

TEST(FightEnd, StolenGoldComesBackAndADragonHealsFully) {
    fight_world(M_DRAGON, 4);
    player.level = 10;  // 25 xp is no level here
    start_combat(M_DRAGON, 6, 5);
    player.hp = 30;
    player.status[ST_BURN] = 4;
    combat.gold_stolen = 12;
    player.gold = 3;
    combat_victory();
    EXPECT_EQ(player.gold, 15);
    EXPECT_EQ(player.hp, player.max_hp);
    EXPECT_EQ(player.status[ST_BURN], 0);
    EXPECT_STREQ(combat.victory_lines[0], "GOT 12G BACK! +25 XP");
    // A slain dragon always leaves a gear piece.
    EXPECT_EQ(floor_items.count, 1);
    EXPECT_EQ(std::strncmp(combat.victory_lines[1], "DROPPED: ", 9), 0) << combat.victory_lines[1];
}

TEST(FightEnd, ALevelGainedLeadsTheVictoryLines) {
    fight_world(M_DRAGON, 4);
    start_combat(M_DRAGON, 6, 5);
    combat_victory();
    EXPECT_EQ(player.level, 3);  // 25 xp from level 1: 10, then 15
    EXPECT_STREQ(combat.victory_lines[0], "LEVEL UP! NOW LVL 3");
    EXPECT_STREQ(last_line(), "Level up!");
}

TEST(FightEnd, DeathEndsTheFightInTheDeathState) {
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    player.hp = 3;
    for (int i = 0; i < 20; i++) fight_tick(0, 0);
    duel_force_attack(ATK_SIDE, 1);
    int ticks = 0;
    while (game_state == STATE_COMBAT && ticks++ < 400) fight_tick(0, 0);
    EXPECT_EQ(game_state, STATE_DEATH);
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(killer_type, (uint32_t)M_GOBLIN);
    EXPECT_EQ(combat.hurt_reason, HURT_SIDE_NOT_DODGED);
    EXPECT_EQ(combat.death_hits, 1);
}

TEST(FightEnd, ARightWayDodgeTooSoonIsNotRecordedAsTheWrongWay) {
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    player.hp = 3;
    for (int i = 0; i < 20; i++) fight_tick(0, 0);
    duel_force_attack(ATK_SIDE, 1);  // it leans right: the dodge is to the left
    while (reflex_time_to_impact() > 550) fight_tick(0, 0);
    fight_tick(BTN_LEFT, BTN_LEFT);  // the right way, but before the dodge can cover the blow
    int ticks = 0;
    while (game_state == STATE_COMBAT && ticks++ < 400) fight_tick(0, 0);
    ASSERT_EQ(game_state, STATE_DEATH);
    EXPECT_EQ(combat.hurt_reason, HURT_SIDE_NOT_DODGED);
}

TEST(FightFeedback, APerfectParryShowsItsWordAndStopsTheClock) {
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    for (int i = 0; i < 40; i++) fight_tick(0, 0);
    duel_force_attack(ATK_PLAIN);
    fight_tick(BTN_B, BTN_B);
    duel_set_impact(reflex.parry_press_at + 40);
    int ticks = 0;
    while (!(reflex_events & EV_PARRY) && ticks++ < 100) fight_tick(BTN_B, 0);
    ASSERT_TRUE(reflex_events & EV_PERFECT);
    EXPECT_STREQ(fx_state.popup, "PERFECT!");
    EXPECT_EQ(fx_state.popup_size, 4);
    EXPECT_EQ(duel_counters[DC_PARRIES], 1);
    // The word's hit stop holds the duel clock while it runs.
    int32_t clock = reflex.clock;
    fight_tick(BTN_B, 0);
    EXPECT_EQ(reflex.clock, clock);
    // A direction still held from the step into the monster does not dodge.
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    fight_tick(BTN_RIGHT, BTN_RIGHT);
    EXPECT_EQ(reflex.dodge_at, REFLEX_NEVER);
    fight_tick(0, 0);
    fight_tick(BTN_RIGHT, BTN_RIGHT);
    EXPECT_NE(reflex.dodge_at, REFLEX_NEVER);
}

// A blow that lands thickens the hurt vignette by its share of health; one met by the guard does not.
TEST(FightFeedback, AHitShowsTheHurtVignetteAndABlockDoesNot) {
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    for (int i = 0; i < 40; i++) fight_tick(0, 0);
    EXPECT_EQ(fx_hurt_width(), 0);
    duel_force_attack(ATK_PLAIN);
    int ticks = 0;
    while (!(reflex_events & EV_PLAYER_HURT) && ticks++ < 200) fight_tick(0, 0);
    ASSERT_TRUE(reflex_events & EV_PLAYER_HURT);
    const int d = reflex.last_damage_taken;
    ASSERT_GT(d, 0);
    const int p = d * 100 / player.max_hp;
    EXPECT_EQ(fx_hurt_width(), p >= 30 ? 8 : (p >= 15 ? 6 : (p > 5 ? 4 : 2))) << d << " of " << player.max_hp;
    for (int i = 0; i < 8 * FX_HURT_FADE_STEPS; i++) fight_tick(0, 0);
    EXPECT_EQ(fx_hurt_width(), 0);

    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    for (int i = 0; i < 40; i++) fight_tick(0, 0);
    duel_force_attack(ATK_PLAIN);
    fight_tick(BTN_B, BTN_B);
    duel_set_impact(reflex.parry_press_at + 400);  // held too early to parry: a block
    uint64_t ev = 0;
    ticks = 0;
    while (!(ev & (EV_BLOCK | EV_PARRY | EV_PLAYER_HURT)) && ticks++ < 200) {
        fight_tick(BTN_B, 0);
        ev = reflex_events;
    }
    ASSERT_TRUE(ev & EV_BLOCK);
    EXPECT_FALSE(ev & EV_PLAYER_HURT);
    EXPECT_EQ(fx_hurt_width(), 0);
}

TEST(FightFeedback, TheAttackHintWaitsForAnIdleMonster) {
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    EXPECT_TRUE(flow_hint_due());  // the player has never attacked
    duel_force_attack(ATK_PLAIN);
    EXPECT_FALSE(flow_hint_due());  // not while the monster winds up
    game_state = STATE_DUNGEON;
    reflex_monster_enter(MS_READY, 1000);
    EXPECT_FALSE(flow_hint_due());  // only in a fight
}

TEST(FightFeedback, TheIdleHintComesUpThreeTimesInAProfilesLife) {
    TempSaveDir tmp;  // each time it comes up is written to the profile
    profile = Profile{};
    profile_attack_hint_mark();
    fight_world(M_GOBLIN);
    start_combat(M_GOBLIN, 6, 5);
    reflex_monster_enter(MS_READY, 100000);
    for (int stretch = 1; stretch <= 4; stretch++) {
        reflex.fight_stats[FS_JABS]++;  // an attack starts a new idle stretch
        EXPECT_FALSE(flow_hint_due());
        reflex.clock += 8000;
        EXPECT_EQ(flow_hint_due(), stretch <= 3) << stretch;
        EXPECT_EQ(flow_hint_due(), stretch <= 3) << stretch;  // still up, not counted again
        EXPECT_EQ(profile_flow_hint_count(), stretch <= 3 ? stretch : 3);
    }
    profile = Profile{};
}

TEST(FightRecord, TheSavedBlockRoundTripsAndRejectsBadValues) {
    fight_world(M_SLIME);
    start_combat(M_SLIME, 6, 5);
    combat_log_push("A longer line that does not fit in the log");
    combat.gold_stolen = 7;
    combat.monster_status[ST_POISON] = 3;
    combat.shake_timer = 9;
    uint8_t block[COMBAT_SAVED_BYTES];
    combat_save_write(block);
    EXPECT_EQ(bytes_get_u32(block, 0), (uint32_t)M_SLIME);
    EXPECT_EQ(bytes_get_i32(block, 52), 6);
    EXPECT_EQ(block[76], 1);
    EXPECT_EQ(std::strlen((const char*)block + 84 + 2 * COMBAT_LOG_BYTES), 23u);
    Combat before = combat;
    combat = Combat{};
    ASSERT_TRUE(combat_save_read(block));
    EXPECT_EQ(combat.type, before.type);
    EXPECT_EQ(combat.hp, before.hp);
    EXPECT_EQ(combat.max_hp, before.max_hp);
    EXPECT_EQ(combat.queued, before.queued);
    EXPECT_EQ(std::memcmp(combat.queue, before.queue, MOVE_QUEUE_CAP), 0);
    EXPECT_EQ(combat.gold_stolen, 7);
    EXPECT_EQ(combat.monster_status[ST_POISON], 3);
    EXPECT_EQ(combat.shake_timer, 9);
    EXPECT_STREQ(combat.log[2], before.log[2]);

    // Each field out of its range is refused and the record stays as it was.
    const struct {
        int off;
        uint32_t value;
    } bad[] = {{0, 0}, {0, 9}, {4, 999999}, {8, 0}, {52, 16}, {56, (uint32_t)-1}, {64, 5}, {68, (uint32_t)-3}};
    for (const auto& b : bad) {
        uint8_t copy[COMBAT_SAVED_BYTES];
        std::memcpy(copy, block, sizeof copy);
        bytes_put_u32(copy, b.off, b.value);
        EXPECT_FALSE(combat_save_read(copy)) << b.off;
        EXPECT_EQ(combat.type, before.type);
    }
    uint8_t copy[COMBAT_SAVED_BYTES];
    std::memcpy(copy, block, sizeof copy);
    copy[60] = 40;  // a queued move past the table
    EXPECT_FALSE(combat_save_read(copy));
}

TEST(FightRecord, RandomBlocksNeverCrashAndWhatIsTakenIsInRange) {
    std::mt19937 rng(77);
    int taken = 0;
    for (int n = 0; n < 20000; n++) {
        uint8_t block[COMBAT_SAVED_BYTES];
        for (uint8_t& b : block) b = (uint8_t)rng();
        if (n % 2) {  // half of them near a real block, so some pass
            bytes_put_u32(block, 0, 1 + rng() % 8);
            bytes_put_i32(block, 8, 100);
            bytes_put_i32(block, 4, (int32_t)(rng() % 101));
            bytes_put_i32(block, 52, (int32_t)(rng() % 16));
            bytes_put_i32(block, 56, (int32_t)(rng() % 12));
            bytes_put_i32(block, 64, (int32_t)(rng() % 5));
            bytes_put_i32(block, 28, 0);
            bytes_put_i32(block, 32, 0);
            bytes_put_i32(block, 68, 0);
            bytes_put_i32(block, 72, 0);
            block[76] = 1;
            block[19] = 0;
            block[47] = 0xFF;
            for (int i = 0; i < 4; i++) block[60 + i] = (uint8_t)(rng() % 29);
        }
        if (!combat_save_read(block)) continue;
        taken++;
        EXPECT_GT(combat.type, (uint32_t)M_NONE);
        EXPECT_LT(combat.type, (uint32_t)M_COUNT);
        EXPECT_LE(combat.hp, combat.max_hp);
        EXPECT_LE(combat.queued, MOVE_QUEUE_CAP);
        for (int l = 0; l < COMBAT_LOG_LINES; l++) EXPECT_LT(std::strlen(combat.log[l]), (size_t)COMBAT_LOG_BYTES);
    }
    EXPECT_GT(taken, 1000);
}

// What one drop left: gold, a key, or the glyph on the cell.
char drop_outcome(int type, bool elite = false) {
    gmap[5][6] = GLYPH_FLOOR;
    floor_items_clear();
    int gold = player.gold, keys = player.keys;
    char line[28];
    loot_drop(type, 6, 5, 0, elite, line, sizeof line);
    if (player.gold > gold) return 'g';
    if (player.keys > keys) return 'k';
    char c = gmap[5][6];
    return c == GLYPH_SHIELD ? GLYPH_WEAPON : c;  // the drop maker picks shield or weapon itself
}

TEST(Loot, EachMonsterTypeDropsByItsTable) {
    struct Want {
        int type;
        double nothing, gold, potion, key, gear, antidote;
    };
    const Want wants[] = {
        {M_GOBLIN, 0.40, 0.60 * 0.53, 0.60 * 0.30, 0.60 * 0.05, 0.60 * 0.12, 0},
        {M_RAT, 0.55, 0.45 * 0.65, 0.45 * 0.25, 0, 0, 0.45 * 0.10},
        {M_SKELETON, 0.25, 0.75 * 0.38, 0.75 * 0.22, 0.75 * 0.05, 0.75 * 0.35, 0},
        {M_BAT, 0.65, 0.35 * 0.70, 0.35 * 0.30, 0, 0, 0},
        {M_SLIME, 0.45, 0.55 * 0.45, 0.55 * 0.30, 0, 0, 0.55 * 0.25},
        {M_ORC, 0.25, 0.75 * 0.35, 0.75 * 0.20, 0.75 * 0.07, 0.75 * 0.38, 0},
    };
    fight_world(0, 3);
    const int N = 20000;
    for (const Want& w : wants) {
        int count[128] = {};
        for (int i = 0; i < N; i++) count[(int)drop_outcome(w.type)]++;
        auto share = [&](char c) { return (double)count[(int)c] / N; };
        const double tol = 0.015;
        EXPECT_NEAR(share(GLYPH_FLOOR), w.nothing, tol) << w.type;
        EXPECT_NEAR(share('g'), w.gold, tol) << w.type;
        EXPECT_NEAR(share(GLYPH_POTION), w.potion, tol) << w.type;
        EXPECT_NEAR(share('k'), w.key, tol) << w.type;
        EXPECT_NEAR(share(GLYPH_WEAPON), w.gear, tol) << w.type;
        EXPECT_NEAR(share(GLYPH_ANTIDOTE), w.antidote, tol) << w.type;
    }
    // An elite always drops something; training never does.
    for (int i = 0; i < 500; i++) EXPECT_NE(drop_outcome(M_BAT, true), GLYPH_FLOOR);
}

TEST(Loot, AFullFloorListLeavesTheCellBareWithNoLine) {
    fight_world(0, 3);
    for (int i = 0; i < FLOOR_ITEMS_MAX; i++) floor_item_add(1 + i % 14, 1 + i / 14, item_make(ITEM_DAGGER), 0);
    char line[28] = "x";
    loot_rng_state = LOOT_RNG_START;
    loot_drop(M_DRAGON, 6, 5, 0, false, line, sizeof line);
    EXPECT_EQ(gmap[5][6], GLYPH_FLOOR);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(gold_pickup_amount(), 10);
}

}  // namespace
