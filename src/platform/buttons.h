// Button names, text placeholders and the on-screen pad's hint masks. The rest of the game reaches
// the names through services/button_names.h.
#pragma once
#include <cstdint>

#include "services/button_names.h"

extern const char* const BUTTON_NAMES[8];

typedef const char* (*KeyNameFn)(int scancode);
void set_key_name_fn(KeyNameFn fn);
// A key's name: fixed names for the common keys, else the platform's name upper-cased and cut to
// eight letters, else "KEY %d". Letters, digits and platform names live in a ring of four buffers.
const char* key_name(int scancode);
// A controller button's name in a pad family (PAD_XBOX ..).
const char* pad_button_name(int button, int family);
// Which case buttons to point out this frame.
void pad_blink(uint8_t* outline_mask, uint8_t* blink_mask, uint8_t* glow_request);
