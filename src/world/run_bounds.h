// Bounds of the numbers play does arithmetic on, shared by the play code that raises them and the
// run file that refuses a file beyond them. They are far above what any run reaches (a run of twenty
// floors ends near level 60, a few hundred hit points and a few thousand gold), and far enough below
// the int32 limit that the game's sums and percentages on them cannot overflow. Every gain goes
// through the helper of its kind, which stops at the bound, so a run the game writes always loads.
#pragma once
#include <cstdint>

constexpr int32_t RUN_HP_MAX = 99999;         // player hp and max_hp, the fight's monster max_hp
constexpr int32_t RUN_ATTACK_MAX = 99999;     // player attack, either sign
constexpr int32_t RUN_GOLD_MAX = 9999999;     // player gold, gold a monster stole, a buy-back price
constexpr int32_t RUN_KEYS_MAX = 9999;
constexpr int32_t RUN_KILLS_MAX = 999999;
constexpr int32_t RUN_STACK_MAX = 999;        // the count of a bag entry or a buy-back row
constexpr int32_t RUN_THREAT_MAX = 999999;    // at most 5 a won duel
constexpr int32_t RUN_COMBO_MAX = 999999;     // one a clean blow

// value + gain, stopped at max (and at -max below). The sum is taken in 64 bits, so no gain wraps.
inline int32_t bound_add(int32_t value, int64_t gain, int32_t max) {
    const int64_t sum = (int64_t)value + gain;
    if (sum > max) return max;
    if (sum < -(int64_t)max) return -max;
    return (int32_t)sum;
}

inline int32_t bound_gold(int32_t gold, int64_t gain) { return bound_add(gold, gain, RUN_GOLD_MAX); }
inline int32_t bound_hp(int32_t hp, int64_t gain) { return bound_add(hp, gain, RUN_HP_MAX); }
inline int32_t bound_attack(int32_t attack, int64_t gain) { return bound_add(attack, gain, RUN_ATTACK_MAX); }
inline int32_t bound_keys(int32_t keys, int64_t gain) { return bound_add(keys, gain, RUN_KEYS_MAX); }
inline int32_t bound_kills(int32_t kills, int64_t gain) { return bound_add(kills, gain, RUN_KILLS_MAX); }
inline int32_t bound_stack(int32_t count, int64_t gain) { return bound_add(count, gain, RUN_STACK_MAX); }
inline int32_t bound_threat(int32_t threat, int64_t gain) { return bound_add(threat, gain, RUN_THREAT_MAX); }
inline int32_t bound_combo(int32_t combo, int64_t gain) { return bound_add(combo, gain, RUN_COMBO_MAX); }

// Whether value + gain stays within max, so the gain can be taken whole. One that cannot is either
// left where it was or taken as far as it fits, and told with the words below: never shown as made.
inline bool bound_fits(int32_t value, int64_t gain, int32_t max) { return (int64_t)value + gain <= max; }
inline bool gold_fits(int32_t gold, int64_t gain) { return bound_fits(gold, gain, RUN_GOLD_MAX); }
inline bool keys_fit(int32_t keys, int64_t gain) { return bound_fits(keys, gain, RUN_KEYS_MAX); }
// Takes as much of the gain as fits; true when all of it did.
inline bool gold_take(int32_t* gold, int64_t gain) {
    const bool whole = gold_fits(*gold, gain);
    *gold = bound_gold(*gold, gain);
    return whole;
}
inline bool keys_take(int32_t* keys, int64_t gain) {
    const bool whole = keys_fit(*keys, gain);
    *keys = bound_keys(*keys, gain);
    return whole;
}

// What the player is told when gold or keys reach their bound, and when the gold a full bag pays
// instead of potions does too (short enough for the narrow screens' lines).
constexpr const char* PURSE_FULL_TEXT = "PURSE IS FULL";
constexpr const char* KEYRING_FULL_TEXT = "KEYRING IS FULL";
constexpr const char* BAG_AND_PURSE_FULL_TEXT = "BAG FULL: PURSE FULL";
