// The player record lives for the whole process; start-up and new runs rebuild it.
#include "world/player.h"

Player player;
int32_t current_floor = 0;
