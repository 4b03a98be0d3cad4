// The controls screen: a panel with the device tab, the scrolling list of bindings, the swap and
// reset rows and the descriptions, the rebinding prompt and the footer. Called by the draw pass in
// the controls state.
#include "screens/controls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/front_end.h"
#include "screens/screens.h"
#include "world/buttons.h"
#include "world/game_state.h"

const char* const CONTROL_DEVICE_NAMES[CONTROLS_DEVICE_COUNT] = {"KEYBOARD", "CONTROLLER", "ON-SCREEN PAD"};
const ControlsNames CONTROLS_PLATFORM_NAMES = {key_name, action_glyph_name_for, text_expand_glyphs_for,
                                               controls_row_changeable};

namespace {

constexpr int ACTION_START_INDEX = 6;
constexpr int ROW_STEP = 9;
constexpr int PROMPT_BLINK = 20;
constexpr int EXPAND_BYTES = 128;

int device_of(int32_t device) {
    return device >= 0 && device < CONTROLS_DEVICE_COUNT ? device : INPUT_DEVICE_KEYBOARD;
}

void append(char out[CONTROLS_VALUE_MAX + 1], const char* part) {
    const size_t have = std::strlen(out);
    std::snprintf(out + have, CONTROLS_VALUE_MAX + 1 - have, "%s", part);
}

void right_text(int right, int y, const char* text, int colour) {
    text_draw(right - text_width(text), y, text, colour);
}

// The narrow panel's forms of the two descriptions that run into their values there.
constexpr int LABEL_GAP = 6;
struct ShortForm {
    const char *full, *tight;
};
constexpr ShortForm SHORT_LABELS[] = {{"MOVE ITEM", "CARRY"}};
constexpr ShortForm SHORT_VALUES[] = {{"OFF BAG'S EDGE", "OFF BAG EDGE"}, {"PRESS A BUTTON", "PRESS A BTN"}};

const char* short_form(const char* text, const ShortForm* forms, int count) {
    for (int i = 0; i < count; i++)
        if (std::strcmp(text, forms[i].full) == 0) return forms[i].tight;
    return text;
}

}  // namespace

void controls_keys_text(bool is_start, const int16_t keys[4], const char* (*key)(int), char out[CONTROLS_VALUE_MAX + 1]) {
    out[0] = 0;
    if (is_start) append(out, "ESC");
    // Copies, as key names may come from a small ring of buffers.
    char seen[4][CONTROLS_VALUE_MAX + 1];
    int n_seen = 0;
    for (int k = 0; k < 4; k++) {
        if (keys[k] <= 0) continue;
        const char* name = key(keys[k]);
        if (!name || !*name) continue;
        bool dup = false;
        for (int i = 0; i < n_seen; i++) dup = dup || std::strcmp(seen[i], name) == 0;
        if (dup) continue;
        const size_t have = std::strlen(out), add = std::strlen(name) + (have ? 1 : 0);
        if (have + add > CONTROLS_VALUE_MAX) break;
        if (have) append(out, "/");
        append(out, name);
        std::snprintf(seen[n_seen++], sizeof seen[0], "%s", name);
    }
    if (!out[0]) append(out, "-");
}

void controls_value_text(const ControlsRow& row, int32_t device_shown, const ControlsNames& names,
                         char out[CONTROLS_VALUE_MAX + 1]) {
    out[0] = 0;
    const int device = device_of(device_shown);
    switch (row.kind) {
    case CONTROLS_BIND: {
        if (row.action < 0 || row.action >= ACTION_COUNT) return;
        const uint8_t bit = (uint8_t)(1u << row.action);
        if (device != INPUT_DEVICE_KEYBOARD) {
            std::snprintf(out, CONTROLS_VALUE_MAX + 1, "%s", names.bound(bit, device));
            return;
        }
        // With A and B swapped the A row lists the keys that now give A.
        const uint8_t swapped = pad_swap_face(bit);
        int action = 0;
        while (action < ACTION_COUNT - 1 && !(swapped & (1u << action))) action++;
        controls_keys_text(action == ACTION_START_INDEX, settings.key_binds[action], names.key, out);
        return;
    }
    case CONTROLS_SWAP: std::snprintf(out, CONTROLS_VALUE_MAX + 1, "%s", settings.swap_ab ? "ON" : "OFF"); return;
    case CONTROLS_RESET: return;
    default: names.expand(row.text ? row.text : "", out, CONTROLS_VALUE_MAX + 1, device); return;
    }
}

namespace {
// The panel's top row, width and height.
void controls_panel(int* t, int* pw, int* ph) {
    const ScreenRect& v = screen_layout.view;
    if (screen_layout.landscape) {
        *t = v.y0 + 2;
        *pw = v.x1 - v.x0 - 7;
        *ph = v.y1 - v.y0 - 5;
    } else {
        *t = v.y0 + 16;
        *pw = 136;
        *ph = 177;
    }
}
}  // namespace

ScreenRect controls_area() {
    const int x0 = screen_layout.view.x0;
    int t, pw, ph;
    controls_panel(&t, &pw, &ph);
    return {x0 + 4, t, x0 + 6 + pw, t + ph + 2};
}

