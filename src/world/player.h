// The one player record: position, hit points, purse, hands, bag, boons and status counters.
#pragma once
#include <cstdint>

#include "world/bag_record.h"
#include "world/item_record.h"
#include "world/run_bounds.h"

// Status counters, ticks left.
constexpr int ST_POISON = 0;
constexpr int ST_BURN = 1;
constexpr int ST_REGEN = 2;
constexpr int ST_COUNT = 3;

constexpr int BOON_SLOTS = 50;

struct Player {
    int32_t x, y;
    int32_t facing;  // 0 north, 1 east, 2 south, 3 west
    int32_t hp, max_hp;
    int32_t attack;
    int32_t level, xp;
    int32_t keys, gold, kills;
    Item main_hand, off_hand;
    uint8_t boon_ranks[BOON_SLOTS];
    uint8_t last_stand_used;
    uint8_t floor_mark;  // cleared with floor_kills at each floor load
    uint8_t floor_kills;  // victories on this floor, capped at 255
    uint8_t cls;  // CLASS_KNIGHT or CLASS_BRUTE
    int16_t boon_redraws;  // camp boon redraws this run; -1 stays -1
    Bag bag;
    uint8_t status[ST_COUNT];
};

extern Player player;
// The floor the player is on, 0-based.
extern int32_t current_floor;

// hp + n capped at the maximum (hp never drops here); returns the hp gained. The fights, the camp's
// rest, level-up picks and boons heal through it; player_heal (combat/fx.h) adds the fight's heal
// popup for the heals the player is shown.
int player_gain_hp(int n);
