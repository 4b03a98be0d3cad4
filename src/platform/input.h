// The input byte: keyboard, mouse, touch and controllers reduced to eight buttons; key and
// controller bindings and the rebinding prompt.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "services/button_names.h"
#include "services/services.h"
#include "world/buttons.h"

enum InputDevice : int32_t { INPUT_KEYBOARD = 0, INPUT_PAD = 1, INPUT_TOUCH = 2 };
enum PadGlyphStyle : int32_t { PAD_XBOX = 0, PAD_PS4 = 1, PAD_PS5 = 2, PAD_NINTENDO = 3 };

constexpr int MAX_PADS = 4;
constexpr int SCANCODE_ESCAPE = 41;

extern int32_t input_device;

int action_of_mask(uint8_t bits);
void input_device_set(int32_t device);
void pad_glyph_style_set(int32_t style);
int32_t pad_glyph_style_get();

// Keyboard bits from a keyboard-state array of `count` keys (Escape held sets START).
uint8_t keys_to_pad(const uint8_t* state, int count);
// The bits of the actions a key is bound to (Escape: START), for a key-down event.
uint8_t key_press_bits(int scancode);
uint8_t pad_swap_face(uint8_t bits);
// Left-stick direction with the axis hysteresis; `mode` is the slot's axis mode (0 vertical, 1 horizontal).
uint8_t stick_bits(int x, int y, uint8_t* mode);

void bind_key(int action, int scancode);
void bind_pad_button(int action, int button);
int pad_bind_get(int n);

bool rebind_pending(int* action, int* kind);
bool rebind_active();
// Shuts the prompt without a sound, as at start-up.
void rebind_reset();
bool rebind_key_input(int scancode);
bool rebind_pad_input(int button);
// First thing of every tick: the bits the game sees this tick.
