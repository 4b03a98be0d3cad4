// The lifetime profile as the tick and the settings see it.
#pragma once

void profile_tick(bool in_play);
bool training_offer_on();
void training_offer_set(bool on);
bool case_color_locked(int colour);
bool palette_locked(int palette);
bool monster_art_locked(int art);
// Adds one to the joke-banner counter, saves the profile and returns the old count mod 30.
int joke_banner_next();
