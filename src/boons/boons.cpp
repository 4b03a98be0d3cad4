// The boon table, the offer weights and draws, granting a level, and the camp's three offers.
// Read by level-ups, the camp, fights, loot and pickups.
#include "boons/boons.h"

#include <array>
#include <cstdio>

#include "dungeon/floor.h"
#include "items/bag.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "services/services.h"
#include "services/toast.h"
#include "world/player.h"

namespace {

// The platform counter a boon's evolution bumps.
constexpr int COUNTER_BOON_EVOLVED = 30;

// What CACHE, KEYRING and SUPPLIES give, and the gold SUPPLIES gives when the bag cannot take them.
constexpr int32_t CACHE_GOLD = 40;
constexpr int32_t KEYRING_KEYS = 2;
constexpr int SUPPLIES_POTIONS = 3;
constexpr int32_t SUPPLIES_GOLD = 20;

// The table in id order; ids without a row stay empty and behave as absent everywhere.
constexpr std::array<BoonDef, BOON_ROWS> make_rows() {
    std::array<BoonDef, BOON_ROWS> r{};
    r[BOON_VIGOR] =
        BoonDef{.name = "VIGOR", .desc = "+6 MAX HP, +6 HP", .one_shot = 1, .max_level = 1, .icon = "boon_heart"};
    r[BOON_MIGHT] = BoonDef{.name = "MIGHT", .desc = "+2 ATK", .one_shot = 1, .max_level = 1, .icon = "boon_blade"};
    r[BOON_CACHE] = BoonDef{.name = "CACHE", .desc = "+40 GOLD", .one_shot = 1, .max_level = 1, .icon = "boon_coin"};
    r[BOON_SUPPLIES] =
        BoonDef{.name = "SUPPLIES", .desc = "+3 POTIONS", .one_shot = 1, .max_level = 1, .icon = "boon_drop"};
    r[BOON_KEYRING] = BoonDef{.name = "KEYRING", .desc = "+2 KEYS", .one_shot = 1, .max_level = 1, .icon = "boon_key"};
    r[BOON_BERSERK] =
        BoonDef{.name = "BERSERK", .desc = "+3 ATK, -4 MAX HP", .one_shot = 1, .max_level = 1, .icon = "boon_flame"};
    r[BOON_SECOND_WIND] = BoonDef{.name = "SECOND WIND",
                                  .desc = "HEAL TO FULL",
                                  .price = 30,
                                  .one_shot = 1,
                                  .max_level = 1,
                                  .icon = "boon_heart"};
    r[BOON_IRON_SKIN] = BoonDef{.name = "IRON SKIN",
                                .desc = "+1 DEF ALWAYS",
                                .price = 60,
                                .max_level = 5,
                                .values = {1, 2, 3, 4, 5},
                                .descs = {"+2 DEF ALWAYS", "+3 DEF ALWAYS", "+4 DEF ALWAYS", "+5 DEF ALWAYS"},
                                .icon = "boon_shield"};
    r[BOON_BLOODTHIRST] =
        BoonDef{.name = "BLOODTHIRST",
                .desc = "KILLS HEAL 5% HP",
                .price = 80,
                .max_level = 5,
                .values = {5, 8, 12, 16, 20},
                .descs = {"KILLS HEAL 8% HP", "KILLS HEAL 12% HP", "KILLS HEAL 16% HP", "KILLS HEAL 20% HP"},
                .icon = "boon_drop"};
    r[BOON_VETERAN] = BoonDef{.name = "VETERAN",
                              .desc = "+50% XP GAINED",
                              .price = 60,
                              .max_level = 5,
                              .values = {50, 60, 70, 80, 100},
                              .descs = {"+60% XP GAINED", "+70% XP GAINED", "+80% XP GAINED", "+100% XP GAINED"},
                              .icon = "boon_up"};
    r[BOON_HUNTER] =
        BoonDef{.name = "HUNTER",
                .desc = "MONSTERS DROP +15%",
                .price = 50,
                .max_level = 5,
                .values = {15, 25, 35, 45, 60},
                .descs = {"MONSTERS DROP +25%", "MONSTERS DROP +35%", "MONSTERS DROP +45%", "MONSTERS DROP +60%"},
                .icon = "boon_burst"};
    r[BOON_MERCHANT] = BoonDef{.name = "MERCHANT",
                               .desc = "GOLD PICKUPS +5",
                               .price = 40,
                               .max_level = 5,
                               .values = {5, 8, 12, 16, 25},
                               .descs = {"GOLD PICKUPS +8", "GOLD PICKUPS +12", "GOLD PICKUPS +16", "GOLD PICKUPS +25"},
                               .icon = "boon_coin"};
    r[BOON_ANTIVENOM] =
        BoonDef{.name = "ANTIVENOM", .desc = "IMMUNE TO POISON", .price = 40, .max_level = 1, .icon = "boon_shield"};
    r[BOON_LAST_STAND] =
        BoonDef{.name = "LAST STAND",
                .desc = "SURVIVE 1 FATAL HIT",
                .price = 80,
                .max_level = 5,
                .values = {0, 0, 0, 25, 50},
                .descs = {"AGAIN AT EACH CAMP", "AGAIN EACH FLOOR", "EACH FLOOR, 25% HP", "EACH FLOOR, 50% HP"},
                .icon = "boon_heart"};
    r[BOON_VAMPIRIC] = BoonDef{.name = "VAMPIRIC",
                               .desc = "HITS HEAL 1% HP",
                               .price = 70,
                               .max_level = 5,
                               .values = {10, 15, 20, 30, 40},
                               .descs = {"HITS HEAL 1.5% HP", "HITS HEAL 2% HP", "HITS HEAL 3% HP", "HITS HEAL 4% HP"},
                               .icon = "boon_drop"};
    r[BOON_BLOOD_PACT] = BoonDef{.name = "BLOOD PACT",
                                 .desc = "HIT 6% KILL 25% HP",
                                 .max_level = 1,
                                 .evolution = 1,
                                 .parent1 = BOON_VAMPIRIC,
                                 .parent2 = BOON_BLOODTHIRST,
                                 .icon = "boon_flame"};
    r[BOON_KEEN_EDGE] =
        BoonDef{.name = "KEEN EDGE",
                .desc = "6% HITS CRIT (X2)",
                .price = 60,
                .max_level = 5,
                .values = {6, 10, 14, 19, 25},
                .descs = {"10% HITS CRIT (X2)", "14% HITS CRIT (X2)", "19% HITS CRIT (X2)", "25% HITS CRIT (X2)"},
                .icon = "boon_blade"};
    r[BOON_SPINES] =
        BoonDef{.name = "SPINES",
                .desc = "RETURN 15% OF HITS",
                .price = 60,
                .max_level = 5,
                .values = {15, 25, 35, 50, 70},
                .descs = {"RETURN 25% OF HITS", "RETURN 35% OF HITS", "RETURN 50% OF HITS", "RETURN 70% OF HITS"},
                .icon = "boon_burst"};
    r[BOON_SIDESTEP] =
        BoonDef{.name = "SIDESTEP",
                .desc = "DODGE 3% OF HITS",
                .price = 60,
                .max_level = 5,
                .values = {3, 6, 8, 11, 14},
                .descs = {"DODGE 6% OF HITS", "DODGE 8% OF HITS", "DODGE 11% OF HITS", "DODGE 14% OF HITS"},
                .icon = "boon_up"};
    return r;
}
constexpr std::array<BoonDef, BOON_ROWS> ROWS = make_rows();

// The ids with a row, as one mask over the id.
constexpr uint64_t used_mask() {
    uint64_t m = 0;
    for (int id = 0; id < BOON_ROWS; id++)
        if (ROWS[id].name) m |= 1ull << id;
    return m;
}
static_assert(used_mask() == 0x620C408FFFull, "the boon rows in use");

// The first slot of a camp offers only the one-shot gifts and BLOOD PACT.
constexpr uint64_t FIRST_SLOT_EXCLUDED =
    (1ull << BOON_SECOND_WIND) | (1ull << BOON_IRON_SKIN) | (1ull << BOON_BLOODTHIRST) | (1ull << BOON_VETERAN) |
    (1ull << BOON_HUNTER) | (1ull << BOON_MERCHANT) | (1ull << BOON_ANTIVENOM) | (1ull << BOON_LAST_STAND) |
    (1ull << BOON_VAMPIRIC) | (1ull << BOON_KEEN_EDGE) | (1ull << BOON_SPINES) | (1ull << BOON_SIDESTEP);

constexpr const char* NUMERALS[BOON_LEVELS + 1] = {"", "", " II", " III", " IV", " V"};

int draw_from(const int* w, BoonRand rand) {
    int sum = 0;
    for (int id = 0; id < BOON_SLOTS; id++) sum += w[id];
    if (sum == 0) return BOON_NONE;
    const int r = (int)(rand() % (uint32_t)sum);
    int total = 0;
    for (int id = 0; id < BOON_SLOTS; id++) {
        total += w[id];
        if (total > r) return id;
    }
    return BOON_NONE;
}

}  // namespace

