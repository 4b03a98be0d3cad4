// What the run lets the player find and wear: decided above the item rules (by the class, the
// unlocks, the run heat and the boons) and handed to them as an argument, so items never reach up.
#pragma once
#include <cstdint>

struct GearRules {
    uint32_t usable_ids;  // bit n: the player's class may use item n
    uint32_t locked_ids;  // bit n: item n is still locked behind an unlock
    int32_t heat;         // run heat 0..5: raises the Rare odds
    int32_t iron_skin;    // defence the IRON SKIN boon adds to every pair of hands
};

inline bool gear_usable(const GearRules& g, uint32_t id) { return id < 32 && ((g.usable_ids >> id) & 1u); }
inline bool gear_locked(const GearRules& g, uint32_t id) { return id < 32 && ((g.locked_ids >> id) & 1u); }
