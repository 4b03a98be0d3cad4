// The player's two hands: attack and defence from what they hold, and equipping from the bag.
#pragma once

#include "items/gear_rules.h"
#include "items/item.h"

// What putting an item on would do to the hands.
struct EquipPreview {
    Item main_hand, off_hand;  // the hands after the swap
    Item returning[2];  // items that go back to the bag, in order
    int returning_count;
    int attack_change;
    int defence_change;
};

int player_attack_value();
int player_defence_value(const GearRules& g);
int item_two_hand_defence(const Item& item);
// False unless the item is a weapon or shield the player's class may use.
bool equip_preview(const Item& item, const GearRules& g, EquipPreview* out);
// Puts bag entry idx on; when an item coming off does not fit in the bag nothing changes (false).
bool bag_equip(int idx, const GearRules& g);
