// The menu screens' records and the one way into the options.
#include "game/menus.h"

#include "game/state.h"

int32_t options_from = STATE_TITLE;
int32_t options_page = OPTIONS_TOP;
int32_t options_cursor = 0;
int32_t credits_scroll = 0;

void options_open(int32_t from) {
    options_from = from;
    options_page = OPTIONS_TOP;
    options_cursor = OPT_PAGE_DISPLAY;
    game_state = STATE_OPTIONS;
}
