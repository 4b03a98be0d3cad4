// The exploration screen's tick: the pending encounter, the way-out dialog, turns, steps, waiting
// and the menus. Monsters move only in answer to what the player does here.
#include "game/explore.h"

#include "camp/camp.h"
#include "combat/combat.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "dungeon/view_pos.h"
#include "dungeon/wander.h"
#include "game/bag_screen.h"
#include "items/bag.h"
#include "world/player.h"
#include "game/run_start.h"
#include "game/state.h"
#include "levelup/levelup.h"
#include "world/buttons.h"
#include "services/rumble.h"
#include "runfile/run_file.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "sound/audio.h"
#include "telemetry/run_record.h"

Encounter encounter = {};
int32_t mimic_revealing = -1;
int32_t mimic_reveal_tick = 0;
ChestOpening chest_opening = {-1, 0, 0, 0};

namespace {

constexpr uint8_t DPAD = BTN_UP | BTN_DOWN | BTN_LEFT | BTN_RIGHT;
constexpr int WAY_OUT_ROWS = 4;
enum WayOutRow { WAY_OUT_CONTINUE = 0, WAY_OUT_ESCAPE = 1, WAY_OUT_SAVE_QUIT = 2, WAY_OUT_NOT_YET = 3 };

// Waits on the view's turn, then counts down; a mimic first shows itself, then the fight begins.
void encounter_tick() {
    if (view_pos.angle != view_pos.angle_target) return;
    if (encounter.ticks-- > 1) return;
    int m = monster_at(encounter.x, encounter.y);
    if (m >= 0 && monsters.list[m].type == M_MIMIC && !mimic_is_revealed(monsters.list[m])) {
        monsters.list[m].kind_state = MIMIC_REVEALED;
        mimic_revealing = m;
        mimic_reveal_tick = frame_counter;
        encounter.ticks = 62;
        play_sfx(SFX_BANNER);
        rumble_add(0.5f, 0.5f, 250);
        return;
    }
    int kind = encounter.kind, x = encounter.x, y = encounter.y;
    encounter_disarm();
    start_combat(kind, x, y);
}

void way_out_save_and_quit() {
    if (current_floor < MAX_FLOOR) {
        load_floor(current_floor + 1);
        if (floor_has_camp(current_floor) && !training_active()) camp_enter();
    }
    run_save_and_quit();
}

void way_out_choose(int row) {
    // Nothing lies above the last floor: "continue" is refused there and the dialog stays up.
    if (row == WAY_OUT_CONTINUE && current_floor >= MAX_FLOOR) {
        play_sfx(SFX_DENY);
        return;
    }
    way_out_open = 0;
    switch (row) {
    case WAY_OUT_CONTINUE: floor_banner(); break;
    case WAY_OUT_ESCAPE:
        play_sfx(SFX_CONFIRM);
        run_finish(1);
        game_state = STATE_ESCAPED;
        break;
    case WAY_OUT_SAVE_QUIT: way_out_save_and_quit(); break;
    default: play_sfx(SFX_BACK); break;
    }
}

// The dialog at the exit: on the last floor "continue" cannot be chosen, so the cursor skips it.
void way_out_input(uint8_t presses) {
    int step = (presses & BTN_UP) ? WAY_OUT_ROWS - 1 : (presses & BTN_DOWN) ? 1 : 0;
    if (step) {
        int row = (way_out_cursor + step) % WAY_OUT_ROWS;
        if (row == WAY_OUT_CONTINUE && current_floor >= MAX_FLOOR) row = step;
        way_out_cursor = row;
        play_sfx(SFX_MOVE);
    }
    if (presses & BTN_B)
        way_out_choose(WAY_OUT_NOT_YET);
    else if (presses & BTN_A)
        way_out_choose(way_out_cursor);
}

// A quarter turn on the spot; the monsters answer it, orcs swinging round broadside.
void turn(int quarter) {
    play_sfx(SFX_SWISH);
    player.facing = (player.facing + (quarter > 0 ? 1 : 3)) % 4;
    view_pos.angle_target += quarter > 0 ? VIEW_QUARTER_TURN : -VIEW_QUARTER_TURN;
    explore_mark_view();
    monsters_step(explore_monsters_frozen());
    monsters_step_extra(explore_wide_monster_rule());
}

}  // namespace

void update_dungeon(uint8_t presses) {
    explore_mark_view();
    if (encounter.armed) {
        encounter_tick();
        return;
    }
    // The per-tick monster pass (easing drawn positions) runs in the tick's world animation.
    if (way_out_open) {
        way_out_input(presses);
        return;
    }
    if (levelup_open(levelup_mode_now())) {
        fx_levelup();
        return;
    }

    if (presses & (BTN_LEFT | BTN_RIGHT)) {
        if (training_refuses_turn()) {
            play_sfx(SFX_DENY);
        } else if (presses & BTN_LEFT) {
            turn(-1);
        } else {
            turn(+1);
        }
    }
    if (game_state != STATE_DUNGEON || encounter.armed) return;
    if (presses & BTN_UP)
        dungeon_step(+1);
    else if (presses & BTN_DOWN)
        dungeon_step(-1);
    if (game_state != STATE_DUNGEON || encounter.armed || transition_active()) return;

    if ((presses & BTN_A) && !(presses & DPAD)) monsters_step(explore_monsters_frozen());
    if (presses & (BTN_START | BTN_SELECT)) {
        play_sfx(SFX_CONFIRM);
        state_under_pause = STATE_DUNGEON;
        if (presses & BTN_START) {
            pause_cursor = 0;
            game_state = STATE_PAUSE;
        } else {
            bag_view_reset();
            game_state = STATE_BAG;
        }
    }
}

LevelupMode levelup_mode_now() { return LevelupMode{training_active()}; }

void encounter_arm(int kind, int x, int y, int ticks) {
    encounter.armed = 1;
    encounter.kind = kind;
    encounter.x = x;
    encounter.y = y;
    encounter.ticks = ticks;
}

void encounter_disarm() {
    encounter = Encounter{};
    mimic_revealing = -1;
}


bool encounter_is_armed() { return encounter.armed != 0; }

int32_t encounter_roar_ticks(int m) {
    if (!encounter.armed || m < 0 || m != mimic_revealing) return -1;
    return frame_counter - mimic_reveal_tick;
}

int32_t mimic_reveal_ticks(int monster_index) {
    if (monster_index < 0 || monster_index != mimic_revealing) return -1;
    return frame_counter - mimic_reveal_tick;
}

int32_t chest_open_ticks(int x, int y) {
    if (chest_opening.floor != current_floor || chest_opening.x != x || chest_opening.y != y) return -1;
    return frame_counter - chest_opening.tick;
}

bool explore_monsters_frozen() { return training_active() || cheat_flags[CHEAT_FREEZE_MONSTERS]; }

CellTest explore_wide_monster_rule() { return training_active() ? training_monster_may_step : nullptr; }
