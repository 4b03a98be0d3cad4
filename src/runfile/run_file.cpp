// run.sav: the whole run written field by field, little-endian, at fixed offsets; read back with
// every value that indexes, bounds or divides checked before any of it reaches the game. Called by
// the state machine (autosaves, SAVE & QUIT, CONTINUE, exit) and by start-up.
//
// | offset | bytes | field                                              |
// |--------|-------|----------------------------------------------------|
// | 0      | 4     | magic "QMSD"                                       |
// | 4      | 4     | version, 21                                        |
// | 8      | 4     | current_floor, 0..19                               |
// | 12     | 4     | run_seed                                           |
// | 16     | 1108  | the player image (offsets and bounds below)        |
// | 1124   | 192   | gmap, 12 rows of 16 glyphs                         |
// | 1316   | 640   | floor items: 32 x {x i32, y i32, item 12}          |
// | 1956   | 4     | floor item count, 0..32                            |
// | 1960   | 4     | camp block present, 0/1                            |
// | 1964   | 344   | camp record (offsets below)                        |
// | 2308   | 12    | boon offers, 3 x i32, 0..50                        |
// | 2320   | 4     | boon stream state                                  |
// | 2324   | 1440  | monsters: 24 x 60 bytes (offsets below)            |
// | 3764   | 4     | monster count, 0..24                               |
// | 3768   | 4     | monster_seed                                       |
// | 3772   | 192   | explored map                                       |
// | 3964   | 8     | training block (combat/training_save.h)            |
// | 3972   | 4     | fight block present, 0/1                           |
// | 3976   | 228   | fight record (combat_save_write)                   |
// | 4204   | 4     | levelup.pending, 0..RUN_PENDING_MAX                |
// | 4208   | 4     | run threat, ..RUN_THREAT_MAX (below 0 read as 0)   |
// | 4212   | 4     | flow, 0..1000                                      |
// | 4216   | 4     | combo, ..RUN_COMBO_MAX (below 0 read as 0)         |
// | 4220   | 4     | cheats used, 0/1                                   |
// | 4224   | 4     | run heat, 0..5                                     |
// | 4228   | 4     | item luck, 0..80                                   |
#include "runfile/run_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "combat/training_save.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monster_moves.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "world/bag_view.h"
#include "world/run_bounds.h"
#include "world/game_state.h"
#include "world/player.h"

RunSummary run_summary = {};
uint32_t run_saves_made = 0;
uint8_t resume_in_camp = 0;
uint8_t resume_in_fight = 0;

