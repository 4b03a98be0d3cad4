// The single entry for loading a floor: picks the builder (a training map, a boss layout or the
// generator, with the run's gear rules), then places the monsters and snaps the view.
#include "game/load_floor.h"

#include "boons/boons.h"
#include "classes/gear_rules.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "telemetry/check.h"
#include "world/player.h"

void load_floor(int floor_index) {
    player.floor_mark = 0;
    player.floor_kills = 0;
    if (player.boon_ranks[BOON_LAST_STAND] >= 3) player.last_stand_used = 0;
    if (!SOFT_CHECK_AS(floor_index >= 0 && floor_index <= MAX_FLOOR, "floor_index >= 0 && floor_index <= MAX_FLOOR",
                       "src/dungeon", "load_floor %d", floor_index))
        return;
    floor_begin(floor_index);

    if (training_active() && training_map_floor(floor_index))
        load_training_map(floor_index);
    else if (floor_index % 10 == 9)
        floor_load_boss();
    else
        floor_generate(floor_index, gear_rules_now());

    floor_monsters_from_letters(floor_index);
}
