// Placeholder until fights land: no monster is marked elite yet.
#include "dungeon/elite.h"

bool elite_chance_test(int, int, int, int) { return false; }
bool monster_is_elite(int) { return false; }
