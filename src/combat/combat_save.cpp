// The fight record's saved block: 228 bytes, written and read field by field, little-endian, for the
// run file. The reader checks every value before the fight may use it.
//
// | offset | bytes | field                                   |
// |--------|-------|-----------------------------------------|
// | 0      | 4     | type (u32, 1..8)                        |
// | 4      | 4     | hp (i32, 0..max_hp)                     |
// | 8      | 4     | max_hp (i32, >= 1)                      |
// | 12     | 4     | turn (i32)                              |
// | 16     | 3     | enraged, fury, first_strike (u8 each)   |
// | 19     | 1     | elite (u8, 0/1)                         |
// | 20     | 4     | heal_shown (i32)                        |
// | 24     | 4     | heal_timer (i32)                        |
// | 28     | 4     | action_cursor (i32, 0..3)               |
// | 32     | 4     | item_cursor (i32, 0..3)                 |
// | 36     | 4     | fire_turns (i32)                        |
// | 40     | 4     | fire_dose (i32)                         |
// | 44     | 4     | guarding, missed, item_menu, last_move  |
// | 48     | 4     | zero                                    |
// | 52     | 4     | monster_x (i32, 0..15)                  |
// | 56     | 4     | monster_y (i32, 0..11)                  |
// | 60     | 4     | queue (u8 x 4, moves 0..28)             |
// | 64     | 4     | queued (i32, 0..4)                      |
// | 68     | 4     | gold_stolen (i32, >= 0)                 |
// | 72     | 4     | buff (i32, >= 0)                        |
// | 76     | 1     | reflex (u8, 0/1)                        |
// | 77     | 1     | fled (u8)                               |
// | 78     | 1     | guard_break_due (u8)                    |
// | 79     | 1     | zero                                    |
// | 80     | 3     | monster_status (u8 x 3)                 |
// | 83     | 1     | zero                                    |
// | 84     | 72    | log (3 lines of 24 bytes, terminated)   |
// | 156    | 4     | monster_delay (i32)                     |
// | 160    | 4     | victory_delay (i32)                     |
// | 164    | 4     | hit_popup_timer (i32)                   |
// | 168    | 4     | monster_flash_timer (i32)               |
// | 172    | 4     | shake_timer (i32)                       |
// | 176    | 4     | hit_popup_value (i32)                   |
// | 180    | 4     | hit_popup_heavy (i32)                   |
// | 184    | 4     | hurt_popup_timer (i32)                  |
// | 188    | 4     | hurt_popup_value (i32)                  |
// | 192    | 4     | hurt_popup_kind (i32)                   |
// | 196    | 32    | zero                                    |
#include <cstring>

#include "combat/combat.h"
#include "dungeon/monster_moves.h"
#include "dungeon/monsters.h"
#include "saves/bytes.h"

