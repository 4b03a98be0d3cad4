// What the player gains from the dungeon's gold piles and a slain monster's leavings.
#pragma once

// Gold in one pile: 10 and the MERCHANT boon's bonus.
int gold_pickup_amount();
