// The dungeon HUD's pieces that other screens reuse (the bag and camp pages), the caption table
// and the value texts of the stat rows. draw_hud, draw_toast and draw_caption are in screens.h.
#pragma once
#include <cstdint>

constexpr int STATUS_TAGS_BYTES = 48;
constexpr int STAT_VALUE_BYTES = 24;
constexpr int CAPTION_COUNT = 30;
constexpr int CAPTION_TICKS = 200;
constexpr int COMPASS_STRIP_H = 10;  // the dungeon's compass strip along the view's foot

struct CaptionPair {
    const char* title;
    const char* line;
};
extern const CaptionPair CAPTION_PAIRS[CAPTION_COUNT];

// The stat rows of the bag's stats page, in the order format_stat_value takes them.
enum StatKind : int {
    STAT_HP = 0,
    STAT_XP = 1,
    STAT_ATTACK = 2,
    STAT_DEFENCE = 3,
    STAT_EVADE = 4,
    STAT_GOLD = 5,
    STAT_KEYS = 6,
    STAT_SOULS = 7,
    STAT_FLOOR = 8,
    STAT_KILLS = 9,
};

void draw_hp_box();
// "PSN 3 RGN 2" for the set counters (poison, burn, regeneration); empty when none is set.
// out holds STATUS_TAGS_BYTES.
void format_status_tags(const int32_t counters[3], char* out);
void draw_souls_floor_box();
void draw_souls_counter(int x, int y);
// A camp page's header; returns the y where the page's content starts.
int draw_gold_header(const char* title);
// The value text of stat row `kind` into out (STAT_VALUE_BYTES); empty for an unknown kind.
void format_stat_value(int kind, char* out);
// The caption pair shown for a raised counter: any value, taken unsigned modulo the table size.
const CaptionPair& caption_pair(int32_t index);
