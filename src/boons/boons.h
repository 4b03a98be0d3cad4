// The run's boons: perks the player gains at level-ups and camps.
#pragma once

constexpr int BOON_IRON_SKIN = 7;
constexpr int BOON_BLOODTHIRST = 8;
constexpr int BOON_VETERAN = 9;
constexpr int BOON_HUNTER = 10;
constexpr int BOON_MERCHANT = 11;
constexpr int BOON_ANTIVENOM = 15;
constexpr int BOON_LAST_STAND = 22;
constexpr int BOON_VAMPIRIC = 26;
constexpr int BOON_BLOOD_PACT = 27;
constexpr int BOON_KEEN_EDGE = 33;
constexpr int BOON_SPINES = 37;
constexpr int BOON_SIDESTEP = 38;

// The strength of boon `id` the player owns; 0 when not owned.
int boon_value(int id);
// The level of boon `id` the player owns, from its rank; 0 when not owned.
int boon_level(int id);
