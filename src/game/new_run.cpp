// A new run: the seed, the starting player and everything a run owns set back to its start.
#include <ctime>

#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "combat/turn_fight.h"
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "game/bag_screen.h"
#include "game/explore.h"
#include "items/bag.h"
#include "items/item.h"
#include "items/potion.h"
#include "world/player.h"
#include "game/run_start.h"
#include "items/item_random.h"
#include "levelup/levelup.h"
#include "services/toast.h"
#include "world/game_state.h"
#include "profile/profile.h"
#include "render/particles.h"
#include "screens/screens.h"
#include "telemetry/run_record.h"

uint32_t fixed_seed = 0;
int32_t fixed_seed_runs = 0;
int32_t run_start_rating = 0;
uint32_t run_start_met = 0;
int32_t run_class = 0;

uint32_t run_seed_choose() {
    uint32_t seed;
    if (fixed_seed != 0) {
        // Each run from a fixed seed steps back by the golden-ratio constant, so runs differ but repeat.
        seed = fixed_seed - (uint32_t)fixed_seed_runs * 1640531535u;
        fixed_seed_runs++;
    } else {
        seed = (uint32_t)std::time(nullptr);
    }
    return seed == 0 ? 1 : seed;
}

void player_start() {
    player = Player{};
    player.hp = 12;
    player.max_hp = 12;
    player.attack = 3;
    player.level = 1;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_grid_clear(player.bag);
}

void run_start_snapshot() {
    run_start_rating = skill_rating();
    run_start_met = profile_monsters_met();
}

void new_run() {
    reflex_clear();
    turn_fight_run_reset();
    run_heat = 0;
    item_luck = 0;
    run_start_snapshot();
    cheats_used = 0;

    run_record_reset();
    run_stats_reset();
    encounter_disarm();
    training_stop();

    run_seed = run_seed_choose();
    fx_reset();
    particles_reset();

    player_start();
    levelup_clear();
    bag_grid_clear(player.bag);
    if (drink_on_pickup == 0) bag_add_new(ITEM_HEALING_POTION, 2);

    load_floor(0);
    bag_view_reset();
    way_out_open = 0;
    toast_timer = 0;
    toast_line1[0] = '\0';
    toast_line2[0] = '\0';
}
