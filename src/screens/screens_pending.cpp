// Placeholders until the screens land: nothing is drawn, no snapshot is held.
#include "screens/screens.h"

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
void hit_region_add(int, int, int, int, int, int) {}
bool hit_region_find(int, int, int*, int*, int*, int*) { return false; }
int draw_wrapped_lines(int, int y, int, const char*, int) { return y; }
const char* text_fit(const char*, int) { return ""; }
char message_box_text[64] = "";
void draw_hp_box() {}
void draw_souls_floor_box() {}
void draw_souls_counter(int, int) {}
void format_stat_value(int, char* out) {
    if (out) out[0] = 0;
}
void dim_screen() {}
void draw_splash() {}
void draw_title() {}
void draw_confirm_dialog() {}
void draw_consent_dialog() {}
void draw_message_box() {}
void draw_way_out_dialog() {}
void draw_toast() {}
void draw_hud() {}
void draw_status_border() {}
void draw_fight() {}
void draw_low_hp_strip() {}
void draw_pause() {}
void draw_hold_ring() {}
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
