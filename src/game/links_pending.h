// Entry points of modules being written alongside the state machine: the map and camera, the
// effect fields and particles (now real; included for the tick), and the case art's A/B swap. Its
// body is temporary, in a *_pending.cpp file of that module; this header goes away when its own
// header lands.
#pragma once
#include <cstdint>

#include "dungeon/map.h"
#include "dungeon/view_pos.h"

#include "render/fxfield.h"
#include "render/particles.h"

void case_set_swap_ab(int on);
