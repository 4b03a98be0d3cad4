// The camp screen's input, its page and the rest at the fire.
#pragma once
#include <cstdint>

extern int32_t camp_page;  // 1 = the boon pick
void update_camp(uint8_t presses);
void camp_rest();
