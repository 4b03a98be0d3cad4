// The camp: shop, selling, forge and rest.
#pragma once
#include <cstdint>

// A camp price after the discount.
int camp_discount_price(int price);

extern int32_t camp_page;  // 1 = the boon pick
void update_camp(uint8_t presses);
void camp_rest();

// Whether arriving at floor n opens the camp.
bool camp_on_floor(int n);
// Opens the camp on arrival.
void camp_enter();
