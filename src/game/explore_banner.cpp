// The title card between floors: a wipe whose mid-point loads the next floor, opens the camp on
// a camp floor and saves the run.
#include <cstdio>

#include "camp/camp.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "game/explore.h"
#include "game/run_start.h"
#include "game/state.h"
#include "screens/transition.h"
#include "sound/audio.h"

namespace {

void banner_enter_next_floor() {
    load_floor(current_floor + 1);
    if (floor_has_camp(current_floor) && !training_active()) camp_enter();
    if (run_active) run_save_now();
}

void banner_enter_training_camp() { camp_enter(); }

void camp_onward_mid() { game_state = STATE_DUNGEON; }

}  // namespace

void camp_onward() {
    play_sfx(SFX_DESCEND);
    char title[24];
    std::snprintf(title, sizeof title, "FLOOR %d", current_floor + 1);
    transition_start(camp_onward_mid, title, "ONWARD", false);
}

void floor_banner() {
    int f = current_floor;
    if (f >= MAX_FLOOR) return;
    play_sfx(SFX_DESCEND);
    if (f == 3 && training_active()) {
        transition_start(banner_enter_training_camp, "A CAMPFIRE", "THE TRAINING'S END", false);
        return;
    }
    char title[24];
    std::snprintf(title, sizeof title, "FLOOR %d", f + 2);
    const char* subtitle = "";
    if ((f + 1) % 10 == 9)
        subtitle = "THE DRAGON'S LAIR";
    else if ((f + 1) % 10 == 0 && !training_active())
        subtitle = "THE CATACOMBS";
    else if (floor_has_camp(f + 1) && !training_active())
        subtitle = "A CAMPFIRE AHEAD";
    transition_start(banner_enter_next_floor, title, subtitle, false);
}
