// A hand-made saved fight block of a turn-menu fight (the real-time flag 0), restored into the
// fight record as the run loader would: the monster, its hp, its cell and its queued moves.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "combat/combat.h"
#include "saves/bytes.h"

inline bool turn_block_restore(int type, int hp, int max_hp, std::initializer_list<int> queue, int mx, int my) {
    uint8_t b[COMBAT_SAVED_BYTES] = {};
    bytes_put_u32(b, 0, (uint32_t)type);
    bytes_put_i32(b, 4, hp);
    bytes_put_i32(b, 8, max_hp);
    b[47] = 0xFF;  // no move made yet
    bytes_put_i32(b, 52, mx);
    bytes_put_i32(b, 56, my);
    int n = 0;
    for (int m : queue)
        if (n < MOVE_QUEUE_CAP) b[60 + n++] = (uint8_t)m;
    bytes_put_i32(b, 64, n);
    b[76] = 0;  // the turn-menu fight
    std::memcpy(b + 84, "A FOE appears!", 14);
    return combat_save_read(b);
}
