// The perf test's scenes: a reproducible run on a chosen floor, with the room emptied for the
// stairs scene or the unlocks list for the case-colours scene. Called by the shell.
#include "game/perf_scene.h"

#include "classes/classes.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/load_floor.h"
#include "game/run_start.h"
#include "items/floor_items.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "telemetry/perf.h"
#include "world/game_state.h"

namespace {
// The case-colours scene rests the unlocks cursor on the SOLID GREEN case.
constexpr int32_t CASES_SCENE_ROW = 9;
// The first debug switch: the fight code reads it, and the run counts as cheated.
constexpr int PERF_CHEAT_FLAG = 0;
constexpr int STAIRS_COLUMN = 8;
constexpr int STAIRS_START_X = 9, STAIRS_START_Y = 1;
constexpr int FACING_NORTH = 0;
// The scene's run seed, in place of the clock's: every launch walks the same floor and draws the
// same frames, so two reports can be compared. On the default floor this walk meets no monster.
constexpr uint32_t PERF_SCENE_SEED = 9;

void empty_room_with_stairs() {
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) {
            bool ring = y == 0 || y == MAP_H - 1 || x == 0 || x == MAP_W - 1;
            gmap[y][x] = ring ? GLYPH_WALL : GLYPH_FLOOR;
        }
    floor_items_clear();
    monsters_clear();
    gmap[0][STAIRS_COLUMN] = GLYPH_STAIRS;
    player.x = STAIRS_START_X;
    player.y = STAIRS_START_Y;
    player.facing = FACING_NORTH;
}
}  // namespace

void perf_scene_setup(int scene, int floor_index) {
    new_run();
    run_seed = PERF_SCENE_SEED;
    class_apply(0);
    cheat_flags[PERF_CHEAT_FLAG] = 1;
    load_floor(floor_index);
    if (scene == SCENE_STAIRS) empty_room_with_stairs();
    player_view_sync();
    game_state = STATE_DUNGEON;
    if (scene == SCENE_CASES) {
        game_state = STATE_UNLOCKS;
        unlocks_reveal_row(CASES_SCENE_ROW);
    }
}
