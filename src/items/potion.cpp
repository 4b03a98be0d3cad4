// Healing amounts scale with max hp so potions stay worth drinking deep in a run.
#include "items/potion.h"

#include <cstdio>

#include "combat/run_stats.h"
#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"
#include "profile/profile.h"
#include "telemetry/run_record.h"

namespace {

constexpr int UPGRADE_FORAGER = 2;

int max_of(int a, int b) { return a > b ? a : b; }

// Heals the player by the potion's amount, capped at max hp; returns the gain.
int heal_by_potion(int id) {
    if (!item_id_is_healing((uint32_t)id) || player.hp >= player.max_hp) return 0;
    int before = player.hp;
    int after = before + potion_heal_amount(id);
    player.hp = after < player.max_hp ? after : player.max_hp;
    return player.hp - before;
}

void take_one(int idx) {
    BagEntry& e = player.bag.entries[idx];
    e.count -= 1;
    if (e.count <= 0) bag_remove(player.bag, idx);
}

void say(char* out, size_t size, const char* text) {
    if (out && size) snprintf(out, size, "%s", text);
}

}  // namespace

int potion_heal_base(int id) {
    int m = player.max_hp;
    switch (id) {
        case ITEM_HEALING_POTION: return max_of(6, 15 * m / 100);
        case ITEM_GREATER_POTION: return max_of(15, 30 * m / 100);
        case ITEM_SUPERIOR_POTION: return max_of(30, 50 * m / 100);
        default: return 0;
    }
}

int potion_heal_amount(int id) {
    int base = potion_heal_base(id);
    return base + base * upgrade_active_rank(UPGRADE_FORAGER) * 25 / 100;
}

int potion_drink_heal(int id) {
    int gained = heal_by_potion(id);
    if (gained > 0) {
        run_stats_count_potion();
        run_record_potion(gained);
    }
    return gained;
}

bool item_use(int idx, char* out, size_t size) {
    if (idx < 0 || idx >= player.bag.count || idx >= BAG_MAX_ITEMS) {
        say(out, size, "Nothing to use");
        return false;
    }
    uint32_t id = player.bag.entries[idx].item.id;
    if (item_id_is_healing(id)) {
        if (player.hp >= player.max_hp) {
            say(out, size, "Already at full HP!");
            return false;
        }
        int gained = heal_by_potion((int)id);
        take_one(idx);
        run_stats_count_potion();
        if (out && size) snprintf(out, size, "Healed %d HP", gained);
        return true;
    }
    if (id == ITEM_ANTIDOTE) {
        if (player.status[ST_POISON] == 0) {
            say(out, size, "No poison to cure");
            return false;
        }
        player.status[ST_POISON] = 0;
        take_one(idx);
        say(out, size, "Poison cured!");
        return true;
    }
    say(out, size, "Can't use that");
    return false;
}
