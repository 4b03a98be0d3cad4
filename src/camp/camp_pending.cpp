// Placeholders until the camp lands: prices are not discounted, the camp takes no input.
#include "camp/camp.h"

int camp_discount_price(int price) { return price; }

int32_t camp_page = 0;
void update_camp(uint8_t) {}
void camp_rest() {}

bool camp_on_floor(int) { return false; }
void camp_enter() {}
const char* enchant_name(int) { return ""; }
const char* enchant_line(int) { return ""; }
