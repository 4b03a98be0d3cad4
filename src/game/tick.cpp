// The 60 Hz tick: input words, the hidden sequence, auto-repeat, the screen-entry guard, the
// modal layers, the running state's update, autosave, invariants and the session file.
#include "camp/camp.h"
#include "combat/combat.h"
#include "combat/training.h"
#include "game/explore.h"
#include "dungeon/view_pos.h"
#include "dungeon/wander.h"
#include "game/bag_screen.h"
#include "game/game.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/softlock_watch.h"
#include "game/state.h"
#include "game/tick_parts.h"
#include "world/buttons.h"
#include "services/toast.h"
#include "services/rumble.h"
#include "services/services.h"
#include "profile/profile.h"
#include "dungeon/particles.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "saves/write_notice.h"
#include "runfile/run_file.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "sound/audio.h"
#include "sound/music.h"
#include "telemetry/perf.h"
#include "telemetry/run_record.h"
#include "telemetry/session.h"
#include "telemetry/softlock.h"

namespace {
constexpr uint8_t DPAD = BTN_UP | BTN_DOWN | BTN_LEFT | BTN_RIGHT;
constexpr uint8_t SEQUENCE_BUTTONS = DPAD | BTN_A | BTN_B;
constexpr int32_t TRANSITION_WIPE_IN = 1;  // the wipe's phase before its mid-point

// What the particles need of the game this tick.
ParticleStep particle_step_now() {
    ParticleStep step{};
    step.dungeon = game_state == STATE_DUNGEON;
    step.combat = game_state == STATE_COMBAT;
    step.coins = step.dungeon && !transition_active();
    step.souls = step.coins ? souls_preview(0) : 0;
    step.embers = settings.effects != 0;
    step.view_w = screen_view_width();
    step.view_h = screen_view_height();
    return step;
}

// The state and the save count before a step of the tick that may change the state.
struct StateEntry {
    int32_t state = game_state;
    uint32_t saves = run_saves_made;
};

// The tick's last change of state, and whether the step that made it saved the run itself (a
// run's start, a new floor: that save was made after the change).
struct LastChange {
    bool changed = false;
    bool saved = false;
};

void state_change_note(const StateEntry& before, LastChange& last) {
    if (game_state == before.state) return;
    last.changed = true;
    last.saved = run_saves_made != before.saves;
}

// Entering a play state saves the run, however it was entered: by the state's update, by the
// fight's clock or by a wipe's mid-point. The save is made once, at the end of the tick, for its
// last change: a won duel that opens a level-up in the same tick is saved on the cards alone. A
// step that saved after its own change is not repeated; a wipe still closing over the old screen
// leaves the save to its mid-point, where the screen really changes.
void autosave_on_entry(const LastChange& last) {
    if (!last.changed || !run_active || !state_in_mask(AUTOSAVE_STATE_MASK, game_state)) return;
    if (last.saved) return;
    if (transition.phase == TRANSITION_WIPE_IN) return;
    run_save_now();
}

// Runs the steps that a suspended tick skips: screen timers, the world's animation, the music
// request, the modal layers and the state's update with its autosave.
void tick_world_and_state(uint8_t presses) {
    LastChange last{};
    // Bag screen: ease its cursor, count its timers.
    if (game_state == STATE_BAG) bag_screen_ease();
    bag_screen_timers_tick();

    // World animation, unless the game is paused.
    if (!game_is_paused()) {
        frame_counter++;
        world_animate();
        monsters_ease_draw();
        const StateEntry timers{};
        combat_tick();
        // A turn-menu monster acts on its timer: a death there ends the run as a death in the update does.
        if (timers.state == STATE_COMBAT && game_state == STATE_DEATH) run_finish(0);
        state_change_note(timers, last);  // a won duel returns to the dungeon on its clock
        fx_update();
        particles_update(particle_step_now());
    }

    // Toast clock and the platform's per-tick hook.
    if (toast_timer > 0) toast_timer--;
    platform_tick();

    // A turn-menu monster's blow on the fight's clock killed the player this tick: the tick's
    // presses were meant for the fight's menu, and the death screen must not take them, or it would
    // skip the replay and itself.
    if (game_state == STATE_DEATH && prev_state == STATE_COMBAT) presses = 0;

    // The state's song.
    if (state_in_mask(STATE_MUSIC_MASK, game_state)) play_song(STATE_MUSIC[game_state]);

    // Modal layers take the tick before the state does; a wipe's mid-point (the camp's ONWARD)
    // changes the state here.
    const StateEntry modal{};
    const bool modal_took = tick_modal_layers(presses);
    state_change_note(modal, last);
    if (modal_took) {
        autosave_on_entry(last);
        return;
    }

    // The running state's update.
    tick_menu_sounds(presses);
    const StateEntry update{};
    tick_update_state(presses);

    // Death snapshot on a fresh entry; autosave on entering a play state.
    if (game_state == STATE_DEATH && prev_state != STATE_DEATH) screen_snapshot_take();
    prev_state = game_state;
    state_change_note(update, last);
    autosave_on_entry(last);
}
}  // namespace

bool state_in_mask(uint32_t mask, int32_t state) { return state >= 0 && state < 32 && ((mask >> state) & 1u); }

