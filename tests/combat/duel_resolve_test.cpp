// Duel resolution: combo tiers and flow, the hit cap, DEATH'S DOOR and LAST STAND, a weapon breaking
// into berserk, status ticks in a duel, and the weapon timings of every main hand.
#include <gtest/gtest.h>

#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/duel_harness.h"
#include "combat/fight_tuning.h"
#include "combat/status.h"

namespace {

// Bare defence: a sword and no shield, so a blow of n takes n.
void no_shield(int hp, int max_hp) {
    player.off_hand = item_make(ITEM_NONE);
    player.hp = hp;
    player.max_hp = max_hp;
}

TEST(DuelCombo, TiersFollowTheComboAndFlowScalesBothWays) {
    duel_reset(M_GOBLIN);
    const int combos[] = {0, 4, 5, 11, 12, 24, 25, 44, 45, 300};
    const int tiers[] = {100, 100, 110, 110, 125, 125, 150, 150, 200, 200};
    for (int i = 0; i < 10; i++) {
        combo = combos[i];
        EXPECT_EQ(combo_tier_percent(), tiers[i]) << combos[i];
    }
    combo = 4;
    combat_add_combo(1);
    EXPECT_TRUE(reflex_events & EV_FLOW_TIER);
    EXPECT_EQ(duel.best_combo, 5);

    // flow 1000: the monster's blow is 2.5 times as strong before defence.
    no_shield(100, 100);
    flow = 1000;
    EXPECT_EQ(flow_damage_percent(), 250);
    combat_damage_player(10, true);
    EXPECT_EQ(reflex.last_damage_taken, 25);
    EXPECT_EQ(flow, 750);  // even a chip costs flow
    EXPECT_EQ(flow_level(), 4);
    flow = 99;
    EXPECT_EQ(flow_level(), 0);
    flow = 100;
    EXPECT_EQ(flow_level(), 1);
}

TEST(DuelCombo, FlowGrowsOnlyWithAHighHitRateAfterACleanStretch) {
    duel_reset(M_GOBLIN);
    duel.hit_rate = 300;
    duel.clean_ms = 0;
    combat_add_combo(1);
    EXPECT_EQ(flow, 0);  // no clean stretch yet
    duel.clean_ms = 60000;
    combat_add_combo(1);
    // Fully ready: 1 x 100 x (300 - 100) / 2500 = 8.
    EXPECT_EQ(flow, 8);
    duel.hit_rate = 100;
    combat_add_combo(1);
    EXPECT_EQ(flow, 8);
    // A full hit clears the combo, breaks a combo of 3 or more and costs flow three times over.
    combo = 7;
    no_shield(100, 100);
    combat_damage_player(2, false);
    EXPECT_TRUE(reflex_events & EV_COMBO_BROKEN);
    EXPECT_EQ(reflex.broken_combo, 7);
    EXPECT_EQ(combo, 0);
    EXPECT_EQ(flow, 0);
    EXPECT_EQ(duel.clean_ms, 0);
}

TEST(DuelHurt, TheCapDeathsDoorAndLastStand) {
    duel_reset(M_GOBLIN);
    // A 60 % blow against 100 max hp from full takes 50.
    no_shield(100, 100);
    EXPECT_TRUE(combat_damage_player(60, false));
    EXPECT_EQ(player.hp, 50);
    EXPECT_EQ(reflex.fight_stats[FS_CAPPED], 1);
    // From 60 a 70-point blow is capped to 50 and leaves 10.
    no_shield(60, 100);
    combat_damage_player(70, false);
    EXPECT_EQ(player.hp, 10);
    // A chip is not capped: from 60 a lethal chip leaves 1 (DEATH'S DOOR).
    no_shield(60, 100);
    reflex_events = 0;
    combat_damage_player(70, true);
    EXPECT_EQ(player.hp, 1);
    EXPECT_TRUE(reflex_events & EV_DEATHS_DOOR);
    EXPECT_EQ(reflex.fight_stats[FS_DOOR_SAVES], 1);
    // From 50 (not above half) it kills.
    no_shield(50, 100);
    combat_damage_player(70, true);
    EXPECT_EQ(player.hp, 0);
    EXPECT_TRUE(reflex.player_dead);

    // LAST STAND saves once a floor.
    duel_reset(M_GOBLIN);
    no_shield(10, 100);
    player.boon_ranks[BOON_LAST_STAND] = 1;
    combat_damage_player(40, false);
    EXPECT_EQ(player.hp, 1);
    EXPECT_FALSE(reflex.player_dead);
    EXPECT_STREQ(combat.log[COMBAT_LOG_LINES - 1], "LAST STAND!");
    EXPECT_EQ(combat.shake_timer, 16);
    combat_damage_player(40, false);
    EXPECT_TRUE(reflex.player_dead);
}

TEST(DuelWeapon, TheBlowThatBreaksTheWeaponCrushesAndMayTurnBerserk) {
    // Find a stream start whose second draw (after the damage roll) lands below 26: berserk.
    uint32_t start = 1;
    for (;; start++) {
        uint32_t x = start * 1103515245u + 12345u;
        x = x * 1103515245u + 12345u;
        if (x % 100u < 26u) break;
    }
    duel_reset(M_GOBLIN, 2, 5000, 10, false, start);
    Item& sword = player.main_hand;
    sword.wear = (uint8_t)(item_wear_max(sword) - 1);
    reflex.hits_landed = 4;  // the next landed hit is the fifth
    fight_rng_state = start;
    reflex_player_hit(100);
    EXPECT_TRUE(reflex_events & EV_CRUSHED);
    EXPECT_TRUE(reflex_events & EV_HEAVY_HIT);
    EXPECT_TRUE(item_is_broken(sword));
    EXPECT_STREQ(combat.log[COMBAT_LOG_LINES - 1], "ShrtSwd broke!");
    EXPECT_EQ(berserk_floor, 2);
    EXPECT_TRUE(berserk_this_floor());
    EXPECT_STREQ(fx_state.popup, "BERSERK!");
    EXPECT_EQ(reflex.fight_stats[FS_BREAKS], 1);
    EXPECT_EQ(reflex.fight_stats[FS_BERSERKS], 1);
    // The set-up ran again: a broken sword fights as bare hands.
    EXPECT_EQ(reflex.jab_ms, 200);
    EXPECT_EQ(reflex.heavy_ms, 297);
    // Berserk fists hit three times as hard.
    int32_t before = reflex.hp;
    fight_rng_state = start;
    reflex_player_hit(100);
    int32_t berserk_hit = before - reflex.hp;
    berserk_floor = -1;
    before = reflex.hp;
    fight_rng_state = start;
    reflex_player_hit(100);
    EXPECT_GT(berserk_hit, 2 * (before - reflex.hp));
}

TEST(DuelWeapon, CorrosionBreaksTheWeaponAndResetsTheTimings) {
    duel_reset(M_SLIME);
    player.main_hand = item_make(ITEM_BATTLE_AXE);
    player.off_hand = item_make(ITEM_NONE);
    player.main_hand.wear = (uint8_t)(item_wear_max(player.main_hand) - 2);
    reflex_weapon_setup();
    EXPECT_EQ(reflex.jab_ms, 420);
    combat_monster_special(false);
    EXPECT_TRUE(reflex_events & EV_CORRODED);
    EXPECT_TRUE(item_is_broken(player.main_hand));
    EXPECT_EQ(reflex.jab_ms, 200);
}

TEST(DuelStatus, TicksEveryFifteenHundredMillisecondsNeverBelowOne) {
    duel_reset(M_RAT);
    player.hp = 5;
    player.status[ST_POISON] = 10;
    reflex_monster_enter(MS_READY, 1000000);
    DuelDriver d;
    uint64_t all = d.run_to(1480);
    EXPECT_FALSE(all & EV_STATUS_TICK);
    all = d.run_to(1520);
    EXPECT_TRUE(all & EV_STATUS_TICK);
    EXPECT_EQ(reflex.status_id, ST_POISON);
    EXPECT_EQ(player.hp, 4);
    d.run_to(1500 * 8);
    EXPECT_EQ(player.hp, 1);  // a duel's statuses never take the last hit point
    player.status[ST_POISON] = 5;
    all = d.run_to(1500 * 10);
    EXPECT_FALSE(all & EV_STATUS_TICK);  // at 1 hp poison changes nothing, so no tick is shown
    EXPECT_EQ(player.status[ST_POISON], 3);
}

TEST(DuelStatus, AddingKeepsTheLargerCountAndCapsAt255) {
    uint8_t c[3] = {10, 0, 0};
    status_add(c, ST_POISON, 5);
    EXPECT_EQ(c[ST_POISON], 10);
    status_add(c, ST_BURN, 300);
    EXPECT_EQ(c[ST_BURN], 255);
    EXPECT_TRUE(status_any(c));
    status_clear(c);
    EXPECT_FALSE(status_any(c));
    EXPECT_EQ(poison_strength(5), 5);
    EXPECT_EQ(poison_strength(6), 6);
    EXPECT_EQ(poison_strength(12), 8);
}

TEST(WeaponTimings, EveryMainHandRow) {
    struct Row {
        uint32_t id;
        int32_t jab, jab_pct, heavy, heavy_pct, recovery, stagger, weight, finisher, light, reach, venom, cleave;
    };
    const Row rows[] = {
        {ITEM_NONE, 200, 100, 297, 220, 160, 5, 4, 180, 0, 0, 0, 0},
        {ITEM_SHORT_SWORD, 280, 100, 382, 260, 220, 7, 6, 200, 0, 0, 0, 0},
        {ITEM_LONG_SWORD, 364, 120, 467, 290, 270, 8, 8, 180, 0, 0, 0, 0},
        {ITEM_ENCHANTED_SWORD, 364, 120, 467, 290, 270, 8, 8, 180, 0, 0, 0, 0},
        {ITEM_DAGGER, 182, 75, 255, 200, 120, 5, 4, 180, 1, 0, 0, 0},
        {ITEM_BATTLE_AXE, 420, 130, 552, 340, 320, 10, 11, 180, 0, 0, 0, 1},
        {ITEM_SPEAR, 308, 110, 467, 280, 270, 8, 8, 180, 0, 1, 0, 0},
        {ITEM_VENOM_DAGGER, 182, 75, 255, 200, 120, 5, 4, 180, 1, 0, 1, 0},
    };
    duel_reset(M_GOBLIN);
    player.off_hand = item_make(ITEM_NONE);
    for (const Row& r : rows) {
        player.main_hand = item_make(r.id);
        reflex_weapon_setup();
        EXPECT_EQ(reflex.jab_ms, r.jab) << r.id;
        EXPECT_EQ(reflex.jab_percent, r.jab_pct) << r.id;
        EXPECT_EQ(reflex.heavy_ms, r.heavy) << r.id;
        EXPECT_EQ(reflex.heavy_min_ms, std::min(r.heavy * 8 / 10, 250)) << r.id;
        EXPECT_EQ(reflex.heavy_percent_full, r.heavy_pct) << r.id;
        EXPECT_EQ(reflex.heavy_recovery_ms, r.recovery) << r.id;
        EXPECT_EQ(reflex.heavy_stagger_points, r.stagger) << r.id;
        EXPECT_EQ(reflex.heavy_weight, r.weight) << r.id;
        EXPECT_EQ(reflex.finisher_percent, r.finisher) << r.id;
        EXPECT_EQ(reflex.light_weapon, r.light) << r.id;
        EXPECT_EQ(reflex.reach, r.reach) << r.id;
        EXPECT_EQ(reflex.venom, r.venom) << r.id;
        EXPECT_EQ(reflex.cleave, r.cleave) << r.id;
        EXPECT_EQ(reflex.block_chip_percent, 30);
    }
    // The long swords' parry bonus comes on top of the skill assist, as the others' does.
    player.main_hand = item_make(ITEM_NONE);
    reflex_weapon_setup();
    int32_t assist = reflex.parry_bonus_ms;
    player.main_hand = item_make(ITEM_LONG_SWORD);
    reflex_weapon_setup();
    EXPECT_EQ(reflex.parry_bonus_ms, assist + 80);

    // A broken weapon is bare hands; a brute's axe charges in 414 ms with the 250 ms floor.
    player.main_hand = item_make(ITEM_BATTLE_AXE);
    player.main_hand.wear = (uint8_t)item_wear_max(player.main_hand);
    reflex_weapon_setup();
    EXPECT_EQ(reflex.heavy_ms, 297);
    player.main_hand.wear = 0;
    player.cls = CLASS_BRUTE;
    reflex_weapon_setup();
    EXPECT_EQ(reflex.heavy_ms, 414);
    EXPECT_EQ(reflex.heavy_min_ms, 250);

    // A shield in the off hand chips less; a tower shield turns side blows into chips.
    player.cls = CLASS_KNIGHT;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_TOWER_SHIELD);
    reflex_weapon_setup();
    EXPECT_EQ(reflex.block_chip_percent, 10);
    EXPECT_TRUE(reflex.tower_shield);
}

