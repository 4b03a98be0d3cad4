// The turn-menu fight's move queue: each monster kind's rule for its next moves, drawn from the loot
// stream. start_combat fills it for every fight, duels included.
#include "combat/combat_queue.h"

#include <cstdint>

#include "combat/combat.h"
#include "combat/loot.h"
#include "combat/status.h"
#include "dungeon/monster_moves.h"
#include "dungeon/monsters.h"
#include "world/player.h"

namespace {

constexpr int QUEUE_TARGET = 2;
constexpr int MOVE_INTENT_COUNT = 28;
constexpr int MAX_ROARS = 2;

enum Move : uint8_t {
    MV_HIT = 0, MV_SMASH = 1, MV_DOUBLE_BITE = 2, MV_VENOM_BITE = 3, MV_EYE_GOLD = 4, MV_GRAB_RUN = 5,
    MV_INHALE = 6, MV_BREATH = 7, MV_CUT = 8, MV_FLIT = 9, MV_SPIT = 10, MV_HARDEN = 11, MV_ROAR = 12,
    MV_DROOL = 13, MV_CHOMP = 14, MV_GROUND_SLAM = 23,
};

const uint8_t MOVE_INTENT_KIND[MOVE_INTENT_COUNT] = {
    INTENT_STRIKE,  INTENT_HEAVY,   INTENT_STRIKE,  INTENT_TRICK,   INTENT_TRICK,   INTENT_TRICK,   // 0-5
    INTENT_PREPARE, INTENT_HEAVY,   INTENT_TRICK,   INTENT_PREPARE, INTENT_TRICK,   INTENT_PREPARE, // 6-11
    INTENT_PREPARE, INTENT_PREPARE, INTENT_HEAVY,   INTENT_PREPARE, INTENT_HEAVY,   INTENT_PREPARE, // 12-17
    INTENT_TRICK,   INTENT_PREPARE, INTENT_HEAVY,   INTENT_STRIKE,  INTENT_PREPARE, INTENT_HEAVY,   // 18-23
    INTENT_STRIKE,  INTENT_STRIKE,  INTENT_STRIKE,  INTENT_STRIKE,                                  // 24-27
};

void push(uint8_t move) {
    if (combat.queued >= 0 && combat.queued < MOVE_QUEUE_CAP) combat.queue[combat.queued++] = move;
}

bool queued(uint8_t move) {
    for (int i = 0; i < combat.queued && i < MOVE_QUEUE_CAP; i++)
        if (combat.queue[i] == move) return true;
    return false;
}

// A status move turns into a plain hit when the player already suffers it.
uint8_t unless_poisoned(uint8_t move) { return status_has(player.status, ST_POISON) ? (uint8_t)MV_HIT : move; }

}  // namespace

int move_intent_kind(int move) { return move >= 0 && move < MOVE_INTENT_COUNT ? MOVE_INTENT_KIND[move] : 0; }

int move_is_heavy(int move) { return move >= 0 && move < MONSTER_MOVE_COUNT ? MONSTER_MOVES[move].heavy : 0; }

void combat_queue_fill() {
    if (combat.queued < 0 || combat.queued > MOVE_QUEUE_CAP) combat.queued = 0;
    while (combat.queued < QUEUE_TARGET) {
        int r = loot_rand(100) - 1;
        int prev = combat.queued == 1 ? combat.queue[0] : -1;
        switch (combat.type) {
        case M_GOBLIN:
            if (r < 25 && player.gold > 0 && combat.gold_stolen == 0 && !queued(MV_EYE_GOLD)) {
                push(MV_EYE_GOLD);
                push(MV_GRAB_RUN);
            } else if (current_floor >= 6 && r >= 25 && r < 50 && prev != MV_CUT) {
                push(unless_poisoned(MV_CUT));
            } else {
                push(MV_HIT);
            }
            break;
        case M_RAT:
            if (r < 25 && prev != MV_DOUBLE_BITE) push(MV_DOUBLE_BITE);
            else if (r < 50 && prev != MV_VENOM_BITE) push(unless_poisoned(MV_VENOM_BITE));
            else push(MV_HIT);
            break;
        case M_SKELETON: push(r < 35 && prev != MV_SMASH ? MV_SMASH : MV_HIT); break;
        case M_DRAGON:
            if (r + 1 <= (current_floor >= 20 ? 45 : 30) && prev != MV_BREATH) {
                push(MV_INHALE);
                push(MV_BREATH);
            } else {
                push(MV_HIT);
            }
            break;
        case M_BAT:
            if (r < 30 && prev != MV_FLIT) push(MV_FLIT);
            else if (r < 55 && prev != MV_DOUBLE_BITE) push(MV_DOUBLE_BITE);
            else push(MV_HIT);
            break;
        case M_SLIME:
            if (r < 30 && prev != MV_SPIT) push(MV_SPIT);
            else if (r < 55 && prev != MV_HARDEN) push(MV_HARDEN);
            else push(MV_HIT);
            break;
        case M_ORC:
            if (r < 25 && prev != MV_ROAR && combat.buff + (queued(MV_ROAR) ? 1 : 0) < MAX_ROARS) push(MV_ROAR);
            else if (r < 55 && prev != MV_SMASH && prev != MV_GROUND_SLAM) push(MV_SMASH);
            else push(MV_HIT);
            break;
        case M_MIMIC:
            if (r < 35 && prev != MV_CHOMP) {
                push(MV_DROOL);
                push(MV_CHOMP);
            } else {
                push(MV_HIT);
            }
            break;
        default: push(MV_HIT); break;
        }
    }
}
