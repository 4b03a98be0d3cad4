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

}  // namespace

void combat_save_write(uint8_t out[COMBAT_SAVED_BYTES]) {
    const Combat& c = combat;
    std::memset(out, 0, COMBAT_SAVED_BYTES);
    bytes_put_u32(out, OFF_TYPE, c.type);
    bytes_put_i32(out, OFF_HP, c.hp);
    bytes_put_i32(out, OFF_MAX_HP, c.max_hp);
    bytes_put_i32(out, OFF_TURN, c.turn);
    out[OFF_ENRAGED] = c.enraged;
    out[OFF_FURY] = c.fury;
    out[OFF_FIRST_STRIKE] = c.first_strike;
    out[OFF_ELITE] = c.elite;
    bytes_put_i32(out, OFF_HEAL_SHOWN, c.heal_shown);
    bytes_put_i32(out, OFF_HEAL_TIMER, c.heal_timer);
    bytes_put_i32(out, OFF_ACTION_CURSOR, c.action_cursor);
    bytes_put_i32(out, OFF_ITEM_CURSOR, c.item_cursor);
    bytes_put_i32(out, OFF_FIRE_TURNS, c.fire_turns);
    bytes_put_i32(out, OFF_FIRE_DOSE, c.fire_dose);
    out[OFF_GUARDING] = c.guarding;
    out[OFF_MISSED] = c.missed;
    out[OFF_ITEM_MENU] = c.item_menu;
    out[OFF_LAST_MOVE] = c.last_move;
    bytes_put_i32(out, OFF_MONSTER_X, c.monster_x);
    bytes_put_i32(out, OFF_MONSTER_Y, c.monster_y);
    for (int i = 0; i < MOVE_QUEUE_CAP; i++) out[OFF_QUEUE + i] = c.queue[i];
    bytes_put_i32(out, OFF_QUEUED, c.queued);
    bytes_put_i32(out, OFF_GOLD_STOLEN, c.gold_stolen);
    bytes_put_i32(out, OFF_BUFF, c.buff);
    out[OFF_REFLEX] = c.reflex;
    out[OFF_FLED] = c.fled;
    out[OFF_GUARD_BREAK_DUE] = c.guard_break_due;
    for (int i = 0; i < 3; i++) out[OFF_MONSTER_STATUS + i] = c.monster_status[i];
    for (int l = 0; l < COMBAT_LOG_LINES; l++) {
        uint8_t* line = out + OFF_LOG + l * COMBAT_LOG_BYTES;
        size_t n = strnlen(c.log[l], COMBAT_LOG_BYTES - 1);
        std::memcpy(line, c.log[l], n);
    }
    bytes_put_i32(out, OFF_MONSTER_DELAY, c.monster_delay);
    bytes_put_i32(out, OFF_VICTORY_DELAY, c.victory_delay);
    bytes_put_i32(out, OFF_HIT_POPUP_TIMER, c.hit_popup_timer);
    bytes_put_i32(out, OFF_MONSTER_FLASH_TIMER, c.monster_flash_timer);
    bytes_put_i32(out, OFF_SHAKE_TIMER, c.shake_timer);
    bytes_put_i32(out, OFF_HIT_POPUP_VALUE, c.hit_popup_value);
    bytes_put_i32(out, OFF_HIT_POPUP_HEAVY, c.hit_popup_heavy);
    bytes_put_i32(out, OFF_HURT_POPUP_TIMER, c.hurt_popup_timer);
    bytes_put_i32(out, OFF_HURT_POPUP_VALUE, c.hurt_popup_value);
    bytes_put_i32(out, OFF_HURT_POPUP_KIND, c.hurt_popup_kind);
}

