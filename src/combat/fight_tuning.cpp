// The fight style table, the weapon timing rows and their derivation into the duel record.
// Called at fight start, when a weapon breaks mid-duel, and by the item panel's previews.
#include "combat/fight_tuning.h"

#include <algorithm>

#include "classes/classes.h"
#include "combat/duel.h"
#include "combat/reflex.h"
#include "items/item.h"
#include "world/player.h"

const FightStyle FIGHT_STYLE[9] = {
    {.tempo = 0, .weight = {0, 0, 0, 0, 0}, .stars = 0},  // none
    {.tempo = 100, .weight = {5, 2, 2, 0, 0}, .stars = 0},  // goblin
    {.tempo = 110, .weight = {6, 1, 1, 0, 0}, .stars = 0},  // rat
    {.tempo = 100, .weight = {4, 2, 2, 3, 0}, .stars = 3},  // skeleton
    {.tempo = 95, .weight = {3, 3, 3, 2, 2}, .stars = 5},  // dragon
    {.tempo = 80, .weight = {4, 4, 1, 0, 1}, .stars = 0},  // bat
    {.tempo = 115, .weight = {3, 1, 2, 4, 0}, .stars = 4},  // slime
    {.tempo = 105, .weight = {3, 2, 4, 1, 1}, .stars = 4},  // orc
    {.tempo = 95, .weight = {3, 3, 3, 1, 0}, .stars = 3},  // mimic
};

namespace {

constexpr WeaponTiming BARE_HANDS = {.jab_ms = 200, .jab_percent = 100, .heavy_table_ms = 350, .heavy_percent = 220,
                                     .heavy_recovery = 160, .stagger_points = 5, .weight = 4,
                                     .finisher_percent = FT_FINISHER_PERCENT, .parry_bonus_ms = 0,
                                     .cleave = 0, .reach = 0, .venom = 0};

const WeaponTiming WEAPON_TIMINGS[ITEM_COUNT] = {
    /* ITEM_NONE */ BARE_HANDS,
    /* ITEM_SHORT_SWORD */ {.jab_ms = 200, .jab_percent = 100, .heavy_table_ms = 450, .heavy_percent = 260,
                          .heavy_recovery = 220, .stagger_points = 7, .weight = 6, .finisher_percent = 200,
                          .parry_bonus_ms = 0, .cleave = 0, .reach = 0, .venom = 0},
    /* ITEM_LONG_SWORD */ {.jab_ms = 260, .jab_percent = 120, .heavy_table_ms = 550, .heavy_percent = 290,
                         .heavy_recovery = 270, .stagger_points = 8, .weight = 8,
                         .finisher_percent = FT_FINISHER_PERCENT, .parry_bonus_ms = 80, .cleave = 0, .reach = 0,
                         .venom = 0},
    /* ITEM_ENCHANTED_SWORD */ {.jab_ms = 260, .jab_percent = 120, .heavy_table_ms = 550, .heavy_percent = 290,
                              .heavy_recovery = 270, .stagger_points = 8, .weight = 8,
                              .finisher_percent = FT_FINISHER_PERCENT, .parry_bonus_ms = 80, .cleave = 0,
                              .reach = 0, .venom = 0},
    /* ITEM_DAGGER */ {.jab_ms = 130, .jab_percent = 75, .heavy_table_ms = 300, .heavy_percent = 200,
                     .heavy_recovery = 120, .stagger_points = 5, .weight = 4, .finisher_percent = FT_FINISHER_PERCENT,
                     .parry_bonus_ms = 0, .cleave = 0, .reach = 0, .venom = 0},
    /* ITEM_WOODEN_SHIELD */ BARE_HANDS,
    /* ITEM_IRON_SHIELD */ BARE_HANDS,
    /* ITEM_HEALING_POTION */ BARE_HANDS,
    /* ITEM_ANTIDOTE */ BARE_HANDS,
    /* ITEM_BATTLE_AXE */ {.jab_ms = 300, .jab_percent = 130, .heavy_table_ms = 650, .heavy_percent = 340,
                         .heavy_recovery = 320, .stagger_points = 10, .weight = 11,
                         .finisher_percent = FT_FINISHER_PERCENT, .parry_bonus_ms = 0, .cleave = 1, .reach = 0,
                         .venom = 0},
    /* ITEM_SPEAR */ {.jab_ms = 220, .jab_percent = 110, .heavy_table_ms = 550, .heavy_percent = 280,
                    .heavy_recovery = 270, .stagger_points = 8, .weight = 8, .finisher_percent = FT_FINISHER_PERCENT,
                    .parry_bonus_ms = 0, .cleave = 0, .reach = 1, .venom = 0},
    /* ITEM_VENOM_DAGGER */ {.jab_ms = 130, .jab_percent = 75, .heavy_table_ms = 300, .heavy_percent = 200,
                           .heavy_recovery = 120, .stagger_points = 5, .weight = 4,
                           .finisher_percent = FT_FINISHER_PERCENT, .parry_bonus_ms = 0, .cleave = 0, .reach = 0,
                           .venom = 1},
    /* ITEM_TOWER_SHIELD */ BARE_HANDS,
    /* ITEM_GREATER_POTION */ BARE_HANDS,
    /* ITEM_SUPERIOR_POTION */ BARE_HANDS,
};

// An off-hand weapon that poisons: the venom dagger or a venomous enchantment, beside a one-hander.
bool off_hand_venom() {
    const Item& off = player.off_hand;
    if (!item_def(off.id).either_hand || item_is_broken(off) || item_def(player.main_hand.id).two_handed) return false;
    return off.id == ITEM_VENOM_DAGGER || off.enchant == ENCHANT_VENOMOUS;
}

}  // namespace

