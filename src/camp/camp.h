// The camp: a hub by a fire every few floors, with selling and buy-back, one boon, a shop, the
// forge and rest. Its whole state is one record that the run file saves.
#pragma once
#include <cstdint>

#include "world/item_record.h"

// The camp's pages: the four trades, the hub, the forge's work on one item and the buy-back list.
enum CampPage : int32_t {
    CAMP_PAGE_SELL = 0,
    CAMP_PAGE_BOONS = 1,
    CAMP_PAGE_SHOP = 2,
    CAMP_PAGE_FORGE = 3,
    CAMP_PAGE_HUB = 4,
    CAMP_PAGE_FORGE_ITEM = 5,
    CAMP_PAGE_BUY_BACK = 6,
};
constexpr int CAMP_PAGE_COUNT = 7;

// The hub cursor's places.
enum CampTile : int32_t {
    CAMP_TILE_SELL = 0,
    CAMP_TILE_BOONS = 1,
    CAMP_TILE_SHOP = 2,
    CAMP_TILE_FORGE = 3,
    CAMP_TILE_REST = 4,
    CAMP_TILE_ONWARD = 5,
};

// Rows of the lists that are not bag entries or gear slots.
constexpr int32_t CAMP_ROW_JUNK = -100;        // sell page: all junk at once
constexpr int32_t CAMP_ROW_BUY_BACK = -101;    // sell page: the buy-back list
constexpr int32_t CAMP_ROW_REPAIR_ALL = -102;  // forge list
// Gear slots: the two hands, else a bag entry index.
constexpr int32_t CAMP_SLOT_MAIN = -1;
constexpr int32_t CAMP_SLOT_OFF = -2;
// Forge item page rows.
enum CampForgeRow : int32_t { CAMP_FORGE_ENCHANT = 0, CAMP_FORGE_UPGRADE = 1, CAMP_FORGE_REPAIR = 2, CAMP_FORGE_MERGE = 3 };

constexpr int CAMP_BUY_BACK_MAX = 16;
constexpr int CAMP_LIST_MAX = 40;     // the longest list: junk, 30 bag entries, buy-back
constexpr int CAMP_UPGRADE_MAX = 3;

struct CampBuyBack {
    Item item;
    int32_t count;
    int32_t price;  // a unit's price as it was sold
};

struct Camp {
    int32_t cursor;  // the hub tile, or the row of the page's list
    uint8_t rested;
    CampBuyBack buy_back[CAMP_BUY_BACK_MAX];
    int32_t buy_back_count;
    int32_t forge_slot;   // the gear slot on the forge item page
    int32_t hub_tile;     // the tile row the cursor comes back to
    uint8_t return_to_boons;
    int32_t boon_row;     // the offer to come back to after selling
    uint8_t boon_taken;
    uint8_t key_sold;
    uint8_t sale_sold;
    uint32_t seed;        // the forge's enchant draws
};
extern Camp camp;
extern int32_t camp_page;

// What a camp step asks of the state machine.
enum CampAction : int32_t { CAMP_STAY = 0, CAMP_ONWARD, CAMP_OPEN_BAG, CAMP_OPEN_PAUSE };

// Whether arriving at floor n (0-based) opens the camp: 3, 6, 9, 13, 16, 19.
bool floor_has_camp(int n);
// The camp before a boss floor.
bool camp_floor_last();
// On arrival: a fresh record on the hub, the forge's stream seeded and the boons drawn.
void camp_enter();
CampAction update_camp(uint8_t presses);
void camp_rest();
// Whether a rest leaves the fight meters as they are: both flow and combo are empty.
bool camp_rest_keeps_meters();
// The hub's columns: 4 in landscape, 2 in portrait.
int camp_hub_columns();
// Where the campfire's flames burn on the hub: x, y, width, height.
void camp_fire_rect(int out[4]);

// Prices, after the discount.
int camp_discount_price(int price);
int consumable_price(uint32_t id);
int key_price();
int spare_price(const Item& item);
int sale_price();
int enchant_price(const Item& item);
int forge_upgrade_price(const Item& item);
int forge_upgrade_cost(const Item& item);
int camp_repair_price(const Item& item);
int camp_redraw_cost();

// Lists, as the pages show them. Each returns its length.
int camp_consumables(uint32_t* out);
// The spare weapon, the spare shield when the class may use one, and the sale item.
int camp_make_stock(Item* out);
int camp_sell_rows(int32_t* out);
int camp_forge_list(int32_t* out);
int camp_shop_rows();
// Junk units and their gold.
void camp_junk_total(int* units, int* gold);
// What the whole bag would sell for.
int camp_bag_value();
bool camp_has_sellable();
// Whether the forge has any gear to work on: in the hands or in the bag.
bool camp_has_gear();
// The sum of the repair prices of all gear.
int camp_repair_total();
// The other bag entry of the same item that a merge would use, or -1.
int camp_find_merge_copy(int32_t slot);
// Whether merging that copy would change the item: raise its level or mend its wear.
bool camp_merge_gains(int32_t slot);
// The item in a gear slot, or null outside the hands and bag entries 0..count-1.
Item* slot_item_ptr(int32_t slot);
