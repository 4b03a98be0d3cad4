// Placeholders until the screens land: nothing is drawn, no snapshot is held.
#include "screens/screens.h"

#include "combat/combat.h"
#include "screens/fight_view.h"

uint8_t message_box_open = 0;
uint8_t consent_open = 0;
uint8_t way_out_open = 0;
int32_t way_out_cursor = 0;
int32_t caption_index = 0;
int32_t caption_timer = 0;
int32_t unlocks_cursor = 0;

void update_unlocks(uint8_t) {}
float unlocks_completion() { return 0.0f; }
void hit_regions_clear() {}
void dim_screen() {}
void draw_splash() {}
void draw_title() {}
void draw_confirm_dialog() {}
void draw_consent_dialog() {}
void draw_message_box() {}
void draw_way_out_dialog() {}
void draw_toast() {}
void draw_hud() {}
// Only the hand-over to the real-time view until the turn-menu view lands.
void draw_fight() {
    if (combat.reflex) draw_fight_reflex();
}
void draw_pause() {}
void draw_bag() {}
void draw_hold_ring() {}
bool bag_item_card_open() { return false; }
void draw_item_info_panel() {}
void draw_camp() {}
void draw_run_end(uint8_t) {}
void draw_options() {}
void draw_controls() {}
void draw_stats() {}
void draw_credits() {}
void draw_power_on() {}
void draw_levelup() {}
void draw_class_select() {}
void draw_unlocks() {}
void draw_shrine() {}
void draw_demo_end() {}
void draw_caption() {}
void screen_snapshot_take() {}
bool screen_snapshot_get() { return false; }
int screen_snapshot_age() { return 0x100000; }
void screen_snapshot_drop() {}
