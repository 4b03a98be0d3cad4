// Input byte rules, key and controller bindings and the rebinding prompt; used by the frame loop,
// the tick and the controls screen.
#include "platform/input.h"

#include <cstring>

#include "saves/settings.h"
#include "sound/audio.h"

int32_t input_device = INPUT_KEYBOARD;
static int32_t pad_glyph_style = PAD_XBOX;

static constexpr int ACTION_START = 6;
static constexpr int SCANCODE_F1 = 58, SCANCODE_F12 = 69;
static constexpr int PAD_BUTTON_MAX = 20;

static struct Rebind {
    int32_t action = -1;  // -1 when no prompt is open
    int32_t kind = 0;     // 0 keyboard, 1 controller
    int32_t countdown = 0;
    uint8_t release_wait = 0;
} rebind;

int action_of_mask(uint8_t bits) {
    for (int i = 0; i < 7; i++)
        if (bits & (1u << i)) return i;
    return 7;
}

void input_device_set(int32_t device) {
    if (device < 0 || device > INPUT_TOUCH) return;
    input_device = device;
}

void pad_glyph_style_set(int32_t style) { pad_glyph_style = style; }
int32_t pad_glyph_style_get() { return pad_glyph_style; }

uint8_t keys_to_pad(const uint8_t* state, int count) {
    uint8_t bits = 0;
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int k = 0; k < KEYS_PER_ACTION; k++) {
            int code = settings.key_binds[a][k];
            if (code >= 1 && code < count && state[code]) bits |= (uint8_t)(1u << a);
        }
    if (SCANCODE_ESCAPE < count && state[SCANCODE_ESCAPE]) bits |= BTN_START;
    return bits;
}

uint8_t key_press_bits(int scancode) {
    if (scancode < 1) return 0;
    uint8_t bits = scancode == SCANCODE_ESCAPE ? BTN_START : 0;
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int k = 0; k < KEYS_PER_ACTION; k++)
            if (settings.key_binds[a][k] == scancode) bits |= (uint8_t)(1u << a);
    return bits;
}

uint8_t pad_swap_face(uint8_t bits) {
    if (settings.swap_ab != 1) return bits;
    uint8_t ab = bits & (BTN_A | BTN_B);
    uint8_t swapped = (uint8_t)(((ab & BTN_A) ? BTN_B : 0) | ((ab & BTN_B) ? BTN_A : 0));
    return (uint8_t)((bits & ~(BTN_A | BTN_B)) | swapped);
}

uint8_t stick_bits(int x, int y, uint8_t* mode) {
    int ax = x < 0 ? -x : x;
    int ay = y < 0 ? -y : y;
    // The other axis must lead by a quarter before the stick changes axis, so diagonals don't flicker.
    if (*mode == 0) {
        if (ay + ay / 4 < ax) *mode = 1;
    } else {
        if (ax + ax / 4 < ay) *mode = 0;
    }
    if (*mode == 1) {
        if (x <= -10001) return BTN_LEFT;
        if (x >= 10001) return BTN_RIGHT;
    } else {
        if (y <= -10001) return BTN_UP;
        if (y >= 10001) return BTN_DOWN;
    }
    return 0;
}

void bindings_default_part(int part) {
    if (part == 0)
        std::memcpy(settings.key_binds, DEFAULT_KEY_BINDS, sizeof settings.key_binds);
    else
        std::memcpy(settings.pad_binds, DEFAULT_PAD_BINDS, sizeof settings.pad_binds);
}

void bindings_default() {
    bindings_default_part(0);
    bindings_default_part(1);
    settings.swap_ab = 0;
}

static void keys_remove(int action, int scancode) {
    int16_t* slots = settings.key_binds[action];
    int16_t kept[KEYS_PER_ACTION] = {};
    int n = 0;
    for (int k = 0; k < KEYS_PER_ACTION; k++)
        if (slots[k] >= 1 && slots[k] != scancode) kept[n++] = slots[k];
    std::memcpy(slots, kept, sizeof kept);
}

static bool keys_empty(int action) {
    for (int k = 0; k < KEYS_PER_ACTION; k++)
        if (settings.key_binds[action][k] >= 1) return false;
    return true;
}

void bind_key(int action, int scancode) {
    if (scancode < 1 || scancode >= 512 || action < 0 || action > 7) return;
    int old_first = settings.key_binds[action][0];
    for (int a = 0; a < ACTION_COUNT; a++)
        if (a != action) keys_remove(a, scancode);
    // The action's old key goes to whichever action just lost its only key (a swap).
    if (old_first >= 1 && old_first != scancode)
        for (int a = 0; a < ACTION_COUNT; a++)
            if (a != action && a != ACTION_START && keys_empty(a)) settings.key_binds[a][0] = (int16_t)old_first;
    int16_t* slots = settings.key_binds[action];
    slots[0] = (int16_t)scancode;
    slots[1] = slots[2] = slots[3] = 0;
}

void bind_pad_button(int action, int button) {
    if (action < 4 || action > 7 || button < 0 || button > PAD_BUTTON_MAX) return;
    int idx = action - 4;
    uint8_t old = settings.pad_binds[idx];
    for (int n = 0; n < PAD_BIND_COUNT; n++)
        if (settings.pad_binds[n] == button) settings.pad_binds[n] = old;
    settings.pad_binds[idx] = (uint8_t)button;
}

int pad_bind_get(int n) {
    if (n < 0 || n >= PAD_BIND_COUNT) return -1;
    return settings.pad_binds[n];
}

void rebind_start(int action, int kind) {
    rebind.action = action;
    rebind.kind = kind;
    rebind.countdown = 300;
    play_sfx(SFX_CONFIRM);
}

bool rebind_pending(int* action, int* kind) {
    if (rebind.action < 0) return false;
    if (action) *action = rebind.action;
    if (kind) *kind = rebind.kind;
    return true;
}

bool rebind_active() { return rebind.action >= 0; }

void rebind_reset() { rebind = Rebind{}; }

static void rebind_close(int sfx) {
    rebind.action = -1;
    play_sfx(sfx);
}

bool rebind_key_input(int scancode) {
    if (rebind.action < 0) return false;
    if (scancode == SCANCODE_ESCAPE) {
        rebind_close(SFX_BACK);
        return true;
    }
    if (rebind.kind != 0) return true;
    if (scancode >= SCANCODE_F1 && scancode <= SCANCODE_F12) {
        play_sfx(SFX_DENY);
        return true;
    }
    bind_key(rebind.action, scancode);
    rebind_close(SFX_CONFIRM);
    settings_save();
    return true;
}

bool rebind_pad_input(int button) {
    if (rebind.action < 0) return false;
    if (rebind.kind != 1) return true;
    // Guide, the D-pad and unknown buttons cannot carry an action.
    if (button == 5 || (button >= 11 && button <= 14) || button > PAD_BUTTON_MAX || button < 0) {
        play_sfx(SFX_DENY);
        return true;
    }
    bind_pad_button(rebind.action, button);
    rebind_close(SFX_CONFIRM);
    settings_save();
    return true;
}

uint8_t rebind_tick(uint8_t bits) {
    if (rebind.action >= 0) {
        if (rebind.countdown-- <= 1) rebind_close(SFX_BACK);
        rebind.release_wait = 1;
        return 0;
    }
    if (rebind.release_wait) {
        if (bits == 0) rebind.release_wait = 0;
        return 0;
    }
    return pad_swap_face(bits);
}