namespace {

const char RUN_MAGIC[4] = {'Q', 'M', 'S', 'D'};
const char* const RUN_FILE_NAME = "run.sav";
constexpr int SLOT_FILES = 3;

// File offsets.
enum RunOffset : int {
    RUN_MAGIC_AT = 0, RUN_VERSION = 4, RUN_FLOOR = 8, RUN_SEED = 12, RUN_PLAYER = 16, RUN_MAP = 1124,
    RUN_FLOOR_ITEMS = 1316, RUN_FLOOR_ITEM_COUNT = 1956, RUN_CAMP_FLAG = 1960, RUN_CAMP = 1964,
    RUN_BOON_OFFERS = 2308, RUN_BOON_RNG = 2320, RUN_MONSTERS = 2324, RUN_MONSTER_COUNT = 3764,
    RUN_MONSTER_SEED = 3768, RUN_EXPLORED = 3772, RUN_TRAINING = 3964, RUN_FIGHT_FLAG = 3972, RUN_FIGHT = 3976,
    RUN_LEVELUP_PENDING = 4204, RUN_THREAT = 4208, RUN_FLOW = 4212, RUN_COMBO = 4216, RUN_CHEATS = 4220,
    RUN_HEAT = 4224, RUN_ITEM_LUCK = 4228,
};
constexpr int FLOOR_ITEM_BYTES = 20;
constexpr int MONSTER_BYTES = 60;
constexpr int PLAYER_BYTES = 1108;
constexpr int CAMP_BYTES = 344;
static_assert(RUN_MAP - RUN_PLAYER == PLAYER_BYTES);
static_assert(RUN_FLOOR_ITEM_COUNT - RUN_FLOOR_ITEMS == FLOOR_ITEMS_MAX * FLOOR_ITEM_BYTES);
static_assert(RUN_BOON_OFFERS - RUN_CAMP == CAMP_BYTES);
static_assert(RUN_MONSTER_COUNT - RUN_MONSTERS == MAX_MONSTERS * MONSTER_BYTES);
static_assert(RUN_FIGHT_FLAG - RUN_TRAINING == TRAINING_SAVED_BYTES);
static_assert(RUN_LEVELUP_PENDING - RUN_FIGHT == COMBAT_SAVED_BYTES);
static_assert(RUN_ITEM_LUCK + 4 == RUN_FILE_BYTES);

// The 12-byte item.
enum ItemOffset : int {
    ITEM_AT_ID = 0, ITEM_AT_QUALITY = 4, ITEM_AT_ENCHANT = 5, ITEM_AT_UPGRADE = 6, ITEM_AT_REROLLS = 7,
    ITEM_AT_WEAR = 8, ITEM_AT_JUNK = 9, ITEM_AT_DEPTH_BONUS = 10, ITEM_BYTES = 12,
};

// The player image, offsets inside it.
enum PlayerOffset : int {
    PL_X = 0, PL_Y = 4, PL_FACING = 8, PL_HP = 12, PL_MAX_HP = 16, PL_ATTACK = 20, PL_LEVEL = 24, PL_XP = 28,
    PL_KEYS = 32, PL_GOLD = 36, PL_KILLS = 40, PL_MAIN_HAND = 44, PL_OFF_HAND = 56, PL_BOON_RANKS = 68,
    PL_LAST_STAND = 132, PL_FLOOR_MARK = 133, PL_FLOOR_KILLS = 134, PL_BOON_REDRAWS = 136, PL_CLASS = 138,
    PL_BAG = 140, PL_BAG_COUNT = 980, PL_BAG_CELLS = 984, PL_STATUS = 1104,
};
// A bag entry, offsets inside it.
enum BagOffset : int { BAG_AT_ITEM = 0, BAG_AT_COUNT = 12, BAG_AT_COL = 16, BAG_AT_ROW = 20, BAG_AT_ROTATED = 24 };
constexpr int BAG_ENTRY_BYTES = 28;
static_assert(PL_BAG_COUNT - PL_BAG == BAG_MAX_ITEMS * BAG_ENTRY_BYTES);
static_assert(PL_STATUS - PL_BAG_CELLS == BAG_ROWS * BAG_COLS * 4);

// A monster, offsets inside it.
enum MonsterOffset : int {
    MON_X = 0, MON_Y = 4, MON_TYPE = 8, MON_ELITE = 12, MON_DIR = 16, MON_CARRIED_HP = 20, MON_HOME_X = 24,
    MON_HOME_Y = 28, MON_ORC_VERTICAL = 32, MON_KIND_STATE = 36, MON_RESERVED = 40, MON_MOVE_COOLDOWN = 44,
    MON_TURN = 48, MON_DRAW_X = 52, MON_DRAW_Y = 56,
};

// The camp record, offsets inside it.
enum CampOffset : int {
    CAMP_AT_PAGE = 0, CAMP_AT_CURSOR = 4, CAMP_AT_RESTED = 8, CAMP_AT_BUY_BACK_COUNT = 9, CAMP_AT_FORGE_SLOT = 10,
    CAMP_AT_HUB_TILE = 11, CAMP_AT_RETURN_TO_BOONS = 12, CAMP_AT_BOON_ROW = 13, CAMP_AT_BOON_TAKEN = 14,
    CAMP_AT_KEY_SOLD = 15, CAMP_AT_SALE_SOLD = 16, CAMP_AT_SEED = 20, CAMP_AT_BUY_BACK = 24,
};
enum BuyBackOffset : int { BUY_AT_ITEM = 0, BUY_AT_COUNT = 12, BUY_AT_PRICE = 16 };
constexpr int BUY_BACK_BYTES = 20;
static_assert(CAMP_AT_BUY_BACK + CAMP_BUY_BACK_MAX * BUY_BACK_BYTES == CAMP_BYTES);

// The fight record's fields the run file itself checks or repairs (the duel's reader checks the
// rest): offsets inside the fight block.
enum FightOffset : int {
    FIGHT_AT_TYPE = 0, FIGHT_AT_MAX_HP = 8, FIGHT_AT_TURN = 12, FIGHT_AT_MONSTER_X = 52, FIGHT_AT_MONSTER_Y = 56, FIGHT_AT_QUEUE = 60, FIGHT_AT_QUEUED = 64,
    FIGHT_AT_GOLD_STOLEN = 68, FIGHT_AT_BUFF = 72, FIGHT_AT_LOG = 84,
};
constexpr int32_t FIGHT_BUFF_MAX = 2;

// Ranges of the values that index, bound or divide.
constexpr int32_t FACINGS = 4;
constexpr int32_t LEVEL_MAX = 10000;  // far above any run; keeps the experience sums finite
constexpr int32_t MONSTER_TURN_MAX = 1000000000;  // the slow movers' counter only ever counts up
constexpr int32_t CAMP_FORGE_SLOT_MIN = CAMP_SLOT_OFF;
constexpr int32_t CAMP_HUB_TILES = 4;
constexpr int32_t CAMP_BOON_ROWS = 3;
constexpr int32_t FLOW_MAX = 1000;
constexpr int32_t ITEM_LUCK_MAX = 80;
constexpr int32_t RUN_HEAT_MAX = PROFILE_HEATS - 1;

// The bounds of the numbers play raises are in world/run_bounds.h; a file beyond one of them was not
// written by the game and is refused.
constexpr int32_t RUN_PENDING_MAX = LEVEL_MAX;  // level-up picks owed
constexpr int32_t RUN_FIGHT_TURN_MAX = MONSTER_TURN_MAX;

// The states that write an optional block; any other (a pause or bag over them) uses the state
// underneath. Bits of STATE_DUNGEON, STATE_COMBAT, STATE_CAMP and STATE_LEVELUP.
constexpr uint32_t RUN_SAVE_STATE_MASK = 0x204C;

struct VersionLength {
    int32_t version;
    int length;
};
// Each version adds its fields at the end of the one before.
const VersionLength VERSION_LENGTHS[] = {
    {.version = 14, .length = 3772},  // everything up to the monster seed
    {.version = 15, .length = 3964},  // explored map
    {.version = 16, .length = 3972},  // training block
    {.version = 17, .length = 4208},  // fight block and levelup.pending
    {.version = 18, .length = 4220},  // run threat, flow, combo
    {.version = 19, .length = 4224},  // cheats used
    {.version = 20, .length = 4228},  // run heat
    {.version = 21, .length = 4232},  // item luck
};

bool in_range(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }
bool in_map(int32_t x, int32_t y) { return in_range(x, 0, MAP_W - 1) && in_range(y, 0, MAP_H - 1); }

void run_path(char* out, size_t cap) { save_path_into(out, cap, RUN_FILE_NAME); }

// ---- writing ----

void put_item(uint8_t* p, int off, const Item& it) {
    bytes_put_u32(p, off + ITEM_AT_ID, it.id);
    p[off + ITEM_AT_QUALITY] = it.quality;
    p[off + ITEM_AT_ENCHANT] = (uint8_t)it.enchant;
    p[off + ITEM_AT_UPGRADE] = it.upgrade;
    p[off + ITEM_AT_REROLLS] = it.rerolls;
    p[off + ITEM_AT_WEAR] = it.wear;
    p[off + ITEM_AT_JUNK] = it.junk;
    p[off + ITEM_AT_DEPTH_BONUS] = it.depth_bonus;
}

Item get_item(const uint8_t* p, int off) {
    Item it{};
    it.id = bytes_get_u32(p, off + ITEM_AT_ID);
    it.quality = p[off + ITEM_AT_QUALITY];
    it.enchant = (int8_t)p[off + ITEM_AT_ENCHANT];
    it.upgrade = p[off + ITEM_AT_UPGRADE];
    it.rerolls = p[off + ITEM_AT_REROLLS];
    it.wear = p[off + ITEM_AT_WEAR];
    it.junk = p[off + ITEM_AT_JUNK];
    it.depth_bonus = p[off + ITEM_AT_DEPTH_BONUS];
    return it;
}

void put_player(uint8_t* p) {
    const Player& pl = player;
    const int32_t words[] = {pl.x, pl.y, pl.facing, pl.hp, pl.max_hp, pl.attack, pl.level, pl.xp, pl.keys, pl.gold, pl.kills};
    for (int i = 0; i < (int)(sizeof words / sizeof words[0]); i++) bytes_put_i32(p, PL_X + 4 * i, words[i]);
    put_item(p, PL_MAIN_HAND, pl.main_hand);
    put_item(p, PL_OFF_HAND, pl.off_hand);
    std::memcpy(p + PL_BOON_RANKS, pl.boon_ranks, BOON_SLOTS);
    p[PL_LAST_STAND] = pl.last_stand_used;
    p[PL_FLOOR_MARK] = pl.floor_mark;
    p[PL_FLOOR_KILLS] = pl.floor_kills;
    bytes_put_i16(p, PL_BOON_REDRAWS, pl.boon_redraws);
    p[PL_CLASS] = pl.cls;
    for (int i = 0; i < BAG_MAX_ITEMS; i++) {
        const BagEntry& e = pl.bag.entries[i];
        const int at = PL_BAG + i * BAG_ENTRY_BYTES;
        put_item(p, at + BAG_AT_ITEM, e.item);
        bytes_put_i32(p, at + BAG_AT_COUNT, e.count);
        bytes_put_i32(p, at + BAG_AT_COL, e.col);
        bytes_put_i32(p, at + BAG_AT_ROW, e.row);
        p[at + BAG_AT_ROTATED] = e.rotated;
    }
    bytes_put_i32(p, PL_BAG_COUNT, pl.bag.count);
    for (int r = 0; r < BAG_ROWS; r++)
        for (int c = 0; c < BAG_COLS; c++) bytes_put_i32(p, PL_BAG_CELLS + 4 * (r * BAG_COLS + c), pl.bag.cells[r][c]);
    for (int s = 0; s < ST_COUNT; s++) p[PL_STATUS + s] = pl.status[s];
}

uint32_t float_bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

float bits_float(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

void put_monster(uint8_t* p, const Monster& m) {
    bytes_put_i32(p, MON_X, m.x);
    bytes_put_i32(p, MON_Y, m.y);
    bytes_put_i32(p, MON_TYPE, m.type);
    p[MON_ELITE] = m.elite;
    bytes_put_i32(p, MON_DIR, m.dir);
    bytes_put_i32(p, MON_CARRIED_HP, m.carried_hp);
    bytes_put_i32(p, MON_HOME_X, m.home_x);
    bytes_put_i32(p, MON_HOME_Y, m.home_y);
    p[MON_ORC_VERTICAL] = m.orc_vertical;
    bytes_put_i32(p, MON_KIND_STATE, m.kind_state);
    bytes_put_i32(p, MON_RESERVED, m.reserved);
    bytes_put_i32(p, MON_MOVE_COOLDOWN, m.move_cooldown);
    bytes_put_i32(p, MON_TURN, m.turn);
    bytes_put_u32(p, MON_DRAW_X, float_bits(m.draw_x));
    bytes_put_u32(p, MON_DRAW_Y, float_bits(m.draw_y));
}

Monster get_monster(const uint8_t* p) {
    Monster m{};
    m.x = bytes_get_i32(p, MON_X);
    m.y = bytes_get_i32(p, MON_Y);
    m.type = bytes_get_i32(p, MON_TYPE);
    m.elite = p[MON_ELITE];
    m.dir = bytes_get_i32(p, MON_DIR);
    m.carried_hp = bytes_get_i32(p, MON_CARRIED_HP);
    m.home_x = bytes_get_i32(p, MON_HOME_X);
    m.home_y = bytes_get_i32(p, MON_HOME_Y);
    m.orc_vertical = p[MON_ORC_VERTICAL];
    m.kind_state = bytes_get_i32(p, MON_KIND_STATE);
    m.reserved = bytes_get_i32(p, MON_RESERVED);
    m.move_cooldown = bytes_get_i32(p, MON_MOVE_COOLDOWN);
    m.turn = bytes_get_i32(p, MON_TURN);
    m.draw_x = bits_float(bytes_get_u32(p, MON_DRAW_X));
    m.draw_y = bits_float(bytes_get_u32(p, MON_DRAW_Y));
    return m;
}

void put_camp(uint8_t* p) {
    bytes_put_i32(p, CAMP_AT_PAGE, camp_page);
    bytes_put_i32(p, CAMP_AT_CURSOR, camp.cursor);
    p[CAMP_AT_RESTED] = camp.rested;
    p[CAMP_AT_BUY_BACK_COUNT] = (uint8_t)camp.buy_back_count;
    p[CAMP_AT_FORGE_SLOT] = (uint8_t)(int8_t)camp.forge_slot;
    p[CAMP_AT_HUB_TILE] = (uint8_t)camp.hub_tile;
    p[CAMP_AT_RETURN_TO_BOONS] = camp.return_to_boons;
    p[CAMP_AT_BOON_ROW] = (uint8_t)camp.boon_row;
    p[CAMP_AT_BOON_TAKEN] = camp.boon_taken;
    p[CAMP_AT_KEY_SOLD] = camp.key_sold;
    p[CAMP_AT_SALE_SOLD] = camp.sale_sold;
    bytes_put_u32(p, CAMP_AT_SEED, camp.seed);
    for (int i = 0; i < CAMP_BUY_BACK_MAX; i++) {
        const int at = CAMP_AT_BUY_BACK + i * BUY_BACK_BYTES;
        put_item(p, at + BUY_AT_ITEM, camp.buy_back[i].item);
        bytes_put_i32(p, at + BUY_AT_COUNT, camp.buy_back[i].count);
        bytes_put_i32(p, at + BUY_AT_PRICE, camp.buy_back[i].price);
    }
}

// ---- checking ----

bool item_valid(const uint8_t* p, int off) { return bytes_get_u32(p, off + ITEM_AT_ID) < (uint32_t)ITEM_COUNT; }

bool player_valid(const uint8_t* p) {
    if (!in_map(bytes_get_i32(p, PL_X), bytes_get_i32(p, PL_Y))) return false;
    if (!in_range(bytes_get_i32(p, PL_FACING), 0, FACINGS - 1)) return false;
    if (!in_range(bytes_get_i32(p, PL_MAX_HP), 1, RUN_HP_MAX)) return false;
    if (!in_range(bytes_get_i32(p, PL_HP), -RUN_HP_MAX, RUN_HP_MAX)) return false;
    if (!in_range(bytes_get_i32(p, PL_ATTACK), -RUN_ATTACK_MAX, RUN_ATTACK_MAX)) return false;
    const int32_t level = bytes_get_i32(p, PL_LEVEL);
    // Experience never stands at the next level's cost: gaining it there levels up at once.
    if (!in_range(level, 1, LEVEL_MAX) || !in_range(bytes_get_i32(p, PL_XP), 0, xp_to_next(level) - 1)) return false;
    if (!in_range(bytes_get_i32(p, PL_GOLD), 0, RUN_GOLD_MAX)) return false;
    if (!in_range(bytes_get_i32(p, PL_KEYS), 0, RUN_KEYS_MAX)) return false;
    if (!in_range(bytes_get_i32(p, PL_KILLS), 0, RUN_KILLS_MAX)) return false;
    if (p[PL_CLASS] >= CLASS_COUNT) return false;
    if (!item_valid(p, PL_MAIN_HAND) || !item_valid(p, PL_OFF_HAND)) return false;
    for (int b = 0; b < BOON_SLOTS; b++)
        if (p[PL_BOON_RANKS + b] > BOON_LEVELS) return false;
    const int32_t count = bytes_get_i32(p, PL_BAG_COUNT);
    if (!in_range(count, 0, BAG_MAX_ITEMS)) return false;
    for (int i = 0; i < BAG_MAX_ITEMS; i++) {
        const int at = PL_BAG + i * BAG_ENTRY_BYTES;
        if (!item_valid(p, at + BAG_AT_ITEM)) return false;
        if (i < count && (!in_range(bytes_get_i32(p, at + BAG_AT_COL), 0, BAG_COLS - 1) ||
                          !in_range(bytes_get_i32(p, at + BAG_AT_ROW), 0, BAG_ROWS - 1) ||
                          !in_range(bytes_get_i32(p, at + BAG_AT_COUNT), 0, RUN_STACK_MAX)))
            return false;
    }
    for (int c = 0; c < BAG_ROWS * BAG_COLS; c++)
        if (!in_range(bytes_get_i32(p, PL_BAG_CELLS + 4 * c), BAG_EMPTY, count - 1)) return false;
    return true;
}

bool floor_items_valid(const uint8_t* b) {
    const int32_t count = bytes_get_i32(b, RUN_FLOOR_ITEM_COUNT);
    if (!in_range(count, 0, FLOOR_ITEMS_MAX)) return false;
    for (int i = 0; i < FLOOR_ITEMS_MAX; i++) {
        const int at = RUN_FLOOR_ITEMS + i * FLOOR_ITEM_BYTES;
        if (!item_valid(b, at + 8)) return false;
        if (i < count && !in_map(bytes_get_i32(b, at), bytes_get_i32(b, at + 4))) return false;
    }
    return true;
}

bool monsters_valid(const uint8_t* b) {
    const int32_t count = bytes_get_i32(b, RUN_MONSTER_COUNT);
    if (!in_range(count, 0, MAX_MONSTERS)) return false;
    for (int i = 0; i < count; i++) {
        const uint8_t* m = b + RUN_MONSTERS + i * MONSTER_BYTES;
        if (!in_map(bytes_get_i32(m, MON_X), bytes_get_i32(m, MON_Y))) return false;
        if (!in_map(bytes_get_i32(m, MON_HOME_X), bytes_get_i32(m, MON_HOME_Y))) return false;
        if (!in_range(bytes_get_i32(m, MON_TYPE), M_NONE + 1, M_COUNT - 1)) return false;
        if (!in_range(bytes_get_i32(m, MON_DIR), 0, FACINGS - 1)) return false;
        if (!in_range(bytes_get_i32(m, MON_TURN), 0, MONSTER_TURN_MAX)) return false;
        if (m[MON_ORC_VERTICAL] > 1) return false;
    }
    return true;
}

bool camp_valid(const uint8_t* b) {
    const uint8_t* c = b + RUN_CAMP;
    if (!in_range(bytes_get_i32(c, CAMP_AT_PAGE), 0, CAMP_PAGE_COUNT - 1)) return false;
    if (c[CAMP_AT_BUY_BACK_COUNT] > CAMP_BUY_BACK_MAX) return false;
    if (!in_range((int8_t)c[CAMP_AT_FORGE_SLOT], CAMP_FORGE_SLOT_MIN, BAG_MAX_ITEMS - 1)) return false;
    if (c[CAMP_AT_HUB_TILE] >= CAMP_HUB_TILES || c[CAMP_AT_BOON_ROW] >= CAMP_BOON_ROWS) return false;
    for (int i = 0; i < CAMP_BUY_BACK_MAX; i++) {
        const int at = CAMP_AT_BUY_BACK + i * BUY_BACK_BYTES;
        if (!item_valid(c, at + BUY_AT_ITEM)) return false;
        if (i < c[CAMP_AT_BUY_BACK_COUNT] && (!in_range(bytes_get_i32(c, at + BUY_AT_COUNT), 0, RUN_STACK_MAX) ||
                                              !in_range(bytes_get_i32(c, at + BUY_AT_PRICE), 0, RUN_GOLD_MAX)))
            return false;
    }
    for (int i = 0; i < 3; i++)
        if (bytes_get_u32(b, RUN_BOON_OFFERS + 4 * i) > (uint32_t)BOON_NONE) return false;
    return true;
}

// Mends what is safe to mend in the fight block, then checks what indexes; the duel's own reader
// has the last word, tried on a copy so the fight in memory is left as it was.
bool fight_valid(uint8_t* f) {
    for (int l = 0; l < COMBAT_LOG_LINES; l++) f[FIGHT_AT_LOG + l * COMBAT_LOG_BYTES + COMBAT_LOG_BYTES - 1] = 0;
    bytes_put_i32(f, FIGHT_AT_GOLD_STOLEN, std::max(0, bytes_get_i32(f, FIGHT_AT_GOLD_STOLEN)));
    bytes_put_i32(f, FIGHT_AT_BUFF, std::clamp(bytes_get_i32(f, FIGHT_AT_BUFF), 0, FIGHT_BUFF_MAX));
    if (!in_range((int32_t)bytes_get_u32(f, FIGHT_AT_TYPE), M_NONE + 1, M_COUNT - 1)) return false;
    if (!in_range(bytes_get_i32(f, FIGHT_AT_MAX_HP), 1, RUN_HP_MAX)) return false;
    if (!in_range(bytes_get_i32(f, FIGHT_AT_TURN), 0, RUN_FIGHT_TURN_MAX)) return false;
    if (bytes_get_i32(f, FIGHT_AT_GOLD_STOLEN) > RUN_GOLD_MAX) return false;
    if (!in_map(bytes_get_i32(f, FIGHT_AT_MONSTER_X), bytes_get_i32(f, FIGHT_AT_MONSTER_Y))) return false;
    const int32_t queued = bytes_get_i32(f, FIGHT_AT_QUEUED);
    if (!in_range(queued, 0, MOVE_QUEUE_CAP)) return false;
    for (int i = 0; i < queued; i++)
        if (f[FIGHT_AT_QUEUE + i] >= MONSTER_MOVE_COUNT) return false;
    const Combat kept = combat;
    const bool ok = combat_save_read(f);
    combat = kept;
    return ok;
}

bool flag_valid(const uint8_t* b, int off) { return in_range(bytes_get_i32(b, off), 0, 1); }

// The whole image: every check passes or the file is refused. Kind-specific monster fields and
// the fight's safe values are mended in place first.
bool record_check(uint8_t* b) {
    for (int i = 0; i < MAX_MONSTERS; i++) {
        uint8_t* m = b + RUN_MONSTERS + i * MONSTER_BYTES;
        const int32_t type = bytes_get_i32(m, MON_TYPE);
        if (type != M_ORC) m[MON_ORC_VERTICAL] = 0;
        if (type != M_MIMIC) bytes_put_i32(m, MON_KIND_STATE, 0);
    }
    if (!in_range(bytes_get_i32(b, RUN_FLOOR), 0, MAX_FLOOR)) return false;
    if (!player_valid(b + RUN_PLAYER) || !floor_items_valid(b) || !monsters_valid(b)) return false;
    if (!flag_valid(b, RUN_CAMP_FLAG) || !flag_valid(b, RUN_FIGHT_FLAG)) return false;
    if (bytes_get_i32(b, RUN_CAMP_FLAG) && !camp_valid(b)) return false;
    if (bytes_get_i32(b, RUN_FIGHT_FLAG) && !fight_valid(b + RUN_FIGHT)) return false;
    if (!in_range(bytes_get_i32(b, RUN_LEVELUP_PENDING), 0, RUN_PENDING_MAX)) return false;
    // Below zero the threat and the combo are read as 0, as they always were.
    if (bytes_get_i32(b, RUN_THREAT) > RUN_THREAT_MAX || bytes_get_i32(b, RUN_COMBO) > RUN_COMBO_MAX) return false;
    return in_range(bytes_get_i32(b, RUN_HEAT), 0, RUN_HEAT_MAX);
}

// ---- loading ----

void get_player(const uint8_t* p) {
    Player pl{};
    int32_t* words[] = {&pl.x, &pl.y, &pl.facing, &pl.hp, &pl.max_hp, &pl.attack, &pl.level, &pl.xp, &pl.keys, &pl.gold, &pl.kills};
    for (int i = 0; i < (int)(sizeof words / sizeof words[0]); i++) *words[i] = bytes_get_i32(p, PL_X + 4 * i);
    pl.main_hand = get_item(p, PL_MAIN_HAND);
    pl.off_hand = get_item(p, PL_OFF_HAND);
    std::memcpy(pl.boon_ranks, p + PL_BOON_RANKS, BOON_SLOTS);
    pl.last_stand_used = p[PL_LAST_STAND];
    pl.floor_mark = p[PL_FLOOR_MARK];
    pl.floor_kills = p[PL_FLOOR_KILLS];
    pl.boon_redraws = bytes_get_i16(p, PL_BOON_REDRAWS);
    pl.cls = p[PL_CLASS];
    for (int i = 0; i < BAG_MAX_ITEMS; i++) {
        BagEntry& e = pl.bag.entries[i];
        const int at = PL_BAG + i * BAG_ENTRY_BYTES;
        e.item = get_item(p, at + BAG_AT_ITEM);
        e.count = bytes_get_i32(p, at + BAG_AT_COUNT);
        e.col = bytes_get_i32(p, at + BAG_AT_COL);
        e.row = bytes_get_i32(p, at + BAG_AT_ROW);
        e.rotated = p[at + BAG_AT_ROTATED];
    }
    pl.bag.count = bytes_get_i32(p, PL_BAG_COUNT);
    for (int r = 0; r < BAG_ROWS; r++)
        for (int c = 0; c < BAG_COLS; c++) pl.bag.cells[r][c] = bytes_get_i32(p, PL_BAG_CELLS + 4 * (r * BAG_COLS + c));
    for (int s = 0; s < ST_COUNT; s++) pl.status[s] = p[PL_STATUS + s];
    player = pl;
}

void get_camp(const uint8_t* b) {
    const uint8_t* p = b + RUN_CAMP;
    Camp c{};
    c.rested = p[CAMP_AT_RESTED];
    c.buy_back_count = p[CAMP_AT_BUY_BACK_COUNT];
    c.forge_slot = (int8_t)p[CAMP_AT_FORGE_SLOT];
    c.hub_tile = p[CAMP_AT_HUB_TILE];
    c.return_to_boons = p[CAMP_AT_RETURN_TO_BOONS];
    c.boon_row = p[CAMP_AT_BOON_ROW];
    c.boon_taken = p[CAMP_AT_BOON_TAKEN];
    c.key_sold = p[CAMP_AT_KEY_SOLD];
    c.sale_sold = p[CAMP_AT_SALE_SOLD];
    c.seed = bytes_get_u32(p, CAMP_AT_SEED);
    for (int i = 0; i < CAMP_BUY_BACK_MAX; i++) {
        const int at = CAMP_AT_BUY_BACK + i * BUY_BACK_BYTES;
        c.buy_back[i].item = get_item(p, at + BUY_AT_ITEM);
        c.buy_back[i].count = bytes_get_i32(p, at + BUY_AT_COUNT);
        c.buy_back[i].price = bytes_get_i32(p, at + BUY_AT_PRICE);
    }
    // A run quit at the camp comes back to the hub, its cursor on the first tile.
    camp_page = CAMP_PAGE_HUB;
    c.cursor = 0;
    camp = c;
    int32_t offers[3];
    for (int i = 0; i < 3; i++) offers[i] = bytes_get_i32(b, RUN_BOON_OFFERS + 4 * i);
    boon_offers_restore(offers);
    boon_rng_seed(bytes_get_u32(b, RUN_BOON_RNG));
}

// The fight's popup and delay timers: a resumed fight starts with none of them running.
void fight_timers_zero() {
    combat.monster_delay = 0;
    combat.victory_delay = 0;
    combat.hit_popup_timer = 0;
    combat.monster_flash_timer = 0;
    combat.shake_timer = 0;
    combat.hurt_popup_timer = 0;
}

void get_fight(const uint8_t* b) {
    combat_save_read(b + RUN_FIGHT);  // checked by run_file_read
    if (combat.reflex) {
        combat_resume_reflex();
        combat.max_hp = std::max(1, reflex.max_hp);
    }
    fight_timers_zero();
    // A training fight picks its drill again, so the lesson goes on where it stood.
    if (training_active()) drill_begin();
}

void apply_record(const uint8_t* b) {
    current_floor = bytes_get_i32(b, RUN_FLOOR);
    run_seed = bytes_get_u32(b, RUN_SEED);
    if (run_seed == 0) run_seed = 1;
    get_player(b + RUN_PLAYER);
    levelup_clear();
    std::memcpy(gmap, b + RUN_MAP, sizeof gmap);
    floor_items_clear();
    for (int i = 0; i < FLOOR_ITEMS_MAX; i++) {
        FloorItem& f = floor_items.entries[i];
        const int at = RUN_FLOOR_ITEMS + i * FLOOR_ITEM_BYTES;
        f.x = bytes_get_i32(b, at);
        f.y = bytes_get_i32(b, at + 4);
        f.item = get_item(b, at + 8);
    }
    floor_items.count = bytes_get_i32(b, RUN_FLOOR_ITEM_COUNT);
    floor_item_states_clear();
    monsters_clear();
    for (int i = 0; i < MAX_MONSTERS; i++) monsters.list[i] = get_monster(b + RUN_MONSTERS + i * MONSTER_BYTES);
    monsters.count = bytes_get_i32(b, RUN_MONSTER_COUNT);
    monster_seed = bytes_get_u32(b, RUN_MONSTER_SEED);
    std::memcpy(explored, b + RUN_EXPLORED, sizeof explored);
    training_stop();
    training_save_read(b + RUN_TRAINING);
    player_view_sync();

    resume_in_camp = bytes_get_i32(b, RUN_CAMP_FLAG) != 0;
    if (resume_in_camp) get_camp(b);

    levelup.pending = bytes_get_i32(b, RUN_LEVELUP_PENDING);
    threat_total = std::max(0, bytes_get_i32(b, RUN_THREAT));
    flow = std::clamp(bytes_get_i32(b, RUN_FLOW), 0, FLOW_MAX);
    combo = std::max(0, bytes_get_i32(b, RUN_COMBO));
    cheats_used = bytes_get_i32(b, RUN_CHEATS) != 0;
    run_heat = bytes_get_i32(b, RUN_HEAT);
    item_luck = std::clamp(bytes_get_i32(b, RUN_ITEM_LUCK), 0, ITEM_LUCK_MAX);

    resume_in_fight = bytes_get_i32(b, RUN_FIGHT_FLAG) != 0 && !resume_in_camp;
    if (resume_in_fight) get_fight(b);
}

// The slot file itself, as its read takes it: never a link's target.
int64_t file_mtime(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0 ? (int64_t)st.st_mtime : 0;
}

}  // namespace

int run_file_length(int32_t version) {
    for (const VersionLength& v : VERSION_LENGTHS)
        if (v.version == version) return v.length;
    return 0;
}

void run_record_build(RunRecord* out, int32_t state) {
    uint8_t* b = out->bytes;
    std::memset(b, 0, RUN_FILE_BYTES);
    bytes_put_magic(b, RUN_MAGIC_AT, RUN_MAGIC);
    bytes_put_i32(b, RUN_VERSION, RUN_FILE_VERSION);
    bytes_put_i32(b, RUN_FLOOR, current_floor);
    bytes_put_u32(b, RUN_SEED, run_seed);
    put_player(b + RUN_PLAYER);
    std::memcpy(b + RUN_MAP, gmap, sizeof gmap);
    for (int i = 0; i < FLOOR_ITEMS_MAX; i++) {
        const FloorItem& f = floor_items.entries[i];
        const int at = RUN_FLOOR_ITEMS + i * FLOOR_ITEM_BYTES;
        bytes_put_i32(b, at, f.x);
        bytes_put_i32(b, at + 4, f.y);
        put_item(b, at + 8, f.item);
    }
    bytes_put_i32(b, RUN_FLOOR_ITEM_COUNT, floor_items.count);
    for (int i = 0; i < MAX_MONSTERS; i++) put_monster(b + RUN_MONSTERS + i * MONSTER_BYTES, monsters.list[i]);
    bytes_put_i32(b, RUN_MONSTER_COUNT, monsters.count);
    bytes_put_u32(b, RUN_MONSTER_SEED, monster_seed);
    std::memcpy(b + RUN_EXPLORED, explored, sizeof explored);
    training_save_write(b + RUN_TRAINING);
    if (state == STATE_COMBAT) {
        bytes_put_i32(b, RUN_FIGHT_FLAG, 1);
        combat_save_write(b + RUN_FIGHT);
    } else if (state == STATE_CAMP) {
        bytes_put_i32(b, RUN_CAMP_FLAG, 1);
        put_camp(b + RUN_CAMP);
        for (int i = 0; i < 3; i++) bytes_put_i32(b, RUN_BOON_OFFERS + 4 * i, boon_offers[i]);
        bytes_put_u32(b, RUN_BOON_RNG, boon_seed);
    }
    bytes_put_i32(b, RUN_LEVELUP_PENDING, levelup.pending);
    bytes_put_i32(b, RUN_THREAT, threat_total);
    bytes_put_i32(b, RUN_FLOW, flow);
    bytes_put_i32(b, RUN_COMBO, combo);
    bytes_put_i32(b, RUN_CHEATS, cheats_used ? 1 : 0);
    bytes_put_i32(b, RUN_HEAT, run_heat);
    bytes_put_i32(b, RUN_ITEM_LUCK, item_luck);
}

bool save_run() {
    run_saves_made++;
    const bool own = game_state >= 0 && game_state < 32 && ((RUN_SAVE_STATE_MASK >> game_state) & 1u);
    int32_t state = own ? game_state : state_under_pause;
    // In the victory pause the fight is over and the kill paid (the monster gone, its loot, XP and
    // counts given): the run is the dungeon's. Saved as the fight, CONTINUE would win it again.
    if (state == STATE_COMBAT && combat_victory_delay() > 0) state = STATE_DUNGEON;
    static RunRecord record;
    run_record_build(&record, state);
    const bool ok = write_file_atomic(record);
    run_summary_refresh();
    return ok;
}

bool write_file_atomic(const RunRecord& record) {
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    return file_write_atomic(path, record.bytes, RUN_FILE_BYTES, LINKS_FOLLOWED);
}

bool run_file_read(const char* path, RunRecord* out, bool* outdated, FileLinks links, FileId* judged) {
    if (outdated) *outdated = false;
    static RunRecord buf;
    std::memset(buf.bytes, 0, RUN_FILE_BYTES);
    const long n = file_read_some(path, buf.bytes, RUN_FILE_BYTES, links, judged);
    if (n < 8 || !bytes_is_magic(buf.bytes, RUN_MAGIC_AT, RUN_MAGIC)) return false;
    const int32_t version = bytes_get_i32(buf.bytes, RUN_VERSION);
    const int length = run_file_length(version);
    if (length == 0) {
        if (outdated) *outdated = version >= 1 && version < RUN_FILE_OLDEST;
        return false;
    }
    if (n < length) return false;
    // An older file keeps its fields where they were; what it lacks stays zero.
    std::memset(buf.bytes + length, 0, (size_t)(RUN_FILE_BYTES - length));
    bytes_put_i32(buf.bytes, RUN_VERSION, RUN_FILE_VERSION);
    if (!record_check(buf.bytes)) return false;
    *out = buf;
    return true;
}

bool load_run() {
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    static RunRecord record;
    if (!run_file_read(path, &record, nullptr, LINKS_FOLLOWED)) return false;
    apply_record(record.bytes);
    // The bag view spoke of the bag that was replaced: nothing is held, no lift is kept.
    bag_view_clear();
    return true;
}

int run_resume_state() {
    if (resume_in_camp) return STATE_CAMP;
    if (resume_in_fight) return STATE_COMBAT;
    return STATE_DUNGEON;
}

void run_summary_refresh() {
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    static RunRecord record;
    bool outdated = false;
    run_summary = RunSummary{};
    if (!run_file_read(path, &record, &outdated, LINKS_FOLLOWED)) {
        run_summary.outdated = outdated ? 1 : 0;
        return;
    }
    const uint8_t* b = record.bytes;
    const uint8_t* p = b + RUN_PLAYER;
    run_summary.valid = 1;
    run_summary.floor = bytes_get_i32(b, RUN_FLOOR);
    run_summary.level = bytes_get_i32(p, PL_LEVEL);
    run_summary.hp = bytes_get_i32(p, PL_HP);
    run_summary.max_hp = bytes_get_i32(p, PL_MAX_HP);
    run_summary.gold = bytes_get_i32(p, PL_GOLD);
    run_summary.kills = bytes_get_i32(p, PL_KILLS);
    run_summary.in_camp = bytes_get_i32(b, RUN_CAMP_FLAG) != 0;
    run_summary.training = b[RUN_TRAINING + TRAINING_SAVED_FLAG];
    run_summary.in_fight = bytes_get_i32(b, RUN_FIGHT_FLAG) != 0;
}

void run_delete() {
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    std::remove(path);
    run_summary = RunSummary{};
}

RunSetAside run_set_aside_refused(bool* outdated) {
    if (outdated) *outdated = false;
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    static RunRecord record;
    bool old = false;
    FileId judged{};
    if (run_file_read(path, &record, &old, LINKS_FOLLOWED, &judged)) return RUN_NOT_REFUSED;
    if (outdated) *outdated = old;
    bool kept_before = false;
    if (file_set_aside(path, judged, "run_bad", ".sav", &kept_before))
        return kept_before ? RUN_KEPT_EARLIER : RUN_KEPT_ASIDE;
    // Told as left in place only when the refused file itself is still at the name.
    return file_id_same(file_id_of(path), judged) ? RUN_REFUSED_IN_PLACE : RUN_NOT_REFUSED;
}

void saves_delete_outdated() {
    static RunRecord record;
    char path[SAVE_PATH_CAP];
    char name[16];
    for (int n = -1; n < SLOT_FILES; n++) {
        if (n < 0)
            run_path(path, sizeof path);
        else {
            std::snprintf(name, sizeof name, "slot%d.sav", n);
            save_path_into(path, sizeof path, name);
        }
        bool old = false;
        FileId judged{};
        if (run_file_read(path, &record, &old, n < 0 ? LINKS_FOLLOWED : LINKS_REFUSED, &judged) || !old) continue;
        if (file_id_same(file_id_of(path), judged)) std::remove(path);
    }
}

void saves_migrate_slots() {
    char path[SAVE_PATH_CAP];
    run_path(path, sizeof path);
    if (FILE* f = file_open_regular(path, "rb", LINKS_FOLLOWED)) {
        std::fclose(f);
        return;
    }
    static RunRecord slot, chosen;
    bool found = false;
    int64_t newest = 0;
    char slot_path[SAVE_PATH_CAP];
    char name[16];
    for (int n = 0; n < SLOT_FILES; n++) {
        std::snprintf(name, sizeof name, "slot%d.sav", n);
        save_path_into(slot_path, sizeof slot_path, name);
        if (!run_file_read(slot_path, &slot, nullptr)) continue;
        const int64_t t = file_mtime(slot_path);
        if (!found || t > newest) {
            chosen = slot;
            newest = t;
            found = true;
        }
    }
    // The old slots stay where they are until their run is safely in run.sav.
    if (found && !write_file_atomic(chosen)) return;
    for (int n = 0; n < SLOT_FILES; n++) {
        std::snprintf(name, sizeof name, "slot%d.sav", n);
        save_path_into(slot_path, sizeof slot_path, name);
        // Each start without a run moves what it finds: to "slotN.sav.old", else the first free
        // "slotN_2.sav.old", "slotN_3.sav.old" ..., never over a file kept before.
        char stem[16];
        std::snprintf(stem, sizeof stem, "slot%d", n);
        const FileId judged = file_id_of(slot_path);
        if (!file_set_aside(slot_path, judged, stem, ".sav.old")) continue;
        // Kept by a second name (a folder that cannot move without replacing): the slot's own name
        // goes, or the next start would fold the same run in again.
        if (file_id_same(file_id_of(slot_path), judged)) std::remove(slot_path);
    }
}