TEST(WeaponTimings, PreviewLeavesTheFightAndTheHandAsTheyWere) {
    duel_reset(M_GOBLIN);
    reflex.hp = 123;
    reflex.clock = 4567;
    Item hand = player.main_hand;
    Item axe = item_make(ITEM_BATTLE_AXE);
    axe.wear = (uint8_t)item_wear_max(axe);  // a broken axe previews as a whole one
    int32_t jab = 0, heavy = 0;
    weapon_timing_preview(axe, &jab, &heavy);
    EXPECT_EQ(jab, 420);
    EXPECT_EQ(heavy, 552);
    EXPECT_EQ(reflex.hp, 123);
    EXPECT_EQ(reflex.clock, 4567);
    EXPECT_EQ(reflex.jab_ms, 280);
    EXPECT_TRUE(item_equal(player.main_hand, hand));

    EXPECT_EQ(speed_pips(182), 5);
    EXPECT_EQ(speed_pips(280), 3);
    EXPECT_EQ(speed_pips(420), 1);
    EXPECT_EQ(power_pips(255), 1);
    EXPECT_EQ(power_pips(382), 3);
    EXPECT_EQ(power_pips(552), 5);
}

TEST(SkillRating, RanksAndTheRatingsOwnNumbers) {
    EXPECT_STREQ(skill_rank_name(299), "NOVICE");
    EXPECT_STREQ(skill_rank_name(300), "APPRENTICE");
    EXPECT_STREQ(skill_rank_name(599), "ADEPT");
    EXPECT_STREQ(skill_rank_name(700), "VETERAN");
    EXPECT_STREQ(skill_rank_name(899), "EXPERT");
    EXPECT_STREQ(skill_rank_name(900), "MASTER");
    // No rated fight yet: 250, which assists two thirds of the way.
    EXPECT_EQ(skill_rating(), 250);
    EXPECT_NEAR(skill_assist(), 2.0f / 3.0f, 1e-5f);
    EXPECT_EQ(assist_level(), 8);
    EXPECT_EQ(reflex_hp_scale(17), 153);
    EXPECT_EQ(reflex_hp_scale(0), 1);
}

}  // namespace
