// What the game asks of the platform, as plain functions the platform implements: applying the
// settings, the shape of the case, and the hooks a store build would fill (empty here). Also the
// two switches the settings turn on for their readers.
#pragma once
#include <cstdint>

// Switches the settings turn on and off for their readers (case sheen, fight timing bar).
extern uint8_t case_shine_on;
extern uint8_t timing_bar_on;

// The store page opener the end-of-demo screen calls; returns 0 on success, -1 on failure.
extern int (*open_url_fn)(const char* url);

// Copies the text into out (at most size - 1 characters, always terminated) with each button
// placeholder such as "{A}" replaced by the name of what that action is bound to on the device in use.
void text_expand_glyphs(const char* text, char* out, int size);

// Puts every setting back in its range, then hands the settings to the case, palette, screen
// effect, ghosting and sound.
void settings_clamp();
// Whether the console case is the phone-shaped model, which has no room for a case colour.
bool platform_case_is_phone();
// Restores the default key and controller bindings and unswaps A and B.
void bindings_default();
// The rebinding prompt's step: while it waits for a key the game sees no buttons; otherwise A and
// B are exchanged when the settings ask for it.
uint8_t rebind_tick(uint8_t bits);

void platform_init();
void platform_step();
void platform_shutdown();
void platform_tick();
void platform_profile_loaded();
void platform_milestone(int id);
void platform_counter_bump(int id);
void platform_unlocks_changed();
