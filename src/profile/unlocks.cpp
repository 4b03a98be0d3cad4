// What souls buy: the unlock table with its owned bits and lock queries, and the three soul
// upgrades. Read by class select, the boons, the gear rules, the settings and the unlocks list.
#include "profile/profile.h"
#include "profile/saturate.h"
#include "services/services.h"
#include "world/item_record.h"

// Class and boon ids stand as numbers: those modules ask these locks, so this one cannot include them.
// clang-format off
const UnlockRow UNLOCKS[UNLOCK_ROWS] = {
    /* 0 BRUTE        */ {.kind = UNLOCK_CLASS,   .id = 1,                 .cost = 60,  .free = 0},
    /* 1 Spear        */ {.kind = UNLOCK_ITEM,    .id = ITEM_SPEAR,        .cost = 70,  .free = 0},
    /* 2 Venom Dagger */ {.kind = UNLOCK_ITEM,    .id = ITEM_VENOM_DAGGER, .cost = 80,  .free = 0},
    /* 3 Tower Shield */ {.kind = UNLOCK_ITEM,    .id = ITEM_TOWER_SHIELD, .cost = 80,  .free = 0},
    /* 4 Battle Axe   */ {.kind = UNLOCK_ITEM,    .id = ITEM_BATTLE_AXE,   .cost = 110, .free = 0},
    /* 5 VETERAN      */ {.kind = UNLOCK_BOON,    .id = 9,                 .cost = 55,  .free = 0},
    /* 6 LAST STAND   */ {.kind = UNLOCK_BOON,    .id = 22,                .cost = 80,  .free = 0},
    /* 7 BEIGE        */ {.kind = UNLOCK_CASE,    .id = 9,                 .cost = 0,   .free = 1},
    /* 8 SOLID BLUE   */ {.kind = UNLOCK_CASE,    .id = 12,                .cost = 75,  .free = 0},
    /* 9 SOLID GREEN  */ {.kind = UNLOCK_CASE,    .id = 13,                .cost = 75,  .free = 0},
    /* 10 BLACK       */ {.kind = UNLOCK_CASE,    .id = 10,                .cost = 75,  .free = 0},
    /* 11 SLATE       */ {.kind = UNLOCK_PALETTE, .id = 0,                 .cost = 0,   .free = 1},
    /* 12 GB GREEN    */ {.kind = UNLOCK_PALETTE, .id = 1,                 .cost = 55,  .free = 0},
    /* 13 AMBER       */ {.kind = UNLOCK_PALETTE, .id = 2,                 .cost = 55,  .free = 0},
    /* 14 hand-drawn  */ {.kind = UNLOCK_ART,     .id = 0,                 .cost = 0,   .free = 1},
};

const SoulUpgrade SOUL_UPGRADES[UPGRADE_COUNT] = {
    /* VITALITY */ {.name = "VITALITY", .desc = "+2 MAX HP A RANK",      .ranks = 3, .costs = {8, 20, 40}},
    /* EMBERS   */ {.name = "EMBERS",   .desc = "REST KEEPS HALF FLOW",  .ranks = 1, .costs = {60, 0, 0}},
    /* FORAGER  */ {.name = "FORAGER",  .desc = "POTIONS HEAL 25% MORE", .ranks = 2, .costs = {25, 70, 0}},
};
// clang-format on

int32_t run_heat = 0;

namespace {

// Soul upgrades count for nothing in runs hotter than this.
constexpr int UPGRADE_HEAT_LIMIT = 2;

bool row_valid(int row) { return row >= 0 && row < UNLOCK_ROWS; }
bool upgrade_valid(int u) { return u >= 0 && u < UPGRADE_COUNT; }

// The row of kind and id, or -1 when no row sells it.
int unlock_row_of(int kind, int id) {
    for (int r = 0; r < UNLOCK_ROWS; r++)
        if (UNLOCKS[r].kind == kind && UNLOCKS[r].id == id) return r;
    return -1;
}

// Locked unless a row sells it and that row is owned; ids without a row count as `unsold`.
bool locked_by_row(int kind, int id, bool unsold) {
    const int r = unlock_row_of(kind, id);
    return r < 0 ? unsold : !unlock_owned(r);
}

}  // namespace

int unlock_bit(int row) {
    if (!row_valid(row) || UNLOCKS[row].free) return -1;
    int bit = 0;
    for (int r = 0; r < row; r++)
        if (!UNLOCKS[r].free) bit++;
    return bit;
}

bool unlock_owned(int row) {
    if (!row_valid(row)) return false;
    if (UNLOCKS[row].free) return true;
    const int bit = unlock_bit(row);
    return (profile.unlocks[bit / 32] >> (bit % 32) & 1u) != 0;
}

