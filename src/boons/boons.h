// The run's boons: perks the player gains from level-up cards and buys at camps. Each has a level
// 0..max in the player record; fights, loot and pickups read its strength through boon_value.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int BOON_VIGOR = 0;
constexpr int BOON_MIGHT = 1;
constexpr int BOON_CACHE = 2;
constexpr int BOON_SUPPLIES = 3;
constexpr int BOON_KEYRING = 4;
constexpr int BOON_BERSERK = 5;
constexpr int BOON_SECOND_WIND = 6;
constexpr int BOON_IRON_SKIN = 7;
constexpr int BOON_BLOODTHIRST = 8;
constexpr int BOON_VETERAN = 9;
constexpr int BOON_HUNTER = 10;
constexpr int BOON_MERCHANT = 11;
constexpr int BOON_ANTIVENOM = 15;
constexpr int BOON_CAMP_DISCOUNT = 19;  // read by the camp's prices; no row, so always 0
constexpr int BOON_LAST_STAND = 22;
constexpr int BOON_VAMPIRIC = 26;
constexpr int BOON_BLOOD_PACT = 27;
constexpr int BOON_KEEN_EDGE = 33;
constexpr int BOON_SPINES = 37;
constexpr int BOON_SIDESTEP = 38;

constexpr int BOON_ROWS = 39;   // table rows, ids 0..38
constexpr int BOON_NONE = 50;   // "no boon" in offers and picks
constexpr int BOON_LEVELS = 5;  // the most levels a boon has

struct BoonDef {
    const char* name = nullptr;             // null: the row is not in use
    const char* desc = "";                  // level 1's description
    int32_t price = 0;                      // camp gold
    uint8_t one_shot = 0;
    uint8_t max_level = 0;
    int16_t values[BOON_LEVELS] = {};       // strength at levels 1..5
    int16_t values2[BOON_LEVELS] = {};      // second strength, 0 in every row
    const char* descs[BOON_LEVELS - 1] = {};  // descriptions of levels 2..5
    uint8_t evolution = 0;
    uint8_t parent1 = 0, parent2 = 0;
    const char* icon = nullptr;             // the "boon_*" sprite drawn for it
};

// The row of id, or null for an id without a row in use.
const BoonDef* boon_def(int id);
bool boon_in_use(int id);
// Strength at the player's level of a used id they own, else 0 (any id, negative ones included).
int boon_value(int id);
int boon_value2(int id);
// The player's level of boon id (0 outside 0..49).
int boon_level(int id);
// The level as a strength for effects that grow with it: at least 1, and the top level for an
// evolution (which has a single level but stands above its parents).
int boon_level_or_max(int id);
// The name with the numeral of the level taking it would reach, and that level's description in
// *out_desc; returns that level. text may be null.
int boon_label(int id, char* text, size_t size, const char** out_desc);
// " II" .. " V" for levels 2..5, "" otherwise.
const char* boon_numeral(int level);
// The picture of boon id: one of the "boon_*" sprites; ids above 45 use "boon_burst".
const char* boon_icon(int id);

// Offer weights and the weighted draws. rand is the caller's stream.
using BoonRand = uint32_t (*)();
int boon_weight(int id, bool first_slot);
int boon_pick(BoonRand rand);
// Excludes offers[0] when slot >= 1 and offers[1] when slot >= 2; BOON_NONE when nothing weighs.
int boon_pick_weighted(BoonRand rand, bool first_slot, const int32_t* offers, int slot);
// The run's first level-up boon: VAMPIRIC or BLOODTHIRST while either can still rise.
int boon_pick_vampiric(BoonRand rand);
// The first owned boon below its top level, else BOON_NONE (the training's level-up boon).
int boon_first_owned_below_max();

// One level of a boon with its toast; boon_grant ignores BOON_NONE and ids above 49.
void boon_apply(int id);
void boon_grant(int id);

// The boon stream of the camp's offers, and the offers themselves.
extern uint32_t boon_seed;
extern int32_t boon_offers[3];
uint32_t boon_rng_next();
// Restores the saved stream and offers (a state of 0 becomes 1).
void boon_rng_seed(uint32_t seed);
void boon_offers_restore(const int32_t offers[3]);
void camp_draw_boons();
void camp_redraw_boons();
// 0 bought, 1 not enough gold, 2 no such offer.
int camp_buy_boon(int slot);
