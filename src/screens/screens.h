// The screens' drawers that the draw pass dispatches to, the dialogs' flags, the caption and the
// death snapshot, the unlocks list's input and the pointer hit regions.
#pragma once
#include <cstdint>

// Dialog flags; the tick takes their input, the screens draw them.
extern uint8_t message_box_open;
extern uint8_t consent_open;
extern uint8_t way_out_open;
extern int32_t way_out_cursor;

// The hidden-sequence caption.
extern int32_t caption_index;
extern int32_t caption_timer;

extern int32_t unlocks_cursor;
void update_unlocks(uint8_t presses);
float unlocks_completion();

void hit_regions_clear();
// Pointer hit regions: kind 0 a bag entry (index = entry), 1 the item panel's first button, 2 the panel.
void hit_region_add(int kind, int index, int x, int y, int w, int h);
bool hit_region_find(int kind, int index, int* x, int* y, int* w, int* h);
// Word-wrapped text; returns the y below the last line.
int draw_wrapped_lines(int x, int y, int width, const char* text, int colour);
// Expands the button placeholders and shortens the text to the width; a ring buffer.
const char* text_fit(const char* text, int width);
// The message box's text.
extern char message_box_text[64];
// The HUD pieces the bag panel shows, and the stat rows' value texts (24 bytes).
void draw_hp_box();
void draw_souls_floor_box();
void draw_souls_counter(int x, int y);
void format_stat_value(int kind, char* out);
void dim_screen();

void draw_splash();
void draw_title();
void draw_confirm_dialog();
void draw_consent_dialog();
void draw_message_box();
void draw_way_out_dialog();
void draw_toast();
void draw_hud();
void draw_status_border();
void draw_fight();
void draw_low_hp_strip();
void draw_pause();
void draw_bag();
void draw_hold_ring();
void draw_item_info_panel();
void draw_camp();
void draw_run_end(uint8_t escaped);
void draw_options();
void draw_controls();
void draw_stats();
void draw_credits();
void draw_power_on();
void draw_levelup();
void draw_class_select();
void draw_unlocks();
void draw_shrine();
void draw_demo_end();
void draw_caption();

// The picture of the view taken on entering the death screen and replayed there.
void screen_snapshot_take();
bool screen_snapshot_get();
int screen_snapshot_age();
void screen_snapshot_drop();
