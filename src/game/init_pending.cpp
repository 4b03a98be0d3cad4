// Placeholder until game start-up lands.
#include "game/game.h"

void game_init() {}
