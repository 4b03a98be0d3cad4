// What the softlock detector watches: a hash of every value a press could change on any screen,
// the fight's and the bag's included, so a long duel or a long look at the bag is not taken for a
// stuck screen. The tick hands it to softlock_check.
#include "game/softlock_watch.h"

#include "camp/camp.h"
#include "classes/class_select.h"
#include "combat/combat.h"
#include "combat/reflex.h"
#include "game/menus.h"
#include "game/state.h"
#include "levelup/levelup.h"
#include "screens/screens.h"
#include "services/confirm.h"
#include "telemetry/softlock.h"
#include "world/bag_view.h"
#include "world/game_state.h"
#include "world/player.h"

uint32_t softlock_watch_hash() {
    const int32_t watched[] = {
        game_state, current_floor,
        player.x, player.y, player.facing, player.hp, player.gold, player.level,
        combat.hp, reflex.hp, reflex.monster_state,
        title_cursor, pause_cursor, options_cursor, way_out_cursor, class_cursor, unlocks_cursor,
        levelup.cursor, levelup.pending, camp_page, camp.cursor,
        bag_view.page, bag_view.stats_cursor, bag_view.bestiary_cursor, bag_view.col, bag_view.row, bag_view.holding,
        credits_scroll, controls_scroll,
        confirm_open, message_box_open, way_out_open, run_active, consent_open,
    };
    uint32_t h = SOFTLOCK_HASH_START;
    for (int32_t v : watched) h = softlock_hash_add(h, v);
    return h;
}
