// The elite rule: whether a monster at a cell of a floor is an elite (more hp, more reward).
#pragma once

// Dragons and mimics are never elites.
bool elite_type_eligible(int type);
// True when a monster of `type` at (x, y) on `floor` is an elite.
bool elite_chance_test(int x, int y, int floor, int type);
// Whether the monster with this index is an elite (its look in the view).
bool monster_is_elite(int index);
