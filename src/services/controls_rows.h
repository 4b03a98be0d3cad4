// What the controls screen reads from the platform's bindings: the rows it lists for a device,
// the names of keys and bound buttons, placeholder expansion for a given device, the A/B swap and
// the rebinding prompt.
#pragma once
#include <cstdint>

enum ControlsRowKind : int32_t {
    CONTROLS_BINDING = 0,  // one action's binding
    CONTROLS_SWAP_AB = 1,
    CONTROLS_RESET = 2,
    CONTROLS_INFO = 3,     // a fixed description with a value text that may hold placeholders
};
constexpr int CONTROLS_ROWS_MAX = 32;

struct ControlsRow {
    int32_t kind;
    int32_t action;  // input bit index of a binding row
    const char* label;
    const char* text;  // the value text of an information row
};

// Fills the rows for `controls_device` and returns their number (at most CONTROLS_ROWS_MAX).
int controls_list(ControlsRow rows[CONTROLS_ROWS_MAX]);
const char* key_name(int scancode);
// The name of what the action of one input bit is bound to on `device` (0 keys, 1 controller, 2 pad).
const char* action_glyph_name_for(uint8_t bit, int device);
// text_expand_glyphs for a given device rather than the one last used.
void text_expand_glyphs_for(const char* text, char* out, int size, int device);
uint8_t pad_swap_face(uint8_t bits);
// True while a binding waits for a key (kind 0) or a controller button (kind 1).
bool rebind_pending(int* action, int* kind);
