// The camp: shop, selling, forge and rest.
#pragma once
#include <cstdint>

// A camp price after the discount.
int camp_discount_price(int price);

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
extern int32_t camp_page;
void update_camp(uint8_t presses);
void camp_rest();

// Whether arriving at floor n opens the camp.
bool camp_on_floor(int n);
// Opens the camp on arrival.
void camp_enter();
// The enchantments' names and lines (enchant 1..6); "" for others.
const char* enchant_name(int enchant);
const char* enchant_line(int enchant);
