// Button names for screen texts: key and controller names, the placeholder expansion, the rows of
// the controls screen and the case buttons that hints point at. Screens and menus call these.
#include "platform/buttons.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/training.h"
#include "platform/input.h"
#include "saves/settings.h"
#include "world/game_state.h"

namespace {
KeyNameFn key_name_fn = nullptr;

constexpr int KEY_NAME_RING = 4;
constexpr int KEY_NAME_BYTES = 16;
constexpr int KEY_NAME_CUT = 8;  // longer platform names are cut to this many letters
char key_name_ring[KEY_NAME_RING][KEY_NAME_BYTES];
int key_name_pos = 0;

char* key_name_slot() {
    key_name_pos = (key_name_pos + 1) % KEY_NAME_RING;
    return key_name_ring[key_name_pos];
}

constexpr int SC_A = 4, SC_Z = 29, SC_1 = 30, SC_9 = 38, SC_0 = 39;
constexpr int SC_RETURN = 40, SC_BACKSPACE = 42, SC_SPACE = 44, SC_KP_ENTER = 88;
constexpr int SC_RIGHT = 79, SC_LEFT = 80, SC_DOWN = 81, SC_UP = 82;
constexpr int SC_LCTRL = 224, SC_LSHIFT = 225, SC_RCTRL = 228, SC_RSHIFT = 229;

constexpr int ACTION_A = 4, ACTION_START = 6;
constexpr int PAD_FAMILIES = 4;
constexpr int PAD_NAMED_BUTTONS = 11;
constexpr int PAD_DPAD_FIRST = 11, PAD_DPAD_LAST = 14;

// Controller button names by family (rows) and SDL button 0..10 (columns).
const char* const PAD_NAMES[PAD_FAMILIES][PAD_NAMED_BUTTONS] = {
    [PAD_XBOX] = {"A", "B", "X", "Y", "VIEW", "GUIDE", "MENU", "LS", "RS", "LB", "RB"},
    [PAD_PS4] = {"CROSS", "CIRCLE", "SQUARE", "TRIANGLE", "SHARE", "PS", "OPTIONS", "L3", "R3", "L1", "R1"},
    [PAD_PS5] = {"CROSS", "CIRCLE", "SQUARE", "TRIANGLE", "CREATE", "PS", "OPTIONS", "L3", "R3", "L1", "R1"},
    [PAD_NINTENDO] = {"A", "B", "X", "Y", "-", "HOME", "+", "LS", "RS", "L", "R"},
};

// The placeholders, in the order they are tried, and the bit each names.
struct Placeholder {
    const char* token;
    uint8_t bit;  // 0 for "{DPAD}"
};
const Placeholder PLACEHOLDERS[] = {
    {.token = "{A}", .bit = BTN_A},         {.token = "{B}", .bit = BTN_B},
    {.token = "{SELECT}", .bit = BTN_SELECT}, {.token = "{START}", .bit = BTN_START},
    {.token = "{UP}", .bit = BTN_UP},       {.token = "{DOWN}", .bit = BTN_DOWN},
    {.token = "{LEFT}", .bit = BTN_LEFT},   {.token = "{RIGHT}", .bit = BTN_RIGHT},
    {.token = "{DPAD}", .bit = 0},
};

// The information rows shown on every device.
const ControlsRow INFO_ROWS[] = {
    {.kind = CONTROLS_INFO, .action = -1, .label = "STEP", .text = "{UP}/{DOWN}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "TURN", .text = "{LEFT}/{RIGHT}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "OK, JAB", .text = "{A}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "HEAVY", .text = "HOLD {A}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "BACK", .text = "{B}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "GUARD", .text = "HOLD {B}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "DODGE", .text = "{LEFT}/{RIGHT}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "BAG", .text = "{SELECT}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "PAUSE", .text = "{START}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "MOVE ITEM", .text = "HOLD {A}"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "PAGES", .text = "OFF BAG'S EDGE"},
};
const ControlsRow KEYBOARD_ONLY_ROWS[] = {
    {.kind = CONTROLS_INFO, .action = -1, .label = "FULLSCREEN", .text = "F8"},
    {.kind = CONTROLS_INFO, .action = -1, .label = "ROTATE", .text = "F3"},
};
// Binding rows: every action on the keyboard, the four face and menu buttons elsewhere.
const int KEYBOARD_BIND_ORDER[] = {0, 1, 2, 3, 4, 5, 7, 6};
const int PAD_BIND_ORDER[] = {4, 5, 7, 6};

// The pad blink cycle: the outline shows for the first 40 of every 60 ticks, the press flash on 44..53.
constexpr int BLINK_PERIOD = 60, OUTLINE_TICKS = 40, FLASH_FIRST = 44, FLASH_LAST = 53;
}  // namespace

const char* const BUTTON_NAMES[ACTION_COUNT] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "START", "SELECT"};

void set_key_name_fn(KeyNameFn fn) { key_name_fn = fn; }

