// The controls screen drawn from what the draw pass hands it: the device shown, the cursor, the
// scroll, and the action a rebinding waits for. Its input is update_controls in the game's menus.
#pragma once
#include <cstdint>

#include "render/screen.h"
#include "services/button_names.h"

constexpr int CONTROLS_DEVICE_COUNT = 3;
extern const char* const CONTROL_DEVICE_NAMES[CONTROLS_DEVICE_COUNT];
constexpr int CONTROLS_VALUE_MAX = 39;  // characters of a value text

struct ControlsView {
    int32_t device;  // 0 keyboard, 1 controller, 2 on-screen pad
    int32_t cursor;
    int32_t scroll;            // the first row shown last time
    int32_t rebinding_action;  // the action waiting for a key or button, -1 when none
};

// Where the names come from: the platform's, or a test's.
struct ControlsNames {
    const char* (*key)(int scancode);
    const char* (*bound)(uint8_t bit, int32_t device);
    void (*expand)(const char* text, char* out, int size, int32_t device);
    bool (*changeable)(int32_t device, const ControlsRow& row);
};
extern const ControlsNames CONTROLS_PLATFORM_NAMES;

// The value text of a row on the view's device (not the rebinding prompt).
void controls_value_text(const ControlsRow& row, int32_t device, const ControlsNames& names,
                         char out[CONTROLS_VALUE_MAX + 1]);
// The keys of one keyboard action: "ESC" first for START, then each distinct key name once,
// joined by "/", never past 39 characters; "-" when there are none.
void controls_keys_text(bool is_start, const int16_t keys[4], const char* (*key)(int), char out[CONTROLS_VALUE_MAX + 1]);
// The whole screen from the rows; returns the scroll it showed, which the caller keeps.
int32_t controls_draw(const ControlsView& view, const ControlsRow* rows, int count, const ControlsNames& names);
// The screen from the platform's rows and names.
int32_t draw_controls(const ControlsView& view);
// What the controls panel covers, its shadow included.
ScreenRect controls_area();
