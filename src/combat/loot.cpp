// Loot: what a slain monster leaves on its cell, drawn from the loot stream, and the line the victory
// toast shows. Called by the fight's victory; gold piles in exploration read gold_pickup_amount.
#include "combat/loot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "boons/boons.h"
#include "classes/gear_rules.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/enchant.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "items/item_random.h"
#include "sound/audio.h"
#include "world/glyphs.h"
#include "world/player.h"

uint32_t loot_rng_state = LOOT_RNG_START;

namespace {

constexpr int LONG_NAME = 15;  // names this long are shortened in the toast

// One labelled row per monster type: the drop chance and the {glyph, cumulative percent} pairs.
struct LootPair {
    char glyph;
    int32_t upto;
};
struct LootTable {
    int32_t chance;
    LootPair pairs[5];
    int32_t count;
};

const LootTable LOOT_TABLES[M_COUNT] = {
    {.chance = 0, .pairs = {}, .count = 0},  // none
    {.chance = 60, .pairs = {{'g', 53}, {'p', 83}, {'k', 88}, {'w', 100}}, .count = 4},  // goblin
    {.chance = 45, .pairs = {{'g', 65}, {'p', 90}, {'a', 100}}, .count = 3},  // rat
    {.chance = 75, .pairs = {{'g', 38}, {'p', 60}, {'k', 65}, {'s', 82}, {'w', 100}}, .count = 5},  // skeleton
    {.chance = 100, .pairs = {}, .count = 0},  // dragon: always a gear piece
    {.chance = 35, .pairs = {{'g', 70}, {'p', 100}}, .count = 2},  // bat
    {.chance = 55, .pairs = {{'g', 45}, {'p', 75}, {'a', 100}}, .count = 3},  // slime
    {.chance = 75, .pairs = {{'g', 35}, {'p', 55}, {'k', 62}, {'s', 80}, {'w', 100}}, .count = 5},  // orc
    {.chance = 100, .pairs = {}, .count = 0},  // mimic: the item it guarded
};

// "Fine Long Sword" when it fits, else "Fine LongSwd"; a plain item has no quality word to lead.
void gear_words(const Item& item, char* out, size_t size) {
    char full[48];
    item_name(item, full, sizeof full);
    if ((int)std::strlen(full) < LONG_NAME) {
        std::snprintf(out, size, "%s", full);
        return;
    }
    const char* word = item_quality_word(item);
    if (word)
        std::snprintf(out, size, "%s %s", word, item_def(item.id).short_name);
    else
        std::snprintf(out, size, "%s", item_def(item.id).short_name);
}

// Lays a made item at the cell; false (cell left bare) when the floor list is full.
bool lay_item(int x, int y, const Item& item, int source) {
    if (!floor_item_add(x, y, item, source)) {
        gmap[y][x] = GLYPH_FLOOR;
        return false;
    }
    gmap[y][x] = item_glyph(item.id);
    return true;
}

}  // namespace

int loot_rand(int n) {
    loot_rng_state = loot_rng_state * 1103515245u + 12345u;
    if (n <= 0) return 1;
    return (int)((loot_rng_state >> 16) & 0x7FFFu) % n + 1;
}

int gold_pickup_amount() { return 10 + boon_value(BOON_MERCHANT); }

void loot_drop(int type, int x, int y, int bonus, bool elite, char* line, size_t size) {
    if (line && size > 0) line[0] = '\0';
    if (x < 0 || x >= MAP_W || y < 0 || y >= MAP_H) return;
    if (training_active() || type <= M_NONE || type >= M_COUNT) {
        gmap[y][x] = GLYPH_FLOOR;
        return;
    }
    const LootTable& t = LOOT_TABLES[type];
    int chance = elite ? 100 : std::min(t.chance + boon_value(BOON_HUNTER) + bonus, 100);
    if (loot_rand(100) > chance) {
        gmap[y][x] = GLYPH_FLOOR;
        return;
    }
    GearRules g = gear_rules_now();
    char words[40];
    if (type == M_DRAGON) {
        Item item = item_make_gear(current_floor, loot_rand, g);
        if (!lay_item(x, y, item, FLOOR_SRC_DRAGON)) return;
        const char* ench = enchant_def(item.enchant).name;
        if (ench[0])
            std::snprintf(line, size, "DROPPED: %s %s", ench, item_def(item.id).short_name);
        else
            std::snprintf(line, size, "DROPPED: %s", item_def(item.id).short_name);
        return;
    }
    if (type == M_MIMIC) {
        int found = floor_item_find(x, y);
        Item item;
        if (found >= 0) {
            item = floor_items.entries[found].item;
            gmap[y][x] = item_glyph(item.id);
        } else {
            item = item_make_gear(current_floor, loot_rand, g);
            if (!lay_item(x, y, item, FLOOR_SRC_MIMIC)) return;
        }
        char full[48];
        item_name(item, full, sizeof full);
        if ((int)std::strlen(full) >= LONG_NAME)
            std::snprintf(line, size, "DROPPED: Rare %s", item_def(item.id).short_name);
        else
            std::snprintf(line, size, "DROPPED: %s", full);
        return;
    }
    int r = loot_rand(100);
    char glyph = GLYPH_FLOOR;
    for (int i = 0; i < t.count; i++)
        if (t.pairs[i].upto >= r) {
            glyph = t.pairs[i].glyph;
            break;
        }
    switch (glyph) {
    // What the keyring or the purse cannot take whole is taken as far as it fits and told so.
    case GLYPH_KEY: {
        const bool fits = keys_take(&player.keys, 1);
        play_sfx(SFX_PICKUP);
        gmap[y][x] = GLYPH_FLOOR;
        if (fits) std::snprintf(line, size, "GOT A KEY! (x%d)", player.keys);
        else std::snprintf(line, size, "%s", KEYRING_FULL_TEXT);
        break;
    }
    case GLYPH_GOLD: {
        int n = gold_pickup_amount();
        const bool fits = gold_take(&player.gold, n);
        play_sfx(SFX_COIN);
        gmap[y][x] = GLYPH_FLOOR;
        if (fits) std::snprintf(line, size, "+%d GOLD", n);
        else std::snprintf(line, size, "%s", PURSE_FULL_TEXT);
        break;
    }
    case GLYPH_POTION: {
        Item item = item_make_random(GLYPH_POTION, current_floor, loot_rand, g);
        if (item.id == ITEM_HEALING_POTION) {
            gmap[y][x] = GLYPH_POTION;
        } else if (!lay_item(x, y, item, FLOOR_SRC_MONSTER)) {
            break;
        }
        std::snprintf(line, size, "DROPPED: %s", item_def(item.id).short_name);
        break;
    }
    case GLYPH_SHIELD:
    case GLYPH_WEAPON: {
        Item item = item_make_drop(current_floor, loot_rand, g);
        if (!lay_item(x, y, item, FLOOR_SRC_MONSTER)) break;
        gear_words(item, words, sizeof words);
        std::snprintf(line, size, "DROPPED: %s", words);
        break;
    }
    case GLYPH_ANTIDOTE:
        gmap[y][x] = GLYPH_ANTIDOTE;
        std::snprintf(line, size, "DROPPED: ANTIDOTE");
        break;
    default: gmap[y][x] = GLYPH_FLOOR; break;
    }
}
