// The turn-menu fight: the player's menu actions, the monster's queued moves and what the classic
// fight view reads to preview them. Reached by a saved fight restored with the real-time flag 0.
#pragma once
#include <cstdint>

// Actions of the menu, in the action cursor's order.
constexpr int32_t TURN_ATTACK = 0, TURN_DEFEND = 1, TURN_ITEM = 2, TURN_RUN = 3;
constexpr int TURN_ACTION_COUNT = 4;
constexpr int TURN_ITEM_MAX = 4;           // the item list shows this many usable bag entries
constexpr int32_t TURN_MONSTER_DELAY = 30;  // ticks between the player's action and the monster's move

// Moves the fight's rules and the view's texts pick by number.
enum TurnMove : uint8_t {
    MOVE_HIT = 0, MOVE_SMASH = 1, MOVE_DOUBLE_BITE = 2, MOVE_VENOM_BITE = 3, MOVE_EYE_GOLD = 4,
    MOVE_GRAB_RUN = 5, MOVE_INHALE = 6, MOVE_BREATH = 7, MOVE_CUT = 8, MOVE_FLIT = 9, MOVE_SPIT = 10,
    MOVE_HARDEN = 11, MOVE_ROAR = 12, MOVE_DROOL = 13, MOVE_CHOMP = 14, MOVE_CHANT = 15, MOVE_BLAST = 16,
    MOVE_WARD = 17, MOVE_DRAIN = 18, MOVE_RAISE = 19, MOVE_CRUSH = 20, MOVE_JAB = 21, MOVE_WIND_UP = 22,
    MOVE_SLAM = 23, MOVE_SLASH = 24, MOVE_CLAW = 25, MOVE_TAIL = 26, MOVE_SWEEP = 27, MOVE_LUNGE = 28,
};

// Popup kinds over the monster and over the player (draw_damage_popup's kinds).
constexpr int32_t POPUP_PLAIN = 0, POPUP_CRIT = 1, POPUP_HALF = 2, POPUP_MISS = 3, POPUP_BLOCKED = 4;

// What the monster's next move would do to the player.
struct MonsterMovePreview {
    int32_t blows, low, high;
    uint8_t shield_stops, can_parry;
};

// A new run's turn fights: the life steal's remainder of the last run is dropped.
void turn_fight_run_reset();
// The player's swing: wear, the blow or blows, criticals, life steal, venom and the dragon's rage.
void combat_player_attack();
// A try to run: the loot stream decides; success leaves the fight for the dungeon.
void combat_flee();
// Removes the head move (with its strike when the head is a tell), refills, shakes the fight.
void combat_queue_pop();
// The damage a blow of `base` does after evasion, a guard and defence; 0 when it was evaded
// (combat.missed is then 1) or stopped by a shield or a parry.
int combat_evade_check(int base, bool heavy);

// The attack the next swing starts from: a guard break restored from a saved fight leaves a
// follow-up blow due at 175 % (225 % with the battle axe).
int turn_attack_value();
// Chance in percent that a swing is a critical: KEEN EDGE and a keen main hand.
int turn_crit_chance();
// Chance in percent that running works: 100 in training, else 50.
int flee_chance();
// The usable bag entries, up to max (at most TURN_ITEM_MAX), in bag order.
int combat_item_list(int* out, int max);
// The damage range of ATTACK against the head move; returns the blows (0 against a flit or a ward).
int preview_attack_damage(int32_t* low, int32_t* high);
MonsterMovePreview preview_monster_move(bool guarding);
// The monster's next move, or -1 while the queue is empty.
int combat_head_move();
