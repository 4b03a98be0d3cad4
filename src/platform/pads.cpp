// Controller slots, the controller part of the input byte, rumble and tilt; used by the frame loop.
#include "platform/pads.h"

#include <cstdio>

#include "platform/case_sheen.h"

PadSlot pads[MAX_PADS];

static SDL_Sensor* tilt_sensor = nullptr;
static uint8_t tilt_wanted = 0;

static void pad_enable_accel(SDL_GameController* pad, bool on) {
    if (SDL_GameControllerHasSensor(pad, SDL_SENSOR_ACCEL))
        SDL_GameControllerSetSensorEnabled(pad, SDL_SENSOR_ACCEL, on ? SDL_TRUE : SDL_FALSE);
}

bool pads_open(int device_index, bool sheen_on) {
    if (!SDL_IsGameController(device_index)) return false;
    for (PadSlot& slot : pads) {
        if (slot.pad) continue;
        slot.pad = SDL_GameControllerOpen(device_index);
        if (!slot.pad) {
            std::fprintf(stderr, "Controller open failed: %s\n", SDL_GetError());
            return false;
        }
        slot.stick_mode = 0;
        slot.stick_seen = 0;
        if (sheen_on) pad_enable_accel(slot.pad, true);
        return true;
    }
    return false;
}

void pads_close_instance(SDL_JoystickID id) {
    for (PadSlot& slot : pads) {
        if (!slot.pad) continue;
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot.pad)) == id) {
            SDL_GameControllerClose(slot.pad);
            slot.pad = nullptr;
        }
    }
}

void pads_close_all() {
    for (PadSlot& slot : pads)
        if (slot.pad) {
            SDL_GameControllerClose(slot.pad);
            slot.pad = nullptr;
        }
    if (tilt_sensor) {
        SDL_SensorClose(tilt_sensor);
        tilt_sensor = nullptr;
    }
}

static int32_t glyph_style_of(SDL_GameController* pad) {
    switch (SDL_GameControllerGetType(pad)) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4: return PAD_PS4;
    case SDL_CONTROLLER_TYPE_PS5: return PAD_PS5;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO: return PAD_NINTENDO;
    default: return PAD_XBOX;
    }
}

uint8_t pads_read() {
    uint8_t bits = 0;
    for (PadSlot& slot : pads) {
        if (!slot.pad) continue;
        SDL_GameController* p = slot.pad;
        uint8_t before = bits;
        if (SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_UP)) bits |= BTN_UP;
        if (SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) bits |= BTN_DOWN;
        if (SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) bits |= BTN_LEFT;
        if (SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) bits |= BTN_RIGHT;
        int x = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_LEFTX);
        int y = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_LEFTY);
        bits |= stick_bits(x, y, &slot.stick_mode);
        for (int n = 0; n < 4; n++) {
            int button = pad_bind_get(n);
            if (button >= 0 && SDL_GameControllerGetButton(p, (SDL_GameControllerButton)button))
                bits |= (uint8_t)(0x10u << n);
        }
        if (bits != before) pad_glyph_style_set(glyph_style_of(p));
    }
    return bits;
}

uint8_t pads_button_down(const SDL_ControllerButtonEvent& e) {
    uint8_t bits = 0;
    switch (e.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: bits = BTN_UP; break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: bits = BTN_DOWN; break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: bits = BTN_LEFT; break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: bits = BTN_RIGHT; break;
    default:
        for (int n = 0; n < 4; n++)
            if (pad_bind_get(n) == e.button) bits |= (uint8_t)(0x10u << n);
        break;
    }
    SDL_GameController* p = SDL_GameControllerFromInstanceID(e.which);
    if (bits && p) pad_glyph_style_set(glyph_style_of(p));
    return bits;
}

uint8_t pads_axis_motion(const SDL_ControllerAxisEvent& e) {
    if (e.axis != SDL_CONTROLLER_AXIS_LEFTX && e.axis != SDL_CONTROLLER_AXIS_LEFTY) return 0;
    for (PadSlot& slot : pads) {
        if (!slot.pad || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot.pad)) != e.which) continue;
        // The event's own value for its axis: by now the controller may already read the stick back home.
        bool x_axis = e.axis == SDL_CONTROLLER_AXIS_LEFTX;
        int x = x_axis ? e.value : SDL_GameControllerGetAxis(slot.pad, SDL_CONTROLLER_AXIS_LEFTX);
        int y = x_axis ? SDL_GameControllerGetAxis(slot.pad, SDL_CONTROLLER_AXIS_LEFTY) : e.value;
        uint8_t bits = stick_bits(x, y, &slot.stick_mode);
        uint8_t crossed = (uint8_t)(bits & ~slot.stick_seen);
        slot.stick_seen = bits;
        if (crossed) pad_glyph_style_set(glyph_style_of(slot.pad));
        return crossed;
    }
    return 0;
}

void pads_rumble(float low, float high, int32_t ms) {
    for (PadSlot& slot : pads)
        if (slot.pad)
            SDL_GameControllerRumble(slot.pad, (Uint16)(int)(low * 65535), (Uint16)(int)(high * 65535),
                                     (Uint32)(ms > 0 ? ms : 0));
}

void pads_tilt_step() {
    uint8_t on = sheen_active() ? 1 : 0;
    if (on != tilt_wanted) {
        tilt_wanted = on;
        for (PadSlot& slot : pads)
            if (slot.pad) pad_enable_accel(slot.pad, on);
        if (on && !tilt_sensor) {
            for (int i = 0; i < SDL_NumSensors(); i++)
                if (SDL_SensorGetDeviceType(i) == SDL_SENSOR_ACCEL) {
                    tilt_sensor = SDL_SensorOpen(i);
                    break;
                }
        } else if (!on && tilt_sensor) {
            SDL_SensorClose(tilt_sensor);
            tilt_sensor = nullptr;
        }
    }
    if (tilt_sensor && tilt_wanted) {
        float data[3];
        if (SDL_SensorGetData(tilt_sensor, data, 3) == 0) sheen_tilt_input(data[0] * 0.25f, data[1] * 0.25f);
    }
}

void pads_sensor_event(const SDL_ControllerSensorEvent& e) {
    if (e.sensor == SDL_SENSOR_ACCEL) sheen_tilt_input(e.data[0] * 0.25f, e.data[1] * 0.25f);
}
