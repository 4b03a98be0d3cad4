// Placeholders until the screens land: nothing is drawn, no snapshot is held.
#include "screens/screens.h"

uint8_t message_box_open = 0;
uint8_t consent_open = 0;
uint8_t way_out_open = 0;
int32_t way_out_cursor = 0;

void hit_regions_clear() {}
void dim_screen() {}
void draw_title() {}
void draw_confirm_dialog() {}
void draw_consent_dialog() {}
void draw_message_box() {}
void draw_way_out_dialog() {}
void draw_status_border() {}
void draw_fight() {}
void draw_low_hp_strip() {}
void draw_pause() {}
void draw_bag() {}
void draw_hold_ring() {}
bool bag_item_card_open() { return false; }
void draw_item_info_panel() {}
void draw_options() {}
void draw_controls() {}
void draw_stats() {}
void draw_credits() {}
void draw_power_on() {}
void draw_shrine() {}

// Until the text widgets land: no region is recorded, and a text is handed back as it is.
void hit_region_add(int, int, int, int, int, int) {}
const char* text_fit(const char* text, int) { return text; }
void draw_text_outlined(int, int, const char*, int) {}
int draw_wrapped_text(int, int, int, const char*, int, int, bool) { return 0; }
const char* death_tip() { return ""; }
int draw_wrapped_lines(int, int y, int, const char*, int) { return y; }
void draw_item_card(int, int, int, int, const Item&) {}