const WeaponTiming& weapon_timing_row(const Item& main_hand) {
    if (main_hand.id >= ITEM_COUNT || item_is_broken(main_hand)) return WEAPON_TIMINGS[ITEM_NONE];
    return WEAPON_TIMINGS[main_hand.id];
}

void reflex_weapon_setup() {
    Reflex& r = reflex;
    const Item& main = player.main_hand;
    const WeaponTiming& w = weapon_timing_row(main);
    bool bare = &w == &WEAPON_TIMINGS[ITEM_NONE];
    // The light flag reads the weapon's own speed, before every weapon's jab slows down.
    r.light_weapon = w.jab_ms < FT_JAB_MS;
    r.jab_ms = bare ? w.jab_ms : w.jab_ms * FT_WEAPON_JAB_SCALE / 100;
    r.jab_percent = w.jab_percent;
    r.heavy_ms = w.heavy_table_ms * FT_HEAVY_SCALE / 100;
    if (player.cls == CLASS_BRUTE) r.heavy_ms = r.heavy_ms * 75 / 100;
    r.heavy_min_ms = std::min(r.heavy_ms * 8 / 10, FT_HEAVY_MIN_CAP);
    r.heavy_percent_full = w.heavy_percent;
    r.heavy_recovery_ms = w.heavy_recovery;
    r.heavy_stagger_points = w.stagger_points;
    r.heavy_weight = w.weight;
    r.finisher_percent = w.finisher_percent;
    r.cleave = w.cleave;
    r.reach = w.reach;
    r.venom = w.venom || (!item_is_broken(main) && main.enchant == ENCHANT_VENOMOUS) || off_hand_venom();
    bool ready = shield_ready();
    r.tower_shield = ready && player.off_hand.id == ITEM_TOWER_SHIELD;
    r.block_chip_percent = ready ? 10 : 30;
    r.dodge_ms = FT_DODGE_MS;
    r.dodge_cooldown_ms = FT_DODGE_COOLDOWN;
    r.parry_bonus_ms = w.parry_bonus_ms + (int32_t)(skill_assist() * 100.0f - fight_pressure() * 60.0f);
}

void weapon_timing_preview(const Item& item, int32_t* jab_ms, int32_t* heavy_ms) {
    static Reflex saved;
    saved = reflex;
    Item hand = player.main_hand;
    player.main_hand = item;
    player.main_hand.wear = 0;
    reflex_weapon_setup();
    if (jab_ms) *jab_ms = reflex.jab_ms;
    if (heavy_ms) *heavy_ms = reflex.heavy_ms;
    player.main_hand = hand;
    reflex = saved;
}

int speed_pips(int32_t ms) { return 5 - std::clamp((ms - 150) / 60, 0, 4); }

int power_pips(int32_t ms) { return 1 + std::clamp((ms - 220) / 80, 0, 4); }
