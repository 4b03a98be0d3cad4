// What the first-person view shows that the map, monster and player records do not hold. The draw
// pass fills it from the game, the fight and the shrine and hands it to draw_dungeon_view, so the
// renderer never reaches up for them.
#pragma once
#include <cstdint>

#include "dungeon/map.h"

constexpr int VIEW_UPGRADE_COUNT = 3;  // the soul fire's three niches
constexpr int VIEW_PEDESTAL_SLOTS = 4;  // compartments of a weapon pedestal

struct ViewScene {
    bool shrine;             // the shrine hub rather than a dungeon floor
    bool training;           // a training floor: always the plain look
    bool berserk;            // the player's fist burns (berserk on this floor)
    int32_t monster_buff;    // the fought monster's buff counter; an orc's eyes glow above 0
    int32_t lunge;           // the fought monster's vertical lunge in pixels
    int32_t mimic_revealing; // index of the mimic being revealed, -1 none
    int32_t mimic_ticks;     // ticks since that reveal
    int32_t chest_x, chest_y;  // the chest opened last on this floor
    int32_t chest_ticks;       // ticks since it opened, -1 when none opened here
    int32_t upgrade_rank[VIEW_UPGRADE_COUNT];
    int32_t upgrade_max_rank[VIEW_UPGRADE_COUNT];
    int32_t bought_upgrade;  // the soul upgrade last bought in the shrine, -1 none
    int32_t bought_tick;     // frame_counter when it was bought
    uint8_t brazier_lit[MAP_H][MAP_W];  // 1 where a shrine brazier burns
    // The shrine's weapon pedestals: which compartment set each "K" face shows (-1 by the cell's
    // hash) and the item id in each compartment (0 empty).
    int8_t pedestal_variant[MAP_H][MAP_W];
    uint8_t pedestal_items[MAP_H][MAP_W][VIEW_PEDESTAL_SLOTS];
};

// A scene with nothing in it: no fight, no reveal, no opened chest, no shrine.
ViewScene view_scene_empty();
// Ticks since the chest at (x, y) opened, -1 when it is not the one that opened.
int32_t view_scene_chest_ticks(const ViewScene& s, int x, int y);
// Ticks since monster i was revealed as a mimic, -1 when it is not the one being revealed.
int32_t view_scene_mimic_ticks(const ViewScene& s, int monster_index);
