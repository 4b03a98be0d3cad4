// The class-select screen's input: up and down between the two classes, B back to the title, A or
// START begins a run unless the class is still locked. Called by the state machine in its state.
#include "classes/class_select.h"

#include "classes/classes.h"
#include "profile/profile.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "world/buttons.h"
#include "world/game_state.h"

int32_t class_cursor = 0;

int update_class_select(uint8_t presses) {
    if (presses & (BTN_UP | BTN_DOWN)) {
        const int32_t before = class_cursor;
        class_cursor = (class_cursor + 1) % CLASS_COUNT;
        if (class_cursor < 0) class_cursor = 0;
        if (class_cursor != before) play_sfx(SFX_MOVE);
    }
    // Left and right would step the run heat, which is not offered.
    if (presses & BTN_B) {
        play_sfx(SFX_BACK);
        game_state = STATE_TITLE;
        return CLASS_SELECT_STAY;
    }
    if (presses & (BTN_A | BTN_START)) {
        const int c = class_cursor >= 0 && class_cursor < CLASS_COUNT ? class_cursor : CLASS_KNIGHT;
        if (class_locked(c)) {
            toast_show("UNLOCK IT WITH SOULS");
            play_sfx(SFX_DENY);
            return CLASS_SELECT_STAY;
        }
        play_sfx(SFX_CONFIRM);
        return c;
    }
    return CLASS_SELECT_STAY;
}
