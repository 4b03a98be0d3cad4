// The invariants' snapshot: copies the player, the map, the monsters, the bag and the fight record
// into plain facts, so that no rule ever indexes a record with a bad value itself.
#include <cstring>

#include "combat/combat.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/invariants.h"
#include "items/bag.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "world/player.h"

bool world_facts_gather(WorldFacts* out) {
    WorldFacts& w = *out;
    w = WorldFacts{};
    w.souls_unknown = 0;
    w.souls = profile.souls;
    w.levelup_pending = levelup.pending;
    w.xp_next = xp_to_next(player.level);
    w.player_class = player.cls;
    w.gold = player.gold;
    w.keys = player.keys;
    w.level = player.level;
    w.xp = player.xp;
    w.main_id = (int32_t)player.main_hand.id;
    w.off_id = (int32_t)player.off_hand.id;
    w.main_two_handed = player.main_hand.id < ITEM_COUNT ? item_def(player.main_hand.id).two_handed : 0;
    w.hp = player.hp;
    w.max_hp = player.max_hp;
    w.player_x = player.x;
    w.player_y = player.y;
    w.facing = player.facing;
    std::memcpy(w.map, gmap, sizeof w.map);

    w.monster_count = monsters.count;
    int n = monsters.count < 0 ? 0 : (monsters.count > MAX_MONSTERS ? MAX_MONSTERS : monsters.count);
    for (int i = 0; i < n; i++) {
        const Monster& m = monsters.list[i];
        w.monsters[i] = {m.type, m.x, m.y, monster_at(m.x, m.y)};
    }

    const Bag& b = player.bag;
    w.bag_count = b.count;
    std::memcpy(w.bag_cells, b.cells, sizeof w.bag_cells);
    int bn = b.count < 0 ? 0 : (b.count > BAG_MAX_ITEMS ? BAG_MAX_ITEMS : b.count);
    for (int i = 0; i < bn; i++) {
        const BagEntry& e = b.entries[i];
        BagEntryFacts& f = w.bag[i];
        f.id = (int32_t)e.item.id;
        f.count = e.count;
        if (e.item.id < ITEM_COUNT) bag_item_size(e, &f.w, &f.h);
    }

    w.combat_type = (int32_t)combat.type;
    w.combat_hp = combat.hp;
    w.combat_max_hp = combat.max_hp;
    w.combat_queued = combat.queued;
    return true;
}