uint32_t boon_seed = 1;
int32_t boon_offers[3] = {BOON_NONE, BOON_NONE, BOON_NONE};

const BoonDef* boon_def(int id) { return boon_in_use(id) ? &ROWS[id] : nullptr; }

bool boon_in_use(int id) { return id >= 0 && id < BOON_ROWS && ROWS[id].name != nullptr; }

int boon_level(int id) { return id >= 0 && id < BOON_SLOTS ? player.boon_ranks[id] : 0; }

int boon_level_or_max(int id) {
    const BoonDef* b = boon_def(id);
    if (b && b->evolution) return BOON_LEVELS;
    const int level = boon_level(id);
    return level > 1 ? level : 1;
}

int boon_value(int id) {
    const BoonDef* b = boon_def(id);
    const int level = boon_level(id);
    if (!b || level <= 0) return 0;
    return b->values[(level > BOON_LEVELS ? BOON_LEVELS : level) - 1];
}

int boon_value2(int id) {
    const BoonDef* b = boon_def(id);
    const int level = boon_level(id);
    if (!b || level <= 0) return 0;
    return b->values2[(level > BOON_LEVELS ? BOON_LEVELS : level) - 1];
}

const char* boon_numeral(int level) { return level >= 2 && level <= BOON_LEVELS ? NUMERALS[level] : ""; }

