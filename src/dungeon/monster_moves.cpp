// The monsters' move table. A tell and its strike sit side by side: 4 and 5, 6 and 7, 13 and 14,
// 15 and 16, 19 and 20, 22 and 23.
#include "dungeon/monster_moves.h"

const MonsterMove MONSTER_MOVES[MONSTER_MOVE_COUNT] = {
    {.label = "ATTACK", .heavy = 0},           // 0
    {.label = "HEAVY SMASH", .heavy = 1},      // 1
    {.label = "DOUBLE BITE", .heavy = 0},      // 2
    {.label = "VENOM BITE", .heavy = 0},       // 3
    {.label = "EYES YOUR GOLD", .heavy = 0},   // 4: tell of 5
    {.label = "GRAB AND RUN", .heavy = 0},     // 5
    {.label = "INHALES DEEPLY", .heavy = 0},   // 6: tell of 7
    {.label = "FIRE BREATH", .heavy = 0},      // 7
    {.label = "RUSTY CUT", .heavy = 0},        // 8
    {.label = "FLITTING", .heavy = 0},         // 9
    {.label = "ACID SPIT", .heavy = 0},        // 10
    {.label = "HARDENING", .heavy = 0},        // 11
    {.label = "WAR CRY", .heavy = 0},          // 12
    {.label = "DROOLING", .heavy = 0},         // 13: tell of 14
    {.label = "CHOMP", .heavy = 1},            // 14
    {.label = "CHANTING", .heavy = 0},         // 15: tell of 16
    {.label = "DARK BLAST", .heavy = 1},       // 16
    {.label = "WARDING", .heavy = 0},          // 17
    {.label = "DRAIN LIFE", .heavy = 0},       // 18
    {.label = "RAISES WEAPON", .heavy = 0},    // 19: tell of 20
    {.label = "CRUSHING BLOW", .heavy = 1},    // 20
    {.label = "QUICK JAB", .heavy = 0},        // 21
    {.label = "WINDS UP", .heavy = 0},         // 22: tell of 23
    {.label = "GROUND SLAM", .heavy = 1},      // 23
    {.label = "SLASH", .heavy = 0},            // 24
    {.label = "CLAW", .heavy = 0},             // 25
    {.label = "TAIL WHIP", .heavy = 0},        // 26
    {.label = "SWEEP", .heavy = 0},            // 27
    {.label = "LUNGE", .heavy = 0},            // 28
};