namespace {

enum Offset : int {
    OFF_TYPE = 0, OFF_HP = 4, OFF_MAX_HP = 8, OFF_TURN = 12, OFF_ENRAGED = 16, OFF_FURY = 17,
    OFF_FIRST_STRIKE = 18, OFF_ELITE = 19, OFF_HEAL_SHOWN = 20, OFF_HEAL_TIMER = 24, OFF_ACTION_CURSOR = 28,
    OFF_ITEM_CURSOR = 32, OFF_FIRE_TURNS = 36, OFF_FIRE_DOSE = 40, OFF_GUARDING = 44, OFF_MISSED = 45,
    OFF_ITEM_MENU = 46, OFF_LAST_MOVE = 47, OFF_MONSTER_X = 52, OFF_MONSTER_Y = 56, OFF_QUEUE = 60,
    OFF_QUEUED = 64, OFF_GOLD_STOLEN = 68, OFF_BUFF = 72, OFF_REFLEX = 76, OFF_FLED = 77,
    OFF_GUARD_BREAK_DUE = 78, OFF_MONSTER_STATUS = 80, OFF_LOG = 84, OFF_MONSTER_DELAY = 156,
    OFF_VICTORY_DELAY = 160, OFF_HIT_POPUP_TIMER = 164, OFF_MONSTER_FLASH_TIMER = 168, OFF_SHAKE_TIMER = 172,
    OFF_HIT_POPUP_VALUE = 176, OFF_HIT_POPUP_HEAVY = 180, OFF_HURT_POPUP_TIMER = 184,
    OFF_HURT_POPUP_VALUE = 188, OFF_HURT_POPUP_KIND = 192,
};
static_assert(OFF_LOG + COMBAT_LOG_LINES * COMBAT_LOG_BYTES == OFF_MONSTER_DELAY);
static_assert(OFF_HURT_POPUP_KIND + 4 <= COMBAT_SAVED_BYTES);

constexpr int MAP_COLS = 16, MAP_ROWS = 12;
constexpr int TURN_ACTIONS = 4, ITEM_ROWS = 4;
constexpr uint8_t NO_MOVE = 0xFF;

bool in_range(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// The plain fields, one row each; type, queue, statuses and log are handled beside them.
struct WordField {
    int off;
    int32_t Combat::*field;
};
struct ByteField {
    int off;
    uint8_t Combat::*field;
};

const WordField WORD_FIELDS[] = {
    {OFF_HP, &Combat::hp},
    {OFF_MAX_HP, &Combat::max_hp},
    {OFF_TURN, &Combat::turn},
    {OFF_HEAL_SHOWN, &Combat::heal_shown},
    {OFF_HEAL_TIMER, &Combat::heal_timer},
    {OFF_ACTION_CURSOR, &Combat::action_cursor},
    {OFF_ITEM_CURSOR, &Combat::item_cursor},
    {OFF_FIRE_TURNS, &Combat::fire_turns},
    {OFF_FIRE_DOSE, &Combat::fire_dose},
    {OFF_MONSTER_X, &Combat::monster_x},
    {OFF_MONSTER_Y, &Combat::monster_y},
    {OFF_QUEUED, &Combat::queued},
    {OFF_GOLD_STOLEN, &Combat::gold_stolen},
    {OFF_BUFF, &Combat::buff},
    {OFF_MONSTER_DELAY, &Combat::monster_delay},
    {OFF_VICTORY_DELAY, &Combat::victory_delay},
    {OFF_HIT_POPUP_TIMER, &Combat::hit_popup_timer},
    {OFF_MONSTER_FLASH_TIMER, &Combat::monster_flash_timer},
    {OFF_SHAKE_TIMER, &Combat::shake_timer},
    {OFF_HIT_POPUP_VALUE, &Combat::hit_popup_value},
    {OFF_HIT_POPUP_HEAVY, &Combat::hit_popup_heavy},
    {OFF_HURT_POPUP_TIMER, &Combat::hurt_popup_timer},
    {OFF_HURT_POPUP_VALUE, &Combat::hurt_popup_value},
    {OFF_HURT_POPUP_KIND, &Combat::hurt_popup_kind},
};

const ByteField BYTE_FIELDS[] = {
    {OFF_ENRAGED, &Combat::enraged},
    {OFF_FURY, &Combat::fury},
    {OFF_FIRST_STRIKE, &Combat::first_strike},
    {OFF_ELITE, &Combat::elite},
    {OFF_GUARDING, &Combat::guarding},
    {OFF_MISSED, &Combat::missed},
    {OFF_ITEM_MENU, &Combat::item_menu},
    {OFF_LAST_MOVE, &Combat::last_move},
    {OFF_REFLEX, &Combat::reflex},
    {OFF_FLED, &Combat::fled},
    {OFF_GUARD_BREAK_DUE, &Combat::guard_break_due},
};

// Every value the fight may use to index or to count is in its range.
bool block_valid(const Combat& c) {
    if (c.type <= M_NONE || c.type >= M_COUNT) return false;
    if (c.max_hp < 1 || !in_range(c.hp, 0, c.max_hp)) return false;
    if (!in_range(c.monster_x, 0, MAP_COLS - 1) || !in_range(c.monster_y, 0, MAP_ROWS - 1)) return false;
    if (!in_range(c.queued, 0, MOVE_QUEUE_CAP)) return false;
    if (!in_range(c.action_cursor, 0, TURN_ACTIONS - 1) || !in_range(c.item_cursor, 0, ITEM_ROWS - 1)) return false;
    if (c.gold_stolen < 0 || c.buff < 0 || c.reflex > 1 || c.elite > 1) return false;
    for (int i = 0; i < c.queued; i++)
        if (c.queue[i] >= MONSTER_MOVE_COUNT) return false;
    return c.last_move < MONSTER_MOVE_COUNT || c.last_move == NO_MOVE;
}

}  // namespace

void combat_save_write(uint8_t out[COMBAT_SAVED_BYTES]) {
    const Combat& c = combat;
    std::memset(out, 0, COMBAT_SAVED_BYTES);
    bytes_put_u32(out, OFF_TYPE, c.type);
    for (const WordField& f : WORD_FIELDS) bytes_put_i32(out, f.off, c.*f.field);
    for (const ByteField& f : BYTE_FIELDS) out[f.off] = c.*f.field;
    for (int i = 0; i < MOVE_QUEUE_CAP; i++) out[OFF_QUEUE + i] = c.queue[i];
    for (int i = 0; i < 3; i++) out[OFF_MONSTER_STATUS + i] = c.monster_status[i];
    for (int l = 0; l < COMBAT_LOG_LINES; l++)
        std::memcpy(out + OFF_LOG + l * COMBAT_LOG_BYTES, c.log[l], strnlen(c.log[l], COMBAT_LOG_BYTES - 1));
}

bool combat_save_read(const uint8_t in[COMBAT_SAVED_BYTES]) {
    Combat c{};
    c.type = bytes_get_u32(in, OFF_TYPE);
    for (const WordField& f : WORD_FIELDS) c.*f.field = bytes_get_i32(in, f.off);
    for (const ByteField& f : BYTE_FIELDS) c.*f.field = in[f.off];
    for (int i = 0; i < MOVE_QUEUE_CAP; i++) c.queue[i] = in[OFF_QUEUE + i];
    for (int i = 0; i < 3; i++) c.monster_status[i] = in[OFF_MONSTER_STATUS + i];
    for (int l = 0; l < COMBAT_LOG_LINES; l++) {
        std::memcpy(c.log[l], in + OFF_LOG + l * COMBAT_LOG_BYTES, COMBAT_LOG_BYTES);
        c.log[l][COMBAT_LOG_BYTES - 1] = '\0';
    }
    if (!block_valid(c)) return false;
    combat = c;
    return true;
}
