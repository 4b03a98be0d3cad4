// The bag screen's input: pages, the cursor over hands and grid, picking items up, turning,
// placing, swapping and equipping them, the item card's actions, and stowing the held item.
// Called by the tick (update, easing, timers), by the screens that open the bag and before saves.
#pragma once
#include <cstdint>

#include "combat/training.h"
#include "world/bag_record.h"
#include "world/item_record.h"

// The cursor's drawn position and how long A has been held on it, for the hold ring.
void bag_hold_ring_state(float* x, float* y, int32_t* hold_ticks);
// One tick of STATE_BAG; `held` are the buttons held down (a long hold of A picks an item up).
void update_bag(uint8_t presses, uint8_t held);
// Moves the cursor's and the page's drawn positions part of the way toward their targets.
void bag_screen_ease();
// Counts the bag screen's message and refusal timers down.
void bag_screen_timers_tick();
// Clears the view record: inventory page, cursor on grid cell (0, 0), nothing held, card shut.
void bag_view_reset();
// The item card is open (the draw pass shows the item panel).
bool bag_item_card_open();
// Where the cursor is, for the training's spotlight: the bag entry under it (or the card's entry
// while the card is open), -1 over a hand or an empty cell.
BagCursorView bag_cursor_view();

// The card's item to the floor under the player (one of a stack).
void bag_drop_selected();
// Flips the junk mark of the card's bag entry (gear only).
void bag_junk_toggle();
// Turns the page by step (-1 or +1) when the page exists.
void bag_page_change(int step);
// Puts the held item into a hand; what it displaces goes to the bag; all or nothing.
bool bag_equip_held(bool off_hand);
// Puts the held item down over exactly one bag entry, which then becomes the held item (or
// merges an equal stack); all or nothing.
bool inv_swap_into_bag();

// Puts a held item away before the run is saved: its hand, its origin, anywhere in the bag, else
// the bag and hands as they stood before it was lifted, else one floor item per unit near the
// player when all of them fit there. False only when none of that could be done (it then stays
// held, and the save must not be made).
bool bag_stow_held();

// Keeps the bag and both hands aside, and puts them back whole.
BagSnapshot bag_snapshot_take();
void bag_snapshot_restore(const BagSnapshot& s);
