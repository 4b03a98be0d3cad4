// Walking the dungeon: one tick of the exploration screen, the step into the next cell, the
// pending encounter before a fight and the banner that leads to the next floor.
#pragma once
#include <cstdint>

#include "dungeon/monsters.h"
#include "dungeon/wander.h"
#include "levelup/levelup.h"

// A fight about to start once the view has turned to the monster and its countdown ran out.
struct Encounter {
    uint8_t armed;
    int32_t kind, x, y;
    int32_t ticks;  // countdown, counted once the view faces its target
};

// The chest opened last, for the lid animation of the view.
struct ChestOpening {
    int32_t floor, x, y;
    int32_t tick;  // frame_counter when it opened
};


extern Encounter encounter;
extern int32_t mimic_revealing;  // slot of the mimic being revealed, -1 none
extern int32_t mimic_reveal_tick;
extern ChestOpening chest_opening;

void update_dungeon(uint8_t presses);
// dir +1 steps forward, -1 back.
void dungeon_step(int dir);
// Arms a pending encounter (also used by the training).
void encounter_arm(int kind, int x, int y, int ticks);
// Disarms a pending encounter and forgets a mimic's reveal.
void encounter_disarm();
// The wipe to the next floor, with the floor's title card.
void floor_banner();
// ONWARD from the camp: the wipe back onto the camp's floor.
void camp_onward();

bool encounter_is_armed();
// What the level-up draw and input need to know of the run: whether it is a training run.
LevelupMode levelup_mode_now();
// Ticks since monster slot m's opening roar while an encounter is armed for it, else -1.
int32_t encounter_roar_ticks(int m);
// Ticks since the chest at (x, y) of this floor was opened; -1 for any other cell or before.
int32_t chest_open_ticks(int x, int y);
// Ticks since the mimic with this monster index was revealed, while it is the one being
// revealed; -1 otherwise.
int32_t mimic_reveal_ticks(int monster_index);

// Monsters stand still in training and under the freeze cheat.
bool explore_monsters_frozen();
// Where a wide monster may stand: inside its lesson's space on a training floor, else anywhere.
CellTest explore_wide_monster_rule();
