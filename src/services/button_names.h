// Names of the player's buttons for screen texts, the placeholder expansion, the controls screen's
// rows and the rebinding the options ask for. The platform implements them; screens and menus call.
#pragma once
#include <cstdint>

// The name of what the action of one input bit is bound to on the device in use (or a given one:
// 0 keyboard, 1 controller, 2 touch).
const char* action_glyph_name(uint8_t bit);
const char* action_glyph_name_for(uint8_t bit, int32_t device);
// Copies `text` into `out` with "{A}", "{START}", "{DPAD}" ... replaced by the names on the device
// in use (or the given one); at most size - 1 characters, always terminated.
void text_expand_glyphs(const char* text, char* out, int size);
void text_expand_glyphs_for(const char* text, char* out, int size, int32_t device);
enum InputDeviceKind : int32_t { INPUT_DEVICE_KEYBOARD = 0, INPUT_DEVICE_PAD = 1, INPUT_DEVICE_TOUCH = 2 };
// The device the player used last.
int32_t input_device_current();

// One row of the controls screen.
enum ControlsRowKind : int32_t { CONTROLS_BIND = 0, CONTROLS_SWAP = 1, CONTROLS_RESET = 2, CONTROLS_INFO = 3 };
struct ControlsRow {
    int32_t kind;
    int32_t action;     // the bound action of a CONTROLS_BIND row, else -1
    const char* label;
    const char* text;   // the placeholder text of an information row, else ""
};
constexpr int CONTROLS_ROW_MAX = 24;
// Fills `rows` (CONTROLS_ROW_MAX) for the device and returns their number.
int controls_list(int32_t device, ControlsRow* rows);
bool controls_row_changeable(int32_t device, const ControlsRow& row);
// What the controls screen shows of the keyboard and the prompt: a key's name, an input byte with
// A and B exchanged when the settings swap them, and the action a rebinding waits for.
const char* key_name(int scancode);
uint8_t pad_swap_face(uint8_t bits);
bool rebind_pending(int* action, int* kind);

// Rebinding: opens the prompt for an action (kind 0 keyboard, 1 controller); restores one half of
// the default bindings (0 keyboard, 1 controller).
void rebind_start(int action, int kind);
void bindings_default_part(int part);
