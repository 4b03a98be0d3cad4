// The screens' drawers that the draw pass dispatches to, the dialogs' flags, the caption and the
// death snapshot, the unlocks list's input and the pointer hit regions.
#pragma once
#include <cstdint>

#include "screens/front_end.h"
#include "screens/widgets.h"

// Dialog flags; the tick takes their input, the screens draw them.
extern uint8_t message_box_open;
// The message box's text.
extern char message_box_text[64];
extern uint8_t consent_open;
extern uint8_t way_out_open;
extern int32_t way_out_cursor;

// The hidden-sequence caption.
extern int32_t caption_index;
extern int32_t caption_timer;

extern int32_t unlocks_cursor;
void update_unlocks(uint8_t presses);
float unlocks_completion();

void draw_splash();
void draw_toast();
// The toast centred in the rows top .. bottom - 1, for a screen whose usual toast place is taken;
// padded, with the dark margin of the HUD's boxes about its lines.
void draw_toast_between(int top, int bottom, bool padded = false);
void draw_hud();
void draw_status_border();
// Rows of text at the view's edges that the status edges leave whole this frame (the real-time
// fight's HUD rows are left whole through its sharp rectangles); cleared by each fight view.
void status_border_keep(int x, int y, int w, int h);
void status_border_keep_clear();
// STATE_COMBAT: the classic view of a turn-menu fight, or the real-time view of a duel.
void draw_fight();
void draw_fight_reflex();
// Pieces of the classic fight view.
void draw_enemy_intent(int x, int y, int width);
void draw_action_grid(int x, int y, int w, int h, int columns);
void draw_item_grid(int x, int y, int w, int h, int columns);
void draw_action_info_panel(int x, int y, int width, int lines);
void draw_low_hp_strip();
// The pause menu with the row under the cursor (0 RESUME, 1 OPTIONS, 2 SAVE & QUIT).
void draw_pause(int32_t cursor);
// What the pause menu's box covers, its shadow included, and the box's width: a box over the menu
// keeps within it.
ScreenRect pause_area();
int pause_width();
void draw_bag();
bool bag_item_card_open();
void draw_item_info_panel();
void draw_camp();
// The death (0) or escape (1) screen; the game hands in whether its input guard is on and the
// monsters met when the run began.
void draw_run_end(uint8_t escaped, bool input_locked, uint32_t met_at_start);
void draw_stats();
void draw_levelup();
// The toast of the level-up state, between the third card and the footer.
void draw_levelup_toast();
void draw_class_select();
void draw_unlocks();
// The shrine's header and what the player faces, over the room the draw pass has drawn.
void draw_shrine();
void draw_demo_end(bool input_locked);
void draw_caption();

// The lesson line of the death screen.
const char* death_tip();

// The picture of the view taken on entering the death screen and replayed there.
void screen_snapshot_take();
bool screen_snapshot_get();
int screen_snapshot_age();
void screen_snapshot_drop();