uint8_t tick_secret_step(uint8_t presses) {
    if (presses & SEQUENCE_BUTTONS) {
        if (presses & SECRET_SEQUENCE[secret_progress])
            secret_progress++;
        else
            secret_progress = (presses & SECRET_SEQUENCE[0]) ? 1 : 0;
        if (secret_progress > SECRET_LENGTH - 1) {
            secret_progress = 0;
            caption_index = joke_banner_next();
            caption_timer = 200;
            play_sfx(SFX_BREAK);
            rumble_add(0.6f, 0.3f, 400);
            presses &= (uint8_t)~BTN_A;
        }
    }
    if (caption_timer > 0) caption_timer--;
    return presses;
}

uint8_t tick_repeat_step(uint8_t held, uint8_t presses) {
    uint8_t dirs = held & DPAD;
    if (game_state == repeat_state && dirs && dirs == repeat_dirs) {
        int32_t c = repeat_ticks;
        if (c >= 15 && (c & 7) == 7) presses |= dirs;
        repeat_ticks = c + 1;
    } else {
        repeat_state = game_state;
        repeat_ticks = 0;
    }
    repeat_dirs = dirs;
    return presses;
}

int32_t tick_guard_kind() {
    switch (game_state) {
    case STATE_LEVELUP:
        // The cards' first moments count from when they can be read: not under a wipe, nor under
        // the training's tip box.
        return transition_active() || tip_or_prompt_showing() ? GUARD_NONE : GUARD_LEVELUP;
    case STATE_ESCAPED:
        return GUARD_ESCAPED;
    case STATE_DEMO_END:
        return GUARD_DEMO_END;
    case STATE_TITLE:
        // A press meant for the splash must never answer the play-stats question.
        return consent_open ? GUARD_CONSENT : GUARD_NONE;
    case STATE_DEATH:
        return screen_snapshot_get() ? GUARD_DEATH_REPLAY : GUARD_DEATH;
    case STATE_CAMP:
        return camp_page == CAMP_PAGE_BOONS ? GUARD_CAMP_BOONS : GUARD_NONE;
    case STATE_DUNGEON:
        return way_out_open ? GUARD_WAY_OUT : GUARD_NONE;
    default:
        return GUARD_NONE;
    }
}

uint8_t tick_guard_step(uint8_t held, uint8_t presses) {
    int32_t kind = tick_guard_kind();
    if (kind != guard_kind) {
        input_lock_held = (input_guard_ticks > 0 && kind != GUARD_NONE) ? 1 : 0;
        if (!input_lock_held)
            input_lock_timer = 0;
        else if (guard_kind == GUARD_DEATH_REPLAY && kind == GUARD_DEATH)
            input_lock_timer = input_guard_ticks / 3;  // the replay already held the player back
        else
            input_lock_timer = input_guard_ticks;
        guard_kind = kind;
    }
    if (!(held & BTN_A)) input_lock_held = 0;
    if (input_lock_timer > 0 || ((held & BTN_A) && input_lock_held)) {
        presses &= (uint8_t)~(BTN_A | BTN_START);
        if (input_lock_timer > 0) input_lock_timer--;
    }
    return presses;
}

// The floor's record counts the dungeon to the camp, level-up, and options or controls opened
// from the pause menu.
static bool run_record_playing() {
    if (game_state >= STATE_DUNGEON && game_state <= STATE_CAMP) return true;
    if (game_state == STATE_LEVELUP) return true;
    return (game_state == STATE_OPTIONS || game_state == STATE_CONTROLS) && options_from == STATE_PAUSE;
}

bool game_tick(uint8_t input) {
    // Input words: rebinding, held bits, new presses.
    perf_begin(ZONE_TICK);
    input_raw = input;
    uint8_t held = rebind_tick(input);
    input_held = held;
    uint8_t presses = input_edges(held, input_prev);
    input_prev = held;

    // Hidden sequence and its caption clock.
    presses = tick_secret_step(presses);
    // D-pad auto-repeat.
    presses = tick_repeat_step(held, presses);
    // Screen-entry guard.
    presses = tick_guard_step(held, presses);

    // A suspended tick skips straight to the bookkeeping.
    if (!hook_tick_suspended()) tick_world_and_state(presses);

    // Quit request, tips, lifetime statistics.
    bool quit = quit_requested != 0;
    tips_update(TipsWorld{.encounter_armed = encounter_is_armed(), .transition_running = transition_active(),
                          .camp_on_hub = camp_page == CAMP_PAGE_HUB, .arm_encounter = encounter_arm});
    profile_tick(state_in_mask(IN_PLAY_STAT_MASK, game_state));
    // A settings or profile write that failed since the last tick, here or in the shell (a rebound
    // key, full screen), is told as a failed run save is.
    if (write_failure_take()) save_failed_notice();

    // Invariants.
    game_check_invariants();

    // Softlock detector and the floor's run record.
    softlock_check(softlock_watch_hash(), input);
    run_record_tick(run_record_playing());

    // Session file.
    session_tick();

    // Close the tick's zone; a finished trace capture says so.
    perf_end(ZONE_TICK);
    if (perf_trace_saved) {
        perf_trace_saved = 0;
        toast_show("TRACE SAVED");
    }
    return !quit;
}
