// The monsters' moves of the turn-menu fight: a telegraph label for each and which are heavy blows.
// Read by the fight's move queue and the classic fight view.
#pragma once
#include <cstdint>

constexpr int MONSTER_MOVE_COUNT = 29;

struct MonsterMove {
    const char* label;  // the telegraph, upper case, at most 15 characters
    uint8_t heavy;      // a heavy strike: a guard needs a shield or a two-handed parry
};

extern const MonsterMove MONSTER_MOVES[MONSTER_MOVE_COUNT];
