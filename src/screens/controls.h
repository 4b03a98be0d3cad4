// The controls screen's state and its drawing from a list of rows. The update (in the game's menus)
// moves the cursor and the device tab and starts rebinding; draw_controls (screens.h) shows it.
#pragma once
#include <cstdint>

#include "services/controls_rows.h"

enum ControlsDevice : int32_t { CONTROLS_KEYBOARD = 0, CONTROLS_CONTROLLER = 1, CONTROLS_TOUCH = 2, CONTROLS_DEVICES = 3 };
extern const char* const CONTROL_DEVICE_NAMES[CONTROLS_DEVICES];
extern int32_t controls_device;
extern int32_t controls_cursor;
extern int32_t controls_scroll;

constexpr int CONTROLS_VALUE_MAX = 39;  // characters of a value text

// Where the names come from: the platform's, or a test's.
struct ControlsNames {
    const char* (*key)(int scancode);
    const char* (*bound)(uint8_t bit, int device);
    void (*expand)(const char* text, char* out, int size, int device);
};

bool controls_row_changeable(const ControlsRow& row);
// The value text of a row on `controls_device` (not the rebinding prompt).
void controls_value_text(const ControlsRow& row, const ControlsNames& names, char out[CONTROLS_VALUE_MAX + 1]);
// The keys of one keyboard action: "ESC" first for START, then each distinct key name once,
// joined by "/", never past 39 characters; "-" when there are none.
void controls_keys_text(bool is_start, const int16_t keys[4], const char* (*key)(int), char out[CONTROLS_VALUE_MAX + 1]);
// The whole screen from the rows; rebinding_action is the action waiting for a key, or -1.
void controls_draw(const ControlsRow* rows, int count, int rebinding_action, const ControlsNames& names);
