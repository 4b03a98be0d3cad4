// The yes/no question's state; the tick answers it, the screens draw it.
#include <cstdio>

#include "services/confirm.h"
#include "sound/audio.h"

uint8_t confirm_open = 0;
char confirm_question[40];
int32_t confirm_action = CONFIRM_NONE;

void confirm_ask(const char* question, int32_t action) {
    std::snprintf(confirm_question, sizeof confirm_question, "%s", question);
    confirm_action = action;
    confirm_open = 1;
}

void confirm_lose_flow() {
    confirm_ask("Lose FLOW+THREAT?", CONFIRM_LOSE_FLOW);
    play_sfx(SFX_CONFIRM);
}

bool confirm_is_open() { return confirm_open != 0; }
