// Placeholder until the player, map, monster, item, bag, level-up, profile and fight records land:
// nothing is gathered, so only the floor rule is checked.
#include "game/invariants.h"

bool world_facts_gather(WorldFacts*) { return false; }
