// The player record lives for the whole process; start-up and new runs rebuild it.
#include "game/player.h"

Player player;
