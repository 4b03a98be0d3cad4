// Status ticks of the player.
#include "combat/status.h"

#include "dungeon/map.h"
#include "world/player.h"

const StatusTick STATUS_TICK[ST_COUNT] = {
    {"POISON", "PSN", -1},
    {"BURN", "BRN", -2},
    {"REGEN", "RGN", 1},
};

int status_tick_player(int i, int hp_floor) {
    if (i < 0 || i >= ST_COUNT || player.status[i] == 0) return 0;
    player.status[i]--;
    int hp = player.hp;
    int next = hp + STATUS_TICK[i].change;
    if (STATUS_TICK[i].change < 0) {
        next = hp < hp_floor ? hp : (next < hp_floor ? hp_floor : next);
        // Deep poison bites harder, still not below the floor.
        if (i == ST_POISON && current_floor > 11 && next - 1 >= hp_floor) next -= 1;
    } else {
        int cap = player.max_hp > hp ? player.max_hp : hp;
        if (next > cap) next = cap;
    }
    player.hp = next;
    return next - hp;
}
