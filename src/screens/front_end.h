// The screens met before a run (power-on, title, options, credits), the modal dialogs, and the
// shared text helpers. The draw pass hands each screen what it shows of the game's records.
#pragma once
#include <cstdint>

#include "render/screen.h"

// What the title shows: its cursor, the highlight's slide and the saved run's summary.
struct TitleView {
    int32_t cursor;
    int32_t slide_from_row;  // the row the highlight slides away from
    int32_t slide_age;       // ticks since the cursor moved; the slide is over after TITLE_SLIDE_TICKS
    uint8_t has_run;
    uint8_t run_training;
    int32_t run_floor;       // floor index of the saved run
    int32_t run_level;
};
constexpr int32_t TITLE_SLIDE_TICKS = 6;

// The option ids: settings rows, the rows that lead elsewhere, and the four pages.
enum OptionId : int32_t {
    OPT_SCREEN = 0,
    OPT_FULL_SCREEN = 1,
    OPT_GHOSTING = 2,
    OPT_CASE = 3,
    OPT_SHINE = 4,
    OPT_PALETTE = 5,
    OPT_FLASHES = 6,
    OPT_EFFECTS = 7,
    OPT_VIGNETTE = 8,
    OPT_TIMING_BAR = 9,
    OPT_PROMPTS = 10,
    OPT_MONSTERS = 11,
    OPT_VOLUME = 12,
    OPT_MUSIC = 13,
    OPT_RUMBLE = 14,
    OPT_SHARE_STATS = 15,
    OPT_TRAINING = 16,
    OPT_CREDITS = 17,
    OPT_CONTROLS = 18,
    OPT_BACK = 19,
    OPT_PAGE_DISPLAY = 20,
    OPT_PAGE_APPEARANCE = 21,
    OPT_PAGE_SOUND = 22,
    OPT_PAGE_GAMEPLAY = 23,
    OPTION_COUNT = 24
};
constexpr int OPTIONS_ROWS_MAX = OPTION_COUNT;
// What the options panel shows: the page, the cursor and the rows in view.
struct OptionsView {
    int32_t page;     // 0 top level, else the page's option id
    int32_t cursor;   // option id under the cursor
    int32_t count;
    int32_t ids[OPTIONS_ROWS_MAX];
    uint8_t training_offer;  // a new run offers the training
};

extern const char* const OPTION_ROW_NAMES[OPTION_COUNT];

// The shared ring of eight expanded texts.
constexpr int TEXT_RING_SLOTS = 8;
constexpr int TEXT_RING_BYTES = 128;
// Expands the placeholders into the next ring slot and drops trailing "  hint" segments until the
// text fits `width` pixels (a text without double blanks may stay wider).
const char* text_fit(const char* text, int width);
// The first of the forms (long to short) whose expansion fits `width` whole; when none does, the
// last one through text_fit, so a hint is dropped whole rather than cut.
const char* text_fit_forms(const char* const* forms, int count, int width);
// A footer of "{X}: VERB" hints: whole, else without the blank after each colon, else with one
// blank between the hints, else with the rightmost hints dropped.
const char* text_fit_hints(const char* hints, int width);
// The same, but when no form of the hints fits, the forms of `fallback` (a shorter verb, or the
// BACK hint alone) before any hint is dropped.
const char* text_fit_hints_or(const char* hints, const char* fallback, int width);
// Expands the placeholders into the next ring slot.
const char* text_ring_expand(const char* text);
// The text in colour 0 at the eight neighbouring offsets, then in its colour.
void draw_text_outlined(int x, int y, const char* text, int colour);

// The y of title row i.
int title_menu_row_y(int i);
void draw_power_on(int32_t counter);
void draw_title(const TitleView& view);
void draw_options(const OptionsView& view);
// What the options panel covers, its shadow included.
ScreenRect options_area();
// Clamps *scroll to the last row and draws the credits.
void draw_credits(int32_t* scroll);

// The dialogs, drawn from their records.
extern char message_box_text[64];
void draw_message_box();
void draw_confirm_dialog();
void draw_consent_dialog();
// What the confirm, consent and message boxes cover, their shadows included.
ScreenRect confirm_dialog_area();
ScreenRect consent_dialog_area();
ScreenRect message_box_area();
// The title's messages (the damaged-file notices): over the two lines under the game's name.
void draw_title_toast();
void draw_way_out_dialog();
// Darkens the view rectangle one shade.
void dim_screen();
