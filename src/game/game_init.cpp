// Program start-up of the game: the profile, a first player and floor, the power-on screen,
// old save slots and the settings.
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "game/bag_screen.h"
#include "game/explore.h"
#include "game/game.h"
#include "game/menus.h"
#include "items/bag.h"
#include "world/player.h"
#include "game/run_start.h"
#include "game/state.h"
#include "world/buttons.h"
#include "services/toast.h"
#include "services/confirm.h"
#include "services/services.h"
#include "game/shell_calls.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/settings.h"
#include "screens/screens.h"

namespace {

// The title's notice for how the profile was found; 0 when there is nothing to tell.
uint8_t profile_notice(ProfileLoadResult loaded) {
    switch (loaded) {
    case PROFILE_REFUSED: return TITLE_NOTICE_PROFILE;
    case PROFILE_REFUSED_IN_PLACE: return TITLE_NOTICE_PROFILE_IN_PLACE;
    case PROFILE_OLD: return TITLE_NOTICE_PROFILE_OLD;
    default: return 0;
    }
}

}  // namespace

void game_init() {
    run_record_source_install();
    const ProfileLoadResult loaded = profile_load();
    title_notices = profile_notice(loaded);
    // The saves of an old-format profile's time go with it; any the game reads stay.
    if (loaded == PROFILE_OLD) saves_delete_outdated();
    platform_profile_loaded();

    // The state before any run carries two potions; runs themselves start without.
    player_start();
    bag_add_new(ITEM_HEALING_POTION, 2);

    run_seed = run_seed_choose();
    load_floor(0);

    game_state = STATE_POWER_ON;
    power_on_counter = -(power_on_delay != 0 ? 1 : 0);
    state_under_pause = STATE_TITLE;
    splash_timer = SPLASH_TICKS;
    pause_cursor = 0;
    title_cursor = 1;
    bag_view_reset();
    encounter_disarm();
    confirm_open = 0;
    confirm_action = CONFIRM_NONE;
    message_box_open = 0;
    way_out_open = 0;
    consent_open = 0;
    toast_timer = 0;
    toast_line1[0] = '\0';
    toast_line2[0] = '\0';
    quit_requested = 0;
    quit_after_box = 0;

    bool outdated = false;
    const RunSetAside run_found = run_set_aside_refused(&outdated);
    if (run_found == RUN_KEPT_ASIDE) title_notices |= outdated ? TITLE_NOTICE_RUN_OLD : TITLE_NOTICE_RUN;
    if (run_found == RUN_REFUSED_IN_PLACE) title_notices |= TITLE_NOTICE_RUN_IN_PLACE;
    saves_migrate_slots();
    run_summary_refresh();
    if (run_summary.valid) title_cursor = 0;

    bindings_default();
    settings_load();
    settings_clamp();
    options_cursor = 0;
    credits_scroll = 0;
}
