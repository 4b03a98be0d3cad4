// The duel engine step by step: the clock, parry timing and the guard's spam lock, blocks and late
// guards, feints, dodges, jab chains and finishers, heavy charge and its falloff, shield stars and
// shatters, ripostes and crushes, the stagger meter and interrupts.
#include <gtest/gtest.h>

#include "combat/fight_tuning.h"
#include "combat/duel_harness.h"

namespace {

// A guard press at `press`, the impact `before` ms later; returns the impact step's events.
uint64_t guard_before_impact(int32_t lead) {
    duel_reset(M_GOBLIN);
    reflex.parry_bonus_ms = 0;
    DuelDriver d;
    d.run_to(600);  // past the opening rest
    duel_force_attack(ATK_PLAIN);
    d.cues = {{reflex.clock + 40, 'G'}};
    d.step();
    d.step();
    d.step();
    EXPECT_EQ(reflex.parry_press_at, reflex.guard_pressed_at);
    duel_set_impact(reflex.parry_press_at + lead);
    return d.run_until(EV_PARRY | EV_BLOCK | EV_PLAYER_HURT, 2000);
}

TEST(DuelClock, ThreeStepsMakeFiftyMilliseconds) {
    duel_reset(M_GOBLIN);
    DuelDriver d;
    d.step();
    EXPECT_EQ(reflex.clock, 16);
    d.step();
    EXPECT_EQ(reflex.clock, 33);
    d.step();
    EXPECT_EQ(reflex.clock, 50);
    EXPECT_EQ(reflex.fight_stats[FS_MS], 50);
    // With no blows the hit rate runs down to 0, even through the steps that would round to nothing.
    duel.hit_rate = 600;
    reflex_monster_enter(MS_READY, 1000000);
    for (int i = 0; i < 3000 && duel.hit_rate > 0; i++) d.step();
    EXPECT_EQ(duel.hit_rate, 0);
}

TEST(DuelParry, PerfectAtNinetyParryAtNinetyOneNoneBeyondTheEarlyEdge) {
    uint64_t ev = guard_before_impact(90);
    EXPECT_TRUE(ev & EV_PARRY);
    EXPECT_TRUE(ev & EV_PERFECT);
    EXPECT_EQ(reflex.monster_state, MS_STAGGER);
    EXPECT_EQ(reflex.state_length, 720);
    EXPECT_EQ(combo, 3);  // a parry and two more for a perfect one
    EXPECT_EQ(reflex.riposte_until, reflex.clock + FT_RIPOSTE_MS);

    ev = guard_before_impact(91);
    EXPECT_TRUE(ev & EV_PARRY);
    EXPECT_FALSE(ev & EV_PERFECT);
    EXPECT_EQ(combo, 1);

    ev = guard_before_impact(320);
    EXPECT_TRUE(ev & EV_PARRY);
    // Held too early: the guard still blocks, with a chip of the blow.
    ev = guard_before_impact(321);
    EXPECT_FALSE(ev & EV_PARRY);
    EXPECT_TRUE(ev & EV_BLOCK);
    EXPECT_EQ(reflex.fight_stats[FS_BLOCKS], 1);
}

TEST(DuelParry, GuardSpamGivesNoParryAndALateGuardTakesTheHit) {
    duel_reset(M_GOBLIN);
    reflex.parry_bonus_ms = 0;
    DuelDriver d;
    d.run_to(600);
    int32_t t0 = reflex.clock;
    d.cues = {{t0 + 1, 'G'}, {t0 + 100, 'g'}, {t0 + 400, 'G'}};
    d.run_to(t0 + 200);
    int32_t first = reflex.parry_press_at;
    EXPECT_NE(first, REFLEX_NEVER);
    d.run_to(t0 + 420);
    EXPECT_TRUE(reflex.guard_up);
    EXPECT_EQ(reflex.parry_press_at, first);  // the second press, 400 ms on, is not a parry press
    duel_force_attack(ATK_PLAIN);
    duel_set_impact(reflex.last_guard_press_at + 50);
    uint64_t ev = d.run_until(EV_PARRY | EV_BLOCK | EV_PLAYER_HURT, 2000);
    EXPECT_FALSE(ev & EV_PARRY);
    EXPECT_TRUE(ev & EV_BLOCK);

    // A guard raised only after the blow landed is no guard at all.
    duel_reset(M_GOBLIN);
    DuelDriver late;
    late.run_to(600);
    int32_t impact = duel_force_attack(ATK_PLAIN);
    late.cues = {{impact + 40, 'G'}};
    ev = late.run_until(EV_PARRY | EV_BLOCK | EV_PLAYER_HURT, 2000);
    EXPECT_TRUE(ev & EV_PLAYER_HURT);
    EXPECT_EQ(player.hp, 100 - reflex.last_damage_taken);
    EXPECT_EQ(reflex.monster_state, MS_RECOIL);
}

TEST(DuelFeint, TheFirstImpactIsNoBlowAndTheRealOneFollows) {
    duel_reset(M_BAT);
    DuelDriver d;
    d.run_to(600);
    duel_force_attack(ATK_FEINT);
    uint64_t ev = d.run_until(EV_WINDUP, 2000);
    EXPECT_TRUE(ev & EV_WINDUP);
    EXPECT_EQ(reflex.current.rewound, 1);
    EXPECT_EQ(reflex.current.kind, ATK_PLAIN);
    EXPECT_EQ(reflex.current.parry_window, FT_PARRY_WINDOW);
    EXPECT_EQ(reflex.current.windup, reflex.tempo * 260 / 100 + FT_PARRY_WINDOW);
    EXPECT_EQ(reflex.fight_stats[FS_FEINTS], 1);
    EXPECT_EQ(player.hp, 100);
    // Without a guard the real blow lands.
    ev = d.run_until(EV_PLAYER_HURT | EV_PARRY, 3000);
    EXPECT_TRUE(ev & EV_PLAYER_HURT);
}

TEST(DuelDodge, TheRightWayStaggersTheWrongWayTakesTheBigHit) {
    // A blow from the right (+1) needs a dodge to the left.
    duel_reset(M_ORC);
    DuelDriver d;
    d.run_to(600);
    int32_t impact = duel_force_attack(ATK_SIDE, 1);
    d.cues = {{impact - 150, 'L'}};
    uint64_t ev = d.run_until(EV_DODGE | EV_PLAYER_HURT, 2000);
    EXPECT_TRUE(ev & EV_DODGE);
    EXPECT_EQ(reflex.monster_state, MS_STAGGER);
    EXPECT_EQ(reflex.state_length, 900);
    EXPECT_EQ(player.hp, 100);

    duel_reset(M_ORC);
    DuelDriver wrong;
    wrong.run_to(600);
    impact = duel_force_attack(ATK_SIDE, 1);
    wrong.cues = {{impact - 150, 'R'}};
    ev = wrong.run_until(EV_DODGE | EV_PLAYER_HURT, 2000);
    EXPECT_TRUE(ev & EV_PLAYER_HURT);
    EXPECT_FALSE(ev & EV_DODGE);
    // 2.2 times the attack, less the shield's defence.
    EXPECT_EQ(reflex.last_damage_taken, reflex.attack * 22 / 10 - 1);

    // Dodging a plain blow does not help: a full hit, counted as a wrong answer.
    duel_reset(M_ORC);
    DuelDriver plain;
    plain.run_to(600);
    impact = duel_force_attack(ATK_PLAIN);
    plain.cues = {{impact - 150, 'L'}};
    ev = plain.run_until(EV_DODGE | EV_PLAYER_HURT, 2000);
    EXPECT_TRUE(ev & EV_PLAYER_HURT);
    EXPECT_EQ(reflex.fight_stats[FS_WRONG], 1);
}

TEST(DuelDodge, ASideBlowThroughTheRaisedGuardLocksThePlayer) {
    duel_reset(M_ORC);
    DuelDriver d;
    d.run_to(600);
    int32_t impact = duel_force_attack(ATK_SIDE, -1);
    d.cues = {{impact - 500, 'G'}};
    uint64_t ev = d.run_until(EV_PLAYER_HURT | EV_BLOCK, 2000);
    EXPECT_TRUE(ev & EV_HEAVY_TAKEN);
    EXPECT_EQ(reflex.last_damage_taken, reflex.attack * 16 / 10 - 1);
    EXPECT_EQ(reflex.guard_locked_until, reflex.clock + 500);
    // The guard stays down through the lock-out though the button is held, then rises again.
    d.step();
    EXPECT_FALSE(reflex.guard_up);
    d.run_to(reflex.guard_locked_until + 20);
    EXPECT_TRUE(reflex.guard_up);
}

TEST(DuelQueue, AFifthAttackIsIgnored) {
    duel_reset(M_GOBLIN);
    for (int i = 0; i < 4; i++) EXPECT_TRUE(reflex_queue_attack(ATK_PLAIN, 500, false));
    EXPECT_FALSE(reflex_queue_attack(ATK_PLAIN, 500, false));
    EXPECT_EQ(reflex.incoming_count, 4);
    // A shield keeps its guard length as it is, with no parry window added.
    reflex.incoming_count = 0;
    reflex_queue_attack(ATK_SHIELD, 1234, false);
    EXPECT_EQ(reflex.incoming[0].windup, 1234);
    EXPECT_EQ(reflex.incoming[0].parry_window, 0);
}

TEST(DuelAttack, JabsChainIntoAFinisher) {
    duel_reset(M_GOBLIN, 0, 5000);
    reflex_monster_enter(MS_READY, 100000);  // the monster waits
    DuelDriver d;
    d.run_to(300);
    int32_t t = reflex.clock;
    int32_t gap = reflex.jab_ms + 20;
    d.cues = {{t, 'A'}, {t + 34, 'a'}, {t + gap, 'A'}, {t + gap + 34, 'a'}, {t + 2 * gap, 'A'}, {t + 2 * gap + 34, 'a'}};
    uint64_t all = d.run_to(t + 2 * gap + 300);
    EXPECT_TRUE(all & EV_JAB);
    EXPECT_TRUE(all & EV_SWING);
    EXPECT_TRUE(all & EV_FINISHER);
    EXPECT_EQ(reflex.fight_stats[FS_JABS], 2);
    EXPECT_EQ(reflex.fight_stats[FS_FINISHERS], 1);
    EXPECT_EQ(reflex.jab_chain, 0);
    EXPECT_EQ(reflex.busy_until, reflex.finisher_at + FT_FINISHER_RECOVERY);
    // Two jabs and the finisher count three hits, and the finisher one more.
    EXPECT_EQ(combo, 4);
    // A tap inside the finisher's recovery is lost, not buffered.
    d.cues.push_back({reflex.clock + 10, 'A'});
    d.cues.push_back({reflex.clock + 40, 'a'});
    d.run_to(reflex.clock + 60);
    EXPECT_EQ(reflex.jab_buffered, 0);
}

TEST(DuelAttack, ATapBufferedInARecoveryNeverFiresBehindTheGuard) {
    duel_reset(M_GOBLIN, 0, 5000);
    reflex_monster_enter(MS_READY, 100000);  // the monster waits
    DuelDriver d;
    d.run_to(300);
    int32_t t = reflex.clock;
    d.cues = {{t, 'A'}, {t + 34, 'a'}, {t + 60, 'A'}, {t + 90, 'a'}};
    d.run_to(t + 110);
    ASSERT_EQ(reflex.jab_buffered, 1);
    ASSERT_LT(reflex.clock, reflex.busy_until);
    // The guard cuts the recovery short; the tap kept from it must not jab with the guard up.
    d.cues.push_back({reflex.clock, 'G'});
    uint64_t all = d.run_to(reflex.clock + 400);
    EXPECT_FALSE(all & EV_JAB);
    EXPECT_EQ(reflex.guard_up, 1);
    EXPECT_EQ(reflex.jab_buffered, 0);
    EXPECT_EQ(reflex.fight_stats[FS_JABS], 1);
}

TEST(DuelAttack, HeaviesInARowChargeSlowerAndHitSofter) {
    duel_reset(M_GOBLIN, 0, 50000);
    cheat_flags[CHEAT_IMMORTAL] = 1;
    reflex_monster_enter(MS_READY, 1000000);
    DuelDriver d;
    d.run_to(300);
    const int32_t want[] = {100, 100, 85, 70, 55, 55};
    for (int32_t pct : want) {
        int32_t t = reflex.clock + 20;
        int32_t extra = reflex.heavy_chain + 1 - FT_FREE_HEAVIES;
        int32_t full = reflex.heavy_ms * (100 + std::min(40 * std::max(extra, 0), 120)) / 100;
        d.cues.push_back({t, 'A'});
        d.cues.push_back({t + full + 40, 'a'});
        uint64_t all = d.run_to(t + full + 60);
        EXPECT_TRUE(all & EV_HEAVY_READY);
        EXPECT_TRUE(reflex.full_heavy);
        EXPECT_EQ(reflex.heavy_percent, pct);
        d.run_to(reflex.busy_until + 20);
    }
    EXPECT_EQ(reflex.heavy_chain, 6);
    // A short hold between min and full is a weak heavy: 160 % and 3 stagger points.
    reflex.heavy_chain = 0;
    reflex.stagger_meter = 0;
    reflex_monster_enter(MS_READY, 1000000);
    int32_t t = reflex.clock + 20;
    d.cues.push_back({t, 'A'});
    d.cues.push_back({t + reflex.heavy_min_ms + 20, 'a'});
    d.run_to(t + reflex.heavy_min_ms + 200);
    EXPECT_FALSE(reflex.full_heavy);
    EXPECT_EQ(reflex.stagger_meter, 3);
}

// The monster raises its shield now, settled past its first moments.
void shield_up(DuelDriver& d) {
    reflex.incoming_count = 0;
    reflex_queue_attack(ATK_SHIELD, 100000, false);
    reflex.current = reflex.incoming[0];
    reflex.incoming_count = 0;
    reflex_monster_enter(MS_GUARD, 100000);
    d.run_to(reflex.clock + 250);
}

TEST(DuelShield, StarsBuildToAGuardBreakAndAFullHeavyShatters) {
    duel_reset(M_SKELETON, 6);
    EXPECT_EQ(reflex.stars_needed, 6 / 6 + 3);
    DuelDriver d;
    d.run_to(300);
    shield_up(d);
    int32_t hp = reflex.hp;
    uint64_t all = 0;
    for (int i = 0; i < 4 && !(all & EV_GUARD_BROKEN); i++) {
        int32_t t = reflex.clock + 10;
        d.cues.push_back({t, 'A'});
        d.cues.push_back({t + 30, 'a'});
        all |= d.run_to(t + reflex.jab_ms + 1400);  // past the chain so no finisher
    }
    EXPECT_TRUE(all & EV_STAR);
    EXPECT_TRUE(all & EV_GUARD_BROKEN);
    EXPECT_FALSE(all & EV_SHATTERED);
    EXPECT_EQ(reflex.fight_stats[FS_GUARD_BREAKS], 1);
    EXPECT_LT(reflex.hp, hp);  // the break hits at 120 %

    duel_reset(M_SKELETON);
    DuelDriver h;
    h.run_to(300);
    shield_up(h);
    int32_t t = reflex.clock + 10;
    h.cues = {{t, 'A'}, {t + reflex.heavy_ms + 20, 'a'}};
    all = h.run_to(t + reflex.heavy_ms + 120);
    EXPECT_TRUE(all & EV_SHATTERED);
    EXPECT_TRUE(all & EV_GUARD_BROKEN);
    EXPECT_EQ(reflex.monster_state, MS_STAGGER);
    EXPECT_EQ(reflex.state_length, 1080);
    EXPECT_EQ(duel_shatters, 1);
}

TEST(DuelShield, BlowsInTheShieldsFirstMomentsHitAndGiveNoStars) {
    duel_reset(M_SKELETON);
    DuelDriver d;
    d.run_to(300);
    reflex_monster_enter(MS_GUARD, 100000);
    d.cues = {{reflex.clock, 'A'}, {reflex.clock + 30, 'a'}};
    uint64_t all = d.run_to(reflex.clock + 120);
    EXPECT_TRUE(all & EV_HIT);
    EXPECT_FALSE(all & EV_STAR);
}

TEST(DuelRiposte, AFullRiposteHeavyCrushesAStaggeredMonster) {
    duel_reset(M_GOBLIN, 0, 5000);
    reflex.parry_bonus_ms = 0;
    DuelDriver d;
    d.run_to(600);
    duel_force_attack(ATK_PLAIN);
    d.cues = {{reflex.clock + 20, 'G'}};
    d.step();
    d.step();
    duel_set_impact(reflex.parry_press_at + 60);
    uint64_t ev = d.run_until(EV_PARRY, 1000);
    ASSERT_TRUE(ev & EV_PERFECT);
    int32_t t = reflex.clock + 20;
    int32_t half = reflex.heavy_ms / 2;
    d.cues.push_back({t - 10, 'g'});
    d.cues.push_back({t, 'A'});
    d.cues.push_back({t + half + 20, 'a'});
    uint64_t all = d.run_to(t + half + 120);
    EXPECT_TRUE(all & EV_CRUSHED);
    EXPECT_TRUE(all & EV_HEAVY_HIT);
    EXPECT_EQ(reflex.heavy_percent, 100);
}

TEST(DuelStagger, TheMeterOverflowsAndGrowsAfterEachStagger) {
    duel_reset(M_GOBLIN, 0, 50000);
    reflex_monster_enter(MS_READY, 1000000);
    DuelDriver d;
    d.run_to(300);
    // Heavies of 7 points: two make 14, past the first meter of 12.
    uint64_t all = 0;
    for (int i = 0; i < 2; i++) {
        int32_t t = reflex.clock + 20;
        d.cues.push_back({t, 'A'});
        d.cues.push_back({t + reflex.heavy_ms + 20, 'a'});
        all |= d.run_to(t + reflex.heavy_ms + 100);
        d.run_to(reflex.busy_until + 20);
    }
    EXPECT_TRUE(all & EV_STAGGERED);
    EXPECT_EQ(reflex.fight_stats[FS_STAGGERS], 1);
    EXPECT_EQ(reflex.stagger_meter, 0);
    EXPECT_EQ(souls_multiplier_tenths(), 18);

    // The meter loses a point every 300 ms once 1500 ms passed since its last gain.
    reflex.stagger_meter = 5;
    reflex.stagger_meter_at = reflex.clock;
    reflex.stagger_decay_at = REFLEX_NEVER;
    d.run_to(reflex.clock + 1400);
    EXPECT_EQ(reflex.stagger_meter, 5);
    d.run_to(reflex.clock + 750);
    EXPECT_EQ(reflex.stagger_meter, 2);
}

// A full heavy released into the early part of a long wind-up of `kind`; returns the events until it
// has landed.
uint64_t full_heavy_into_windup(int kind) {
    duel_reset(M_GOBLIN, 0, 50000);
    DuelDriver d;
    d.run_to(300);
    reflex_monster_enter(MS_READY, 1000000);
    int32_t t = reflex.clock + 20;
    d.cues = {{t, 'A'}, {t + reflex.heavy_ms + 20, 'a'}};
    d.run_to(t + reflex.heavy_ms);
    duel_force_attack(kind);
    reflex.state_length = 5000;
    reflex.current.windup = 5000;
    return d.run_to(reflex.clock + 150);
}

TEST(DuelStagger, AFullHeavyInterruptsAWindUpBeforeItsWindow) {
    uint64_t all = full_heavy_into_windup(ATK_PLAIN);
    EXPECT_TRUE(all & EV_INTERRUPTED);
    EXPECT_EQ(reflex.monster_state, MS_STAGGER);
    EXPECT_EQ(reflex.state_length, 540);
    EXPECT_EQ(reflex.interrupt_ready_at, reflex.last_hit_at + FT_INTERRUPT_COOLDOWN);
}

TEST(DuelStagger, AFeintNotYetTurnedCannotBeInterrupted) {
    uint64_t all = full_heavy_into_windup(ATK_FEINT);
    EXPECT_EQ(reflex.fight_stats[FS_HEAVIES], 1);  // the heavy landed in the wind-up
    EXPECT_FALSE(all & EV_INTERRUPTED);
    EXPECT_EQ(reflex.monster_state, MS_ATTACK);
    EXPECT_EQ(reflex.fight_stats[FS_INTERRUPTS], 0);
}

TEST(DuelMonster, AttacksComeFromTheStyleTableAndRestsFollow) {
    duel_reset(M_RAT, 3);
    EXPECT_EQ(reflex.tempo, (100 - 6) * 110 / 100);
    DuelDriver d;
    uint64_t all = d.run_to(20000);
    EXPECT_TRUE(all & EV_WINDUP);
    EXPECT_TRUE(all & EV_WINDOW);
    EXPECT_TRUE(all & EV_PLAYER_HURT);
    EXPECT_FALSE(all & EV_GUARD_UP);  // rats never raise a shield
}

TEST(DuelStars, NeedsNeverExceedSeven) {
    duel_reset(M_DRAGON, 30);
    combat.elite = 1;
    reflex_fight_start(M_DRAGON, 100, 100, 10, 30, false);
    EXPECT_EQ(reflex.stars_needed, 7);
    duel_reset(M_GOBLIN, 0);
    EXPECT_EQ(reflex.stars_needed, 3);
}

}  // namespace
