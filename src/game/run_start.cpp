// The steps that open a run, a training run or the floor after training behind a transition,
// and the ways back to the title.
#include <cstdio>

#include "camp/camp.h"
#include "classes/class_select.h"
#include "classes/classes.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "game/bag_screen.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "world/player.h"
#include "game/run_start.h"
#include "game/state.h"
#include "services/rumble.h"
#include "services/confirm.h"
#include "services/services.h"
#include "services/toast.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "sound/audio.h"
#include "telemetry/events.h"
#include "telemetry/run_record.h"

// A failed save waits in a box over whatever is up until a button is pressed: a toast went
// unseen on the pause menu and under a wipe, and was gone in a second and a half.
void save_failed_notice() {
    // A box would take the duel's presses while its clock runs on: the fight gets the toast, and
    // the save tried again on the way back to the dungeon shows the box if it still fails.
    if (game_state == STATE_COMBAT) {
        toast_show("SAVE FAILED!");
        return;
    }
    std::snprintf(message_box_text, sizeof message_box_text, "%s", "SAVE FAILED!");
    message_box_open = 1;
}

namespace {

// The very first run of a profile holds its opening card a little longer.
constexpr int32_t FIRST_RUN_EXTRA_HOLD = 45;

void enter_new_run() {
    game_state = STATE_DUNGEON;
    run_active = 1;
    run_save_now();
}

void run_start_mid() {
    new_run();
    class_apply(run_class);
    profile_run_begin();
    enter_new_run();
}

void training_run_mid() {
    new_run();
    class_apply(CLASS_KNIGHT);
    training_start();
    enter_new_run();
}

void training_done_mid() {
    int f = current_floor;
    load_floor(f + 1);
    platform_unlocks_changed();
    if (floor_has_camp(f + 1) && !training_active()) camp_enter();
    if (run_active) run_save_now();
}

void opening_transition(TransitionFn mid) {
    transition_start(mid, "THE VORN KEEPS", "EVERYONE.", true);
    if (profile_runs() == 0) transition_extend(FIRST_RUN_EXTRA_HOLD);
}

// After a run closes: the training question over the title, or straight to the class select.
void title_then_class_select(int32_t cursor) {
    if (TRAINING_OFFER_ENABLED && training_offer_on()) {
        confirm_ask("Play the training?", CONFIRM_PLAY_TRAINING);
    } else {
        class_cursor = cursor;
        game_state = STATE_CLASS_SELECT;
    }
}

}  // namespace

void run_start_transition(int cls) {
    run_class = cls;
    opening_transition(run_start_mid);
}

void training_run_transition() { opening_transition(training_run_mid); }

void training_done_transition() {
    play_sfx(SFX_BELL);
    if (rumble_enabled()) rumble_add(0.5f, 0.3f, 400);
    transition_start(training_done_mid, "THE TRAINING IS DONE...", "...CAN YOU ESCAPE?", true);
    transition_sparks();
}

// While a held item has no place to go the run is not written: that save would lose the item.
bool run_save_now() {
    if (bag_stow_held() && save_run()) return true;
    save_failed_notice();
    return false;
}

void run_save_and_quit() {
    run_record_emit("saved");
    if (bag_stow_held() && save_run()) {
        play_sfx(SFX_CONFIRM);
        run_active = 0;
        way_out_open = 0;
        title_cursor = 0;
        game_state = STATE_TITLE;
    } else {
        save_failed_notice();
        play_sfx(SFX_DENY);
    }
}

void run_abandon() {
    bool outdated = false;
    if (load_run())
        run_finish(0);
    else if (run_set_aside_refused(&outdated) == RUN_KEPT_ASIDE)
        title_notices |= outdated ? TITLE_NOTICE_RUN_OLD : TITLE_NOTICE_RUN;  // it went bad since the title read it
    else
        run_delete();
    game_state = STATE_TITLE;
    title_then_class_select(0);
}

void demo_end_leave() {
    int32_t kept = player.cls < CLASS_COUNT ? player.cls : 0;
    run_summary_refresh();
    title_cursor = 1;
    game_state = STATE_TITLE;
    title_then_class_select(kept);
}

void training_answer_event(bool yes) {
    char data[64];
    std::snprintf(data, sizeof data, "{\"answer\":\"%s\",\"runs\":%d}", yes ? "yes" : "no", (int)profile_runs());
    event_append("training", data);
}
