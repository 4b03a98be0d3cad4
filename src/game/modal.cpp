// The modal layers of the tick: a running transition, the yes/no question, the message box, the
// play-stats question and the training-over prompt. The first one up takes the tick's input.
#include "camp/camp.h"
#include "classes/class_select.h"
#include "combat/combat.h"
#include "combat/training.h"
#include "game/run_start.h"
#include "game/state.h"
#include "game/tick_parts.h"
#include "world/buttons.h"
#include "services/confirm.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "sound/audio.h"
#include "telemetry/events.h"
#include "telemetry/run_record.h"

namespace {

// The training-over prompt's answers: the training floor's record ends either way; A carries the
// run on into the dungeon, B drops it and goes back to the title.
void training_carry_on() {
    run_record_emit("training");
    training_done_transition();
}

void training_to_menu() {
    run_record_emit("training");
    run_active = 0;
    run_delete();
}

// Whether the game asks for play-stats consent on the title.
constexpr bool CONSENT_QUESTION_ENABLED = true;

void confirm_answer(uint8_t presses) {
    bool yes = presses & BTN_A;
    bool no = presses & (BTN_B | BTN_SELECT);
    if (!yes && !no) return;  // START and the d-pad leave the question up
    play_sfx(yes ? SFX_CONFIRM : SFX_BACK);
    // Close first: an answer may itself ask the next question.
    int32_t action = confirm_action;
    confirm_open = 0;
    confirm_action = CONFIRM_NONE;
    if (yes) {
        if (action == CONFIRM_ABANDON_RUN) {
            run_abandon();
        } else if (action == CONFIRM_PLAY_TRAINING) {
            training_answer_event(true);
            training_run_transition();
        } else if (action == CONFIRM_LOSE_FLOW) {
            camp_rest();
        }
    } else if (action == CONFIRM_LOSE_FLOW) {
        run_record_item_note("rest-declined", "CAMP");
    } else if (action == CONFIRM_PLAY_TRAINING) {
        training_answer_event(false);
        training_offer_set(false);
        class_cursor = 0;
        game_state = STATE_CLASS_SELECT;
    }
}

void consent_answer(uint8_t presses) {
    if (!(presses & (BTN_A | BTN_B))) return;
    bool yes = presses & BTN_A;
    settings.share_stats = yes ? 1 : 0;
    settings.stats_asked = 1;
    settings_save();
    if (yes) {
        play_sfx(SFX_CONFIRM);
    } else {
        telemetry_discard_queued();
        play_sfx(SFX_BACK);
    }
    consent_open = 0;
}
}  // namespace

bool tick_modal_layers(uint8_t presses) {
    if (transition_active()) {
        if (presses & BTN_A) transition_skip();
        transition_step();
        return true;
    }
    if (confirm_open) {
        confirm_answer(presses);
        return true;
    }
    if (message_box_open) {
        if (presses & (BTN_A | BTN_B | BTN_START | BTN_SELECT)) {
            play_sfx(SFX_CONFIRM);
            message_box_open = 0;
            if (quit_after_box) quit_requested = 1;
        }
        return true;
    }
    if (consent_open) {
        consent_answer(presses);
        return true;
    }
    if (CONSENT_QUESTION_ENABLED && settings.stats_asked == 0 && game_state == STATE_TITLE) {
        consent_open = 1;
        return true;
    }
    return training_end_choice(presses, TrainingEndHooks{.carry_on = training_carry_on, .to_menu = training_to_menu});
}

void tick_menu_sounds(uint8_t presses) {
    if (!state_in_mask(MENU_SOUND_MASK, game_state)) return;
    if (presses & BTN_B)
        play_sfx(SFX_BACK);
    else if ((presses & BTN_START) && game_state == STATE_PAUSE)
        play_sfx(SFX_BACK);
    else if (presses & BTN_A)
        play_sfx(SFX_CONFIRM);
    else if ((presses & BTN_START) && game_state == STATE_TITLE)
        play_sfx(SFX_CONFIRM);
    else if (presses & (BTN_UP | BTN_DOWN | BTN_LEFT | BTN_RIGHT))
        play_sfx(SFX_MOVE);
}
