// Entry points of modules being written alongside the state machine: monster wandering, the
// effect fields and particles (now real; included for the tick), and the case art's A/B swap. Their
// bodies are temporary, in *_pending.cpp files of those modules; this header goes away when their
// own headers land.
#pragma once
#include <cstdint>

#include "dungeon/map.h"
#include "dungeon/view_pos.h"

// Eases every monster's drawn position toward its cell, once per unpaused tick.
void monsters_ease_draw();

#include "render/fxfield.h"
#include "render/particles.h"

void case_set_swap_ab(int on);
