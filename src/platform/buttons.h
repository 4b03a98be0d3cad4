// Button names, text placeholders and the on-screen pad's hint masks.
#pragma once
#include <cstdint>

typedef const char* (*KeyNameFn)(int scancode);
void set_key_name_fn(KeyNameFn fn);
// Which case buttons to point out this frame.
void pad_blink(uint8_t* outline_mask, uint8_t* blink_mask, uint8_t* glow_request);