int32_t controls_draw(const ControlsView& view, const ControlsRow* rows, int count, const ControlsNames& names) {
    const int device_shown = device_of(view.device);
    const int rebinding_action = view.rebinding_action;
    const int x0 = screen_layout.view.x0;
    int t, pw, ph;
    controls_panel(&t, &pw, &ph);
    screen_fill_rect(x0 + 7, t + 3, pw, ph, 1);
    screen_fill_rect(x0 + 4, t, pw, ph, 0);
    screen_rect(x0 + 4, t, pw, ph, 2);
    screen_rect(x0 + 6, t + 2, pw - 4, ph - 4, 2);
    // A box over the screen clears whole rows inside the panel's inner outline.
    row_spans_frame(BEHIND_ROWS, x0 + 7, t + 3, x0 + pw, t + ph - 4);

    text_draw(x0 + 4 + (pw - text_width("CONTROLS")) / 2, t + 6, "CONTROLS", 2);
    const char* device = CONTROL_DEVICE_NAMES[device_shown];
    const int dw = text_width(device);
    text_draw(x0 + 4 + (pw - dw) / 2, t + 16, device, 3);
    text_draw(x0 + 4 + (pw - dw) / 2 - 10, t + 16, "<", 1);
    text_draw(x0 + (pw + dw) / 2 + 8, t + 16, ">", 1);
    screen_hline(x0 + 12, t + 26, pw - 16, 1);

    if (count < 0) count = 0;
    int cursor = view.cursor, scroll = view.scroll;
    if (cursor > count - 1) cursor = count - 1;
    if (cursor < 0) cursor = 0;
    const int fit = (ph - 44) / ROW_STEP;
    int right = x0 + pw - 4;
    if (count > fit) {
        if (cursor < scroll) scroll = cursor;
        else if (cursor > scroll + fit - 1) scroll = cursor - fit + 1;
        if (scroll > count - fit) scroll = count - fit;
        if (scroll < 0) scroll = 0;
        if (scroll > 0) text_draw(x0 + pw - 8, t + 30, "^", 1);
        if (scroll + fit < count) text_draw(x0 + pw - 8, t + 21 + ROW_STEP * fit, "v", 1);
        right = x0 + pw - 12;
    } else {
        scroll = 0;
    }

    const bool prompt_shown = (frame_counter / PROMPT_BLINK) % 2 == 0;
    for (int i = 0; i < fit && scroll + i < count; i++) {
        const int r = scroll + i;
        const ControlsRow& row = rows[r];
        const int y = t + 30 + ROW_STEP * i;
        const bool at = r == cursor;
        if (at) text_draw(x0 + 9, y, ">", 3);
        const char* label = row.label ? row.label : "";
        const int label_colour = at ? 3 : names.changeable(device_shown, row) ? 2 : 1;
        if (rebinding_action >= 0 && row.kind == CONTROLS_BIND && row.action == rebinding_action) {
            text_draw(x0 + 18, y, label, label_colour);
            const char* prompt = device_shown == INPUT_DEVICE_KEYBOARD ? "PRESS A KEY" : "PRESS A BUTTON";
            if (x0 + 18 + text_width(label) + LABEL_GAP > right - text_width(prompt))
                prompt = short_form(prompt, SHORT_VALUES, (int)std::size(SHORT_VALUES));
            if (prompt_shown) right_text(right, y, prompt, at ? 3 : 2);
            continue;
        }
        char value[CONTROLS_VALUE_MAX + 1];
        controls_value_text(row, device_shown, names, value);
        // A description that would run into its value takes its short form, then its value does.
        const char* shown_value = value;
        const auto crowded = [&] { return x0 + 18 + text_width(label) + LABEL_GAP > right - text_width(shown_value); };
        if (row.kind == CONTROLS_INFO && crowded()) label = short_form(label, SHORT_LABELS, (int)std::size(SHORT_LABELS));
        if (row.kind == CONTROLS_INFO && crowded())
            shown_value = short_form(value, SHORT_VALUES, (int)std::size(SHORT_VALUES));
        // A list of keys that would run into its label keeps its first keys only.
        if (row.kind == CONTROLS_BIND)
            while (crowded()) {
                char* slash = std::strrchr(value, '/');
                if (!slash) break;
                *slash = 0;
            }
        text_draw(x0 + 18, y, label, label_colour);
        if (shown_value[0]) right_text(right, y, shown_value, at ? 3 : 2);
    }

    char footer[EXPAND_BYTES];
    const char* shown = footer;
    if (rebinding_action >= 0) {
        shown = "ESC OR WAIT: CANCEL";
    } else if (count > 0 && names.changeable(device_shown, rows[cursor])) {
        // The narrow panel takes the tight forms, then keeps BACK alone rather than lose it.
        char back[EXPAND_BYTES];
        names.expand("{A}: CHANGE  {B}: BACK", footer, sizeof footer, device_shown);
        names.expand("{B}: BACK", back, sizeof back, device_shown);
        shown = text_fit_hints_or(footer, back, pw - 12);
    } else {
        names.expand("{B}: BACK", footer, sizeof footer, device_shown);
    }
    text_draw(x0 + 4 + (pw - text_width(shown)) / 2, t + ph - 12, shown, 1);
    return scroll;
}

int32_t draw_controls(const ControlsView& view) {
    ControlsRow rows[CONTROLS_ROW_MAX];
    const int count = controls_list(view.device, rows);
    return controls_draw(view, rows, count, CONTROLS_PLATFORM_NAMES);
}