int boon_label(int id, char* text, size_t size, const char** out_desc) {
    const BoonDef* b = boon_def(id);
    if (!b) {
        if (text && size) text[0] = '\0';
        if (out_desc) *out_desc = "";
        return 0;
    }
    const int current = boon_level(id);
    const bool multi = b->max_level > 1;
    int level = current + 1;
    if (level > b->max_level) level = b->max_level;
    if (level < 1) level = 1;
    if (text && size) std::snprintf(text, size, "%s%s", b->name, multi ? boon_numeral(level) : "");
    if (out_desc) *out_desc = level <= 1 ? b->desc : b->descs[level - 2];
    return level;
}

const char* boon_icon(int id) {
    if (id > 45) return "boon_burst";
    const BoonDef* b = boon_def(id);
    return b ? b->icon : nullptr;
}

int boon_weight(int id, bool first_slot) {
    const BoonDef* b = boon_def(id);
    if (!b || boon_locked(id)) return 0;
    if (id == BOON_SUPPLIES && drink_on_pickup) return 0;
    if (first_slot && (FIRST_SLOT_EXCLUDED >> id) & 1u) return 0;
    const int level = boon_level(id);
    if (b->evolution) {
        if (level > 0) return 0;
        for (int parent : {(int)b->parent1, (int)b->parent2}) {
            const BoonDef* p = boon_def(parent);
            if (!p || boon_level(parent) < p->max_level) return 0;
        }
        return 8;
    }
    if (b->one_shot) return 1;
    if (level >= b->max_level) return 0;
    return level > 0 ? 10 : 1;
}

int boon_pick_weighted(BoonRand rand, bool first_slot, const int32_t* offers, int slot) {
    int w[BOON_SLOTS];
    for (int id = 0; id < BOON_SLOTS; id++) w[id] = boon_weight(id, first_slot);
    if (offers) {
        if (slot >= 1 && offers[0] >= 0 && offers[0] < BOON_SLOTS) w[offers[0]] = 0;
        if (slot >= 2 && offers[1] >= 0 && offers[1] < BOON_SLOTS) w[offers[1]] = 0;
    }
    return draw_from(w, rand);
}

int boon_pick(BoonRand rand) { return boon_pick_weighted(rand, false, nullptr, 0); }

