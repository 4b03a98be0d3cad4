// Entry points of modules being written alongside the state machine (the map and monsters, the
// floor loader, the renderer's sharp rectangles, effect fields and particles, the case art and the
// shell's open-URL hook). Their bodies are temporary, in *_pending.cpp files of those modules;
// this header goes away when their own headers land.
#pragma once
#include <cstdint>

// The floor being played (0-based).
extern int32_t current_floor;
// Eases the camera toward the player's cell and target angle, once per unpaused tick.
void world_animate();
// Eases every monster's drawn position toward its cell, once per unpaused tick.
void monsters_ease_draw();

void sharp_rects_clear();
void fxfield_set_slot0(float x);
int fxfield_update(int slot, int width, int height);
void particles_update();

void case_set_color(int colour);
void case_set_swap_ab(int on);

// Opens a web address in the browser; null when the platform gave no way to do it.
extern int (*open_url_fn)(const char* url);
