// The run's boons: perks the player gains at level-ups and camps.
#pragma once

constexpr int BOON_IRON_SKIN = 7;
constexpr int BOON_MERCHANT = 11;
constexpr int BOON_LAST_STAND = 22;

// The strength of boon `id` the player owns; 0 when not owned.
int boon_value(int id);
