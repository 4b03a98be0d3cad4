// Open game controllers and the accelerometer that tilts the case sheen.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "platform/input.h"

struct PadSlot {
    SDL_GameController* pad;
    uint8_t stick_mode;  // 0 vertical, 1 horizontal
    uint8_t stick_seen;  // the left stick's direction bits as its last motion event left them
};

extern PadSlot pads[MAX_PADS];

// Opens a newly added controller into the first free slot; false when none is free or it fails.
bool pads_open(int device_index, bool sheen_on);
void pads_close_instance(SDL_JoystickID id);
void pads_close_all();
// The controller bits of this frame (D-pad, left stick, bound face buttons), all slots ORed.
uint8_t pads_read();
// The bits of a controller button-down event (D-pad or bound button); sets the glyph style.
uint8_t pads_button_down(const SDL_ControllerButtonEvent& e);
// The direction bits of a left-stick motion event that has just left the dead zone, so that a
// flick shorter than a frame still reaches a step; sets the glyph style.
uint8_t pads_axis_motion(const SDL_ControllerAxisEvent& e);
void pads_rumble(float low, float high, int32_t ms);
// Turns tilt input on or off when the sheen starts or stops, and feeds the sensor to it.
void pads_tilt_step();
void pads_sensor_event(const SDL_ControllerSensorEvent& e);
