// Healing amounts scale with max hp so potions stay worth drinking deep in a run.
#include "items/potion.h"

#include <cstdio>

#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"

namespace {

int max_of(int a, int b) { return a > b ? a : b; }

// Heals the player by the potion's amount, capped at max hp; returns the gain.
int heal_by_potion(int id, int forager_rank) {
    if (!item_id_is_healing((uint32_t)id) || player.hp >= player.max_hp) return 0;
    int before = player.hp;
    int after = before + potion_heal_amount(id, forager_rank);
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

int potion_heal_amount(int id, int forager_rank) {
    int base = potion_heal_base(id);
    return base + base * forager_rank * 25 / 100;
}

int potion_drink_heal(int id, int forager_rank) { return heal_by_potion(id, forager_rank); }

ItemUse item_use(int idx, int forager_rank, char* out, size_t size) {
    if (idx < 0 || idx >= player.bag.count || idx >= BAG_MAX_ITEMS) {
        say(out, size, "Nothing to use");
        return ITEM_USE_NONE;
    }
    uint32_t id = player.bag.entries[idx].item.id;
    if (item_id_is_healing(id)) {
        if (player.hp >= player.max_hp) {
            say(out, size, "Already at full HP!");
            return ITEM_USE_NONE;
        }
        int gained = heal_by_potion((int)id, forager_rank);
        take_one(idx);
        if (out && size) snprintf(out, size, "Healed %d HP", gained);
        return ITEM_USE_HEALED;
    }
    if (id == ITEM_ANTIDOTE) {
        if (player.status[ST_POISON] == 0) {
            say(out, size, "No poison to cure");
            return ITEM_USE_NONE;
        }
        player.status[ST_POISON] = 0;
        take_one(idx);
        say(out, size, "Poison cured!");
        return ITEM_USE_CURED;
    }
    say(out, size, "Can't use that");
    return ITEM_USE_NONE;
}
