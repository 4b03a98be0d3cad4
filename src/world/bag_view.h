// The bag screen's view record: page, cursors, the item in the player's hand, the press under way,
// the open item card and the message line. The bag input in game/ writes it; the bag drawing reads it.
#pragma once
#include <cstdint>

#include "world/bag_record.h"
#include "world/item_record.h"

enum BagPage : int32_t { BAG_PAGE_STATS = 0, BAG_PAGE_INVENTORY = 1, BAG_PAGE_BESTIARY = 2, BAG_PAGE_COUNT = 3 };
enum BagZone : int32_t { BAG_ZONE_GRID = 0, BAG_ZONE_MAIN = 1, BAG_ZONE_OFF = 2 };
enum BagHand : int32_t { BAG_HAND_MAIN = 0, BAG_HAND_OFF = 1 };

constexpr int BAG_MESSAGE_BYTES = 28;
constexpr int32_t BAG_MESSAGE_TICKS = 90;
constexpr int32_t BAG_SHAKE_TICKS = 12;
// Holding A this long on an item picks it up; the hold ring fills at the same tick.
constexpr int32_t BAG_PICKUP_TICKS = 35;
constexpr int32_t BESTIARY_KINDS = 8;

struct BagView {
    int32_t page;      // asked for
    float shown_page;  // eased toward page
    int32_t stats_cursor;
    uint8_t stats_popup;
    int32_t bestiary_cursor;  // monster kind 1..8

    int32_t zone;  // BagZone
    int32_t col, row;

    // The item in the player's hand while moving it.
    uint8_t holding;
    Item held;
    int32_t held_count;
    uint8_t held_from_hand;
    int32_t held_hand;  // BagHand
    int32_t origin_col, origin_row;
    uint8_t held_rotated;
    uint8_t origin_rotated;
    // The bag and both hands as they stood when the held item was lifted with nothing in hand
    // (kept while that item, or what a swap gave for it, stays held): a save that finds no cell
    // for the held item puts them back so. Cleared with the record.
    uint8_t lift_kept;
    BagSnapshot lift;

    // A press of A under way: a tap opens the card, a long hold picks the item up.
    uint8_t pressing;
    uint8_t press_on_hand;
    int32_t press_hand;
    int32_t press_entry;
    int32_t press_ticks;

    // The item card.
    uint8_t card_open;
    int32_t card_action;
    int32_t card_entry;
    uint8_t card_on_hand;
    int32_t card_hand;

    char message[BAG_MESSAGE_BYTES];
    int32_t message_timer;
    int32_t shake_timer;

    float cursor_x, cursor_y;  // drawn position, eased toward the cursor's slot
    uint8_t cursor_snap;       // the next easing puts the drawn cursor straight on its slot
};

extern BagView bag_view;

// Clears the record for a fresh opening: inventory page, cursor on grid cell (0, 0), nothing held,
// card shut; the next easing puts the drawn cursor on its slot.
void bag_view_clear();
