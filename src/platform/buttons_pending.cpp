// Placeholders until button names land: no names are looked up and no button is pointed out.
#include "platform/buttons.h"

void set_key_name_fn(KeyNameFn) {}
void pad_blink(uint8_t* outline_mask, uint8_t* blink_mask, uint8_t* glow_request) {
    *outline_mask = 0;
    *blink_mask = 0;
    *glow_request = 0;
}
