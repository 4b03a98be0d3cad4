// The power-on screen's input: the bell, then the splash after the logo or on a press.
#include "game/menus.h"
#include "game/state.h"
#include "world/buttons.h"
#include "sound/audio.h"

int32_t power_on_counter = 0;

void update_power_on(uint8_t presses) {
    if (power_on_counter < 0) {
        if (presses) power_on_counter = 0;
        return;
    }
    if (power_on_counter == 80) play_sfx(SFX_BELL);
    int32_t was = power_on_counter++;
    if (was > 188 || ((presses & (BTN_A | BTN_START)) && was > 0)) game_state = STATE_SPLASH;
}
