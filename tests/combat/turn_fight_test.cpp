// The turn-menu fight, driven from a hand-made saved fight block with the real-time flag 0: the
// menu's actions, every monster move, the previews against what then happens, victory and death.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "boons/boons.h"
#include "classes/gear_rules.h"
#include "combat/combat_queue.h"
#include "combat/duel_harness.h"
#include "combat/status.h"
#include "combat/turn_fight.h"
#include "dungeon/monster_moves.h"
#include "items/bag.h"
#include "items/equip.h"
#include "levelup/levelup.h"
#include "render/screen.h"
#include "services/toast.h"
#include "support/turn_block.h"
#include "world/buttons.h"
#include "world/glyphs.h"

namespace {

constexpr int MX = 6, MY = 5;  // the monster's cell

// The stream's next draw 0..n-1 without taking it.
int peek(int n, int ahead = 0) {
    uint32_t s = loot_rng_state;
    for (int i = 0; i <= ahead; i++) s = s * 1103515245u + 12345u;
    return (int)((s >> 16) & 0x7FFFu) % n;
}

// A stream state whose next draws satisfy `want` (tried from a fixed start).
template <typename F>
uint32_t stream_where(F want) {
    for (uint32_t s = 1; s < 100000; s++) {
        loot_rng_state = s;
        if (want()) return s;
    }
    return 0;
}

// An open room with the monster beside the player, a short sword and a wooden shield.
void turn_world(int type, int floor = 0) {
    levelup_clear();
    duel_open_room(floor);
    bag_grid_clear(player.bag);
    monster_add(type, MX, MY);
    run_stats_reset();
    fx_reset();
    loot_rng_state = LOOT_RNG_START;
    toast_timer = 0;
    layout_set_landscape();
    game_state = STATE_COMBAT;
}

// The saved block of a turn-menu fight against `type` with these hp and queued moves.
void load_block(int type, int hp, int max_hp, std::initializer_list<int> queue) {
    ASSERT_TRUE(turn_block_restore(type, hp, max_hp, queue, MX, MY));
    ASSERT_FALSE(combat_is_reflex());
}

void press(uint8_t b) { combat_player_input(b); }
// Chooses an action from the menu (landscape: the column of four).
void choose(int action) {
    combat.action_cursor = action;
    press(BTN_A);
}
// The monster's delay runs out.
void wait_for_monster() {
    for (int i = 0; i < 40 && combat.monster_delay > 0; i++) combat_tick();
}

bool logged(const char* text) {
    for (const auto& line : combat.log)
        if (std::strstr(line, text)) return true;
    return false;
}
std::string log_text() { return std::string(combat.log[0]) + "|" + combat.log[1] + "|" + combat.log[2]; }

int defence() { return player_defence_value(gear_rules_now()); }

TEST(TurnAttack, OneBlowTwoBlowsACriticalAndTheMonsterWaitsItsTurn) {
    turn_world(M_SKELETON);
    load_block(M_SKELETON, 60, 60, {0, 0});
    int32_t low, high;
    ASSERT_EQ(preview_attack_damage(&low, &high), 1);
    EXPECT_EQ(high, low + 2);
    const int r = peek(3);
    const int wear = player.main_hand.wear;
    choose(TURN_ATTACK);
    EXPECT_EQ(combat.hp, 60 - (low + r));
    EXPECT_EQ(player.main_hand.wear, wear + 1);
    EXPECT_EQ(combat.monster_delay, TURN_MONSTER_DELAY);
    char want[40];
    std::snprintf(want, sizeof want, "You hit %d", low + r);
    EXPECT_STREQ(combat.log[2], want);
    // Nothing more while the monster waits.
    press(BTN_A);
    EXPECT_EQ(combat.hp, 60 - (low + r));

    // The dagger strikes twice at three fifths.
    turn_world(M_SKELETON);
    player.main_hand = item_make(ITEM_DAGGER);
    load_block(M_SKELETON, 60, 60, {0, 0});
    ASSERT_EQ(preview_attack_damage(&low, &high), 2);
    const int A = player_attack_value();
    const int part = (A + peek(3)) * 3 / 5;
    choose(TURN_ATTACK);
    std::snprintf(want, sizeof want, "You hit %d+%d", part, part);
    EXPECT_STREQ(combat.log[2], want);
    EXPECT_EQ(combat.hp, 60 - 2 * part);
    EXPECT_GE(part, low);
    EXPECT_LE(part, high);

    // A keen blade crits when the draw comes at or below its chance: each part doubled.
    turn_world(M_SKELETON);
    player.main_hand.enchant = ENCHANT_KEEN;
    load_block(M_SKELETON, 60, 60, {0, 0});
    stream_where([] { return peek(100, 1) + 1 <= 15; });
    const int d = player_attack_value() + peek(3);
    choose(TURN_ATTACK);
    EXPECT_EQ(combat.hp, 60 - 2 * d);
    EXPECT_EQ(combat.hit_popup_kind, POPUP_CRIT);
}

TEST(TurnAttack, HardeningHalvesAWardAndAFlitTurnTheBlowAway) {
    turn_world(M_SLIME);
    load_block(M_SLIME, 60, 60, {MOVE_HARDEN, 0});
    int32_t low, high;
    preview_attack_damage(&low, &high);
    EXPECT_EQ(low, player_attack_value() / 2);
    const int d = (player_attack_value() + peek(3)) / 2;
    choose(TURN_ATTACK);
    EXPECT_TRUE(logged("It soaks up the blow!")) << log_text();
    EXPECT_EQ(combat.hp, 60 - d);
    EXPECT_EQ(combat.hit_popup_kind, POPUP_HALF);

    for (int move : {MOVE_WARD, MOVE_FLIT}) {
        turn_world(M_BAT);
        load_block(M_BAT, 30, 30, {move, 0});
        EXPECT_EQ(preview_attack_damage(&low, &high), 0);
        EXPECT_EQ(low + high, 0);
        const uint32_t stream = loot_rng_state;
        choose(TURN_ATTACK);
        EXPECT_STREQ(combat.log[2], move == MOVE_WARD ? "The ward blocks you!" : "It flits away! Miss!");
        EXPECT_EQ(combat.hp, 30);
        EXPECT_EQ(loot_rng_state, stream);  // nothing drawn
        EXPECT_EQ(combat.monster_delay, TURN_MONSTER_DELAY);
    }
}

TEST(TurnAttack, TheDragonEnragesAtHalfAndItsFuryDoublesAtAQuarterFromFloorTen) {
    for (int floor : {9, 10}) {
        turn_world(M_DRAGON, floor);
        load_block(M_DRAGON, 40, 100, {0, 0});
        const int a0 = combat_monster_attack();
        choose(TURN_ATTACK);
        EXPECT_TRUE(logged("The DRAGON enrages!")) << log_text();
        EXPECT_EQ(combat_monster_attack(), a0 + 2);
        wait_for_monster();
        combat.hp = 20;
        choose(TURN_ATTACK);
        EXPECT_EQ(logged("Its fury doubles!"), floor == 10) << floor << " " << log_text();
        EXPECT_EQ(combat_monster_attack(), a0 + (floor == 10 ? 4 : 2));
        EXPECT_EQ(combat.enraged, 1);
    }
}

TEST(TurnDefend, BracingHalvesTheBlowAHeavyMeetsTheShieldOrTheAxeAndEvasionMisses) {
    turn_world(M_GOBLIN, 3);
    load_block(M_GOBLIN, 30, 30, {MOVE_HIT, MOVE_HIT, MOVE_HIT});
    const int shield_wear = player.off_hand.wear;
    MonsterMovePreview p = preview_monster_move(true);
    choose(TURN_DEFEND);
    EXPECT_STREQ(combat.log[2], "You brace.");
    EXPECT_EQ(combat.guarding, 1);
    EXPECT_EQ(player.off_hand.wear, shield_wear + 1);
    const int bit = peek(2);
    const int hp = player.hp;
    wait_for_monster();
    EXPECT_EQ(hp - player.hp, bit ? p.high : p.low);
    EXPECT_EQ(combat.guarding, 0);
    EXPECT_EQ(combat.last_move, MOVE_HIT);

    // A heavy smash against a ready shield: stopped whole.
    turn_world(M_SKELETON, 3);
    load_block(M_SKELETON, 30, 30, {MOVE_SMASH, MOVE_HIT, MOVE_HIT});
    p = preview_monster_move(true);
    EXPECT_EQ(p.shield_stops, 1);
    EXPECT_EQ(p.high, 0);
    choose(TURN_DEFEND);
    wait_for_monster();
    EXPECT_EQ(player.hp, 100);
    EXPECT_TRUE(logged("Blocked the SKELETON!")) << log_text();
    EXPECT_STREQ(combat.log[2], "Your shield holds!");

    // With a two-handed axe: parried on a set bit, else a quarter of the blow.
    for (int parry : {1, 0}) {
        turn_world(M_SKELETON, 3);
        player.main_hand = item_make(ITEM_BATTLE_AXE);
        player.off_hand = Item{};
        load_block(M_SKELETON, 30, 30, {MOVE_SMASH, MOVE_HIT, MOVE_HIT});
        p = preview_monster_move(true);
        EXPECT_EQ(p.can_parry, 1);
        choose(TURN_DEFEND);
        stream_where([&] { return peek(2) == parry; });
        const int b2 = peek(2, 1);
        wait_for_monster();
        if (parry) {
            EXPECT_STREQ(combat.log[2], "You parry it!");
            EXPECT_EQ(player.hp, 100);
        } else {
            EXPECT_EQ(100 - player.hp, b2 ? p.high : p.low);
        }
    }

    // SIDESTEP makes the blow miss when the draw comes at or below its chance.
    turn_world(M_GOBLIN, 3);
    player.boon_ranks[BOON_SIDESTEP] = 1;
    ASSERT_GT(evade_chance(), 0);
    load_block(M_GOBLIN, 30, 30, {MOVE_HIT, MOVE_HIT, MOVE_HIT});
    choose(TURN_DEFEND);
    stream_where([] { return peek(100) + 1 <= evade_chance(); });
    wait_for_monster();
    EXPECT_EQ(player.hp, 100);
    EXPECT_EQ(combat.missed, 1);
    EXPECT_STREQ(combat.log[2], "The GOBLIN misses!");
}

// The hurt vignette's width for a loss of d: the bands of the shake.
int hurt_band(int d) {
    const int p = d * 100 / player.max_hp;
    return p >= 30 ? 8 : (p >= 15 ? 6 : (p > 5 ? 4 : 2));
}

// A blow that lands and a status tick that hurts thicken the hurt vignette by their share of health;
// a blow stopped whole and a loss the IMMORTAL cheat undoes set none.
TEST(TurnDefend, WhatHurtsShowsTheHurtVignetteAndWhatIsStoppedDoesNot) {
    for (int max_hp : {100, 10, 3}) {
        turn_world(M_GOBLIN, 3);
        player.hp = player.max_hp = max_hp;
        load_block(M_GOBLIN, 30, 30, {MOVE_HIT, MOVE_HIT});
        const int hp = player.hp;
        combat_monster_act();
        ASSERT_LT(player.hp, hp) << log_text();
        EXPECT_EQ(fx_hurt_width(), hurt_band(hp - player.hp)) << hp - player.hp << " of " << max_hp;
    }
    EXPECT_EQ(fx_hurt_width(), 8);  // any blow is at least 1, a third of 3

    turn_world(M_SKELETON, 3);
    load_block(M_SKELETON, 30, 30, {MOVE_SMASH, MOVE_HIT, MOVE_HIT});
    choose(TURN_DEFEND);
    wait_for_monster();
    ASSERT_TRUE(logged("Blocked the SKELETON!")) << log_text();
    EXPECT_EQ(fx_hurt_width(), 0);

    for (int immortal : {0, 1}) {
        turn_world(M_GOBLIN, 3);
        load_block(M_GOBLIN, 30, 30, {MOVE_DROOL, MOVE_DROOL});
        player.status[ST_POISON] = 3;
        cheat_flags[CHEAT_IMMORTAL] = (uint8_t)immortal;
        const int hp = player.hp;
        combat_monster_act();
        cheat_flags[CHEAT_IMMORTAL] = 0;
        ASSERT_TRUE(logged("drools")) << log_text();
        if (immortal) {
            EXPECT_EQ(player.hp, hp);
            EXPECT_EQ(fx_hurt_width(), 0);
        } else {
            ASSERT_LT(player.hp, hp);
            EXPECT_EQ(fx_hurt_width(), hurt_band(hp - player.hp));
        }
    }
}

TEST(TurnItems, APotionFromTheListHealsAndTakesTheTurn) {
    turn_world(M_RAT);
    load_block(M_RAT, 10, 10, {0, 0});
    choose(TURN_ITEM);
    EXPECT_EQ(combat.item_menu, 0);
    EXPECT_STREQ(combat.log[2], "Nothing to use!");

    ASSERT_TRUE(bag_add_new(ITEM_HEALING_POTION, 2));
    ASSERT_TRUE(bag_add_new(ITEM_ANTIDOTE, 1));
    int list[TURN_ITEM_MAX];
    EXPECT_EQ(combat_item_list(list, TURN_ITEM_MAX), 2);
    player.hp = 50;
    choose(TURN_ITEM);
    ASSERT_EQ(combat.item_menu, 1);
    press(BTN_DOWN);
    EXPECT_EQ(combat.item_cursor, 1);
    press(BTN_A);  // the antidote while not poisoned is refused and the list stays
    EXPECT_STREQ(combat.log[2], "No poison to cure");
    EXPECT_EQ(combat.item_menu, 1);
    press(BTN_B);
    EXPECT_EQ(combat.item_menu, 0);
    choose(TURN_ITEM);
    press(BTN_A);
    EXPECT_STREQ(combat.log[2], "Healed 15 HP");
    EXPECT_EQ(player.hp, 65);
    EXPECT_EQ(player.bag.entries[bag_find(ITEM_HEALING_POTION)].count, 1);
    EXPECT_EQ(combat.item_menu, 0);
    EXPECT_EQ(combat.monster_delay, TURN_MONSTER_DELAY);
}

TEST(TurnFlee, AGoodDrawLeavesTheMonsterHurtAndWaitingABadOneCostsTheTurn) {
    turn_world(M_ORC);
    load_block(M_ORC, 12, 27, {0, 0});
    EXPECT_EQ(flee_chance(), 50);
    stream_where([] { return peek(100) + 1 > 50; });
    choose(TURN_RUN);
    EXPECT_EQ(game_state, STATE_COMBAT);
    EXPECT_STREQ(combat.log[2], "Cannot escape!");
    EXPECT_EQ(combat.monster_delay, TURN_MONSTER_DELAY);
    wait_for_monster();

    stream_where([] { return peek(100) + 1 <= 50; });
    choose(TURN_RUN);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_STREQ(combat.log[2], "You flee!");
    EXPECT_EQ(combat.fled, 1);
    ASSERT_EQ(monsters.count, 1);
    EXPECT_EQ(monsters.list[0].carried_hp, 12);
    EXPECT_EQ(monsters.list[0].move_cooldown, 2);
}

TEST(TurnQueue, ATellLeavesWithItsStrikeOnlyWhenCancelled) {
    turn_world(M_GOBLIN);
    player.gold = 0;
    load_block(M_GOBLIN, 17, 17, {MOVE_EYE_GOLD, MOVE_GRAB_RUN, MOVE_HIT});
    combat_queue_pop();
    EXPECT_EQ(combat.queue[0], MOVE_HIT);
    EXPECT_EQ(combat.queued, 2);
    EXPECT_EQ(combat.shake_timer, 8);

    // Acting removes only the head: the strike that follows its tell still comes.
    load_block(M_GOBLIN, 17, 17, {MOVE_EYE_GOLD, MOVE_GRAB_RUN});
    combat_monster_act();
    EXPECT_EQ(combat.queue[0], MOVE_GRAB_RUN);
    EXPECT_EQ(combat.last_move, MOVE_EYE_GOLD);
}

// One move of the monster at the head of the queue, acted on floor 3 against a player of 100 hp.
struct MoveCase {
    int move;
    const char* line;
};

TEST(TurnMonster, EveryMoveActsWithItsLineAndItsSideEffect) {
    const MoveCase cases[] = {
        {0, "hits"},          {1, "smashes"},        {2, "bites"},         {3, "bites"},
        {4, "grabs"},         {5, "FLED"},           {6, "inhales..."},    {7, "burns"},
        {8, "cuts"},          {9, "nips"},           {10, "spits"},        {11, "quivers."},
        {12, "roars! ATK +2"}, {13, "drools..."},    {14, "chomps"},       {15, "chants..."},
        {16, "blasts"},       {17, "mutters."},      {18, "drains"},       {19, "hits"},
        {20, "smashes"},      {21, "hits"},          {22, "hits"},         {23, "smashes"},
        {24, "hits"},         {25, "hits"},          {26, "hits"},         {27, "sweeps"},
        {28, "hits"},
    };
    static_assert(sizeof cases / sizeof cases[0] == MONSTER_MOVE_COUNT);
    for (const MoveCase& c : cases) {
        turn_world(M_GOBLIN, 3);
        player.gold = 40;
        load_block(M_GOBLIN, 20, 30, {c.move});
        const int wear = player.main_hand.wear;
        const MonsterMovePreview p = preview_monster_move(false);
        int expect_low = p.low, expect_high = p.high;
        if (p.blows == 0 && (c.move == 19 || c.move >= 21)) expect_low = expect_high = 1;  // lands for 1
        combat_monster_act();
        const int lost = combat.hurt_popup_value;  // the blow, apart from the status ticks after it
        EXPECT_TRUE(logged(c.line)) << c.move << ": " << log_text();
        EXPECT_EQ(combat.last_move, c.move);
        EXPECT_GE(lost, expect_low) << c.move;
        EXPECT_LE(lost, expect_high) << c.move;
        switch (c.move) {
        case 3:
        case 8:
            EXPECT_TRUE(status_has(player.status, ST_POISON)) << c.move;
            EXPECT_TRUE(logged("You are poisoned!"));
            break;
        case 4:
            EXPECT_EQ(player.gold, 40 - 11);
            EXPECT_EQ(combat.gold_stolen, 11);
            break;
        case 5:
            EXPECT_EQ(game_state, STATE_DUNGEON);
            EXPECT_EQ(monsters.count, 0);
            EXPECT_STREQ(toast_line1, "GOBLIN FLED!");
            break;
        case 7:
        case 16:
            EXPECT_EQ(player.status[ST_BURN], 2) << c.move;  // it ticked once after the blow
            EXPECT_TRUE(logged("BURN -2"));
            break;
        case 10: EXPECT_EQ(player.main_hand.wear, wear + 2); break;
        case 12: EXPECT_EQ(combat.buff, 1); break;
        case 18:
            EXPECT_EQ(combat.hp, 20 + lost);
            EXPECT_TRUE(logged("heals"));
            break;
        default: EXPECT_EQ(game_state, STATE_COMBAT) << c.move; break;
        }
    }
    // The poison then ticks after the monster's next move, and a guarded cut does not poison.
    turn_world(M_GOBLIN, 3);
    load_block(M_GOBLIN, 20, 30, {MOVE_VENOM_BITE, MOVE_HIT});
    combat_monster_act();
    const int hp = player.hp;
    combat_monster_act();
    EXPECT_TRUE(logged("POISON -1")) << log_text();
    EXPECT_LT(player.hp, hp);
    turn_world(M_GOBLIN, 3);
    load_block(M_GOBLIN, 20, 30, {MOVE_CUT});
    combat.guarding = 1;
    combat_monster_act();
    EXPECT_FALSE(status_has(player.status, ST_POISON));
    // A goblin that ran with gold says so.
    turn_world(M_GOBLIN, 3);
    load_block(M_GOBLIN, 20, 30, {MOVE_GRAB_RUN});
    combat.gold_stolen = 11;
    combat_monster_act();
    EXPECT_STREQ(toast_line1, "IT FLED WITH 11 GOLD!");
}

TEST(TurnPreview, TheNumbersMatchWhatTheMonsterThenDoes) {
    for (int move : {0, 1, 2, 3, 7, 9, 10, 14, 18, 27}) {
        for (bool guard : {false, true}) {
            turn_world(M_ORC, 6);
            load_block(M_ORC, 50, 50, {move, 0, 0});  // no refill draws before the blow
            const MonsterMovePreview p = preview_monster_move(guard);
            combat.guarding = guard;
            const int bits = p.blows == 2 ? peek(2) + peek(2, 1) : peek(2);
            combat_monster_act();
            const int lost = p.shield_stops ? 100 - player.hp : combat.hurt_popup_value;
            if (p.blows == 2) {
                EXPECT_EQ(lost, p.low + bits * (p.high - p.low) / 2) << move;
            } else {
                EXPECT_EQ(lost, bits ? p.high : p.low) << move << " " << guard;
            }
        }
    }
    // A move with no blow gives nothing to brace for.
    turn_world(M_ORC, 6);
    load_block(M_ORC, 50, 50, {MOVE_ROAR});
    EXPECT_EQ(preview_monster_move(false).blows, 0);
    // The defence takes its share.
    turn_world(M_ORC, 6);
    load_block(M_ORC, 50, 50, {MOVE_HIT});
    const int a = combat_monster_attack();
    EXPECT_EQ(preview_monster_move(false).low, std::max(1, a - defence()));
}

TEST(TurnEnd, AKillWinsAfterTheVictoryPauseAndAFatalBlowEndsInDeath) {
    turn_world(M_RAT);
    load_block(M_RAT, 1, 8, {0, 0});
    choose(TURN_ATTACK);
    EXPECT_EQ(combat.hp, 0);
    EXPECT_EQ(combat.victory_delay, VICTORY_DELAY_TICKS);
    EXPECT_EQ(combat.monster_delay, 0);
    int ticks = 0;
    for (; ticks < 100 && game_state == STATE_COMBAT; ticks++) combat_tick();
    EXPECT_GE(ticks, VICTORY_DELAY_TICKS);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(monsters.count, 0);
    EXPECT_EQ(player.kills, 1);

    turn_world(M_ORC, 8);
    player.hp = 1;
    load_block(M_ORC, 27, 27, {MOVE_SMASH});
    combat_monster_act();
    EXPECT_EQ(game_state, STATE_DEATH);
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(killer_type, (uint32_t)M_ORC);
    EXPECT_EQ(combat_death_numbers().hurt_reason, HURT_PLAIN);

    // A burn that ticks the last hit point away is the status's doing.
    turn_world(M_ORC, 8);
    player.hp = 1;
    player.status[ST_BURN] = 3;
    load_block(M_ORC, 27, 27, {MOVE_ROAR});
    combat_monster_act();
    EXPECT_EQ(game_state, STATE_DEATH);
    EXPECT_EQ(combat_death_numbers().hurt_reason, HURT_STATUS);
    EXPECT_EQ(combat_death_numbers().status, ST_BURN);
}

TEST(TurnEnd, TheImmortalCheatKeepsEveryHitPointThroughAFatalBlow) {
    turn_world(M_ORC, 8);
    player.hp = 1;
    cheat_flags[CHEAT_IMMORTAL] = 1;
    load_block(M_ORC, 27, 27, {MOVE_SMASH});
    combat_monster_act();
    cheat_flags[CHEAT_IMMORTAL] = 0;
    EXPECT_TRUE(logged("smashes"));  // the blow landed and was shown
    EXPECT_EQ(player.hp, 1);
    EXPECT_EQ(game_state, STATE_COMBAT);
}

TEST(TurnMenu, LandscapeStepsThroughFourPortraitMovesOnATwoByTwoGrid) {
    turn_world(M_RAT);
    load_block(M_RAT, 8, 8, {0, 0});
    press(BTN_UP);
    EXPECT_EQ(combat.action_cursor, TURN_RUN);
    press(BTN_DOWN);
    press(BTN_DOWN);
    EXPECT_EQ(combat.action_cursor, TURN_DEFEND);
    layout_set_portrait();
    combat.action_cursor = TURN_ATTACK;
    press(BTN_RIGHT);
    EXPECT_EQ(combat.action_cursor, TURN_DEFEND);
    press(BTN_DOWN);
    EXPECT_EQ(combat.action_cursor, TURN_RUN);
    press(BTN_LEFT);
    EXPECT_EQ(combat.action_cursor, TURN_ITEM);
    layout_set_landscape();
}

}  // namespace
