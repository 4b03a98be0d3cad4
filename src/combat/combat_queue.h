// The monster's move queue of the turn-menu fight: filled at every fight start, and the lookups the
// classic fight view reads.
#pragma once

// Intent classes of a move, for the classic view's icon.
constexpr int INTENT_STRIKE = 1, INTENT_HEAVY = 2, INTENT_TRICK = 3, INTENT_PREPARE = 4;

// The intent class 1..4 of moves 0..27; 0 above.
int move_intent_kind(int move);
// The heavy flag of moves 0..28; 0 above.
int move_is_heavy(int move);
