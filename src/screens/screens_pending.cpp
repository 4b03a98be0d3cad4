// Placeholders until the screens land: nothing is drawn, no snapshot is held.
#include "screens/screens.h"

int32_t caption_index = 0;
int32_t caption_timer = 0;
int32_t unlocks_cursor = 0;

void update_unlocks(uint8_t) {}
float unlocks_completion() { return 0.0f; }
void draw_splash() {}
void draw_toast() {}
void draw_hud() {}
void draw_status_border() {}
void draw_fight() {}
void draw_low_hp_strip() {}
void draw_pause() {}
void draw_bag() {}
bool bag_item_card_open() { return false; }
void draw_item_info_panel() {}
void draw_camp() {}
void draw_run_end(uint8_t) {}
void draw_controls() {}
void draw_stats() {}
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
