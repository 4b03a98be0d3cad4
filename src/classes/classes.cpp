// The class table and rules: what KNIGHT and BRUTE start with and what gear each may use. Called
// at run start and wherever gear is equipped, offered or generated for the player.
#include "classes/classes.h"

#include "boons/boons.h"
#include "items/item.h"
#include "telemetry/check.h"
#include "world/player.h"

// One row per class, in class order: KNIGHT, BRUTE.
const ClassInfo CLASSES[CLASS_COUNT] = {
    {.name = "KNIGHT", .weapon = "SWORD AND SHIELD", .perk = "PARRIES FILL 2 STARS", .bonus = "+3 MAX HP",
     .restriction = "NO TWO-HANDERS"},
    {.name = "BRUTE", .weapon = "BATTLE AXE", .perk = "HEAVIES CHARGE FAST", .bonus = "BLOODTHIRST, +5 HP",
     .restriction = "NO SHIELDS"},
};

const ClassRule CLASS_RULES[CLASS_COUNT] = {
    {.perk_boon = BOON_NONE, .perk_boon2 = BOON_NONE, .perk_level = 0, .max_hp_bonus = 3},        // KNIGHT
    {.perk_boon = BOON_BLOODTHIRST, .perk_boon2 = BOON_NONE, .perk_level = 1, .max_hp_bonus = 5},  // BRUTE
};

namespace {

constexpr int BRUTE_UNLOCK_SOULS = 60;

}  // namespace

const ClassInfo& class_info(int c) { return CLASSES[c >= 0 && c < CLASS_COUNT ? c : CLASS_KNIGHT]; }

void class_apply(int c) {
    if (!SOFT_CHECK_AS(c >= 0 && c < CLASS_COUNT, "c < CLASS_COUNT", "src/classes", "class %d", c)) c = CLASS_KNIGHT;
    player.cls = (uint8_t)c;
    const ClassRule& rule = CLASS_RULES[c];
    if (c == CLASS_BRUTE) {
        player.main_hand = item_make(ITEM_BATTLE_AXE);
        player.off_hand = Item{};
    }
    // The perk only raises a boon the player lacks; a level already owned stays.
    if (rule.perk_boon < BOON_SLOTS && player.boon_ranks[rule.perk_boon] < rule.perk_level)
        player.boon_ranks[rule.perk_boon] = (uint8_t)rule.perk_level;
    player.max_hp += rule.max_hp_bonus;
    if (player.max_hp < 1) player.max_hp = 1;
    player.hp = player.max_hp;
}

bool class_can_use(const Item& item) {
    if (item.id == ITEM_NONE || item.id >= (uint32_t)ITEM_COUNT) return true;
    const ItemDef& def = item_def(item.id);
    if (player.cls == CLASS_BRUTE) return def.kind != ITEM_KIND_SHIELD;
    return !def.two_handed;
}

int class_unlock_cost(int c) { return c == CLASS_BRUTE ? BRUTE_UNLOCK_SOULS : 0; }

int class_hook_zero() { return 0; }
