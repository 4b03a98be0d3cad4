// The screens' drawers that the draw pass dispatches to, the dialogs' flags, the caption and the
// death snapshot, the unlocks list's input and the pointer hit regions.
#pragma once
#include <cstdint>

#include "world/item_record.h"

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
// Records where a widget landed this frame (kind, index, rectangle) for the pointer and the spotlight.
void hit_region_add(int kind, int index, int x, int y, int w, int h);
// The text with its button placeholders expanded and shortened to `width` pixels, in a ring buffer.
const char* text_fit(const char* text, int width);
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
bool bag_item_card_open();
void draw_item_info_panel();
void draw_camp();
// The death (0) or escape (1) screen; the game hands in whether its input guard is on and the
// monsters met when the run began.
void draw_run_end(uint8_t escaped, bool input_locked, uint32_t met_at_start);
void draw_options();
void draw_controls();
void draw_stats();
void draw_credits();
void draw_power_on();
void draw_levelup();
void draw_class_select();
void draw_unlocks();
void draw_shrine();
void draw_demo_end(bool input_locked);
void draw_caption();

// Text widgets several screens share.
void draw_text_outlined(int x, int y, const char* text, int colour);
// Word-wraps the text to width pixels, 9 pixels a line, showing at most reveal characters; draws
// only when draw is true. Returns the height used.
int draw_wrapped_text(int x, int y, int width, const char* text, int reveal, int colour, bool draw);
// Word-wraps the text to width pixels and draws every line; returns the y below the last line.
int draw_wrapped_lines(int x, int y, int width, const char* text, int colour);
// The item's picture in a box of w x h at (x, y).
void draw_item_card(int x, int y, int w, int h, const Item& item);
// The lesson line of the death screen.
const char* death_tip();

// The picture of the view taken on entering the death screen and replayed there.
void screen_snapshot_take();
bool screen_snapshot_get();
int screen_snapshot_age();
void screen_snapshot_drop();
