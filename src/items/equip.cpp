// Hand rules. A two-handed main hand ignores the off hand for attack and brings its own defence.
#include "items/equip.h"

#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"

namespace {

bool two_handed(const Item& item) { return item_def(item.id).two_handed != 0; }

int hands_attack(const Item& main, const Item& off) {
    int a = player.attack + item_attack(main);
    if (two_handed(main)) return a;
    if (off.id == ITEM_NONE) return a;
    if (item_id_is_weapon(off.id) && item_def(off.id).either_hand) {
        // A second light weapon helps at half strength.
        if (!item_is_broken(off)) a += (item_attack(off) + 1) / 2;
        return a;
    }
    return a + item_attack(off);
}

// What the gear itself gives; the IRON SKIN boon comes on top for the player.
int hands_defence(const Item& main, const Item& off) {
    return two_handed(main) ? item_two_hand_defence(main) : item_defence(off);
}

}  // namespace

int player_attack_value() { return hands_attack(player.main_hand, player.off_hand); }

int player_defence_value(const GearRules& g) { return g.iron_skin + hands_defence(player.main_hand, player.off_hand); }

int item_two_hand_defence(const Item& item) {
    if (!item_id_is_weapon(item.id) || !two_handed(item) || item_is_broken(item)) return 0;
    return item.quality + item.upgrade + 2;
}

bool equip_preview(const Item& item, const GearRules& g, EquipPreview* out) {
    if (!item_is_wearable(item) || !gear_usable(g, item.id)) return false;
    EquipPreview p{};
    p.main_hand = player.main_hand;
    p.off_hand = player.off_hand;
    auto give_back = [&p](const Item& old) {
        if (old.id != ITEM_NONE && p.returning_count < 2) p.returning[p.returning_count++] = old;
    };
    if (item_id_is_weapon(item.id)) {
        give_back(p.main_hand);
        p.main_hand = item;
        if (two_handed(item)) {
            give_back(p.off_hand);
            p.off_hand = item_make(ITEM_NONE);
        }
    } else {
        if (two_handed(p.main_hand)) {
            give_back(p.main_hand);
            p.main_hand = item_make(ITEM_NONE);
        }
        give_back(p.off_hand);
        p.off_hand = item;
    }
    p.attack_change = hands_attack(p.main_hand, p.off_hand) - player_attack_value();
    p.defence_change = hands_defence(p.main_hand, p.off_hand) - hands_defence(player.main_hand, player.off_hand);
    if (out) *out = p;
    return true;
}

bool bag_equip(int idx, const GearRules& g) {
    if (idx < 0 || idx >= player.bag.count || idx >= BAG_MAX_ITEMS) return false;
    EquipPreview p;
    if (!equip_preview(player.bag.entries[idx].item, g, &p)) return false;
    const Bag saved_bag = player.bag;
    const Item saved_main = player.main_hand;
    const Item saved_off = player.off_hand;
    bag_remove(player.bag, idx);
    player.main_hand = p.main_hand;
    player.off_hand = p.off_hand;
    for (int i = 0; i < p.returning_count; ++i) {
        if (bag_add(player.bag, p.returning[i], 1) == -1) {
            player.bag = saved_bag;
            player.main_hand = saved_main;
            player.off_hand = saved_off;
            return false;
        }
    }
    return true;
}
