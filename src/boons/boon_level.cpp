// The level of an owned boon, read from the player's boon ranks. Fights ask it for boons whose mere
// ownership matters (LAST STAND, BLOOD PACT, ANTIVENOM).
#include "boons/boons.h"
#include "world/player.h"

int boon_level(int id) {
    if (id < 0 || id >= BOON_SLOTS) return 0;
    return player.boon_ranks[id];
}
