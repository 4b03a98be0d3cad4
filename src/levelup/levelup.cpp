// Experience, levels and the level-up screen's cards and input. Fights add experience; the state
// machine opens the screen from exploration and hands it the screen's input.
#include "levelup/levelup.h"

#include <cstdio>

#include "boons/boons.h"
#include "dungeon/floor.h"
#include "items/bag.h"
#include "items/item.h"
#include "items/potion.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "telemetry/check.h"
#include "telemetry/run_record.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

const LevelupPick LEVELUP_PICKS[LEVELUP_PICK_COUNT] = {
    {.name = "TOUGHNESS", .desc = "+4 MAX HP"},  // PICK_TOUGHNESS
    {.name = "STRENGTH", .desc = "+1 ATK"},  // PICK_STRENGTH
    {.name = "CATCH BREATH", .desc = "HEAL HALF YOUR HP"},  // PICK_CATCH_BREATH
    {.name = "FLASK", .desc = "+1 HEALING POTION"},  // PICK_FLASK
    {.name = "PURSE", .desc = "+20 GOLD"},  // PICK_PURSE
    {.name = "SPARE KEY", .desc = "+1 KEY"},  // PICK_SPARE_KEY
    {.name = "REPAIR", .desc = "ALL GEAR AS NEW"},  // PICK_REPAIR
    {.name = "BOON", .desc = "A FREE BOON"},  // PICK_BOON
};

Levelup levelup = {0, {0, 1, 2}, BOON_NONE, 0, 1};

namespace {

// The first boon card comes with the first level-up; later ones at these odds in 100.
constexpr uint32_t BOON_CARD_PERCENT = 60;
// The cards are drawn from the first seven picks; the BOON card only ever replaces the first.
constexpr uint32_t DRAWN_PICKS = 7;

void take_pick(int id) {
    char message[TOAST_LINE_BYTES];
    std::snprintf(message, sizeof message, "%s!", levelup_pick_name(id));
    bool toast = true;
    switch (id) {
        case PICK_TOUGHNESS:
            player.max_hp = bound_hp(player.max_hp, 4);
            player_gain_hp(4);
            break;
        case PICK_STRENGTH: player.attack = bound_attack(player.attack, 1); break;
        case PICK_CATCH_BREATH: player_gain_hp(player.max_hp / 2); break;
        case PICK_FLASK:
            if (!bag_add_new(ITEM_HEALING_POTION, 1))
                player.gold = bag_full_pay(player.gold, LEVELUP_FLASK_GOLD, message, sizeof message);
            break;
        case PICK_PURSE:
            if (!gold_take(&player.gold, LEVELUP_PURSE_GOLD))
                std::snprintf(message, sizeof message, "%s", PURSE_FULL_TEXT);
            break;
        case PICK_SPARE_KEY:
            if (!keys_take(&player.keys, 1)) std::snprintf(message, sizeof message, "%s", KEYRING_FULL_TEXT);
            break;
        case PICK_REPAIR:
            player.main_hand.wear = 0;
            player.off_hand.wear = 0;
            for (int i = 0; i < player.bag.count && i < BAG_MAX_ITEMS; i++)
                if (item_is_wearable(player.bag.entries[i].item)) player.bag.entries[i].item.wear = 0;
            std::snprintf(message, sizeof message, "ALL GEAR REPAIRED!");
            break;
        case PICK_BOON:
            toast = false;  // the boon shows its own
            boon_grant(levelup.boon_offer);
            break;
        default: break;
    }
    if (toast) toast_show(message);
}

// The card's name as the floor record keeps it: a boon card by its boon.
const char* card_name(int id) {
    if (id == PICK_BOON) {
        const BoonDef* b = boon_def(levelup.boon_offer);
        if (b) return b->name;
    }
    return levelup_pick_name(id);
}

}  // namespace

int xp_to_next(int level) { return 5 * level + 5; }

int gain_xp(int amount) {
    SOFT_CHECK_AS(amount >= 0, "amount >= 0", "src/levelup", "gain_xp %d", amount);
    player.xp += amount;
    int gained = 0;
    while (player.xp >= xp_to_next(player.level)) {
        player.xp -= xp_to_next(player.level);
        player.level++;
        player.hp = bound_hp(player.hp, 3);
        player.max_hp = bound_hp(player.max_hp, 3);
        player.attack = bound_attack(player.attack, 1);
        levelup.pending++;
        gained++;
    }
    return gained;
}