bool combat_save_read(const uint8_t in[COMBAT_SAVED_BYTES]) {
    Combat c{};
    c.type = bytes_get_u32(in, OFF_TYPE);
    c.hp = bytes_get_i32(in, OFF_HP);
    c.max_hp = bytes_get_i32(in, OFF_MAX_HP);
    c.monster_x = bytes_get_i32(in, OFF_MONSTER_X);
    c.monster_y = bytes_get_i32(in, OFF_MONSTER_Y);
    c.queued = bytes_get_i32(in, OFF_QUEUED);
    c.action_cursor = bytes_get_i32(in, OFF_ACTION_CURSOR);
    c.item_cursor = bytes_get_i32(in, OFF_ITEM_CURSOR);
    c.gold_stolen = bytes_get_i32(in, OFF_GOLD_STOLEN);
    c.buff = bytes_get_i32(in, OFF_BUFF);
    c.reflex = in[OFF_REFLEX];
    c.elite = in[OFF_ELITE];
    if (c.type <= M_NONE || c.type >= M_COUNT) return false;
    if (c.max_hp < 1 || !in_range(c.hp, 0, c.max_hp)) return false;
    if (!in_range(c.monster_x, 0, MAP_COLS - 1) || !in_range(c.monster_y, 0, MAP_ROWS - 1)) return false;
    if (!in_range(c.queued, 0, MOVE_QUEUE_CAP)) return false;
    if (!in_range(c.action_cursor, 0, TURN_ACTIONS - 1) || !in_range(c.item_cursor, 0, ITEM_ROWS - 1)) return false;
    if (c.gold_stolen < 0 || c.buff < 0 || c.reflex > 1 || c.elite > 1) return false;
    for (int i = 0; i < MOVE_QUEUE_CAP; i++) {
        c.queue[i] = in[OFF_QUEUE + i];
        if (i < c.queued && c.queue[i] >= MONSTER_MOVE_COUNT) return false;
    }
    c.last_move = in[OFF_LAST_MOVE];
    if (c.last_move >= MONSTER_MOVE_COUNT && c.last_move != NO_MOVE) return false;
    c.turn = bytes_get_i32(in, OFF_TURN);
    c.enraged = in[OFF_ENRAGED];
    c.fury = in[OFF_FURY];
    c.first_strike = in[OFF_FIRST_STRIKE];
    c.heal_shown = bytes_get_i32(in, OFF_HEAL_SHOWN);
    c.heal_timer = bytes_get_i32(in, OFF_HEAL_TIMER);
    c.fire_turns = bytes_get_i32(in, OFF_FIRE_TURNS);
    c.fire_dose = bytes_get_i32(in, OFF_FIRE_DOSE);
    c.guarding = in[OFF_GUARDING];
    c.missed = in[OFF_MISSED];
    c.item_menu = in[OFF_ITEM_MENU];
    c.fled = in[OFF_FLED];
    c.guard_break_due = in[OFF_GUARD_BREAK_DUE];
    for (int i = 0; i < 3; i++) c.monster_status[i] = in[OFF_MONSTER_STATUS + i];
    for (int l = 0; l < COMBAT_LOG_LINES; l++) {
        std::memcpy(c.log[l], in + OFF_LOG + l * COMBAT_LOG_BYTES, COMBAT_LOG_BYTES);
        c.log[l][COMBAT_LOG_BYTES - 1] = '\0';
    }
    c.monster_delay = bytes_get_i32(in, OFF_MONSTER_DELAY);
    c.victory_delay = bytes_get_i32(in, OFF_VICTORY_DELAY);
    c.hit_popup_timer = bytes_get_i32(in, OFF_HIT_POPUP_TIMER);
    c.monster_flash_timer = bytes_get_i32(in, OFF_MONSTER_FLASH_TIMER);
    c.shake_timer = bytes_get_i32(in, OFF_SHAKE_TIMER);
    c.hit_popup_value = bytes_get_i32(in, OFF_HIT_POPUP_VALUE);
    c.hit_popup_heavy = bytes_get_i32(in, OFF_HIT_POPUP_HEAVY);
    c.hurt_popup_timer = bytes_get_i32(in, OFF_HURT_POPUP_TIMER);
    c.hurt_popup_value = bytes_get_i32(in, OFF_HURT_POPUP_VALUE);
    c.hurt_popup_kind = bytes_get_i32(in, OFF_HURT_POPUP_KIND);
    combat = c;
    return true;
}