void unlock_set(int row) {
    const int bit = unlock_bit(row);
    if (bit < 0) return;
    profile.unlocks[bit / 32] |= 1u << (bit % 32);
    profile_save();
}

int unlock_buy(int row) {
    const int bit = unlock_bit(row);
    if (bit < 0 || unlock_owned(row)) return 0;
    const int price = UNLOCKS[row].cost;
    if (profile.souls < price) return -1;
    profile.souls -= price;
    count_add(profile.souls_spent, price);
    profile.unlocks[bit / 32] |= 1u << (bit % 32);
    // A bought class dates from the run to come.
    if (UNLOCKS[row].kind == UNLOCK_CLASS && UNLOCKS[row].id < PROFILE_CLASS_SLOTS) {
        ProfileClass& c = profile.classes[UNLOCKS[row].id];
        if (c.first_run == 0) c.first_run = profile.runs == INT32_MAX ? INT32_MAX : profile.runs + 1;
    }
    profile_save();
    platform_unlocks_changed();
    return 1;
}

void profile_unlock_all() {
    profile.flags |= PROFILE_FLAG_UNLOCK_ALL;
    for (int r = 0; r < UNLOCK_ROWS; r++) {
        const int bit = unlock_bit(r);
        if (bit >= 0) profile.unlocks[bit / 32] |= 1u << (bit % 32);
    }
    for (int t = 1; t < PROFILE_KIND_SLOTS; t++) profile.met |= 1u << t;
    profile_save();
}

// Classes and items without a row are always open; cosmetics without a row never are.
bool class_locked(int c) { return locked_by_row(UNLOCK_CLASS, c, false); }
bool item_locked(int id) { return locked_by_row(UNLOCK_ITEM, id, false); }
bool boon_locked(int id) { return locked_by_row(UNLOCK_BOON, id, false); }
bool case_color_locked(int colour) { return locked_by_row(UNLOCK_CASE, colour, true); }
bool palette_locked(int palette) { return locked_by_row(UNLOCK_PALETTE, palette, true); }
bool monster_art_locked(int art) { return locked_by_row(UNLOCK_ART, art, true); }

int item_unlock_cost(int id) {
    const int r = unlock_row_of(UNLOCK_ITEM, id);
    return r < 0 ? 0 : UNLOCKS[r].cost;
}

int case_color_unlock_cost(int colour) {
    const int r = unlock_row_of(UNLOCK_CASE, colour);
    return r < 0 ? 0 : UNLOCKS[r].cost;
}

void unlock_case_colors(int32_t out[UNLOCK_CASE_ROWS]) {
    for (int i = 0; i < UNLOCK_CASE_ROWS; i++) out[i] = UNLOCKS[UNLOCK_FIRST_CASE_ROW + i].id;
}

const char* case_color_unlock_name(int colour) {
    return unlock_row_of(UNLOCK_CASE, colour) < 0 ? "" : platform_case_color_name(colour);
}

int upgrade_rank(int u) { return upgrade_valid(u) ? profile.upgrade_ranks[u] : 0; }
int upgrade_max_rank(int u) { return upgrade_valid(u) ? SOUL_UPGRADES[u].ranks : 0; }

int upgrade_next_cost(int u) {
    if (!upgrade_valid(u)) return 0;
    const int rank = profile.upgrade_ranks[u];
    return rank < SOUL_UPGRADES[u].ranks ? SOUL_UPGRADES[u].costs[rank] : 0;
}

bool upgrade_enabled(int u) { return upgrade_valid(u) && (profile.upgrade_off_mask >> u & 1u) == 0; }

int upgrade_active_rank(int u) {
    if (!upgrade_enabled(u) || run_heat > UPGRADE_HEAT_LIMIT) return 0;
    return profile.upgrade_ranks[u];
}

const char* upgrade_name(int u) { return upgrade_valid(u) ? SOUL_UPGRADES[u].name : ""; }
const char* upgrade_desc(int u) { return upgrade_valid(u) ? SOUL_UPGRADES[u].desc : ""; }

int upgrade_buy(int u) {
    const int cost = upgrade_next_cost(u);
    if (cost <= 0) return 0;
    if (profile.souls < cost) return -1;
    profile.souls -= cost;
    count_add(profile.souls_spent, cost);
    profile.upgrade_ranks[u]++;
    profile_save();
    platform_unlocks_changed();
    return 1;
}

bool upgrade_toggle(int u) {
    if (upgrade_rank(u) == 0) return false;
    profile.upgrade_off_mask ^= 1u << u;
    profile_save();
    return true;
}

bool heat_select_available() { return false; }
const char* heat_label() { return ""; }