int boon_pick_vampiric(BoonRand rand) {
    const bool vampiric = !boon_locked(BOON_VAMPIRIC) && boon_level(BOON_VAMPIRIC) < 5;
    const bool thirst = !boon_locked(BOON_BLOODTHIRST) && boon_level(BOON_BLOODTHIRST) <= 4;
    if (vampiric && thirst) return rand() % 2 == 0 ? BOON_VAMPIRIC : BOON_BLOODTHIRST;
    if (vampiric) {
        rand();  // the draw is spent either way, so the stream stays in step
        return BOON_VAMPIRIC;
    }
    if (thirst) return BOON_BLOODTHIRST;
    return boon_pick_weighted(rand, false, nullptr, 0);
}

int boon_first_owned_below_max() {
    for (int id = 0; id < BOON_SLOTS; id++) {
        const BoonDef* b = boon_def(id);
        if (b && boon_level(id) > 0 && boon_level(id) < b->max_level) return id;
    }
    return BOON_NONE;
}

void boon_apply(int id) {
    const BoonDef* b = boon_def(id);
    if (!b) return;
    char message[TOAST_LINE_BYTES];
    std::snprintf(message, sizeof message, "%s!", b->name);
    const int before = player.boon_ranks[id];
    switch (id) {
        case BOON_VIGOR:
            player.max_hp = bound_hp(player.max_hp, 6);
            player_gain_hp(6);
            break;
        case BOON_MIGHT: player.attack = bound_attack(player.attack, 2); break;
        // Gold or keys past the bound are taken as far as they fit, and the message says so.
        case BOON_CACHE:
            if (!gold_take(&player.gold, CACHE_GOLD)) std::snprintf(message, sizeof message, "%s", PURSE_FULL_TEXT);
            break;
        case BOON_KEYRING:
            if (!keys_take(&player.keys, KEYRING_KEYS))
                std::snprintf(message, sizeof message, "%s", KEYRING_FULL_TEXT);
            break;
        case BOON_SECOND_WIND: player_gain_hp(player.max_hp); break;
        case BOON_SUPPLIES:
            if (!bag_add_new(ITEM_HEALING_POTION, SUPPLIES_POTIONS))
                player.gold = bag_full_pay(player.gold, SUPPLIES_GOLD, message, sizeof message);
            break;
        case BOON_BERSERK:
            player.attack = bound_attack(player.attack, 3);
            player.max_hp = (player.max_hp > 5 ? player.max_hp : 5) - 4;
            if (player.max_hp < 1) player.max_hp = 1;
            if (player.hp > player.max_hp) player.hp = player.max_hp;
            break;
        default: break;
    }
    if (before < b->max_level) player.boon_ranks[id] = (uint8_t)(before + 1);
    if (b->max_level > 1 && before > 0)
        std::snprintf(message, sizeof message, "%s%s!", b->name, boon_numeral(player.boon_ranks[id]));
    if (b->evolution) {
        std::snprintf(message, sizeof message, "%s EVOLVED!", b->name);
        platform_counter_bump(COUNTER_BOON_EVOLVED);
    }
    toast_show(message);
}

void boon_grant(int id) {
    if (id >= 0 && id < BOON_NONE) boon_apply(id);
}

uint32_t boon_rng_next() {
    uint32_t s = boon_seed;
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    boon_seed = s;
    return s;
}

void boon_rng_seed(uint32_t seed) { boon_seed = seed == 0 ? 1 : seed; }

void boon_offers_restore(const int32_t offers[3]) {
    for (int i = 0; i < 3; i++)
        boon_offers[i] = (offers[i] >= 0 && offers[i] < BOON_NONE) ? offers[i] : BOON_NONE;
}

void camp_redraw_boons() {
    boon_offers[0] = boon_pick_weighted(boon_rng_next, true, boon_offers, 0);
    boon_offers[1] = boon_pick_weighted(boon_rng_next, false, boon_offers, 1);
    boon_offers[2] = boon_pick_weighted(boon_rng_next, false, boon_offers, 2);
}

void camp_draw_boons() {
    boon_rng_seed(((uint32_t)current_floor * 0x9E3779B9u) ^ run_seed);
    camp_redraw_boons();
}

int camp_buy_boon(int slot) {
    if (slot < 0 || slot > 2 || boon_offers[slot] == BOON_NONE) return 2;
    const BoonDef* b = boon_def(boon_offers[slot]);
    if (!b) return 2;
    if (player.gold < b->price) return 1;
    player.gold -= b->price;
    boon_apply(boon_offers[slot]);
    return 0;
}