uint32_t levelup_rand() {
    uint32_t s = levelup.rng == 0 ? 1 : levelup.rng;
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    levelup.rng = s;
    return s;
}

void levelup_draw(LevelupMode mode) {
    levelup.rng = ((uint32_t)player.level * 0x85EBCA6Bu) ^ run_seed ^ ((uint32_t)levelup.pending * 0xC2B2AE35u);
    int chosen = 0;
    while (chosen < 3) {
        const int id = (int)(levelup_rand() % DRAWN_PICKS);
        bool refused = id == PICK_FLASK && drink_on_pickup;
        for (int i = 0; i < chosen; i++) refused = refused || levelup.picks[i] == id;
        if (!refused) levelup.picks[chosen++] = id;
    }
    levelup.boon_offer = BOON_NONE;
    if (player.level - levelup.pending == 1) {
        // The run's first level-up is among those owed.
        if (mode.training) {
            levelup.boon_offer = BOON_BLOODTHIRST;
            levelup.picks[0] = PICK_BOON;
            levelup.cursor = 0;
            return;
        }
        levelup.boon_offer = boon_pick_vampiric(levelup_rand);
    } else if (mode.training) {
        levelup.boon_offer = boon_first_owned_below_max();
    } else if (levelup_rand() % 100u < BOON_CARD_PERCENT) {
        levelup.boon_offer = boon_pick(levelup_rand);
    }
    if (levelup.boon_offer != BOON_NONE) levelup.picks[0] = PICK_BOON;
    levelup.cursor = 0;
}

bool levelup_open(LevelupMode mode) {
    if (levelup.pending <= 0 || game_state != STATE_DUNGEON) return false;
    levelup_draw(mode);
    game_state = STATE_LEVELUP;
    return true;
}

bool levelup_pick_forced(LevelupMode mode) {
    return mode.training && levelup.picks[0] == PICK_BOON && levelup.boon_offer != BOON_NONE;
}

void update_levelup(uint8_t presses, LevelupMode mode) {
    if (presses & (BTN_UP | BTN_DOWN)) {
        const int32_t before = levelup.cursor;
        if (presses & BTN_UP) levelup.cursor = (levelup.cursor + 2) % 3;
        if (presses & BTN_DOWN) levelup.cursor = (levelup.cursor + 1) % 3;
        if (levelup_pick_forced(mode)) {
            if (levelup.cursor != before) play_sfx(SFX_DENY);
            levelup.cursor = before;
        } else if (levelup.cursor != before) {
            play_sfx(SFX_MOVE);
        }
    }
    if (!(presses & BTN_A)) return;
    // Nothing owed: nothing to take, back to the dungeon.
    if (!SOFT_CHECK_AS(levelup.pending > 0, "levelup.pending > 0", "src/levelup", "a pick taken with none owed")) {
        levelup.pending = 0;
        game_state = STATE_DUNGEON;
        return;
    }
    if (!SOFT_CHECK_AS(levelup.cursor >= 0 && levelup.cursor < 3, "levelup.cursor >= 0 && levelup.cursor < 3",
                       "src/levelup", "cursor %d", (int)levelup.cursor))
        levelup.cursor = levelup.cursor < 0 ? 0 : 2;
    const int id = levelup.picks[levelup.cursor];
    const char* names[3] = {card_name(levelup.picks[0]), card_name(levelup.picks[1]), card_name(levelup.picks[2])};
    run_record_pick("level", names, levelup.cursor);
    take_pick(id);
    play_sfx(SFX_REWARD);
    levelup.pending--;
    if (levelup.pending > 0)
        levelup_draw(mode);
    else
        game_state = STATE_DUNGEON;
}

const char* levelup_pick_name(int id) { return id >= 0 && id < LEVELUP_PICK_COUNT ? LEVELUP_PICKS[id].name : ""; }

const char* levelup_pick_desc(int id) { return id >= 0 && id < LEVELUP_PICK_COUNT ? LEVELUP_PICKS[id].desc : ""; }

void levelup_clear() {
    levelup = Levelup{0, {0, 1, 2}, BOON_NONE, 0, 1};
}
