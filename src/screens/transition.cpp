// The transition's clock: wipe in (24 steps, callback at the mid-point), hold, wipe out (30).
#include "screens/transition.h"

#include <cstdio>
#include <cstring>

#include "world/game_state.h"

Transition transition = {};

int32_t transition_start(TransitionFn callback, const char* title, const char* subtitle, bool typed) {
    transition.phase = 1;
    transition.frame = 0;
    transition.callback = callback;
    std::snprintf(transition.title, sizeof transition.title, "%s", title ? title : "");
    std::snprintf(transition.subtitle, sizeof transition.subtitle, "%s", subtitle ? subtitle : "");
    transition.typed = typed ? 1 : 0;
    transition.typing =
        typed ? 3 * (int32_t)(std::strlen(transition.title) + std::strlen(transition.subtitle)) : 0;
    transition.hold = transition.typing + 50;
    transition.sparks = 0;
    return transition.hold;
}

void transition_extend(int32_t n) {
    if (n > 0 && transition.phase != 0) transition.hold += n;
}

void transition_sparks() {
    transition.sparks = 1;
    transition.hold += 25;
}

bool transition_active() { return transition.phase != 0; }

bool transition_card_up() { return transition.phase == 2; }

void transition_step() {
    switch (transition.phase) {
    case 1:
        if (transition.frame++ == 23) {
            // Into the hold before the callback, so a callback that starts another transition
            // keeps it.
            const TransitionFn mid = transition.callback;
            transition.phase = 2;
            transition.frame = 0;
            if (mid) mid();
        }
        break;
    case 2:
        if (++transition.frame >= transition.hold) {
            transition.phase = 3;
            transition.frame = 0;
        }
        break;
    case 3:
        if (transition.frame++ == 29) transition.phase = 0;
        break;
    default:
        break;
    }
}

void transition_skip() {
    if (transition.phase != 2) return;
    if (transition.frame < transition.typing)
        transition.frame = transition.typing;
    else
        transition.phase = 0;
}

void transition_done_play() { game_state = STATE_DUNGEON; }

bool hook_overlay_enabled() { return false; }
void hook_overlay_draw() {}
bool hook_tick_suspended() { return false; }
