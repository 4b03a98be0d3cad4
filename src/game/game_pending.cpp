// Placeholders until the state machine lands: the tick keeps the program running, the draw pass
// shows an empty screen.
#include "game/game.h"

#include "render/screen.h"

int32_t game_state = STATE_POWER_ON;

bool game_tick(uint8_t) { return true; }
void draw_frame() { screen_clear(); }
