// The run's boons: perks the player gains at level-ups and camps.
#pragma once

constexpr int BOON_IRON_SKIN = 7;
constexpr int BOON_MERCHANT = 11;
constexpr int BOON_LAST_STAND = 22;

// The strength of boon `id` the player owns; 0 when not owned.
int boon_value(int id);
// The table's name, level count, evolution flag and the line of a level (the base line for 1).
const char* boon_name(int id);
int boon_max_level(int id);
bool boon_is_evolution(int id);
const char* boon_level_line(int id, int level);
