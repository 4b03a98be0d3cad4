// The duel's fixed numbers: tuning constants, the per-monster fight style, and the weapon timings
// derived from the main hand. Read by the duel engine, its resolution and the bag's item panel.
#pragma once
#include <cstdint>

#include "world/item_record.h"

// Tuning constants. Times are duel milliseconds; "percent of tempo" values scale by the monster's tempo.
constexpr int32_t FT_PARRY_WINDOW = 360;        // base parry window at the end of a wind-up
constexpr int32_t FT_PARRY_EARLY = 320;         // a guard press this long before the impact still parries
constexpr int32_t FT_PARRY_LATE = 80;           // ... and this long after it
constexpr int32_t FT_PERFECT = 90;              // press at most this long before the impact: perfect
constexpr int32_t FT_JAB_IMPACT = 30;
constexpr int32_t FT_JAB_MS = 200;
constexpr int32_t FT_HEAVY_MS = 450;
constexpr int32_t FT_HEAVY_MIN_CAP = 250;       // the shortest hold that makes a heavy is at most this
constexpr int32_t FT_HEAVY_IMPACT = 60;
constexpr int32_t FT_HEAVY_RECOVERY = 260;
constexpr int32_t FT_DODGE_MS = 380;            // a dodge protects this long
constexpr int32_t FT_DODGE_COOLDOWN = 650;
constexpr int32_t FT_RECOVER_MIN = 450, FT_RECOVER_MAX = 1000;  // monster rest, percent of tempo
constexpr int32_t FT_SINGLE_TIME = 700;         // wind-up of a single or first attack, percent of tempo
constexpr int32_t FT_FLURRY_NEXT = 460;
constexpr int32_t FT_CHAIN_GAP = 160;
constexpr int32_t FT_SIDE_TIME = 650;
constexpr int32_t FT_GUARD_TIME = 1500;
constexpr int32_t FT_GUARD_SETTLE = 200;        // blows in a shield's first moments give no stars
constexpr int32_t FT_BASE_STARS = 3;
constexpr int32_t FT_RECOIL = 500;
constexpr int32_t FT_STAGGER = 900;
constexpr int32_t FT_GUARD_SPAM = 300;          // guard presses closer than 3/2 of this give no parry
constexpr int32_t FT_HP_PERCENT = 900;
constexpr int32_t FT_ATTACK_PERCENT = 165;
constexpr int32_t FT_FLOW_DAMAGE = 150;
constexpr int32_t FT_DEATHS_DOOR = 50;
constexpr int32_t FT_RIPOSTE_MS = 800;
constexpr int32_t FT_FINISHER_PERCENT = 180;
constexpr int32_t FT_FINISHER_IMPACT = 90;
constexpr int32_t FT_FINISHER_RECOVERY = 650;
constexpr int32_t FT_FINISHER_GUARD = 250;
constexpr int32_t FT_STAGGER_METER = 12;
constexpr int32_t FT_STAGGER_METER_STEP = 6;
constexpr int32_t FT_STAGGER_METER_MAX = 30;
constexpr int32_t FT_INTERRUPT_COOLDOWN = 4000;
constexpr int32_t FT_WEAPON_JAB_SCALE = 140;
constexpr int32_t FT_BUFFER_MS = 130;
constexpr int32_t FT_CHAIN_MS = 1200;
constexpr int32_t FT_HEAVY_SCALE = 85;
constexpr int32_t FT_FREE_HEAVIES = 2;
constexpr int32_t FT_HEAVY_SLOWDOWN = 40;
constexpr int32_t FT_HEAVY_FALLOFF = 15;
constexpr int32_t FT_FLOW_PARRY_BONUS = 60;
constexpr int32_t FT_FLOW_WINDOW_CUT = 25;
constexpr int32_t FT_HIT_CAP = 50;

// How a monster type fights: its tempo, the weights of its five attack choices and its shield stars.
enum FightChoice : int { CHOICE_SINGLE = 0, CHOICE_FLURRY, CHOICE_SIDE, CHOICE_SHIELD, CHOICE_FEINT, CHOICE_COUNT };
struct FightStyle {
    int32_t tempo;                   // percent scale of every timing
    int32_t weight[CHOICE_COUNT];
    int32_t stars;                   // 0: the base of FT_BASE_STARS
};
extern const FightStyle FIGHT_STYLE[9];

// One row of weapon timings, before the class, the shield and the skill assist are applied.
struct WeaponTiming {
    int32_t jab_ms;          // base jab recovery, before the weapon jab scale
    int32_t jab_percent;
    int32_t heavy_table_ms;  // full charge before FT_HEAVY_SCALE
    int32_t heavy_percent;
    int32_t heavy_recovery;
    int32_t stagger_points;
    int32_t weight;          // how hard a landed heavy shakes the screen
    int32_t finisher_percent;
    int32_t parry_bonus_ms;
    uint8_t cleave, reach, venom;
};
// The row of a main-hand item; a broken or unknown item reads the bare-hands row.
const WeaponTiming& weapon_timing_row(const Item& main_hand);

// Recomputes the engine's weapon timings from the hands (fight start, a break mid-duel).
void reflex_weapon_setup();
// The jab recovery and heavy charge time the item would have in the main hand; changes nothing.
void weapon_timing_preview(const Item& item, int32_t* jab_ms, int32_t* heavy_ms);
// 1..5 pips for the item panel: speed from a jab recovery, power from a heavy charge time in ms.
int speed_pips(int32_t ms);
int power_pips(int32_t ms);
