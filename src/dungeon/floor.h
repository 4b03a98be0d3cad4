// Building and loading a floor: the seeded generator, the two boss layouts, the training maps,
// and turning the builder's monster letters into monster records.
#pragma once
#include <cstdint>

#include "items/gear_rules.h"

constexpr int MAX_FLOOR = 19;
constexpr int FLOOR_MAX_ROOMS = 6;
constexpr int FLOOR_ATTEMPTS = 12;

// A room of the generator: top-left cell and size.
struct FloorRoom {
    int32_t x, y, w, h;
};

// The builder's xorshift32 stream; only meaningful while a floor is being built.
extern uint32_t floor_rng;
// The wandering monsters' stream, seeded by each floor load.
extern uint32_t monster_seed;
// The seed of the run: every floor of the run is built from it.
extern uint32_t run_seed;
// The rooms of the last generated floor, in creation order (room 0 holds the start).
extern FloorRoom floor_rooms[FLOOR_MAX_ROOMS];
extern int32_t floor_room_count;

uint32_t floor_rand_raw();
// 1..n from the builder's stream; the item makers take it while a floor is built.
int floor_rand(int n);

// Starts floor n: the floor number, no floor items, nothing explored.
void floor_begin(int floor_index);
// Builds floor n with the generator; gear is made by the run's rules.
void floor_generate(int n, const GearRules& g);
// Seeds the monsters' stream, turns the monster letters into records and snaps the view.
void floor_monsters_from_letters(int floor_index);
void floor_load_boss();
// The open room used when every attempt of the generator failed.
void floor_fallback_room();
// Writes glyph on a random '.' cell of the room; false (nothing written) after 30 misses.
bool floor_place_in_room(const FloorRoom& room, char glyph, int* out_x = nullptr, int* out_y = nullptr);
// Cells reachable from (x, y) through anything but '#', 'C' and 'c', the start included.
int floor_flood_fill(int x, int y);
// The one floor of each ten that hides a secret nook.
bool floor_is_special(int n);
// Hides a nook behind the wall (x, y), dug in direction dir (0 north .. 3 west).
void secret_nook_add(int x, int y, int dir, uint32_t (*rand)());
// The spawn weight of a builder letter on floor n (0-based); 0 for letters that never spawn.
int floor_spawn_weight(char glyph, int n);
// The monster letter that a draw of the spawn table gives on floor n.
char floor_spawn_pick(uint32_t draw, int n);
// On a special floor: picks a wall beside exactly one open cell and hides a nook behind it.
void floor_add_secret_nook();
