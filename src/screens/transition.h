// Screen transitions: a wipe to black, the state change at the mid-point, a held caption card
// and a wipe back. While one runs the tick only steps it.
#pragma once
#include <cstdint>

typedef void (*TransitionFn)();

struct Transition {
    int32_t phase;  // 0 off, 1 wipe in, 2 hold, 3 wipe out
    int32_t frame;
    TransitionFn callback;
    char title[32];
    char subtitle[32];
    uint8_t typed;
    int32_t hold;
    int32_t typing;
    int32_t sparks;
};
extern Transition transition;

// Returns the hold length.
int32_t transition_start(TransitionFn callback, const char* title, const char* subtitle, bool typed);
void transition_extend(int32_t n);
void transition_sparks();
bool transition_active();
// Whether the black card with its caption stands over the view (between the wipes).
bool transition_card_up();
void transition_step();
void transition_skip();
void transition_draw();
void transition_done_play();

// Seams for a platform layer; all do nothing here.
bool hook_overlay_enabled();
void hook_overlay_draw();
bool hook_tick_suspended();
