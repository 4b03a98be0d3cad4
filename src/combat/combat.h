// Fights as the state machine sees them: the fight record, starting a fight, the per-step updates,
// victory, the fight log, and the training prompt and tips. Called by exploration and the tick.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int MOVE_QUEUE_CAP = 4;
constexpr int COMBAT_LOG_LINES = 3;
constexpr int COMBAT_LOG_BYTES = 24;     // 23 characters and the terminator
constexpr int COMBAT_SAVED_BYTES = 228;  // the part of the record the run file keeps
constexpr int VICTORY_LINE_BYTES = 28;
constexpr int32_t VICTORY_DELAY_TICKS = 34;
constexpr int32_t POPUP_HIT_TICKS = 10;
constexpr int32_t POPUP_LONG_TICKS = 48;
constexpr int32_t HURT_KIND_BLOCK = 4, HURT_KIND_HURT = 0;

// Why the player's last hurt happened (the death screen's hint).
enum HurtReason : int32_t {
    HURT_NONE = 0, HURT_PLAIN = 1, HURT_DIED_BLOCKING = 2, HURT_SIDE_NOT_DODGED = 3, HURT_WRONG_WAY = 4,
    HURT_THROUGH_GUARD = 5, HURT_STATUS = 6,
};

// The fight in progress. The saved fields are written and read field by field by combat_save_write
// and combat_save_read at the offsets documented beside them.
struct Combat {
    uint32_t type;
    int32_t hp, max_hp;
    int32_t turn;                 // turn-menu fight: turns taken
    uint8_t enraged, fury, first_strike;  // turn-menu fight: monster buff bytes
    uint8_t elite;
    // Turn-menu scratch (32 bytes saved).
    int32_t heal_shown, heal_timer;
    int32_t action_cursor, item_cursor;
    int32_t fire_turns, fire_dose;
    uint8_t guarding, missed, item_menu, last_move;
    int32_t monster_x, monster_y;
    uint8_t queue[MOVE_QUEUE_CAP];
    int32_t queued;
    int32_t gold_stolen;
    int32_t buff;
    uint8_t reflex;
    uint8_t fled;                 // the monster was fled from (turn-menu fight)
    uint8_t guard_break_due;
    uint8_t monster_status[3];
    char log[COMBAT_LOG_LINES][COMBAT_LOG_BYTES];
    int32_t monster_delay, victory_delay;
    int32_t hit_popup_timer, monster_flash_timer, shake_timer;
    int32_t hit_popup_value, hit_popup_heavy;
    int32_t hurt_popup_timer, hurt_popup_value, hurt_popup_kind;
    // Not saved.
    int32_t hit_popup_kind;       // turn-menu fight: the popup over the monster (plain, critical, halved, miss)
    uint8_t hit_by_side;
    int32_t hurt_reason;
    char flow_word[24];
    char victory_lines[2][VICTORY_LINE_BYTES];
    uint8_t levelled;
    int32_t death_hits, death_ms, death_status;
};

extern Combat combat;
extern uint32_t killer_type;
extern uint8_t reflex_fights;   // 1: new fights are duels
extern uint8_t reflex_started;  // a direction held from the bump does not dodge

// Starts the fight with the monster of kind `type` standing on (x, y).
void start_combat(int type, int x, int y);
void combat_update(uint8_t held, uint8_t presses);  // one step of a real-time fight
void combat_player_input(uint8_t presses);          // one step of a turn-menu fight
void combat_monster_act();                          // the monster's move when its delay runs out
void combat_tick();                                 // the fight's timers, every unpaused tick
void combat_victory();
void combat_resume_reflex();
int combat_monster_attack();
void combat_log_push(const char* text);
// Fills the turn-menu move queue up to two moves (every fight start draws from the loot stream).
void combat_queue_fill();
bool combat_is_reflex();                    // the fight in progress is real-time
bool flow_hint_due();                       // the fight wants the A button pointed out
bool combat_auto_paused();                  // the real-time fight is paused by itself (never: see combat_pause.cpp)
int32_t combat_victory_delay();             // ticks left of the victory pause
void fx_update();                           // shake, flashes, popups
void fx_levelup();                          // the level-up flash

// The 228 saved bytes of the record: written and read field by field, little-endian.
void combat_save_write(uint8_t out[COMBAT_SAVED_BYTES]);
// False, and the record left as it was, when a value is out of its range.
bool combat_save_read(const uint8_t in[COMBAT_SAVED_BYTES]);

bool training_active();
// The tips box, the hint line, the training-over prompt and the spotlight, over the screen (drawn
// by the screens). The bag screen hands in where its cursor is.
struct BagCursorView;
void draw_tips_overlay(const BagCursorView& bag);

// Clears shakes, flashes and popups.
void fx_reset();
// How the fatal fight went, for the death screen.
struct DeathNumbers {
    int32_t hurt_reason;  // HurtReason of the last hurt; HURT_STATUS when a status counter took it
    int32_t status;       // ST_POISON .. ST_REGEN when a status finished the player, else -1
    int32_t hits_taken;
    int32_t fight_ms;
};
DeathNumbers combat_death_numbers();
// The player's chance in percent to evade a monster's blow: the class's and SIDESTEP's, at most 75.
int evade_chance();
