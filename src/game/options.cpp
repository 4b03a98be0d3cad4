// The input of the options pages, the controls screen and the credits: what each press changes in
// the settings and where each screen leads. Called by the tick's state dispatch.
#include "game/menus.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "services/button_names.h"
#include "services/rumble.h"
#include "services/services.h"
#include "sound/audio.h"
#include "telemetry/events.h"
#include "world/buttons.h"

int32_t controls_device = 0;
int32_t controls_cursor = 0;
int32_t controls_scroll = 0;

namespace {
constexpr int32_t CASE_COLORS = 18, PALETTES = 8, SCREEN_LOOKS = 3, GHOSTING_LEVELS = 4;
constexpr int32_t VOLUME_STEPS = 11, RUMBLE_POSITIONS = 4;
constexpr int32_t CONTROLS_DEVICES = 3;
constexpr int32_t CREDITS_STEP = 10;
constexpr float SAMPLE_RUMBLE = 0.5f;
constexpr int32_t SAMPLE_RUMBLE_MS = 150;

// The rows of each page, and of the top level.
const int32_t TOP_ROWS[] = {OPT_PAGE_DISPLAY, OPT_PAGE_APPEARANCE, OPT_PAGE_SOUND, OPT_PAGE_GAMEPLAY,
                            OPT_CONTROLS,     OPT_SHARE_STATS,     OPT_CREDITS,    OPT_BACK};
const int32_t DISPLAY_ROWS[] = {OPT_SCREEN, OPT_FULL_SCREEN, OPT_GHOSTING, OPT_FLASHES, OPT_EFFECTS, OPT_VIGNETTE, OPT_BACK};
const int32_t APPEARANCE_ROWS[] = {OPT_CASE, OPT_SHINE, OPT_PALETTE, OPT_MONSTERS, OPT_BACK};
const int32_t SOUND_ROWS[] = {OPT_VOLUME, OPT_MUSIC, OPT_RUMBLE, OPT_BACK};
const int32_t GAMEPLAY_ROWS[] = {OPT_TIMING_BAR, OPT_PROMPTS, OPT_TRAINING, OPT_BACK};

struct PageRows {
    const int32_t* ids;
    int count;
};
template <int N>
constexpr PageRows rows_of(const int32_t (&ids)[N]) {
    return PageRows{ids, N};
}
PageRows page_rows(int32_t page) {
    switch (page) {
    case OPT_PAGE_DISPLAY: return rows_of(DISPLAY_ROWS);
    case OPT_PAGE_APPEARANCE: return rows_of(APPEARANCE_ROWS);
    case OPT_PAGE_SOUND: return rows_of(SOUND_ROWS);
    case OPT_PAGE_GAMEPLAY: return rows_of(GAMEPLAY_ROWS);
    default: return rows_of(TOP_ROWS);
    }
}

int32_t wrap(int32_t v, int32_t n) { return ((v % n) + n) % n; }

// Steps a cycling value by c, skipping values the profile has locked.
int32_t cycle_unlocked(int32_t value, int c, int32_t n, bool (*locked)(int)) {
    int32_t v = value;
    for (int i = 0; i < n; i++) {
        v = wrap(v + c, n);
        if (!locked(v)) return v;
    }
    return value;
}

void options_leave() {
    settings_save();
    game_state = options_from;
}

void options_back() {
    if (options_page != OPTIONS_TOP) {
        options_cursor = options_page;
        options_page = OPTIONS_TOP;
        play_sfx(SFX_BACK);
    } else {
        options_leave();
    }
}

void volume_step(int32_t* level, uint8_t presses, int c) {
    if (presses & BTN_A)
        *level = wrap(*level + 1, VOLUME_STEPS);
    else if (c) {
        *level += c;
        if (*level < 0) *level = 0;
        if (*level > VOLUME_STEPS - 1) *level = VOLUME_STEPS - 1;
    }
}

// The controls screen shows a device from its first row that can be changed (the last row if none).
void controls_show(int32_t device) {
    controls_device = device;
    ControlsRow rows[CONTROLS_ROW_MAX];
    const int n = controls_list(device, rows);
    controls_cursor = n - 1;
    for (int i = 0; i < n; i++)
        if (controls_row_changeable(device, rows[i])) {
            controls_cursor = i;
            break;
        }
    controls_scroll = 0;
}

void open_controls() {
    controls_show(input_device_current());
    play_sfx(SFX_CONFIRM);
    game_state = STATE_CONTROLS;
}

// Applies the change c (-1, 0, +1) to the row `id`.
void option_change(int32_t id, int c, uint8_t presses) {
    switch (id) {
    case OPT_SCREEN: settings.screen = wrap(settings.screen + c, SCREEN_LOOKS); break;
    case OPT_FULL_SCREEN: if (c) settings.fullscreen = !settings.fullscreen; break;
    case OPT_GHOSTING: settings.ghosting = wrap(settings.ghosting + c, GHOSTING_LEVELS); break;
    case OPT_CASE: if (c) settings.case_color = cycle_unlocked(settings.case_color, c, CASE_COLORS, case_color_locked); break;
    case OPT_SHINE: if (c) settings.shine = !settings.shine; break;
    case OPT_PALETTE: if (c) settings.palette = cycle_unlocked(settings.palette, c, PALETTES, palette_locked); break;
    case OPT_FLASHES: if (c) settings.flashes = !settings.flashes; break;
    case OPT_EFFECTS: if (c) settings.effects = !settings.effects; break;
    case OPT_VIGNETTE: if (c) settings.vignette = !settings.vignette; break;
    case OPT_TIMING_BAR: if (c) settings.timing_bar = !settings.timing_bar; break;
    case OPT_PROMPTS: if (c) settings.prompts = !settings.prompts; break;
    case OPT_MONSTERS:
        if (c && !monster_art_locked(1 - settings.monster_art)) settings.monster_art = 1 - settings.monster_art;
        break;
    case OPT_VOLUME: volume_step(&settings.volume, presses, c); break;
    case OPT_MUSIC: volume_step(&settings.music, presses, c); break;
    case OPT_RUMBLE: {
        if (!c) break;
        const int32_t pos = wrap((settings.rumble ? settings.rumble_level : 0) + c, RUMBLE_POSITIONS);
        settings.rumble = pos > 0;
        if (pos > 0) {
            settings.rumble_level = pos;
            rumble_add(SAMPLE_RUMBLE, SAMPLE_RUMBLE, SAMPLE_RUMBLE_MS);
        }
        break;
    }
    case OPT_SHARE_STATS:
        if (!c) break;
        settings.share_stats = !settings.share_stats;
        // Turning sharing off forgets everything already queued, as refusing the question does;
        // the choice is written at once, so a window closed on this page cannot share again.
        if (!settings.share_stats) telemetry_discard_queued();
        settings_save();
        break;
    case OPT_TRAINING: if (c) training_offer_set(!training_offer_on()); break;
    case OPT_CREDITS:
        if (presses & BTN_A) {
            credits_scroll = 0;
            game_state = STATE_CREDITS;
        }
        break;
    case OPT_CONTROLS: if (c > 0) open_controls(); break;
    case OPT_BACK: if (presses & BTN_A) options_back(); break;
    default:
        if (id >= OPT_PAGE_DISPLAY && id < OPTION_COUNT && c > 0) {
            options_page = id;
            int32_t rows[OPTION_COUNT];
            options_cursor = options_visible_rows(rows) > 0 ? rows[0] : OPT_BACK;
            play_sfx(SFX_CONFIRM);
        }
        break;
    }
}
}  // namespace

