// Status counters and their ticks, for the player and the fought monster.
#include "combat/status.h"

#include <algorithm>

#include "dungeon/map.h"
#include "world/game_state.h"
#include "world/player.h"

const StatusTick STATUS_TICK[ST_COUNT] = {
    {"POISON", "PSN", -1},
    {"BURN", "BRN", -2},
    {"REGEN", "RGN", 1},
};

namespace {
constexpr int STATUS_MAX = 255;
constexpr int DEEP_POISON_FLOOR = 11;

// One tick on a counter set and an hp value; the player's debug flag may undo a loss.
int tick_counters(uint8_t counters[3], int i, int32_t* hp, int max_hp, int hp_floor, bool player_side) {
    if (i < 0 || i >= ST_COUNT || counters[i] == 0) return 0;
    counters[i]--;
    int before = *hp;
    int next = before + STATUS_TICK[i].change;
    if (STATUS_TICK[i].change < 0) {
        next = before < hp_floor ? before : std::max(next, hp_floor);
        // Deep poison bites harder, still not below the floor.
        if (i == ST_POISON && current_floor > DEEP_POISON_FLOOR && next - 1 >= hp_floor) next -= 1;
        if (player_side && cheat_flags[CHEAT_IMMORTAL]) next = before;
    } else {
        next = std::min(next, std::max(max_hp, before));
    }
    *hp = next;
    return next - before;
}
}  // namespace

void status_add(uint8_t counters[3], int i, int n) {
    if (i < 0 || i >= ST_COUNT) return;
    counters[i] = (uint8_t)std::max<int>(counters[i], std::clamp(n, 0, STATUS_MAX));
}

void status_clear(uint8_t counters[3]) {
    for (int i = 0; i < ST_COUNT; i++) counters[i] = 0;
}

bool status_has(const uint8_t counters[3], int i) { return i >= 0 && i < ST_COUNT && counters[i] > 0; }

bool status_any(const uint8_t counters[3]) { return counters[0] || counters[1] || counters[2]; }

int poison_strength(int floor) { return floor < 6 ? 5 : (floor < 12 ? 6 : 8); }

int status_tick_player(int i, int hp_floor) {
    return tick_counters(player.status, i, &player.hp, player.max_hp, hp_floor, true);
}

int status_tick_monster(uint8_t counters[3], int i, int32_t* hp, int max_hp, int hp_floor) {
    return tick_counters(counters, i, hp, max_hp, hp_floor, false);
}
