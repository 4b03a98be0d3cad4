// The player record lives for the whole process; start-up and new runs rebuild it. Heals raise its hp
// through player_gain_hp, which caps them at the maximum.
#include "world/player.h"

Player player;
int32_t current_floor = 0;

int player_gain_hp(int n) {
    const int room = player.max_hp - player.hp;
    const int gained = n < room ? n : room;
    if (gained <= 0) return 0;
    player.hp += gained;
    return gained;
}