const char* key_name(int scancode) {
    if (scancode >= SC_A && scancode <= SC_Z) {
        char* s = key_name_slot();
        s[0] = (char)('A' + scancode - SC_A);
        s[1] = 0;
        return s;
    }
    if (scancode >= SC_1 && scancode <= SC_0) {
        char* s = key_name_slot();
        s[0] = scancode == SC_0 ? '0' : (char)('1' + scancode - SC_1);
        s[1] = 0;
        return s;
    }
    switch (scancode) {
    case SC_RETURN:
    case SC_KP_ENTER: return "ENTER";
    case SCANCODE_ESCAPE: return "ESC";
    case SC_BACKSPACE: return "BKSP";
    case SC_SPACE: return "SPACE";
    case SC_RIGHT: return "RIGHT";
    case SC_LEFT: return "LEFT";
    case SC_DOWN: return "DOWN";
    case SC_UP: return "UP";
    case SC_LCTRL:
    case SC_RCTRL: return "CTRL";
    case SC_LSHIFT:
    case SC_RSHIFT: return "SHIFT";
    default: break;
    }
    char* s = key_name_slot();
    const char* platform = key_name_fn ? key_name_fn(scancode) : nullptr;
    if (!platform || !platform[0]) {
        std::snprintf(s, KEY_NAME_BYTES, "KEY %d", scancode);
        return s;
    }
    int n = 0;
    for (; n < KEY_NAME_CUT && platform[n]; n++) s[n] = (char)std::toupper((unsigned char)platform[n]);
    s[n] = 0;
    return s;
}

const char* pad_button_name(int button, int family) {
    if (button < 0) return "-";
    if (button >= PAD_DPAD_FIRST && button <= PAD_DPAD_LAST) return "D-PAD";
    if (button > PAD_DPAD_LAST) return "PADDLE";
    if (family < 0 || family >= PAD_FAMILIES) family = PAD_XBOX;
    return PAD_NAMES[family][button];
}

int32_t input_device_current() { return input_device; }

const char* action_glyph_name_for(uint8_t bit, int32_t device) {
    const int action = action_of_mask(pad_swap_face(bit));
    if (device == INPUT_KEYBOARD) {
        if (action == ACTION_START) return "ESC";
        const int key = settings.key_binds[action][0];
        return key < 1 ? "-" : key_name(key);
    }
    if (device == INPUT_TOUCH || action < ACTION_A) return BUTTON_NAMES[action];
    return pad_button_name(settings.pad_binds[action - ACTION_A], pad_glyph_style_get());
}

const char* action_glyph_name(uint8_t bit) { return action_glyph_name_for(bit, input_device); }

void text_expand_glyphs_for(const char* text, char* out, int size, int32_t device) {
    if (size <= 0) return;
    int n = 0;
    auto put = [&](const char* s) {
        while (*s && n < size - 1) out[n++] = *s++;
    };
    while (*text && n < size - 1) {
        const Placeholder* hit = nullptr;
        if (*text == '{')
            for (const Placeholder& p : PLACEHOLDERS)
                if (std::strncmp(text, p.token, std::strlen(p.token)) == 0) {
                    hit = &p;
                    break;
                }
        if (!hit) {
            out[n++] = *text++;
            continue;
        }
        if (hit->bit)
            put(action_glyph_name_for(hit->bit, device));
        else
            put(device == INPUT_KEYBOARD ? "ARROWS" : "D-PAD");
        text += std::strlen(hit->token);
    }
    out[n] = 0;
}

void text_expand_glyphs(const char* text, char* out, int size) { text_expand_glyphs_for(text, out, size, input_device); }

int controls_list(int32_t device, ControlsRow* rows) {
    int n = 0;
    auto add = [&](const ControlsRow& r) {
        if (n < CONTROLS_ROW_MAX) rows[n++] = r;
    };
    if (device == INPUT_PAD) add({.kind = CONTROLS_INFO, .action = -1, .label = "MOVE", .text = "D-PAD/STICK"});
    if (device == INPUT_TOUCH) add({.kind = CONTROLS_INFO, .action = -1, .label = "MOVE", .text = "PAD"});
    if (device == INPUT_KEYBOARD)
        for (int a : KEYBOARD_BIND_ORDER) add({.kind = CONTROLS_BIND, .action = a, .label = BUTTON_NAMES[a], .text = ""});
    else
        for (int a : PAD_BIND_ORDER) add({.kind = CONTROLS_BIND, .action = a, .label = BUTTON_NAMES[a], .text = ""});
    add({.kind = CONTROLS_SWAP, .action = -1, .label = "SWAP A/B", .text = ""});
    if (device != INPUT_TOUCH) add({.kind = CONTROLS_RESET, .action = -1, .label = "RESET", .text = ""});
    for (const ControlsRow& r : INFO_ROWS) add(r);
    if (device == INPUT_KEYBOARD)
        for (const ControlsRow& r : KEYBOARD_ONLY_ROWS) add(r);
    return n;
}

bool controls_row_changeable(int32_t device, const ControlsRow& row) {
    if (row.kind == CONTROLS_SWAP || row.kind == CONTROLS_RESET) return true;
    return row.kind == CONTROLS_BIND && device != INPUT_TOUCH;
}

void pad_blink(uint8_t* outline_mask, uint8_t* blink_mask, uint8_t* glow_request) {
    const uint8_t mask = pad_swap_face((uint8_t)(training_hint_target() | (flow_hint_due() ? BTN_A : 0)));
    const int phase = ((frame_counter % BLINK_PERIOD) + BLINK_PERIOD) % BLINK_PERIOD;
    *outline_mask = phase < OUTLINE_TICKS ? mask : 0;
    *blink_mask = (phase >= FLASH_FIRST && phase <= FLASH_LAST) ? mask : 0;
    *glow_request = mask;
}