int options_visible_rows(int32_t* out) {
    const PageRows list = page_rows(options_page);
    int n = 0;
    for (int i = 0; i < list.count; i++)
        if (option_row_visible(list.ids[i])) out[n++] = list.ids[i];
    return n;
}

void update_options(uint8_t presses) {
    int32_t rows[OPTION_COUNT];
    const int n = options_visible_rows(rows);
    if (n == 0) return;
    int sel = 0;
    for (int i = 0; i < n; i++)
        if (rows[i] == options_cursor) sel = i;
    if (presses & BTN_UP) sel = wrap(sel - 1, n);
    if (presses & BTN_DOWN) sel = wrap(sel + 1, n);
    options_cursor = rows[sel];
    if (!presses) return;
    if (presses & BTN_B) {
        options_back();
    } else {
        const int c = (presses & BTN_LEFT) ? -1 : (presses & (BTN_A | BTN_RIGHT)) ? 1 : 0;
        option_change(options_cursor, c, presses);
    }
    settings_clamp();
}

void update_controls(uint8_t presses) {
    ControlsRow rows[CONTROLS_ROW_MAX];
    int n = controls_list(controls_device, rows);
    if (presses & (BTN_LEFT | BTN_RIGHT)) {
        controls_show(wrap(controls_device + ((presses & BTN_LEFT) ? -1 : 1), CONTROLS_DEVICES));
        n = controls_list(controls_device, rows);
        play_sfx(SFX_MOVE);
    }
    if (n <= 0) return;
    if (presses & (BTN_UP | BTN_DOWN)) {
        controls_cursor = wrap(controls_cursor + ((presses & BTN_UP) ? -1 : 1), n);
        play_sfx(SFX_MOVE);
    }
    if (controls_cursor >= n) controls_cursor = n - 1;
    if (controls_cursor < 0) controls_cursor = 0;
    if (presses & BTN_A) {
        const ControlsRow& row = rows[controls_cursor];
        if (row.kind == CONTROLS_RESET || row.kind == CONTROLS_SWAP) {
            if (row.kind == CONTROLS_RESET)
                bindings_default_part(controls_device == INPUT_DEVICE_KEYBOARD ? 0 : 1);
            else
                settings.swap_ab = settings.swap_ab ? 0 : 1;
            settings_clamp();  // the case redraws its buttons
            // The buttons held now may read as other buttons from the next tick on (the A still
            // held comes back as B): count every button as held already, so none is a new press.
            input_prev = 0xFF;
            play_sfx(SFX_CONFIRM);
            settings_save();
        } else if (row.kind == CONTROLS_BIND && controls_device != INPUT_DEVICE_TOUCH) {
            rebind_start(row.action, controls_device == INPUT_DEVICE_KEYBOARD ? 0 : 1);
        }
    }
    if (presses & (BTN_B | BTN_START)) {
        play_sfx(SFX_BACK);
        game_state = STATE_OPTIONS;
    }
}

void update_credits(uint8_t presses) {
    if (presses & BTN_UP) credits_scroll -= CREDITS_STEP;
    if (presses & BTN_DOWN) credits_scroll += CREDITS_STEP;
    if (credits_scroll < 0) credits_scroll = 0;
    if (presses & (BTN_A | BTN_B)) game_state = STATE_OPTIONS;
}
