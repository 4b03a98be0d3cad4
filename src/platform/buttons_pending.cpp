// Placeholders until button names land: no names are looked up and no button is pointed out.
#include "platform/buttons.h"

#include <cstdio>

#include "services/services.h"

void set_key_name_fn(KeyNameFn) {}
void pad_blink(uint8_t* outline_mask, uint8_t* blink_mask, uint8_t* glow_request) {
    *outline_mask = 0;
    *blink_mask = 0;
    *glow_request = 0;
}
// The text is copied with its placeholders left as they stand.
void text_expand_glyphs(const char* text, char* out, int size) {
    if (size > 0) std::snprintf(out, (size_t)size, "%s", text ? text : "");
}
